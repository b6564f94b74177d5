// Cursor operations against a real store: row sets, positioning, counting, re-aiming, binding.
#include "store_fixture.h"

#include <cstring>

namespace lxtest {
namespace {

// Five-row arrays plus one guard element that no fetch may touch.
struct FolderRows {
    static const int kRows = 5;
    SQLINTEGER num[kRows + 1];
    char folder[kRows + 1][17];
    char type[kRows + 1][2];
    char desc[kRows + 1][33];
    FolderRows() { std::memset(this, 0x5A, sizeof(*this)); }
    bool GuardIntact() const {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(folder[kRows]);
        for (size_t i = 0; i < sizeof(folder[kRows]); ++i)
            if (p[i] != 0x5A) return false;
        p = reinterpret_cast<const unsigned char*>(&num[kRows]);
        for (size_t i = 0; i < sizeof(num[kRows]); ++i)
            if (p[i] != 0x5A) return false;
        p = reinterpret_cast<const unsigned char*>(desc[kRows]);
        for (size_t i = 0; i < sizeof(desc[kRows]); ++i)
            if (p[i] != 0x5A) return false;
        return true;
    }
};

class CursorTest : public StoreTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        names = AddFolders(12);
        table.reset(new odbcvantTableInfo(s_conn, "Folders"));
        ASSERT_TRUE(table->IsValid()) << table->GetLastErrorText();
        cur.reset(new odbcvantCursor(s_conn, "SELECT * FROM Folders ORDER BY FolderType, Folder"));
        cur->SetScrollable(GetParam() ? 1 : 0);
        ASSERT_TRUE(cur->SetRowSetSize(5));
        ODBCVANT_CURSORBIND b[4];
        odbcvantSetColumnBind(b[0], "FolderNum", rows.num, 0, table.get());
        odbcvantSetColumnBind(b[1], "Folder", rows.folder, 17, table.get());
        odbcvantSetColumnBind(b[2], "FolderType", rows.type, 2, table.get());
        odbcvantSetColumnBind(b[3], "Description", rows.desc, 33, table.get());
        ASSERT_TRUE(cur->BindColumns(b, 4)) << cur->GetLastErrorText();
        ASSERT_TRUE(cur->ExecuteStmt()) << cur->GetLastErrorText();
    }
    // Row r (1-based) of the result sits in element e.
    void ExpectRow(int e, int r) {
        EXPECT_STREQ(names[r - 1].c_str(), rows.folder[e]) << "element " << e;
        EXPECT_STREQ("U", rows.type[e]);
        EXPECT_EQ("Folder number " + std::to_string(r), std::string(rows.desc[e]));
        EXPECT_EQ(QueryLong("SELECT FolderNum FROM Folders WHERE Folder = '" + names[r - 1] + "'"),
                  rows.num[e]);
    }
    std::vector<std::string> names;
    std::unique_ptr<odbcvantTableInfo> table;
    std::unique_ptr<odbcvantCursor> cur;
    FolderRows rows;
};

TEST_P(CursorTest, RowSetsOfFiveOverTwelveRows) {
    int n = -9;
    EXPECT_FALSE(cur->SetRowSetSize(0));
    ASSERT_TRUE(cur->FetchNext(&n)) << cur->GetLastErrorText(); // a fresh result starts at row 1
    EXPECT_EQ(5, n);
    ExpectRow(0, 1);
    ASSERT_TRUE(cur->FetchFirst(&n)) << cur->GetLastErrorText();
    EXPECT_EQ(5, n);
    for (int e = 0; e < 5; ++e) ExpectRow(e, e + 1);
    ASSERT_TRUE(cur->FetchNext(&n));
    EXPECT_EQ(5, n);
    for (int e = 0; e < 5; ++e) ExpectRow(e, e + 6);
    ASSERT_TRUE(cur->FetchNext(&n));
    EXPECT_EQ(2, n);
    ExpectRow(0, 11);
    ExpectRow(1, 12);
    EXPECT_FALSE(cur->FetchNext(&n));
    EXPECT_LE(n, 0);
    EXPECT_FALSE(cur->FetchNext(&n));
    EXPECT_LE(n, 0);
    EXPECT_TRUE(rows.GuardIntact());
    // Back to the start after the end.
    ASSERT_TRUE(cur->FetchFirst(&n));
    EXPECT_EQ(5, n);
    ExpectRow(0, 1);
}

TEST_P(CursorTest, FetchAbsolutePutsTheRowInElementZero) {
    int n = -9;
    ASSERT_TRUE(cur->FetchAbsolute(7, &n)) << cur->GetLastErrorText();
    EXPECT_EQ(5, n);
    for (int e = 0; e < 5; ++e) ExpectRow(e, e + 7);
    ASSERT_TRUE(cur->FetchAbsolute(3, &n)); // backwards
    EXPECT_EQ(5, n);
    ExpectRow(0, 3);
    ASSERT_TRUE(cur->FetchAbsolute(11, &n));
    EXPECT_EQ(2, n);
    ExpectRow(0, 11);
    ExpectRow(1, 12);
    EXPECT_FALSE(cur->FetchAbsolute(13, &n));
    EXPECT_LE(n, 0);
    EXPECT_FALSE(cur->FetchNext(&n));
    EXPECT_LE(n, 0);
    ASSERT_TRUE(cur->FetchAbsolute(12, &n));
    EXPECT_EQ(1, n);
    ExpectRow(0, 12);
    EXPECT_FALSE(cur->FetchAbsolute(0, &n));
    EXPECT_EQ(-1, n);
    ASSERT_TRUE(cur->FetchAbsolute(1, &n));
    ExpectRow(0, 1);
    ASSERT_TRUE(cur->FetchNext(&n)); // continues after the set fetched by position
    ExpectRow(0, 6);
    EXPECT_TRUE(rows.GuardIntact());
}

