// The programs' own SQL behaving the same on every store engine: names sort byte by byte, the
// letter tabs find names of either case, the search compares in upper case with its wildcards
// taken literally, texts keep their quotes, backslashes and 8-bit bytes.
#include "tests/store/store_fixture.h"

#include "common/schema/newmessage.h"
#include "common/schema/sqlforms.h"
#include "common/schema/subject.h"
#include "mailer/addressing/logic/addrpick_rules.h"
#include "mailer/ui/logic/findmesg_query.h"

#include <string>
#include <vector>

namespace lxtest {
namespace {

class PortableSqlTest : public StoreTest {
protected:
    // Column 1 of every row the query yields, as text.
    static std::vector<std::string> Texts(const std::string& sql, int column = 1) {
        odbcvantCursor cursor(s_conn, sql.c_str());
        char text[256] = {0};
        std::vector<std::string> out;
        if (!cursor.SetSingleResult() ||
            !cursor.BindColumns(column, ODBCVANT_TEXT, text, sizeof text) ||
            !cursor.ExecuteStmt()) {
            ADD_FAILURE() << sql << ": " << cursor.GetLastErrorText();
            return out;
        }
        while (cursor.SingleFetch()) out.push_back(text);
        return out;
    }

    // The number of rows the query yields, as the store access component counts them.
    static long Rows(const std::string& sql) {
        odbcvantCursor cursor(s_conn, sql.c_str());
        EXPECT_TRUE(cursor.ExecuteStmt()) << sql << ": " << cursor.GetLastErrorText();
        return cursor.GetTotalResultRows();
    }

    static void StoreMessage(const std::string& from, const std::string& subject, int second) {
        lx::NewMessage m;
        m.kind = lx::NewMessageKind::Retrieved;
        m.folderNum = 1;
        m.mesgId = "<" + std::to_string(second) + "@portable>";
        m.fromAdd = from;
        m.appDate = lx::StoreTime{2026, 12, 10, 9, 0, second};
        m.subject = lx::ComposeSubject(subject, true, false);
        m.mailData = "text";
        long key = -1;
        EXPECT_EQ(lx::StoreOutcome::Stored, lx::StoreNewMessage(s_conn, m, nullptr, &key)) << from;
    }
};

TEST_F(PortableSqlTest, FolderNamesSortByteByByteAfterTheSpecialFolders) {
    for (const char* row :
         {"'alpha', 'U'", "'_OUT', 'S'", "'Zeta', 'U'", "'_x', 'U'", "'Beta', 'U'", "'_IN', 'S'"})
        Exec(std::string("INSERT INTO Folders (Folder, FolderType) VALUES (") + row + ")");
    EXPECT_EQ(Texts(lx::kSqlFolderNames, 2),
              (std::vector<std::string>{"_IN", "_OUT", "Beta", "Zeta", "_x", "alpha"}));
}

TEST_F(PortableSqlTest, LetterTabsFindNamesOfEitherCase) {
    for (const char* name : {"alice", "Bob", "carl", "Dave", "eve"})
        Exec("INSERT INTO AddBook (AddName, AddDest) VALUES (" + lx::SqlQuote(name) + ", 'x@y')");
    EXPECT_EQ(Texts(lx::AddressTabQuery(0)), (std::vector<std::string>{"Bob", "alice", "carl"}));
    EXPECT_EQ(Texts(lx::AddressTabQuery(1)), (std::vector<std::string>{"Dave", "eve"}));
}

TEST_F(PortableSqlTest, SearchComparesInUpperCaseAndTakesWildcardsLiterally) {
    StoreMessage("Pat Quinn <PAT@example.org>", "Budget 2027", 1);
    StoreMessage("100%_sure <sure@example.org>", "budget_draft", 2);
    StoreMessage("1000 sure <other@example.org>", "Budget draft", 3);
    struct Case {
        lx::SearchFields fields;
        long rows;
    };
    const std::vector<Case> cases = {
        {{"pat@EXAMPLE", false, "", false, "", ""}, 1},
        {{"100%_", false, "", false, "", ""}, 1},
        {{"", false, "BUDGET_", false, "", ""}, 1},
        {{"", false, "budget 2027", true, "", ""}, 1},
        {{"", false, "budget", false, "2026-12-10", "2026-12-10"}, 3},
        {{"", false, "budget", false, "2026-12-11", ""}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.rows, Rows(lx::SearchSql(c.fields)))
            << c.fields.sender << "|" << c.fields.subject << "|" << c.fields.beginDate;
}

TEST_F(PortableSqlTest, QuotesBackslashesAndEightBitBytesSurviveSqlText) {
    const std::vector<std::string> names = {"C:\\DATA\\O'Brien.txt", "\\\\server\\share\\x",
                                            "Gr\xfc\xdf"
                                            "e \xe9t\xe9",
                                            "it''s"};
    for (const std::string& name : names)
        Exec("INSERT INTO Distribution (DistroName) VALUES (" + lx::SqlQuote(name) + ")");
    for (const std::string& name : names) {
        EXPECT_EQ(Texts(lx::SqlFindDistribution(name)).size(), 1u) << name;
        EXPECT_EQ(
            Texts("SELECT DistroName FROM Distribution WHERE DistroName = " + lx::SqlQuote(name)),
            std::vector<std::string>{name});
    }
}

TEST_F(PortableSqlTest, AKeyWrittenWithItsRowIsNeverCountedAgain) {
    // A store copied from another engine keeps its keys; counted keys go on past them.
    Exec("INSERT INTO AddBook (AddNum, AddName, AddDest) VALUES (40000, 'Kept', 'kept@x')");
    odbcvantTableInfo book(s_conn, "AddBook");
    char name[49] = "New", dest[81] = "new@x";
    ODBCVANT_PBIND p[2];
    odbcvantSetParamBind(p[0], "AddName", name);
    odbcvantSetParamBind(p[1], "AddDest", dest);
    odbcvantStmt insert(s_conn, &book);
    ASSERT_TRUE(insert.PrepareInsert(p, 2) && insert.InsertRow()) << insert.GetLastErrorText();
    const long key = lx::FindNewRowKey(s_conn, lx::SqlFindAddress(name, dest), "AddNum");
    EXPECT_GT(key, 40000);
    EXPECT_EQ(key, lx::LastInsertedKey(s_conn));
    EXPECT_EQ(2, QueryLong("SELECT COUNT(*) FROM AddBook"));
}

} // namespace
} // namespace lxtest
