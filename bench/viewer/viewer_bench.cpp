// Viewer benchmark (run by bench/viewer/run.sh): opening a stored message from the list (the
// message read as Open reads it, the viewer started and handed the store) until the viewer's page
// file is complete, against the bare store read of the same rows (the message row, its To, Cc and
// Files rows) in the same run.
// usage: viewer_bench prepare|open|read INSTALL_FOLDER CATALOGUE [MESGNUM]
// prepare prints "<MesgNum>"; open and read print "<seconds> <bytes>", open also the seconds
// until the viewer handed the store back (the message read).
#include <windows.h>

#include "common/catalog/msgcatalog.h"
#include "common/schema/newmessage.h"
#include "common/schema/schema.h"
#include "common/schema/storeconnection.h"
#include "common/schema/storetables.h"
#include "common/settings/install_path.h"
#include "common/win/handles.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/store/editfram_store.h"
#include "mailer/ui/viewerlaunch.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr char kRegistryKey[] = "Software\\Quorbit\\Lorvex";
constexpr char kSharedMutex[] = "Lorvex_Mutex";
constexpr char kViewerFrame[] = "CViewerFrame";
constexpr char kPageEnd[] = "</BODY></HTML>\r\n";
constexpr std::size_t kBodyBytes = 1 << 20;
constexpr int kAttachments = 8;
constexpr DWORD kPageWaitMillis = 120000;

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// The viewer reads the registry's InstallPath and shows the message with a browser control's
// reader type, so that it writes the page file.
void SetViewerRegistry(const std::string& install) {
    lx::RegKey key;
    if (!key.Create(HKEY_CURRENT_USER, kRegistryKey, KEY_ALL_ACCESS)) return;
    const DWORD readerType = 2;
    ::RegSetValueExA(key.Get(), "InstallPath", 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(install.c_str()),
                     static_cast<DWORD>(install.size() + 1));
    ::RegSetValueExA(key.Get(), "ReaderType", 0, REG_DWORD,
                     reinterpret_cast<const BYTE*>(&readerType), sizeof readerType);
    key.Flush();
}

std::string Body() {
    std::string body;
    for (int line = 1; body.size() < kBodyBytes; ++line) {
        char text[96];
        std::snprintf(text, sizeof text,
                      "line %06d of the long message: words <and> & marks to escape\r\n", line);
        body += text;
    }
    body.resize(kBodyBytes);
    return body;
}

// A fresh store holding the one message with its recipients and attached files.
long Prepare(const std::string& install, odbcvantConnection& conn) {
    for (int i = lx::kStoreTableCount - 1; i >= 0; --i)
        conn.ExecuteDirect(
            (std::string("DROP TABLE IF EXISTS ") + lx::StoreTables()[i].name).c_str());
    if (!lx::CreateStoreTables(conn)) return -1;
    conn.ExecuteDirect("INSERT INTO Folders (Folder, FolderType, Description) VALUES "
                       "('_IN', 'S', 'bench')");
    conn.ExecuteDirect("INSERT INTO Folders (Folder, FolderType, Description) VALUES "
                       "('_TRASHCAN', 'S', 'bench')");
    const std::string data = lx::InstallFile(install, "DATA");
    ::CreateDirectoryA(data.c_str(), nullptr);
    lx::NewMessage m;
    m.kind = lx::NewMessageKind::Retrieved;
    m.folderNum = 1;
    m.mesgId = "<bench-1@example.org>";
    m.fromAdd = "bench@example.org";
    m.mesgDate = "Thu, 10 Dec 2026 09:00:00 +0000";
    m.appDate = lx::StoreTime{2026, 12, 10, 9, 0, 1};
    m.subject = "A long message with files&&N&F";
    m.mailData = Body();
    m.to = {"ann@example.org", "bob@example.org", "carl@example.org"};
    m.cc = {"dora@example.org"};
    for (int i = 1; i <= kAttachments; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "FILE%d.TXT", i);
        const std::string path = lx::InstallFile(data, name);
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fputs("attached file\r\n", f);
            std::fclose(f);
        }
        m.files.push_back(path);
    }
    long mesgNum = -1;
    return lx::StoreNewMessage(&conn, m, nullptr, &mesgNum) == lx::StoreOutcome::Stored ? mesgNum
                                                                                        : -1;
}