TEST_P(CursorTest, TotalRowsLeavesTheCursorWhereItWas) {
    int n = 0;
    ASSERT_TRUE(cur->FetchFirst(&n));
    EXPECT_EQ(12, cur->GetTotalResultRows());
    ASSERT_TRUE(cur->FetchNext(&n));
    EXPECT_EQ(5, n);
    ExpectRow(0, 6);
    ASSERT_TRUE(cur->ReUseHandle());
    ASSERT_TRUE(cur->ResetQuery("SELECT * FROM Folders WHERE Folder > 'F09' ORDER BY Folder"));
    EXPECT_EQ(3, cur->GetTotalResultRows());
    ASSERT_TRUE(cur->ResetQuery("SELECT * FROM Folders WHERE Folder = 'none' ORDER BY Folder;"));
    EXPECT_EQ(0, cur->GetTotalResultRows());
    ASSERT_TRUE(cur->ResetQuery("SELECT * FROM NoSuchTable"));
    EXPECT_EQ(-1, cur->GetTotalResultRows());
    EXPECT_NE(std::string(), cur->GetLastErrorText());
}

INSTANTIATE_TEST_SUITE_P(ScrollingAndEmulated, CursorTest, ::testing::Values(true, false));

TEST_F(StoreTest, ReUseHandleReAimsTheCursor) {
    AddFolders(3);
    odbcvantTableInfo folders(s_conn, "Folders");
    odbcvantCursor cur(s_conn, "SELECT Folder FROM Folders ORDER BY Folder");
    char name[17];
    ODBCVANT_CURSORBIND b;
    odbcvantSetColumnBind(b, "Folder", name, sizeof(name), &folders);
    ASSERT_TRUE(cur.BindColumns(&b, 1));
    ASSERT_TRUE(cur.ExecuteStmt());
    ASSERT_TRUE(cur.SingleFetch());
    EXPECT_STREQ("F01", name);
    ASSERT_TRUE(cur.ReUseHandle());
    ASSERT_TRUE(cur.ResetQuery("SELECT Description, FolderNum FROM Folders ORDER BY Folder DESC"));
    char desc[33];
    SQLINTEGER num = 0;
    ASSERT_TRUE(cur.BindColumns(1, ODBCVANT_TEXT, desc, sizeof(desc)));
    ASSERT_TRUE(cur.BindColumns(2, ODBCVANT_INT32, &num, 0));
    ASSERT_TRUE(cur.ExecuteStmt()) << cur.GetLastErrorText();
    ASSERT_TRUE(cur.SingleFetch());
    EXPECT_STREQ("Folder number 3", desc);
    EXPECT_STREQ("F01", name); // the old binding is gone
    EXPECT_EQ(QueryLong("SELECT FolderNum FROM Folders WHERE Folder = 'F03'"), num);
}

TEST_F(StoreTest, SingleFetchWalksTheRowsThenStops) {
    Exec("INSERT INTO Messages (FolderNum, MesgSize) VALUES (1, 0), (1, 0)");
    std::string first = std::to_string(QueryLong("SELECT MIN(MesgNum) FROM Messages"));
    std::string second = std::to_string(QueryLong("SELECT MAX(MesgNum) FROM Messages"));
    Exec("INSERT INTO ToList (MesgNum, ToName) VALUES (" + first + ", 'b@x'), (" + first +
         ", 'a@x'), (" + first + ", 'c@x'), (" + second + ", 'z@x')");
    odbcvantCursor cur(
        s_conn,
        ("SELECT ToName FROM ToList WHERE MesgNum = " + first + " ORDER BY ToName").c_str());
    char to[81];
    ASSERT_TRUE(cur.SetSingleResult());
    ASSERT_TRUE(cur.BindColumns(1, ODBCVANT_TEXT, to, sizeof(to)));
    EXPECT_FALSE(cur.SingleFetch()); // not executed yet
    ASSERT_TRUE(cur.ExecuteStmt());
    std::vector<std::string> got;
    while (cur.SingleFetch()) got.push_back(to);
    EXPECT_EQ((std::vector<std::string>{"a@x", "b@x", "c@x"}), got);
    EXPECT_FALSE(cur.SingleFetch());
}

