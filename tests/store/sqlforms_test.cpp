#include "common/schema/sqlforms.h"

#include <gtest/gtest.h>

namespace {

lx::StoreTime When() {
    lx::StoreTime t;
    t.year = 2026;
    t.month = 3;
    t.day = 7;
    t.hour = 9;
    t.minute = 5;
    t.second = 1;
    return t;
}

TEST(SqlForms, DoublesApostrophes) {
    EXPECT_EQ("O''Brien", lx::SqlEscape("O'Brien"));
    EXPECT_EQ("''''", lx::SqlEscape("''"));
    EXPECT_EQ("'O''Brien'", lx::SqlQuote("O'Brien"));
    EXPECT_EQ("''", lx::SqlQuote(""));
    EXPECT_EQ("ab", lx::SqlEscape(std::string("ab\0'; DROP TABLE x", 19)));
}

TEST(SqlForms, TimestampAndConditions) {
    EXPECT_EQ("{ts '2026-03-07 09:05:01'}", lx::TimestampLiteral(When()));
    EXPECT_EQ("MesgNum = 42", lx::ConditionMesgNum(42));
    EXPECT_EQ("FolderNum = -1", lx::ConditionFolderNum(-1));
    EXPECT_EQ("AddNum = 7", lx::ConditionAddNum(7));
    EXPECT_EQ("DistroNum = 2147483647", lx::ConditionDistroNum(2147483647));
}

TEST(SqlForms, LookUpsAfterInsert) {
    EXPECT_EQ("SELECT MesgNum FROM Messages WHERE AppDate = {ts '2026-03-07 09:05:01'} AND "
              "MesgSize = 120 "
              "AND MesgId = '<it''s@host>'",
              lx::SqlFindRetrievedMessage(When(), 120, "<it's@host>"));
    EXPECT_EQ(
        "SELECT MesgNum FROM Messages WHERE AppDate = {ts '2026-03-07 09:05:01'} AND FolderNum = 4 "
        "AND MesgType = 'O'",
        lx::SqlFindWrittenMessage(When(), 4));
    EXPECT_EQ("SELECT MesgNum FROM Messages WHERE AppDate = {ts '2026-03-07 09:05:01'} AND "
              "MesgType = 'O'",
              lx::SqlFindMergedMessage(When()));
    EXPECT_EQ("SELECT AddNum FROM AddBook WHERE AddName = 'Pat O''Neil' AND AddDest = 'pat@x'",
              lx::SqlFindAddress("Pat O'Neil", "pat@x"));
    EXPECT_EQ("SELECT DistroNum FROM Distribution WHERE DistroName = 'Friends'' list'",
              lx::SqlFindDistribution("Friends' list"));
}

TEST(SqlForms, FixedQueries) {
    EXPECT_STREQ("SELECT * FROM Folders ORDER BY FolderType, Folder", lx::kSqlFolderList);
    EXPECT_STREQ("SELECT FolderNum, Folder FROM Folders ORDER BY FolderType, Folder",
                 lx::kSqlFolderNames);
    EXPECT_STREQ(" ORDER BY M.AppDate DESC", lx::kSqlMessageListOrder);
}

} // namespace
