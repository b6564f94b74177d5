// Message list fill benchmark: a folder of N incoming and one of N outgoing messages (each with
// one ToList row), filled into the message list pane, against fetching the same rows with a
// bare ODBC query in the same run. Prints seconds and ratios.
// usage: panes_bench.exe [N]     (DSN "Lorvex"; its tables are dropped and made afresh)
//        panes_bench.exe show [SECONDS]: both panes on a small store, left on screen for a look
#include "common/catalog/msgcatalog.h"
#include "common/schema/storeconnection.h"
#include "common/schema/schema.h"
#include "common/schema/sqlforms.h"
#include "common/schema/storetables.h"
#include "mailer/ui/mailfold.h"
#include "mailer/ui/store/mailfold_store.h"
#include "mailer/ui/mailmess.h"
#include "mailer/ui/panewiring.h"
#include "mailer/ui/store/mailmess_store.h"

#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

double Now() {
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

bool Exec(odbcvantConnection& conn, const std::string& sql) {
    if (conn.ExecuteDirect(sql.c_str())) return true;
    std::fprintf(stderr, "%s: %s\n", sql.c_str(), conn.GetLastErrorText());
    return false;
}

bool Fill(odbcvantConnection& conn, long folder, char type, int n) {
    if (!Exec(conn, "BEGIN")) return false;
    for (int i = 0; i < n; ++i) {
        const lx::StoreTime t{2020 + i % 6, 1 + i % 12, 1 + i % 28, i % 24, i % 60, (i / 60) % 60};
        char head[64];
        std::snprintf(head, sizeof head, "%ld, '<%d@bench>', ", folder, i);
        const std::string subject =
            "Benchmark message number " + std::to_string(i) + (i % 3 ? "&&N& " : "&& &F");
        if (!Exec(conn, "INSERT INTO Messages (FolderNum, MesgId, FromAdd, MesgDate, AppDate, "
                        "Subject, MailData, "
                        "MesgType, MesgSize) VALUES (" +
                            std::string(head) + "'sender" + std::to_string(i) +
                            "@example.org', 'Mon, 1 Jan 2024', " + lx::TimestampLiteral(t) + ", " +
                            lx::SqlQuote(subject) + ", 'Body', '" + type + "', 4)"))
            return false;
        if (type == 'O' &&
            !Exec(conn, "INSERT INTO ToList (MesgNum, ToName) VALUES (last_insert_rowid(), "
                        "'recipient" +
                            std::to_string(i) + "@example.org')"))
            return false;
    }
    return Exec(conn, "COMMIT");
}

// The same rows through plain ODBC calls: execute, bind, fetch every row; no texts are made.
double BareQuery(odbcvantEnvironment& env, odbcvantConnection& conn, long folder, long* rows) {
    (void)env;
    SQLHDBC dbc = nullptr;
    // The component keeps its handles private; a second plain connection is the bare path.
    SQLHENV henv = static_cast<SQLHENV>(env.GetHandle());
    SQLAllocHandle(SQL_HANDLE_DBC, henv, &dbc);
    const std::string source = lx::StoreDataSource();
    SQLConnect(dbc, (SQLCHAR*)source.c_str(), SQL_NTS, (SQLCHAR*)lx::kDataSourceUser, SQL_NTS,
               (SQLCHAR*)lx::kDataSourcePassword, SQL_NTS);
    const double start = Now();
    SQLHSTMT stmt = nullptr;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    std::string sql = lx::MessageListSql(folder);
    SQLExecDirect(stmt, (SQLCHAR*)sql.c_str(), SQL_NTS);
    SQLINTEGER num = 0, size = 0;
    char from[81], subject[256], type[2];
    TIMESTAMP_STRUCT date;
    SQLLEN ind[6];
    SQLBindCol(stmt, 1, SQL_C_SLONG, &num, 0, &ind[0]);
    SQLBindCol(stmt, 2, SQL_C_CHAR, from, sizeof from, &ind[1]);
    SQLBindCol(stmt, 3, SQL_C_CHAR, subject, sizeof subject, &ind[2]);
    SQLBindCol(stmt, 4, SQL_C_SLONG, &size, 0, &ind[3]);
    SQLBindCol(stmt, 5, SQL_C_TYPE_TIMESTAMP, &date, sizeof date, &ind[4]);
    SQLBindCol(stmt, 6, SQL_C_CHAR, type, sizeof type, &ind[5]);
    long n = 0;
    while (SQL_SUCCEEDED(SQLFetch(stmt))) ++n;
    const double elapsed = Now() - start;
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    *rows = n;
    (void)conn;
    return elapsed;
}

} // namespace

