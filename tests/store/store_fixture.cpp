#include "store_fixture.h"

#include "common/schema/schema.h"
#include "common/schema/storeconnection.h"
#include "common/schema/storetables.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#ifndef _WIN32
#include <filesystem>
#include <glob.h>
#include <unistd.h>
#endif

#ifndef _WIN32
// The SQLite ODBC driver keeps a few connect-time allocations past its unloading; that is the
// driver's, not ours, so sanitizer builds leave it out of their leak report. The driver has no
// frame pointers: full unwinding is needed to see its frames.
extern "C" const char* __lsan_default_suppressions() { return "leak:libsqlite3odbc\n"; }
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
#endif

namespace lxtest {

const char kDsn[] = "Lorvex";

lx::StoreConnection* StoreTest::s_store = nullptr;
odbcvantEnvironment* StoreTest::s_env = nullptr;
odbcvantConnection* StoreTest::s_conn = nullptr;

std::vector<ReportedError>& ReportedErrors() {
    static std::vector<ReportedError> errors;
    return errors;
}

namespace {

void Reporter(void* window, const char* text, const char* caption) {
    ReportedError e;
    e.window = window;
    e.text = text ? text : "";
    e.caption = caption ? caption : "";
    ReportedErrors().push_back(e);
}

#ifndef _WIN32
std::string& PrivateStoreDir() {
    static std::string dir;
    return dir;
}

std::string SqliteDriver() {
    glob_t g;
    std::string found;
    if (glob("/usr/lib/*/odbc/libsqlite3odbc.so", 0, nullptr, &g) == 0 && g.gl_pathc > 0)
        found = g.gl_pathv[0];
    globfree(&g);
    return found;
}

// A private ODBC configuration and store file, so parallel test runs never share a store.
void WriteNativeOdbcConfig() {
    const char* bin = std::getenv("LX_BINARY_DIR");
    std::string dir =
        std::string(bin && *bin ? bin : "/tmp") + "/test-store/store-" + std::to_string(getpid());
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    ASSERT_FALSE(ec) << dir << ": " << ec.message();
    PrivateStoreDir() = dir;
    std::string db = dir + "/Lorvex.db";
    std::remove(db.c_str());
    std::string driver = SqliteDriver();
    ASSERT_FALSE(driver.empty()) << "libsqliteodbc is not installed";
    std::ofstream(dir + "/odbcinst.ini") << "[SQLite3]\nDriver=" << driver << "\nDontDLClose=1\n";
    std::ofstream(dir + "/odbc.ini")
        << "[Lorvex]\nDriver=" << driver << "\nDatabase=" << db
        << "\nTimeout=5000\nStepAPI=0\nNoWCHAR=1\nLongNames=0\nFKSupport=1\n";
    setenv("ODBCSYSINI", dir.c_str(), 1);
    setenv("ODBCINI", (dir + "/odbc.ini").c_str(), 1);
}
#endif

// Closes the store after the last test and removes a private store.
class StoreCleanup : public ::testing::Environment {
public:
    void TearDown() override {
        StoreTest::s_conn = nullptr;
        StoreTest::s_env = nullptr;
        delete StoreTest::s_store;
        StoreTest::s_store = nullptr;
#ifndef _WIN32
        if (!PrivateStoreDir().empty()) {
            std::error_code ec;
            std::filesystem::remove_all(PrivateStoreDir(), ec);
        }
#endif
    }
};
::testing::Environment* const g_cleanup = ::testing::AddGlobalTestEnvironment(new StoreCleanup);

} // namespace

void InstallErrorHook() { odbcvantSetErrorReporter(&Reporter); }

void StoreTest::SetUpTestSuite() {
    if (s_conn) return;
#ifndef _WIN32
    // LX_STORE_ODBCSYSINI names a configuration of one's own (another engine behind "Lorvex").
    const char* own = std::getenv("LX_STORE_ODBCSYSINI");
    if (own && *own) {
        setenv("ODBCSYSINI", own, 1);
        setenv("ODBCINI", (std::string(own) + "/odbc.ini").c_str(), 1);
    } else {
        WriteNativeOdbcConfig();
    }
#endif
    InstallErrorHook();
    // The program's own connection type, on the tests' data source.
    s_store = new lx::StoreConnection;
    ASSERT_EQ(lx::StoreConnection::Outcome::Connected, s_store->Open(kDsn))
        << s_store->RefusalText();
    s_conn = s_store->Get();
    s_env = s_store->Environment();
    // A store left by an earlier run may have an older layout: start from the current script.
    for (int i = lx::kStoreTableCount - 1; i >= 0; --i) {
        std::string sql = std::string("DROP TABLE IF EXISTS ") + lx::StoreTables()[i].name;
        ASSERT_TRUE(s_conn->ExecuteDirect(sql.c_str())) << s_conn->GetLastErrorText();
    }
    ASSERT_TRUE(lx::CreateStoreTables(*s_conn)) << s_conn->GetLastErrorText();
}

void StoreTest::TearDownTestSuite() {}

void StoreTest::SetUp() {
    ASSERT_NE(nullptr, s_conn) << "no store connection";
    ASSERT_TRUE(lx::EmptyStoreTables(*s_conn)) << s_conn->GetLastErrorText();
    ReportedErrors().clear();
}

void StoreTest::Exec(const std::string& sql) {
    ASSERT_TRUE(s_conn->ExecuteDirect(sql.c_str())) << sql << ": " << s_conn->GetLastErrorText();
}

long StoreTest::QueryLong(const std::string& sql) {
    odbcvantCursor cur(s_conn, sql.c_str());
    SQLINTEGER value = 0;
    cur.SetSingleResult();
    if (!cur.BindColumns(1, ODBCVANT_INT32, &value, 0) || !cur.ExecuteStmt()) {
        ADD_FAILURE() << sql << ": " << cur.GetLastErrorText();
        return -2;
    }
    return cur.SingleFetch() ? static_cast<long>(value) : -1;
}

std::vector<std::string> StoreTest::AddFolders(int count) {
    odbcvantTableInfo folders(s_conn, "Folders");
    odbcvantStmt stmt(s_conn, &folders);
    char name[17], type[2] = "U", desc[33];
    ODBCVANT_PBIND p[3];
    odbcvantSetParamBind(p[0], "Folder", name);
    odbcvantSetParamBind(p[1], "FolderType", type);
    odbcvantSetParamBind(p[2], "Description", desc);
    std::vector<std::string> names;
    EXPECT_TRUE(stmt.PrepareInsert(p, 3)) << stmt.GetLastErrorText();
    for (int i = 1; i <= count; ++i) {
        std::snprintf(name, sizeof(name), "F%02d", i);
        std::snprintf(desc, sizeof(desc), "Folder number %d", i);
        EXPECT_TRUE(stmt.InsertRow()) << stmt.GetLastErrorText();
        names.push_back(name);
    }
    return names;
}

bool ContainsNoCase(const std::string& text, const std::string& word) {
    auto lower = [](std::string v) {
        for (char& c : v)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return v;
    };
    return lower(text).find(lower(word)) != std::string::npos;
}

TIMESTAMP_STRUCT Stamp(int y, int mo, int d, int h, int mi, int s, unsigned fraction) {
    TIMESTAMP_STRUCT t;
    t.year = static_cast<SQLSMALLINT>(y);
    t.month = static_cast<SQLUSMALLINT>(mo);
    t.day = static_cast<SQLUSMALLINT>(d);
    t.hour = static_cast<SQLUSMALLINT>(h);
    t.minute = static_cast<SQLUSMALLINT>(mi);
    t.second = static_cast<SQLUSMALLINT>(s);
    t.fraction = fraction;
    return t;
}

} // namespace lxtest
