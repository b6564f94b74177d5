// Statement operations, table descriptions, connections and error reports against a real store.
#include "store_fixture.h"

#include "common/schema/storeconnection.h"
#include "common/schema/storetables.h"

#include <cstring>

namespace lxtest {
namespace {

TEST_F(StoreTest, TableInfoDescribesColumns) {
    odbcvantTableInfo messages(s_conn, "Messages");
    ASSERT_TRUE(messages.IsValid());
    EXPECT_EQ(10, messages.GetColumnCount());
    int subject = messages.FindColumn("subject");
    ASSERT_GE(subject, 0);
    EXPECT_EQ(SQL_C_CHAR, messages.GetColumnCType(subject));
    EXPECT_EQ(255, messages.GetColumnWidth(subject));
    EXPECT_EQ(64, messages.GetColumnWidth(messages.FindColumn("MesgId")));
    EXPECT_EQ(0, messages.GetColumnWidth(messages.FindColumn("MailData"))); // long text
    EXPECT_EQ(SQL_C_SLONG, messages.GetColumnCType(messages.FindColumn("MesgNum")));
    EXPECT_EQ(SQL_C_TYPE_TIMESTAMP, messages.GetColumnCType(messages.FindColumn("AppDate")));
    EXPECT_EQ(-1, messages.FindColumn("Nothing"));
    EXPECT_STREQ("", messages.GetColumnName(99));
    odbcvantTableInfo distro(s_conn, "DistroAdd");
    // The flag is one 16-bit field whatever the engine declares.
    EXPECT_EQ(SQL_C_SSHORT, distro.GetColumnCType(distro.FindColumn("IsTo")));
    odbcvantTableInfo missing(s_conn, "NoSuchTable");
    EXPECT_FALSE(missing.IsValid());
    EXPECT_TRUE(missing.ReportError(nullptr));
    ASSERT_EQ(1u, ReportedErrors().size());
    EXPECT_TRUE(ContainsNoCase(ReportedErrors()[0].text, "NoSuchTable"));
}

TEST_F(StoreTest, InsertUpdateDeleteWithConditions) {
    odbcvantTableInfo book(s_conn, "AddBook");
    odbcvantStmt stmt(s_conn, &book);
    char name[49], dest[81], note[81];
    ODBCVANT_PBIND p[3];
    odbcvantSetParamBind(p[0], "AddName", name);
    odbcvantSetParamBind(p[1], "AddDest", dest);
    odbcvantSetParamBind(p[2], "AddNote", note);
    ASSERT_TRUE(stmt.PrepareInsert(p, 3)) << stmt.GetLastErrorText();
    for (int i = 0; i < 3; ++i) {
        std::snprintf(name, sizeof(name), "Name %d", i);
        std::snprintf(dest, sizeof(dest), "n%d@x", i);
        std::snprintf(note, sizeof(note), "note %d", i);
        ASSERT_TRUE(stmt.InsertRow()) << stmt.GetLastErrorText();
        EXPECT_EQ(1, stmt.GetRowsAffected());
    }
    EXPECT_EQ(3, QueryLong("SELECT COUNT(*) FROM AddBook"));
    long first = QueryLong("SELECT AddNum FROM AddBook WHERE AddName = 'Name 0'");
    ASSERT_GT(first, 0);
    EXPECT_EQ(
        first + 2,
        QueryLong("SELECT AddNum FROM AddBook WHERE AddName = 'Name 2'")); // store-assigned keys

    std::snprintf(note, sizeof(note), "changed");
    ODBCVANT_PBIND u[1];
    odbcvantSetParamBind(u[0], "AddNote", note);
    std::string cond = "AddNum = " + std::to_string(first + 1);
    ASSERT_TRUE(stmt.PrepareUpdate(u, 1, cond.c_str()));
    ASSERT_TRUE(stmt.UpdateRow()) << stmt.GetLastErrorText();
    EXPECT_EQ(1, stmt.GetRowsAffected());
    EXPECT_EQ(1, QueryLong("SELECT COUNT(*) FROM AddBook WHERE AddNote = 'changed'"));
    EXPECT_EQ(first + 1, QueryLong("SELECT AddNum FROM AddBook WHERE AddNote = 'changed'"));
    ASSERT_TRUE(stmt.PrepareUpdate(u, 1, "AddNum = -5"));
    EXPECT_TRUE(stmt.UpdateRow()); // no row matches: still a success
    EXPECT_EQ(0, stmt.GetRowsAffected());

    ASSERT_TRUE(stmt.PrepareDelete(("AddNum = " + std::to_string(first)).c_str()));
    ASSERT_TRUE(stmt.DeleteRow()) << stmt.GetLastErrorText();
    EXPECT_EQ(1, stmt.GetRowsAffected());
    EXPECT_EQ(2, QueryLong("SELECT COUNT(*) FROM AddBook"));
    EXPECT_FALSE(stmt.PrepareDelete("")); // would empty the table
    EXPECT_FALSE(stmt.PrepareUpdate(u, 1, nullptr));
    EXPECT_FALSE(stmt.InsertRow()); // prepared for nothing now
    EXPECT_EQ(2, QueryLong("SELECT COUNT(*) FROM AddBook"));
}

TEST_F(StoreTest, InsertFillsUnnamedColumnsAndNulls) {
    odbcvantTableInfo folders(s_conn, "Folders");
    odbcvantStmt stmt(s_conn, &folders);
    ODBCVANT_PBIND p[2];
    odbcvantSetParamBind(p[0], "Folder", "Solo");
    odbcvantSetParamBind(p[1], "Description", nullptr);
    ASSERT_TRUE(stmt.PrepareInsert(p, 2));
    ASSERT_TRUE(stmt.InsertRow()) << stmt.GetLastErrorText();
    EXPECT_GT(QueryLong("SELECT FolderNum FROM Folders WHERE Folder = 'Solo'"), 0);
    EXPECT_EQ(
        1,
        QueryLong("SELECT COUNT(*) FROM Folders WHERE Description IS NULL AND FolderType IS NULL"));
    odbcvantSetParamBind(p[0], "NoSuchColumn", "x");
    EXPECT_FALSE(stmt.PrepareInsert(p, 1));
    EXPECT_FALSE(stmt.PrepareInsert(p, 0));
}

TEST_F(StoreTest, TooLongTextIsRefusedAndReported) {
    odbcvantTableInfo folders(s_conn, "Folders");
    odbcvantStmt stmt(s_conn, &folders);
    char name[40] = "SeventeenLetters!"; // 17 characters into Folder text(16)
    ODBCVANT_PBIND p[1];
    odbcvantSetParamBind(p[0], "Folder", name);
    ASSERT_TRUE(stmt.PrepareInsert(p, 1));
    EXPECT_FALSE(stmt.InsertRow());
    EXPECT_EQ(0, QueryLong("SELECT COUNT(*) FROM Folders"));
    int marker = 0;
    EXPECT_TRUE(stmt.ReportError(reinterpret_cast<HWND>(&marker)));
    ASSERT_EQ(1u, ReportedErrors().size());
    EXPECT_EQ(static_cast<void*>(&marker), ReportedErrors()[0].window);
    EXPECT_NE(std::string::npos, ReportedErrors()[0].text.find("22001"));
    EXPECT_TRUE(ContainsNoCase(ReportedErrors()[0].text, "Folder"));
    name[16] = '\0'; // exactly 16 fits
    EXPECT_TRUE(stmt.InsertRow()) << stmt.GetLastErrorText();
    EXPECT_EQ(1, QueryLong("SELECT COUNT(*) FROM Folders"));
}

TEST_F(StoreTest, BadStatementReachesTheErrorHook) {
    odbcvantCursor cur(s_conn, "SELECT * FROM NoSuchTable");
    EXPECT_FALSE(cur.ExecuteStmt());
    int owner = 0;
    EXPECT_TRUE(cur.ReportError(reinterpret_cast<HWND>(&owner)));
    ASSERT_EQ(1u, ReportedErrors().size());
    const ReportedError& e = ReportedErrors()[0];
    EXPECT_EQ(static_cast<void*>(&owner), e.window);
    EXPECT_TRUE(ContainsNoCase(e.text, "SQLSTATE"));
    EXPECT_TRUE(ContainsNoCase(e.text, "NoSuchTable"));
    EXPECT_FALSE(e.caption.empty());
    int rows = 5;
    EXPECT_FALSE(cur.FetchFirst(&rows));
    EXPECT_EQ(-1, rows);

    odbcvantTableInfo folders(s_conn, "Folders");
    odbcvantStmt stmt(s_conn, &folders);
    ReportedErrors().clear();
    bool ok = stmt.PrepareDelete("NoSuchColumn = 1") && stmt.DeleteRow();
    EXPECT_FALSE(ok);
    EXPECT_TRUE(stmt.ReportError(nullptr));
    ASSERT_EQ(1u, ReportedErrors().size());
    EXPECT_TRUE(ContainsNoCase(ReportedErrors()[0].text, "NoSuchColumn"));
}

TEST_F(StoreTest, NoErrorMeansNoReport) {
    odbcvantCursor cur(s_conn, "SELECT COUNT(*) FROM Folders");
    SQLINTEGER n = -1;
    ASSERT_TRUE(cur.BindColumns(1, ODBCVANT_INT32, &n, 0));
    ASSERT_TRUE(cur.ExecuteStmt());
    EXPECT_FALSE(cur.ReportError(nullptr));
    EXPECT_TRUE(ReportedErrors().empty());
}

TEST_F(StoreTest, DeletingAParentRemovesItsChildren) {
    Exec("INSERT INTO Messages (FolderNum, MesgSize) VALUES (1, 0)");
    long mesg = QueryLong("SELECT MAX(MesgNum) FROM Messages");
    std::string m = std::to_string(mesg);
    Exec("INSERT INTO ToList (MesgNum, ToName) VALUES (" + m + ", 'a@x')");
    Exec("INSERT INTO CcList (MesgNum, CcName) VALUES (" + m + ", 'b@x')");
    Exec("INSERT INTO Files (MesgNum, FileName) VALUES (" + m + ", 'C:\\DATA\\f.txt')");
    Exec("INSERT INTO AddBook (AddName, AddDest) VALUES ('A', 'a@x')");
    Exec("INSERT INTO Distribution (DistroName) VALUES ('L')");
    long add = QueryLong("SELECT AddNum FROM AddBook");
    long list = QueryLong("SELECT DistroNum FROM Distribution");
    Exec("INSERT INTO DistroAdd (DistroNum, AddNum, IsTo) VALUES (" + std::to_string(list) + ", " +
         std::to_string(add) + ", 1)");
    odbcvantTableInfo messages(s_conn, "Messages");
    odbcvantStmt del(s_conn, &messages);
    ASSERT_TRUE(del.PrepareDelete(("MesgNum = " + m).c_str()));
    ASSERT_TRUE(del.DeleteRow());
    EXPECT_EQ(0, QueryLong("SELECT COUNT(*) FROM ToList"));
    EXPECT_EQ(0, QueryLong("SELECT COUNT(*) FROM CcList"));
    EXPECT_EQ(0, QueryLong("SELECT COUNT(*) FROM Files"));
    odbcvantTableInfo lists(s_conn, "Distribution");
    odbcvantStmt delList(s_conn, &lists);
    ASSERT_TRUE(delList.PrepareDelete(("DistroNum = " + std::to_string(list)).c_str()));
    ASSERT_TRUE(delList.DeleteRow());
    EXPECT_EQ(0, QueryLong("SELECT COUNT(*) FROM DistroAdd"));
    EXPECT_EQ(1, QueryLong("SELECT COUNT(*) FROM AddBook"));
}

TEST_F(StoreTest, CreatingTablesAgainKeepsTheRows) {
    AddFolders(2);
    EXPECT_TRUE(lx::CreateStoreTables(*s_conn)) << s_conn->GetLastErrorText();
    EXPECT_EQ(2, QueryLong("SELECT COUNT(*) FROM Folders"));
}

TEST(StoreConnection, MissingDataSourceFailsCleanly) {
    StoreTest::SetUpTestSuite(); // the ODBC configuration is in place
    InstallErrorHook();
    ReportedErrors().clear();
    odbcvantEnvironment env;
    ASSERT_TRUE(env.IsValid());
    odbcvantConnection conn(&env);
    EXPECT_FALSE(conn.ConnectTo("NoSuchSource", lx::kDataSourceUser, lx::kDataSourcePassword));
    EXPECT_FALSE(conn.IsConnected());
    EXPECT_NE(std::string(), conn.GetLastErrorText());
    EXPECT_TRUE(conn.ReportError(nullptr));
    EXPECT_EQ(1u, ReportedErrors().size());
    EXPECT_FALSE(conn.ExecuteDirect("SELECT 1"));
    odbcvantCursor cur(&conn, "SELECT 1");
    EXPECT_FALSE(cur.IsValid());
    EXPECT_FALSE(cur.ExecuteStmt());
    EXPECT_EQ(-1, cur.GetTotalResultRows());
    odbcvantTableInfo table(&conn, "Folders");
    EXPECT_FALSE(table.IsValid());
    odbcvantStmt stmt(&conn, &table);
    EXPECT_FALSE(stmt.IsValid());
    EXPECT_FALSE(stmt.PrepareDelete("FolderNum = 1"));
    odbcvantConnection orphan(nullptr);
    EXPECT_FALSE(orphan.IsValid());
    EXPECT_FALSE(orphan.ConnectTo(kDsn, lx::kDataSourceUser, lx::kDataSourcePassword));
}

} // namespace
} // namespace lxtest
