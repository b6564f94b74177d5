#include "tests/retrieval/dialog_fixture.h"

#include "common/settings/registry_win32.h"
#include "common/settings/scramble.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/logic/pop3stat_rules.h"
#include "netlib/tern32.h"
#include "tests/retrieval/mailsamples.h"
#include "tests/retrieval/pop3mailbox.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace lxtest {

namespace {

constexpr char kTestKey[] = "Software\\Quorbit\\LorvexRetrievalTest";
constexpr UINT_PTR kPollTimer = 0x5254;
constexpr UINT kPollMillis = 10;
constexpr char kScriptProp[] = "LxRetrievalScript";

// What a running dialog is watched by: the poll, the status watcher and the original procedure.
struct Script {
    std::function<bool(HWND)> until;
    std::function<void(HWND, int, LPARAM)> onStatus;
    WNDPROC original = nullptr;
    bool closed = false;
};

Script* ScriptOf(HWND dialog) { return static_cast<Script*>(::GetPropA(dialog, kScriptProp)); }

LRESULT CALLBACK Watched(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Script* script = ScriptOf(dialog);
    const LRESULT result = ::CallWindowProcA(script->original, dialog, message, wParam, lParam);
    if (message == lx::kPop3StatusMessage && script->onStatus && ::IsWindow(dialog))
        script->onStatus(dialog, static_cast<int>(wParam), lParam);
    return result;
}

void CALLBACK Poll(HWND dialog, UINT, UINT_PTR, DWORD) {
    Script* script = ScriptOf(dialog);
    if (!script || script->closed || !script->until || !script->until(dialog)) return;
    script->closed = true;
    Press(dialog, IDCANCEL);
}

} // namespace

std::vector<std::string> FilesIn(const std::string& dir, const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((dir + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

lx::MessageCatalog* RetrievalDialogTest::s_catalog = nullptr;

void RetrievalDialogTest::SetUpTestSuite() {
    StoreTest::SetUpTestSuite();
    TERNStartWinSock(0x0101);
    if (s_catalog) return;
    s_catalog = new lx::MessageCatalog;
    const char* bin = std::getenv("LX_BINARY_DIR");
    s_catalog->Open((std::string(bin ? bin : ".") + "/bin/DGROUP.VSF").c_str(),
                    lx::CatalogMagic::Exact);
}

void RetrievalDialogTest::TearDownTestSuite() { TERNEndWinSock(); }

void RetrievalDialogTest::SetUp() {
    RetrievalStoreTest::SetUp();
    ASSERT_TRUE(s_catalog && s_catalog->Loaded()) << "DGROUP.VSF of the build is needed";
    in = AddFolder("_IN", "S");
    install = TempFolder("lxretrieve");
    ::CreateDirectoryA((install + "\\DATA").c_str(), nullptr);
    for (const std::string& name : FilesIn(install + "\\DATA", "*"))
        ::DeleteFileA((install + "\\DATA\\" + name).c_str());
    registryKey = kTestKey;
    WriteMailbox(MailboxSetting{});
    hook.reset(new ScriptedHook);
    data = lx::Pop3StatData{};
    data.catalog = s_catalog;
    data.conn = s_conn;
    data.installPath = install;
    data.marks = &marks;
    data.registryKey = registryKey;
}

void RetrievalDialogTest::TearDown() {
    hook.reset();
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
}

void RetrievalDialogTest::FillServer(const std::vector<std::string>& messages) {
    FillPop3Mailbox(messages, "lxretrieve");
}

int RetrievalDialogTest::ServerCount() const {
    return static_cast<int>(FilesIn(Pop3MailDir() + "\\new", "*").size() +
                            FilesIn(Pop3MailDir() + "\\cur", "*").size());
}

void RetrievalDialogTest::WriteMailbox(const MailboxSetting& s) {
    lx::Win32SettingsRegistry reg(registryKey.c_str());
    ASSERT_TRUE(reg.IsOpen());
    char password[128] = "";
    lstrcpynA(password, s.password.c_str(), sizeof password);
    lx::Scramble(password);
    ASSERT_TRUE(reg.WriteString(lx::kRegServer, s.server.c_str()));
    ASSERT_TRUE(reg.WriteString(lx::kRegUser, s.user.c_str()));
    ASSERT_TRUE(reg.WriteString(lx::kRegPassword, password));
    ASSERT_TRUE(reg.WriteDword(lx::kRegDelMail, s.deleteMail));
    ASSERT_TRUE(reg.WriteDword(lx::kRegApop, s.apop));
    ASSERT_TRUE(reg.WriteString(lx::kRegDefFolder, s.defaultFolder.c_str()));
    ASSERT_TRUE(
        reg.WriteDword(lx::kRegDefFolderNum,
                       static_cast<std::int32_t>(s.defaultFolderNum ? s.defaultFolderNum : in)));
}

INT_PTR RetrievalDialogTest::Run(std::function<bool(HWND)> until,
                                 std::function<void(HWND, int, LPARAM)> onStatus) {
    Script script{std::move(until), std::move(onStatus)};
    auto previous = hook->onInit;
    hook->onInit = [&script, previous](HWND dialog, int id) {
        if (previous) previous(dialog, id);
        if (id != IDD_POP3STAT) return;
        ::SetPropA(dialog, kScriptProp, &script);
        script.original = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Watched)));
        ::SetTimer(dialog, kPollTimer, kPollMillis, &Poll);
    };
    const INT_PTR result = lx::ShowPop3StatDialog(nullptr, &data);
    hook->onInit = previous;
    return result;
}

bool RetrievalDialogTest::RunFinished(HWND dialog) const {
    // The connection's end is shown before the store work, which runs without letting the poll in.
    return ControlText(dialog, IDC_POP3STAT_CONNECTION) == Text(lx::kKeyDisconnected);
}

std::string RetrievalDialogTest::Text(const char* key) const {
    return lx::CatalogText(s_catalog, key, key);
}

bool RetrievalDialogTest::Logged(const char* key) const {
    std::string text = Text(key);
    text = text.substr(0, text.find('%'));
    return data.messages.find(text) != std::string::npos;
}

std::vector<std::string> RetrievalDialogTest::BackupFiles() const {
    return FilesIn(install, "BadFile-*.TXT");
}

} // namespace lxtest
