// A real message store for the tests: natively a private SQLite file behind the DSN "Lorvex"
// (ODBC configuration written here before the first connect); under Wine the DSN "Lorvex" that
// the test runner configured. Either way the tables are created afresh at the start.
#pragma once

#include "odbcvant/odbcvant.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lx {
class StoreConnection;
}

namespace lxtest {

extern const char kDsn[];

// What the installed error reporter received.
struct ReportedError {
    void* window = nullptr;
    std::string text;
    std::string caption;
};
std::vector<ReportedError>& ReportedErrors();
void InstallErrorHook();

class StoreTest : public ::testing::Test {
public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    void SetUp() override;
    static odbcvantConnection& Conn() { return *s_conn; }
    // Runs a statement that must succeed.
    static void Exec(const std::string& sql);
    // Reads one integer through a fresh single-result cursor; -1 when there is no row.
    static long QueryLong(const std::string& sql);
    // Adds folders named Fnn (nn = 1..count) of type "U"; returns their names in insert order.
    static std::vector<std::string> AddFolders(int count);

public:
    static lx::StoreConnection* s_store; // one connection for the whole test program
    // Its environment and connection.
    static odbcvantEnvironment* s_env;
    static odbcvantConnection* s_conn;
};

// Whether text contains word, ignoring case (engines differ in how they spell names back).
bool ContainsNoCase(const std::string& text, const std::string& word);

TIMESTAMP_STRUCT Stamp(int y, int mo, int d, int h, int mi, int s, unsigned fraction = 0);

} // namespace lxtest
