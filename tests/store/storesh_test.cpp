// tools/setup/store.sh: creates a store once and never touches an existing one.
#include "common/schema/scripts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

std::string Root() {
    const char* src = std::getenv("LX_SOURCE_DIR");
    return src && *src ? src : LX_SOURCE_DIR_DEFAULT;
}

std::string Shell(const std::string& cmd) {
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return "<popen failed>";
    char buf[256];
    while (std::fgets(buf, sizeof(buf), p)) out += buf;
    int rc = pclose(p);
    if (rc != 0) out += "<exit " + std::to_string(rc) + ">";
    return out;
}

TEST(StoreScript, CreatesTheStoreOnceOnly) {
    std::string dir = "/tmp/lx-storesh-" + std::to_string(getpid());
    std::string db = dir + "/sub/Lorvex.db";
    std::string script = "bash '" + Root() + "/tools/setup/store.sh' '" + db + "' 2>&1";
    Shell("rm -rf '" + dir + "'");
    std::string first = Shell(script);
    EXPECT_EQ(std::string::npos, first.find("<exit")) << first;
    EXPECT_EQ("AddBook CcList Distribution DistroAdd Files Folders Messages ToList\n",
              Shell("sqlite3 '" + db +
                    "' \"SELECT group_concat(name, ' ') FROM (SELECT name FROM sqlite_master "
                    "WHERE type = 'table' AND name NOT LIKE 'sqlite%' ORDER BY name)\""));
    Shell("sqlite3 '" + db + "' \"INSERT INTO Folders (Folder, FolderType) VALUES ('Kept', 'U')\"");
    std::string second = Shell(script);
    EXPECT_EQ(std::string::npos, second.find("<exit")) << second;
    EXPECT_EQ("1\n",
              Shell("sqlite3 '" + db + "' \"SELECT COUNT(*) FROM Folders WHERE Folder = 'Kept'\""));
    // Not a database at all: left exactly as it is.
    std::ofstream(dir + "/other.db") << "not a store";
    Shell("bash '" + Root() + "/tools/setup/store.sh' '" + dir + "/other.db'");
    std::ifstream in(dir + "/other.db");
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_EQ("not a store", ss.str());
    EXPECT_NE(std::string::npos,
              Shell("bash '" + Root() + "/tools/setup/store.sh' 2>&1").find("usage"));
    Shell("rm -rf '" + dir + "'");
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(StoreScript, BuiltInScriptsAreTheFilesText) {
    EXPECT_EQ(ReadFile(Root() + "/common/schema/lorvex-sqlite.sql"),
              lx::StoreCreationScript(lx::StoreEngine::SQLite));
    EXPECT_EQ(ReadFile(Root() + "/common/schema/lorvex-postgres.sql"),
              lx::StoreCreationScript(lx::StoreEngine::PostgreSQL));
}

} // namespace