// Size of the viewer's page file once it ends with the page's last line; 0 while it does not.
long long CompletePageSize(const std::string& install) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(lx::InstallFile(install, "MSG*.HTM").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    ::FindClose(search);
    lx::UniqueHandle file(::CreateFileA(lx::InstallFile(install, found.cFileName).c_str(),
                                        GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    if (!file) return 0;
    LARGE_INTEGER size{};
    const LONG tail = static_cast<LONG>(sizeof kPageEnd - 1);
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < tail) return 0;
    char end[sizeof kPageEnd] = "";
    DWORD got = 0;
    if (::SetFilePointer(file.Get(), -tail, nullptr, FILE_END) == INVALID_SET_FILE_POINTER ||
        !::ReadFile(file.Get(), end, tail, &got, nullptr) || got != DWORD(tail))
        return 0;
    return std::string(end, got) == kPageEnd ? size.QuadPart : 0;
}

// Closes the viewer and waits until its window and its page are gone.
void CloseViewer(const std::string& install) {
    for (int i = 0; i < 3000; ++i) {
        HWND frame = ::FindWindowA(kViewerFrame, nullptr);
        if (!frame) {
            WIN32_FIND_DATAA found;
            HANDLE search = ::FindFirstFileA(lx::InstallFile(install, "MSG*.HTM").c_str(), &found);
            if (search == INVALID_HANDLE_VALUE) return;
            ::FindClose(search);
        } else {
            ::PostMessageA(frame, WM_CLOSE, 0, 0);
        }
        ::Sleep(10);
    }
}

int Open(const std::string& install, lx::MessageCatalog* catalog, odbcvantConnection& conn,
         long mesgNum) {
    lx::UniqueHandle mutex(::CreateMutexA(nullptr, TRUE, kSharedMutex));
    if (!mutex) return 1;
    lx::ViewerLaunchContext context;
    context.installPath = install;
    context.catalog = catalog;
    context.conn = &conn;
    context.mutex = mutex.Get();
    context.trashFolder = [] { return 2L; };
    lx::OpenMessageRequest request;
    request.mesgNum = mesgNum;

    // The page is watched from the moment of Open, apart from the launch: the launch returns only
    // once the viewer is idle, after it has also filled its window.
    const double start = Now();
    long long page = 0;
    double pageSeconds = 0;
    std::thread watcher([&] {
        for (DWORD waited = 0; waited < kPageWaitMillis && page == 0; ++waited) {
            page = CompletePageSize(install);
            if (page == 0) ::Sleep(1);
        }
        pageSeconds = Now() - start;
    });
    lx::StoredMessage message;
    const bool launched =
        lx::ReadStoredMessage(&conn, nullptr, mesgNum, &message) &&
        lx::LaunchViewer(context, nullptr, request, message) == lx::ViewerHandOver::MutexBack;
    const double launchSeconds = Now() - start;
    watcher.join();
    CloseViewer(install);
    if (!launched || page == 0) return 1;
    std::printf("%.4f %lld %.4f\n", pageSeconds, page, launchSeconds);
    return 0;
}

int Read(odbcvantConnection& conn, long mesgNum) {
    const double start = Now();
    lx::StoredMessage message;
    std::vector<std::string> to, cc, files;
    if (!lx::ReadStoredMessage(&conn, nullptr, mesgNum, &message) ||
        !lx::ReadMessageList(&conn, nullptr, lx::MessageList::To, mesgNum, &to) ||
        !lx::ReadMessageList(&conn, nullptr, lx::MessageList::Cc, mesgNum, &cc) ||
        !lx::ReadMessageList(&conn, nullptr, lx::MessageList::Files, mesgNum, &files))
        return 1;
    const double seconds = Now() - start;
    if (files.size() != kAttachments) return 1;
    std::printf("%.4f %zu\n", seconds, message.mailData.size());
    return 0;
}

// The floor of any Open: this program started with nothing to do, until it has ended.
int StartFloor() {
    char self[MAX_PATH] = "";
    if (!::GetModuleFileNameA(nullptr, self, sizeof self)) return 1;
    std::string line = std::string("\"") + self + "\" noop";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    const double start = Now();
    if (!::CreateProcessA(self, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &started))
        return 1;
    ::WaitForSingleObject(started.hProcess, kPageWaitMillis);
    const double seconds = Now() - start;
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    std::printf("%.4f\n", seconds);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "noop") return 0;
    if (argc < 4) {
        std::fprintf(stderr, "usage: viewer_bench prepare|open|read|start INSTALL CATALOGUE\n");
        return 2;
    }
    const std::string mode = argv[1], install = argv[2];
    lx::MessageCatalog catalog;
    if (!catalog.Open(argv[3], lx::CatalogMagic::Exact)) return 2;
    lx::StoreConnection store;
    if (store.Open() != lx::StoreConnection::Outcome::Connected) {
        std::fprintf(stderr, "connect: %s\n", store.RefusalText().c_str());
        return 2;
    }
    odbcvantConnection& conn = *store.Get();
    SetViewerRegistry(install);
    if (mode == "prepare") {
        const long mesgNum = Prepare(install, conn);
        if (mesgNum < 0) return 1;
        std::printf("%ld\n", mesgNum);
        return 0;
    }
    const long mesgNum = argc > 4 ? std::atol(argv[4]) : 1;
    if (mode == "open") return Open(install, &catalog, conn, mesgNum);
    if (mode == "read") return Read(conn, mesgNum);
    if (mode == "start") return StartFloor();
    return 2;
}
