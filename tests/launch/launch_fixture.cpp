#include "tests/launch/launch_fixture.h"

#include "common/viewreq/viewreqrecord.h"
#include "mailer/core/newmail.h"
#include "mailer/res/resource.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/mainspli.h"
#include "tests/composer/composer_fixture.h"
#include "tests/panes/panes_store.h"

#include <cstring>
#include <fstream>
#include <thread>

namespace lxtest {

namespace {
constexpr char kModeVariable[] = "LX_FAKE_VIEWER";

std::string TestFolder() {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string exe = path;
    return exe.substr(0, exe.find_last_of('\\') + 1);
}
} // namespace

void LaunchTest::SetUp() {
    // The program's interface thread owns the mutex from its start.
    mutex.Reset(::CreateMutexA(nullptr, TRUE, lx::kInstanceMutex));
    ASSERT_TRUE(mutex.Valid());
    ASSERT_NE(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS))
        << "another program holds Lorvex_Mutex";
    FrameTest::SetUp();
    std::strcpy(mailboxes.records[0].address, "me@home.example");
    const lx::ComposerContext context =
        ComposerContextOver(*frame, folder, s_catalog, Conn(), mailboxes);
    composers.reset(new lx::ComposerSet(context));
    lx::PlugComposer(frame->Plugs(), *composers, lx::MakeViewerLaunch(ViewerContext()));
}

void LaunchTest::TearDown() {
    composers.reset();
    FrameTest::TearDown();
    ::SetEnvironmentVariableA(kModeVariable, nullptr);
    ::ReleaseMutex(mutex.Get());
    mutex.Reset();
}

lx::MessageListPane* LaunchTest::List() const {
    return static_cast<lx::MessageListPane*>(
        lx::Window::FromHandle(frame->Splitter()->MessagePaneWindow()));
}

lx::ViewerLaunchContext LaunchTest::ViewerContext() const {
    lx::ViewerLaunchContext context;
    context.installPath = folder;
    context.catalog = s_catalog;
    context.conn = &const_cast<LaunchTest*>(this)->Conn();
    context.mutex = mutex.Get();
    lx::CMainFrame* main = frame.get();
    context.trashFolder = [main] { return main->SpecialFolders().trashcan; };
    return context;
}

void LaunchTest::InstallFakeViewer(const char* mode) {
    // Once per folder: an earlier fake may still be ending, its program file in use.
    const std::string installed = folder + "\\LXVIEWER.EXE";
    if (::GetFileAttributesA(installed.c_str()) == INVALID_FILE_ATTRIBUTES)
        ASSERT_TRUE(
            ::CopyFileA((TestFolder() + "fakeviewer.exe").c_str(), installed.c_str(), TRUE));
    ::SetEnvironmentVariableA(kModeVariable, mode);
}

std::vector<std::string> LaunchTest::ViewerRecord() const {
    std::vector<std::string> lines;
    std::ifstream in(folder + "\\viewer-line.txt", std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool LaunchTest::MutexOwnedHere() const {
    DWORD waited = WAIT_FAILED;
    HANDLE m = mutex.Get();
    std::thread other([m, &waited] {
        waited = ::WaitForSingleObject(m, 0);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) ::ReleaseMutex(m);
    });
    other.join();
    return waited == WAIT_TIMEOUT;
}

long LaunchTest::ListIncoming(const std::string& subject) {
    const long in = FolderNumOf(Conn(), "_IN");
    const long num = AddMessage(Conn(), in, 'I', "ann@example.org", subject,
                                lx::StoreTime{2026, 12, 9, 9, 0, 0});
    ::SendMessageA(List()->Handle(), lx::WM_LX_MESSAGE_CHANGED, 0, 0);
    return num;
}

std::string LaunchTest::RowFlags(int row) const {
    return lx::SplitRowFields(List()->RowText(row))[0];
}

bool LaunchTest::WriteRecord(const std::vector<std::uint8_t>& bytes) {
    lx::UniqueHandle slot(::CreateFileA(lx::kViewerMailslotName, GENERIC_WRITE, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return slot.Valid() &&
           ::WriteFile(slot.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) &&
           written == bytes.size();
}

} // namespace lxtest
