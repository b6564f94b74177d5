// Retrieval benchmark (run by bench/transfer/run.sh): the "Retrieving Mail [POP3]" dialog in
// automatic mode pulling every message from the server, scanning the spool and storing each
// message, against its parts done bare in the same run: the POP3 pull alone into the spool, the
// scan alone over that spool, and the store inserts alone of the same messages.
// usage: transfer_bench dialog|pull|scan|insert INSTALL_FOLDER CATALOGUE
// Prints "<seconds> <messages>".
#include <windows.h>

#include "common/catalog/msgcatalog.h"
#include "common/clock/localtime.h"
#include "common/schema/newmessage.h"
#include "common/schema/schema.h"
#include "common/schema/storeconnection.h"
#include "common/schema/storetables.h"
#include "common/settings/install_path.h"
#include "common/settings/registry_win32.h"
#include "common/settings/scramble.h"
#include "mailer/transfer/logic/pop3stat_rules.h"
#include "mailer/transfer/logic/retrieved.h"
#include "mailer/transfer/pop3stat.h"
#include "netlib/tern32.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr char kBenchKey[] = "Software\\Quorbit\\LorvexBench";
constexpr char kServer[] = "127.0.0.2";

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// A fresh store with the special folder that receives the mail; its number.
long FreshStore(odbcvantConnection& conn) {
    for (int i = lx::kStoreTableCount - 1; i >= 0; --i)
        conn.ExecuteDirect(
            (std::string("DROP TABLE IF EXISTS ") + lx::StoreTables()[i].name).c_str());
    if (!lx::CreateStoreTables(conn)) return -1;
    conn.ExecuteDirect("INSERT INTO Folders (Folder, FolderType, Description) VALUES "
                       "('_IN', 'S', 'bench')");
    return 1;
}

int Dialog(const std::string& install, lx::MessageCatalog* catalog, odbcvantConnection& conn) {
    {
        lx::Win32SettingsRegistry reg(kBenchKey);
        char password[128] = "secret";
        lx::Scramble(password);
        reg.WriteString(lx::kRegServer, kServer);
        reg.WriteString(lx::kRegUser, "joe");
        reg.WriteString(lx::kRegPassword, password);
        reg.WriteDword(lx::kRegDelMail, 0);
        reg.WriteDword(lx::kRegApop, 0);
        reg.WriteString(lx::kRegDefFolder, "_IN");
        reg.WriteDword(lx::kRegDefFolderNum, 1);
    }
    lx::Pop3StatData data;
    data.catalog = catalog;
    data.conn = &conn;
    data.installPath = install;
    data.automatic = true; // closes itself when the store work is done
    data.registryKey = kBenchKey;
    data.inFolderNum = 1;
    // The program's windows are up before a retrieval: the display is not part of the figure.
    HWND warm = ::CreateWindowExA(0, "STATIC", "warm", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100,
                                  100, nullptr, nullptr, nullptr, nullptr);
    ::UpdateWindow(warm);
    ::DestroyWindow(warm);
    const double start = Now();
    lx::ShowPop3StatDialog(nullptr, &data);
    const double seconds = Now() - start;
    long stored = 0;
    odbcvantCursor cur(&conn, "SELECT COUNT(*) FROM Messages");
    SQLINTEGER n = 0;
    if (cur.BindColumns(1, ODBCVANT_INT32, &n, 0) && cur.ExecuteStmt() && cur.SingleFetch())
        stored = n;
    std::printf("%.3f %ld\n", seconds, stored);
    return stored > 0 ? 0 : 1;
}

// The bare pull: a window that receives the connection's status until the end of its run.
int Pull(const std::string& install) {
    HWND host =
        ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const std::string spool = lx::InstallFile(install, lx::kIncomingSpoolFile);
    const double start = Now();
    TERNHANDLE session = 0;
    if (TERNPOP3StartWindow(host, lx::kPop3StatusMessage, spool.c_str(), &session) != 0) return 1;
    TERNPOP3PullMail(session, kServer, "joe", "secret", 0, 0);
    int stored = 0;
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == host && msg.message == lx::kPop3StatusMessage) {
            if (msg.wParam == TERN_POP3_STORED) stored = static_cast<int>(msg.lParam);
            if (msg.wParam == TERN_POP3_DONE) break;
            continue;
        }
        ::DispatchMessageA(&msg);
    }
    TERNPOP3Close(session);
    std::printf("%.3f %d\n", Now() - start, stored);
    return 0;
}

// Walks the spool; with `keep`, the messages as the store would take them.
int ScanSpool(const std::string& install, std::vector<lx::NewMessage>* keep) {
    const std::string spool = lx::InstallFile(install, lx::kIncomingSpoolFile);
    const std::string data = lx::InstallFile(install, lx::kAttachmentFolder);
    TERNHANDLE scanner = 0;
    if (TERNMimeScanStart(spool.c_str(), data.c_str(), &scanner) != 0) return -1;
    int count = 0;
    for (TernScanRecord* r = TERNMimeScanGetFirst(scanner); r; r = TERNMimeScanGetNext(scanner)) {
        std::int32_t flags = 0;
        TERNMimeScanLastError(scanner, &flags);
        if (keep)
            keep->push_back(lx::RetrievedMessage(*r, 1, lx::LocalTimeNow(), "(no recipient)"));
        ++count;
    }
    TERNMimeScanClose(scanner);
    return count;
}

int Scan(const std::string& install) {
    const double start = Now();
    const int count = ScanSpool(install, nullptr);
    std::printf("%.3f %d\n", Now() - start, count);
    return count > 0 ? 0 : 1;
}

int Insert(const std::string& install, odbcvantConnection& conn) {
    std::vector<lx::NewMessage> messages;
    ScanSpool(install, &messages);
    const double start = Now();
    int stored = 0;
    for (lx::NewMessage& m : messages) {
        m.appDate = lx::LocalTimeNow();
        long key = 0;
        if (lx::StoreNewMessage(&conn, m, nullptr, &key) == lx::StoreOutcome::Stored) ++stored;
    }
    std::printf("%.3f %d\n", Now() - start, stored);
    return stored > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: transfer_bench dialog|pull|scan|insert INSTALL [CATALOGUE]\n");
        return 2;
    }
    const std::string mode = argv[1], install = argv[2];
    ::CreateDirectoryA(lx::InstallFile(install, lx::kAttachmentFolder).c_str(), nullptr);
    TERNStartWinSock(0x0101);
    if (mode == "pull") return Pull(install);
    if (mode == "scan") return Scan(install);
    lx::StoreConnection store;
    if (store.Open() != lx::StoreConnection::Outcome::Connected) {
        std::fprintf(stderr, "connect: %s\n", store.RefusalText().c_str());
        return 1;
    }
    if (FreshStore(*store.Get()) < 0) return 1;
    if (mode == "insert") return Insert(install, *store.Get());
    lx::MessageCatalog catalog;
    if (argc > 3) catalog.Open(argv[3], lx::CatalogMagic::Exact);
    return Dialog(install, &catalog, *store.Get());
}