TEST_F(StoreTest, ShortFormBindsCountsSmallIntsAndBits) {
    AddFolders(7);
    EXPECT_EQ(7, QueryLong("SELECT COUNT(*) FROM Folders"));
    Exec("INSERT INTO AddBook (AddNum, AddName) VALUES (2, 'two'), (3, 'three')");
    Exec("INSERT INTO Distribution (DistroNum, DistroName) VALUES (1, 'one')");
    Exec("INSERT INTO DistroAdd (DistroNum, AddNum, IsTo) VALUES (1, 2, 1), (1, 3, 0)");
    odbcvantCursor cur(
        s_conn,
        "SELECT AddNum, IsTo, COUNT(*) FROM DistroAdd GROUP BY AddNum, IsTo ORDER BY AddNum");
    SQLSMALLINT add[2] = {0, 0};
    unsigned char isTo[3] = {9, 9, 0x77};
    SQLINTEGER count[2] = {0, 0};
    ASSERT_TRUE(cur.SetRowSetSize(2));
    ASSERT_TRUE(cur.BindColumns(1, ODBCVANT_INT16, add, 0));
    ASSERT_TRUE(cur.BindColumns(2, ODBCVANT_BIT, isTo, 0));
    ASSERT_TRUE(cur.BindColumns(3, ODBCVANT_INT32, count, 0));
    ASSERT_TRUE(cur.ExecuteStmt());
    int n = 0;
    ASSERT_TRUE(cur.FetchFirst(&n)) << cur.GetLastErrorText();
    EXPECT_EQ(2, n);
    EXPECT_EQ(2, add[0]);
    EXPECT_EQ(3, add[1]);
    EXPECT_EQ(1, isTo[0]);
    EXPECT_EQ(0, isTo[1]);
    EXPECT_EQ(0x77, isTo[2]);
    EXPECT_EQ(1, count[0]);
    EXPECT_FALSE(cur.BindColumns(0, ODBCVANT_INT32, count, 0));
    EXPECT_FALSE(cur.BindColumns(1, 99, count, 0));
    EXPECT_FALSE(cur.BindColumns(1, ODBCVANT_TEXT, count, 0));
}

TEST_F(StoreTest, TextIsCutToTheCallersBufferAndNullsReadEmpty) {
    Exec("INSERT INTO Folders (Folder, FolderType, Description) VALUES ('LongName', 'U', NULL)");
    odbcvantTableInfo folders(s_conn, "Folders");
    odbcvantCursor cur(s_conn, "SELECT Folder, Description FROM Folders");
    char small[2][4];
    char desc[33];
    std::memset(small, 'x', sizeof(small));
    std::memset(desc, 'y', sizeof(desc));
    ODBCVANT_CURSORBIND b[2];
    odbcvantSetColumnBind(b[0], "Folder", small[0], 4, &folders);
    odbcvantSetColumnBind(b[1], "Description", desc, sizeof(desc), &folders);
    ASSERT_TRUE(cur.BindColumns(b, 2));
    ASSERT_TRUE(cur.ExecuteStmt());
    ASSERT_TRUE(cur.SingleFetch());
    EXPECT_STREQ("Lon", small[0]);
    EXPECT_EQ(0, std::memcmp(small[1], "xxxx", 4));
    EXPECT_STREQ("", desc);
}

TEST_F(StoreTest, BindingNeedsAKnownColumn) {
    odbcvantTableInfo folders(s_conn, "Folders");
    odbcvantCursor cur(s_conn, "SELECT Folder FROM Folders");
    char buf[17];
    ODBCVANT_CURSORBIND b;
    odbcvantSetColumnBind(b, "NoSuchColumn", buf, sizeof(buf), &folders);
    EXPECT_FALSE(cur.BindColumns(&b, 1));
    EXPECT_NE(std::string::npos, std::string(cur.GetLastErrorText()).find("NoSuchColumn"));
    odbcvantSetColumnBind(b, "Folder", buf, 0, &folders);
    EXPECT_FALSE(cur.BindColumns(&b, 1)); // text needs a length
    odbcvantSetColumnBind(b, "F.Folder", buf, sizeof(buf), &folders);
    EXPECT_TRUE(cur.BindColumns(&b, 1)); // an alias prefix names the same column
}

TEST_F(StoreTest, LongTextFetchStaysInsideItsBuffer) {
    std::string body(10000, 'm');
    Exec("INSERT INTO Messages (FolderNum, MailData, MesgSize) VALUES (1, '" + body + "', 10000)");
    odbcvantTableInfo messages(s_conn, "Messages");
    odbcvantCursor cur(s_conn, "SELECT MailData, MesgSize FROM Messages");
    char data[101];
    std::memset(data, 'G', sizeof(data));
    SQLINTEGER size = 0;
    ODBCVANT_CURSORBIND b[2];
    odbcvantSetColumnBind(b[0], "MailData", data, 100, &messages);
    odbcvantSetColumnBind(b[1], "MesgSize", &size, 0, &messages);
    ASSERT_TRUE(cur.BindColumns(b, 2));
    ASSERT_TRUE(cur.ExecuteStmt());
    ASSERT_TRUE(cur.SingleFetch());
    EXPECT_EQ(99u, std::strlen(data));
    EXPECT_EQ('G', data[100]);
    EXPECT_EQ(10000, size);
}

} // namespace
} // namespace lxtest
