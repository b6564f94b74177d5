#include "tests/retrieval/storerows.h"

#include "common/schema/sqlforms.h"

#include <vector>

namespace lxtest {

long RetrievalStoreTest::AddFolder(const char* name, const char* type) {
    Exec(std::string("INSERT INTO Folders (Folder, FolderType, Description) VALUES (") +
         lx::SqlQuote(name) + ", " + lx::SqlQuote(type) + ", 'test')");
    return QueryLong("SELECT FolderNum FROM Folders WHERE Folder = " + lx::SqlQuote(name));
}

std::vector<StoredRow> RetrievalStoreTest::Rows() {
    std::vector<StoredRow> rows;
    odbcvantCursor cur(s_conn, "SELECT MesgNum, FolderNum, Subject, FromAdd, MesgSize, MesgType, "
                               "MailData FROM Messages ORDER BY MesgNum");
    SQLINTEGER num = 0, folder = 0, size = 0;
    char subject[256] = "", from[81] = "", type[2] = "";
    std::vector<char> data(200000);
    EXPECT_TRUE(cur.BindColumns(1, ODBCVANT_INT32, &num, 0));
    EXPECT_TRUE(cur.BindColumns(2, ODBCVANT_INT32, &folder, 0));
    EXPECT_TRUE(cur.BindColumns(3, ODBCVANT_TEXT, subject, sizeof subject));
    EXPECT_TRUE(cur.BindColumns(4, ODBCVANT_TEXT, from, sizeof from));
    EXPECT_TRUE(cur.BindColumns(5, ODBCVANT_INT32, &size, 0));
    EXPECT_TRUE(cur.BindColumns(6, ODBCVANT_TEXT, type, sizeof type));
    EXPECT_TRUE(cur.BindColumns(7, ODBCVANT_TEXT, data.data(), static_cast<int>(data.size())));
    EXPECT_TRUE(cur.ExecuteStmt()) << cur.GetLastErrorText();
    while (cur.SingleFetch())
        rows.push_back({static_cast<long>(num), static_cast<long>(folder), subject, from,
                        data.data(), static_cast<long>(size), type});
    return rows;
}

std::vector<std::string> RetrievalStoreTest::Children(const char* table, const char* column,
                                                      long mesgNum) {
    std::vector<std::string> values;
    const std::string sql = std::string("SELECT ") + column + " FROM " + table + " WHERE " +
                            lx::ConditionMesgNum(mesgNum);
    odbcvantCursor cur(s_conn, sql.c_str());
    char value[256] = "";
    EXPECT_TRUE(cur.BindColumns(1, ODBCVANT_TEXT, value, sizeof value));
    EXPECT_TRUE(cur.ExecuteStmt()) << cur.GetLastErrorText();
    while (cur.SingleFetch()) values.push_back(value);
    return values;
}

} // namespace lxtest