// A few folders and messages of every kind, both panes side by side, a drop highlight on one
// folder; the window stays up for `seconds` so that the screen can be captured.
int Show(odbcvantConnection& conn, int seconds) {
    lx::FolderStore folders(&conn, nullptr);
    std::vector<lx::FolderRow> rows;
    if (!folders.LoadEnsuringSpecialFolders(
            rows, [](const char*) { return std::string("Special folder"); }))
        return 1;
    folders.Insert("Bob's mail", "U", "Mail from Bob");
    folders.Insert("Projects", "U", "Work in progress");
    folders.Load(rows);
    lx::SpecialFolderNumbers specials;
    lx::RecordSpecialFolderNumbers(rows, specials);
    const long in = specials.in;
    const char* subjects[] = {"Quarterly report&&N&F", "Lunch on Friday?&&N& ",
                              "Re: The O'Brien account&& & ", "Photos from the trip&& &F",
                              "Meeting notes&& & "};
    for (int i = 0; i < 5; ++i) {
        const lx::StoreTime t{2026, 12 - i, 9 - i, 9, 30, 0};
        Exec(conn, "INSERT INTO Messages (FolderNum, MesgId, FromAdd, MesgDate, AppDate, Subject, "
                   "MailData, MesgType, "
                   "MesgSize) VALUES (" +
                       std::to_string(in) + ", '<s@x>', " +
                       lx::SqlQuote(std::string("person") + std::to_string(i) + "@example.org") +
                       ", 'x', " + lx::TimestampLiteral(t) + ", " + lx::SqlQuote(subjects[i]) +
                       ", 'Body', 'I', 4)");
    }
    Exec(conn, "INSERT INTO Messages (FolderNum, MesgId, FromAdd, MesgDate, AppDate, Subject, "
               "MailData, MesgType, "
               "MesgSize) VALUES (" +
                   std::to_string(in) +
                   ", '<o@x>', 'me@example.org', 'x', {ts '2026-12-10 08:00:00'}, "
                   "'Draft kept in _IN&& & ', 'Body', 'O', 4)");
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "LxPanesShow";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ::RegisterClassA(&wc);
    HWND parent =
        ::CreateWindowExA(0, "LxPanesShow", "Lorvex panes", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20,
                          20, 820, 360, nullptr, nullptr, wc.hInstance, nullptr);
    // The program's catalogue beside the program, when it was built, gives the month names.
    lx::MessageCatalog catalog;
    lx::PaneContext context;
    context.conn = &conn;
    context.specialFolders = &specials;
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string vsf = path;
    vsf = vsf.substr(0, vsf.find_last_of("\\/") + 1) + "DGROUP.VSF";
    if (catalog.Open(vsf.c_str(), lx::CatalogMagic::Exact)) context.catalog = &catalog;
    lx::FolderPane folderPane(context);
    lx::MessageListPane list(context);
    if (!folderPane.Create(parent, 1) || !list.Create(parent, 2)) return 1;
    lx::WirePanes(folderPane, list, lx::PaneReports{});
    RECT area{};
    ::GetClientRect(parent, &area);
    ::MoveWindow(folderPane.Handle(), 0, 0, lx::FolderPane::kWidth, area.bottom, TRUE);
    ::MoveWindow(list.Handle(), lx::FolderPane::kWidth + 3, 0,
                 area.right - lx::FolderPane::kWidth - 3, area.bottom, TRUE);
    list.ClickRow(1, false, false);
    list.ClickRow(3, true, false);
    folderPane.ShowDropHighlight(7, true);
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    while (::GetTickCount() < end) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(20);
    }
    ::DestroyWindow(parent);
    return 0;
}

int main(int argc, char** argv) {
    const bool show = argc > 1 && std::string(argv[1]) == "show";
    const int n = !show && argc > 1 ? std::atoi(argv[1]) : 10000;
    lx::StoreConnection store;
    if (store.Open() != lx::StoreConnection::Outcome::Connected) {
        std::fprintf(stderr, "connect: %s\n", store.RefusalText().c_str());
        return 1;
    }
    odbcvantEnvironment& env = *store.Environment();
    odbcvantConnection& conn = *store.Get();
    for (int i = lx::kStoreTableCount - 1; i >= 0; --i)
        Exec(conn, std::string("DROP TABLE IF EXISTS ") + lx::StoreTables()[i].name);
    if (!lx::CreateStoreTables(conn)) return 1;
    if (show) return Show(conn, argc > 2 ? std::atoi(argv[2]) : 8);
    lx::FolderStore folders(&conn, nullptr);
    std::vector<lx::FolderRow> rows;
    if (!folders.LoadEnsuringSpecialFolders(rows, [](const char*) { return std::string("bench"); }))
        return 1;
    lx::SpecialFolderNumbers specials;
    lx::RecordSpecialFolderNumbers(rows, specials);
    const long in = specials.in, out = specials.out;
    std::printf("filling the store: %d incoming, %d outgoing messages\n", n, n);
    if (!Fill(conn, in, 'I', n) || !Fill(conn, out, 'O', n)) return 1;

    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "LxPanesBench";
    ::RegisterClassA(&wc);
    HWND parent = ::CreateWindowExA(0, "LxPanesBench", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                    0, 900, 600, nullptr, nullptr, wc.hInstance, nullptr);
    lx::PaneContext context;
    context.conn = &conn;
    context.specialFolders = &specials;
    lx::MessageListPane pane(context);
    if (!parent || !pane.Create(parent, 1)) {
        std::fprintf(stderr, "the message list could not be created (is DISPLAY set?)\n");
        return 1;
    }
    lx::MonthNames months;
    for (int round = 0; round < 2; ++round) {
        const long folder = round == 0 ? in : out;
        const char* what = round == 0 ? "incoming" : "outgoing";
        long bareRows = 0;
        BareQuery(env, conn, folder, &bareRows); // warm the engine's cache
        const double bare = BareQuery(env, conn, folder, &bareRows);
        lx::MessageListStore store(&conn, nullptr);
        std::vector<lx::ListedMessage> listed;
        long count = 0;
        double start = Now();
        store.Load(folder, months, listed, count);
        const double rowsOnly = Now() - start;
        start = Now();
        pane.LoadFolder(folder);
        const double fill = Now() - start;
        std::printf("%s: %ld rows\n", what, pane.MessageCount());
        std::printf("  bare ODBC query       : %.3f s (%ld rows)\n", bare, bareRows);
        std::printf("  row texts (store only): %.3f s  ratio %.2f\n", rowsOnly, rowsOnly / bare);
        std::printf("  message list fill     : %.3f s  ratio %.2f\n", fill, fill / bare);
    }
    ::DestroyWindow(parent);
    return 0;
}
