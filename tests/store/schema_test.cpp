#include "common/schema/schema.h"
#include "common/schema/scripts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

TEST(StoreSchema, EightTablesWithTheirColumns) {
    const char* names[] = {"Folders", "Messages", "ToList",       "CcList",
                           "Files",   "AddBook",  "Distribution", "DistroAdd"};
    const int columns[] = {4, 10, 2, 2, 3, 4, 2, 3};
    for (int i = 0; i < lx::kStoreTableCount; ++i) {
        EXPECT_STREQ(names[i], lx::StoreTables()[i].name);
        EXPECT_EQ(columns[i], lx::StoreTables()[i].columnCount) << names[i];
    }
    const lx::TableDef* messages = lx::FindStoreTable("Messages");
    ASSERT_NE(nullptr, messages);
    EXPECT_EQ(255, lx::FindStoreColumn(*messages, "Subject")->width);
    EXPECT_EQ(lx::ColumnKind::LongText, lx::FindStoreColumn(*messages, "MailData")->kind);
    EXPECT_EQ(lx::ColumnKind::Timestamp, lx::FindStoreColumn(*messages, "AppDate")->kind);
    EXPECT_EQ(lx::ColumnKind::Key, lx::FindStoreColumn(*messages, "MesgNum")->kind);
    EXPECT_EQ(nullptr, lx::FindStoreColumn(*messages, "Nothing"));
    EXPECT_EQ(nullptr, lx::FindStoreTable("messages"));
    EXPECT_EQ(lx::ColumnKind::Bit,
              lx::FindStoreColumn(*lx::FindStoreTable("DistroAdd"), "IsTo")->kind);
    EXPECT_EQ(48, lx::FindStoreColumn(*lx::FindStoreTable("AddBook"), "AddName")->width);
}

TEST(StoreSchema, SpecialFoldersInCreationOrder) {
    const char* names[] = {"_IN", "_OUT", "_DESK", "_DRAFT", "_SENT", "_TRASHCAN"};
    for (int i = 0; i < lx::kSpecialFolderCount; ++i) {
        EXPECT_STREQ(names[i], lx::SpecialFolders()[i].name);
        EXPECT_EQ("MAILFOLD_CPP_" + std::to_string(12 + i), lx::SpecialFolders()[i].descriptionKey);
        EXPECT_TRUE(lx::IsSpecialFolderName(names[i]));
    }
    EXPECT_FALSE(lx::IsSpecialFolderName("_in"));
    EXPECT_FALSE(lx::IsSpecialFolderName("Work"));
    EXPECT_STREQ("S", lx::kFolderTypeSpecial);
    EXPECT_STREQ("U", lx::kFolderTypeUser);
}

TEST(StoreScripts, SplitKeepsTriggerBodiesAndLiterals) {
    auto parts = lx::SplitSqlScript("-- a comment; with a semicolon\n"
                                    "CREATE TABLE a (x text);\n"
                                    "INSERT INTO a VALUES ('x;y'' -- z');\n"
                                    "CREATE TRIGGER t AFTER INSERT ON a BEGIN UPDATE a SET x = "
                                    "'b;'; DELETE FROM a WHERE 0; END;\n"
                                    "  ;  \n"
                                    "SELECT \"we;ird\" FROM a");
    ASSERT_EQ(4u, parts.size());
    EXPECT_EQ("CREATE TABLE a (x text)", parts[0]);
    EXPECT_EQ("INSERT INTO a VALUES ('x;y'' -- z')", parts[1]);
    EXPECT_EQ("CREATE TRIGGER t AFTER INSERT ON a BEGIN UPDATE a SET x = 'b;'; DELETE FROM a WHERE "
              "0; END",
              parts[2]);
    EXPECT_EQ("SELECT \"we;ird\" FROM a", parts[3]);
    EXPECT_TRUE(lx::SplitSqlScript("  -- only a comment\n").empty());
    auto dollar = lx::SplitSqlScript("CREATE FUNCTION f() RETURNS trigger AS $$ BEGIN x; IF a THEN "
                                     "y; END IF; END $$ LANGUAGE plpgsql;\n"
                                     "SELECT $t$;$t$, $1;\nSELECT 2");
    ASSERT_EQ(3u, dollar.size());
    EXPECT_EQ("CREATE FUNCTION f() RETURNS trigger AS $$ BEGIN x; IF a THEN y; END IF; END $$ "
              "LANGUAGE plpgsql",
              dollar[0]);
    EXPECT_EQ("SELECT $t$;$t$, $1", dollar[1]);
}

size_t CountStarting(const std::vector<std::string>& parts, const std::string& head) {
    return static_cast<size_t>(std::count_if(parts.begin(), parts.end(), [&](const std::string& s) {
        return s.compare(0, head.size(), head) == 0;
    }));
}

TEST(StoreScripts, BuiltInScriptsCreateEveryTable) {
    for (lx::StoreEngine engine : {lx::StoreEngine::SQLite, lx::StoreEngine::PostgreSQL}) {
        auto parts = lx::SplitSqlScript(lx::StoreCreationScript(engine));
        EXPECT_EQ(8u, CountStarting(parts, "CREATE TABLE IF NOT EXISTS"));
        for (int i = 0; i < lx::kStoreTableCount; ++i) {
            std::string head =
                std::string("CREATE TABLE IF NOT EXISTS ") + lx::StoreTables()[i].name + " (";
            EXPECT_EQ(1u, CountStarting(parts, head)) << head;
        }
    }
    auto sqlite = lx::SplitSqlScript(lx::StoreCreationScript(lx::StoreEngine::SQLite));
    EXPECT_EQ(2u, CountStarting(sqlite, "CREATE TRIGGER"));
    EXPECT_EQ(lx::StoreEngine::PostgreSQL, lx::StoreEngineFromDbmsName("PostgreSQL"));
    EXPECT_EQ(lx::StoreEngine::SQLite, lx::StoreEngineFromDbmsName("SQLite"));
}

} // namespace
