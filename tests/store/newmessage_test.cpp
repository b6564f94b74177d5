// Storing new messages: each message's recipients and files go under its own key, also when
// several messages share the second, size, Message-ID and folder that the select-back forms use.
#include "store_fixture.h"

#include "common/schema/newmessage.h"
#include "common/schema/sqlforms.h"
#include "common/schema/storetables.h"
#include "common/schema/subject.h"

#include <set>
#include <string>
#include <vector>

namespace lxtest {
namespace {

class NewMessageTest : public StoreTest {
protected:
    // Children of one message, read back in insert order.
    std::vector<std::string> Children(const char* table, const char* column, long mesgNum) {
        std::vector<std::string> values;
        const std::string sql = std::string("SELECT ") + column + " FROM " + table + " WHERE " +
                                lx::ConditionMesgNum(mesgNum) + " ORDER BY " + column;
        odbcvantCursor cur(s_conn, sql.c_str());
        char value[256] = "";
        EXPECT_TRUE(cur.BindColumns(1, ODBCVANT_TEXT, value, sizeof value));
        EXPECT_TRUE(cur.ExecuteStmt());
        while (cur.SingleFetch()) values.push_back(value);
        return values;
    }

    int CountRows(const std::string& sql) {
        odbcvantCursor cur(s_conn, sql.c_str());
        SQLINTEGER key = 0;
        EXPECT_TRUE(cur.BindColumns(1, ODBCVANT_INT32, &key, 0));
        EXPECT_TRUE(cur.ExecuteStmt());
        int rows = 0;
        while (cur.SingleFetch()) ++rows;
        return rows;
    }

    // A message whose select-back values are the same for every `n`; only its recipients, files
    // and text differ.
    static lx::NewMessage Twin(lx::NewMessageKind kind, int n) {
        lx::NewMessage m;
        m.kind = kind;
        m.folderNum = 1;
        m.mesgId = ""; // many messages come without a Message-ID
        m.fromAdd = "sender@example.org";
        m.mesgDate = "Wed, 9 Dec 2026 20:00:00 +0000";
        m.appDate = lx::StoreTime{2026, 12, 9, 20, 1, 2};
        m.subject = lx::ComposeSubject("Same second", kind == lx::NewMessageKind::Retrieved, true);
        m.mailData = "Text " + std::to_string(n); // same length for every n below 10
        const std::string tag = std::to_string(n);
        m.to = {"to" + tag + "a@example.org", "to" + tag + "b@example.org"};
        m.cc = {"cc" + tag + "@example.org"};
        m.files = {"C:\\LORVEX\\Data\\file" + tag + ".txt"};
        return m;
    }
};

TEST_F(NewMessageTest, MessagesAlikeInTheirSelectBackValuesEachKeepTheirOwnChildren) {
    const lx::NewMessageKind kinds[] = {lx::NewMessageKind::Retrieved, lx::NewMessageKind::Written,
                                        lx::NewMessageKind::Merged};
    for (lx::NewMessageKind kind : kinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        ASSERT_TRUE(lx::EmptyStoreTables(*s_conn));
        constexpr int kCount = 3;
        std::vector<long> keys;
        for (int n = 0; n < kCount; ++n) {
            long key = -1;
            ASSERT_EQ(lx::StoreOutcome::Stored,
                      lx::StoreNewMessage(s_conn, Twin(kind, n), nullptr, &key));
            keys.push_back(key);
        }
        // The select-back form alone answers with every one of them.
        EXPECT_EQ(kCount, CountRows(lx::SqlFindNewMessage(Twin(kind, 0))));
        EXPECT_EQ(kCount, static_cast<int>(std::set<long>(keys.begin(), keys.end()).size()));
        for (int n = 0; n < kCount; ++n) {
            const lx::NewMessage m = Twin(kind, n);
            EXPECT_EQ(m.to, Children("ToList", "ToName", keys[n]));
            EXPECT_EQ(m.cc, Children("CcList", "CcName", keys[n]));
            EXPECT_EQ(m.files, Children("Files", "FileName", keys[n]));
            EXPECT_EQ(keys[n], QueryLong("SELECT MesgNum FROM Messages WHERE MailData = '" +
                                         m.mailData + "'"));
        }
        EXPECT_EQ(kCount * 2, QueryLong("SELECT COUNT(*) FROM ToList"));
        EXPECT_TRUE(ReportedErrors().empty());
    }
}

TEST_F(NewMessageTest, TheNewKeyIsTheRowJustInserted) {
    lx::NewMessage m = Twin(lx::NewMessageKind::Written, 1);
    long first = -1, second = -1;
    ASSERT_EQ(lx::StoreOutcome::Stored, lx::InsertMessageRow(s_conn, m, nullptr, &first));
    EXPECT_EQ(first, lx::LastInsertedKey(s_conn));
    m.folderNum = 2;
    ASSERT_EQ(lx::StoreOutcome::Stored, lx::InsertMessageRow(s_conn, m, nullptr, &second));
    EXPECT_GT(second, first);
    EXPECT_EQ(second, QueryLong("SELECT MAX(MesgNum) FROM Messages"));
    EXPECT_EQ(2, QueryLong("SELECT FolderNum FROM Messages WHERE " + lx::ConditionMesgNum(second)));
}

TEST_F(NewMessageTest, OverlongValuesAreCutToTheirColumns) {
    lx::NewMessage m = Twin(lx::NewMessageKind::Retrieved, 4);
    m.mesgId = "<" + std::string(100, 'i') + ">";
    m.fromAdd = std::string(120, 'f');
    m.to = {std::string(100, 't')};
    long key = -1;
    ASSERT_EQ(lx::StoreOutcome::Stored, lx::StoreNewMessage(s_conn, m, nullptr, &key));
    EXPECT_EQ(key, QueryLong(lx::SqlFindNewMessage(m)));
    EXPECT_EQ(std::vector<std::string>{std::string(80, 't')}, Children("ToList", "ToName", key));
    EXPECT_EQ(6, QueryLong("SELECT MesgSize FROM Messages WHERE " +
                           lx::ConditionMesgNum(key))); // "Text 4"
}

TEST_F(NewMessageTest, RowTheStoreRefusesIsReportedAndGetsNoKey) {
    odbcvantConnection closed(s_env); // never connected: the store refuses every statement
    long key = 7;
    EXPECT_EQ(lx::StoreOutcome::RowNotWritten,
              lx::StoreNewMessage(&closed, Twin(lx::NewMessageKind::Retrieved, 6), nullptr, &key));
    EXPECT_EQ(-1, key);
    EXPECT_EQ(1u, ReportedErrors().size());
    EXPECT_EQ(0, QueryLong("SELECT COUNT(*) FROM ToList"));
}

TEST_F(NewMessageTest, SubjectIsCutToItsColumn) {
    lx::NewMessage m = Twin(lx::NewMessageKind::Written, 5);
    m.subject = std::string(300, 's');
    long key = -1;
    ASSERT_EQ(lx::StoreOutcome::Stored, lx::StoreNewMessage(s_conn, m, nullptr, &key));
    EXPECT_EQ(255,
              QueryLong("SELECT LENGTH(Subject) FROM Messages WHERE " + lx::ConditionMesgNum(key)));
}

} // namespace
} // namespace lxtest
