// The shared SQL forms and stored values through a real store: apostrophes, subject flags,
// whole-second AppDate look-ups and UCASE.
#include "store_fixture.h"

#include "common/schema/sqlforms.h"
#include "common/schema/storetables.h"
#include "common/schema/subject.h"

#include <cstring>

namespace lxtest {
namespace {

struct MessageRow {
    SQLINTEGER folder = 1;
    char mesgId[65] = "";
    char from[81] = "";
    char date[41] = "Mon, 9 Dec 2026 10:00:00 +0000";
    TIMESTAMP_STRUCT appDate = Stamp(2026, 12, 9, 10, 11, 12, 987654321);
    char subject[256] = "";
    std::string data = "Body text";
    char type[2] = "I";
    SQLINTEGER size = 9;
};

// A retrieved message, unread and without files.
MessageRow Retrieved(const char* mesgId, const char* from, const char* subject) {
    MessageRow m;
    std::strcpy(m.mesgId, mesgId);
    std::strcpy(m.from, from);
    lx::ComposeSubject(subject, true, false, m.subject, sizeof(m.subject));
    return m;
}

class LookupTest : public StoreTest {
protected:
    // Stores the row the way retrieval does: the nine columns, keys left to the store.
    bool Store(MessageRow& m) {
        odbcvantTableInfo messages(s_conn, "Messages");
        odbcvantStmt stmt(s_conn, &messages);
        ODBCVANT_PBIND p[9];
        odbcvantSetParamBind(p[0], "FolderNum", &m.folder);
        odbcvantSetParamBind(p[1], "MesgId", m.mesgId);
        odbcvantSetParamBind(p[2], "FromAdd", m.from);
        odbcvantSetParamBind(p[3], "MesgDate", m.date);
        odbcvantSetParamBind(p[4], "AppDate", &m.appDate);
        odbcvantSetParamBind(p[5], "Subject", m.subject);
        odbcvantSetParamBind(p[6], "MailData", m.data.c_str());
        odbcvantSetParamBind(p[7], "MesgType", m.type);
        odbcvantSetParamBind(p[8], "MesgSize", &m.size);
        bool ok = stmt.PrepareInsert(p, 9) && stmt.InsertRow();
        if (!ok) stmt.ReportError(nullptr);
        return ok;
    }
    std::string ReadSubject(long mesgNum) {
        odbcvantCursor cur(
            s_conn,
            ("SELECT Subject FROM Messages WHERE " + lx::ConditionMesgNum(mesgNum)).c_str());
        char subject[256];
        std::memset(subject, 0, sizeof(subject));
        EXPECT_TRUE(cur.BindColumns(1, ODBCVANT_TEXT, subject, sizeof(subject)));
        EXPECT_TRUE(cur.ExecuteStmt());
        EXPECT_TRUE(cur.SingleFetch());
        return subject;
    }
    static lx::StoreTime When(const TIMESTAMP_STRUCT& t) { return lx::FromOdbcTimestamp(t); }
};

TEST_F(LookupTest, RetrievedMessageIsFoundByWholeSecondAppDate) {
    MessageRow m = Retrieved("<it's-1@example.org>", "o'hara@example.org", "Greetings");
    ASSERT_TRUE(Store(m));
    long num = QueryLong(lx::SqlFindRetrievedMessage(When(m.appDate), m.size, m.mesgId));
    ASSERT_GT(num, 0);
    EXPECT_EQ(num, QueryLong(lx::SqlFindRetrievedMessage(When(m.appDate), m.size, m.mesgId)));
    EXPECT_EQ(-1, QueryLong(lx::SqlFindRetrievedMessage(When(m.appDate), m.size + 1, m.mesgId)));

    // The stored time reads back without a fraction.
    odbcvantTableInfo messages(s_conn, "Messages");
    odbcvantCursor cur(s_conn,
                       ("SELECT AppDate FROM Messages WHERE " + lx::ConditionMesgNum(num)).c_str());
    TIMESTAMP_STRUCT back;
    std::memset(&back, 0x55, sizeof(back));
    ODBCVANT_CURSORBIND b;
    odbcvantSetColumnBind(b, "AppDate", &back, 0, &messages);
    ASSERT_TRUE(cur.BindColumns(&b, 1));
    ASSERT_TRUE(cur.ExecuteStmt());
    ASSERT_TRUE(cur.SingleFetch());
    EXPECT_EQ(2026, back.year);
    EXPECT_EQ(12, back.month);
    EXPECT_EQ(9, back.day);
    EXPECT_EQ(10, back.hour);
    EXPECT_EQ(11, back.minute);
    EXPECT_EQ(12, back.second);
    EXPECT_EQ(0u, back.fraction);
}

TEST_F(LookupTest, WrittenAndMergedMessagesAreFoundByTheirForms) {
    MessageRow m;
    m.folder = 4;
    std::strcpy(m.type, "O");
    lx::StoreTime now = lx::LocalTimeNow();
    m.appDate = lx::ToOdbcTimestamp(now);
    EXPECT_EQ(0u, m.appDate.fraction);
    EXPECT_EQ(lx::TimestampLiteral(now), lx::TimestampLiteral(lx::FromOdbcTimestamp(m.appDate)));
    ASSERT_TRUE(Store(m));
    long num = QueryLong(lx::SqlFindWrittenMessage(When(m.appDate), 4));
    EXPECT_GT(num, 0);
    EXPECT_EQ(num, QueryLong(lx::SqlFindMergedMessage(When(m.appDate))));
    EXPECT_EQ(-1, QueryLong(lx::SqlFindWrittenMessage(When(m.appDate), 5)));
    // Moving it updates only its folder; the look-up by the new folder finds it.
    odbcvantTableInfo messages(s_conn, "Messages");
    odbcvantStmt stmt(s_conn, &messages);
    SQLINTEGER sent = 6;
    ODBCVANT_PBIND p[1];
    odbcvantSetParamBind(p[0], "FolderNum", &sent);
    ASSERT_TRUE(stmt.PrepareUpdate(p, 1, lx::ConditionMesgNum(num).c_str()));
    ASSERT_TRUE(stmt.UpdateRow());
    EXPECT_EQ(num, QueryLong(lx::SqlFindWrittenMessage(When(m.appDate), 6)));

    // A fraction written by plain SQL is cut off by the store itself.
    Exec("UPDATE Messages SET AppDate = '2026-01-01 10:00:00.250' WHERE " +
         lx::ConditionMesgNum(num));
    lx::StoreTime later;
    later.year = 2026;
    later.month = 1;
    later.day = 1;
    later.hour = 10;
    EXPECT_EQ(num, QueryLong(lx::SqlFindMergedMessage(later)));
}

TEST_F(LookupTest, ApostrophesAreStoredAndFound) {
    odbcvantTableInfo book(s_conn, "AddBook");
    odbcvantStmt stmt(s_conn, &book);
    ODBCVANT_PBIND p[3];
    odbcvantSetParamBind(p[0], "AddName", "Pat O'Neil");
    odbcvantSetParamBind(p[1], "AddDest", "pat.o'neil@example.org");
    odbcvantSetParamBind(p[2], "AddNote", "it's ' ; -- not SQL");
    ASSERT_TRUE(stmt.PrepareInsert(p, 3));
    ASSERT_TRUE(stmt.InsertRow()) << stmt.GetLastErrorText();
    long add = QueryLong(lx::SqlFindAddress("Pat O'Neil", "pat.o'neil@example.org"));
    EXPECT_GT(add, 0);
    EXPECT_EQ(1, QueryLong("SELECT COUNT(*) FROM AddBook WHERE AddNote = " +
                           lx::SqlQuote("it's ' ; -- not SQL")));

    odbcvantTableInfo lists(s_conn, "Distribution");
    odbcvantStmt listStmt(s_conn, &lists);
    ODBCVANT_PBIND l[1];
    odbcvantSetParamBind(l[0], "DistroName", "Friends' list");
    ASSERT_TRUE(listStmt.PrepareInsert(l, 1));
    ASSERT_TRUE(listStmt.InsertRow());
    EXPECT_GT(QueryLong(lx::SqlFindDistribution("Friends' list")), 0);
    EXPECT_EQ(-1, QueryLong(lx::SqlFindDistribution("Friends")));
}

TEST_F(LookupTest, LongSubjectIsCutTo250WithTheSuffix) {
    MessageRow m;
    std::strcpy(m.mesgId, "<long@x>");
    std::string text(300, 's');
    text.replace(240, 10, "0123456789");
    lx::ComposeSubject(text.c_str(), true, false, m.subject, sizeof(m.subject));
    ASSERT_TRUE(Store(m));
    long num = QueryLong(lx::SqlFindRetrievedMessage(When(m.appDate), m.size, m.mesgId));
    ASSERT_GT(num, 0);
    std::string stored = ReadSubject(num);
    ASSERT_EQ(255u, stored.size());
    EXPECT_EQ(text.substr(0, 250) + "&&N& ", stored);
    lx::SubjectParts parts = lx::ParseSubject(stored);
    EXPECT_EQ(text.substr(0, 250), parts.shown);
    EXPECT_TRUE(parts.unread);
    EXPECT_FALSE(parts.hasFiles);

    // The uncut text does not fit the column: refused, nothing stored.
    MessageRow raw;
    std::strcpy(raw.mesgId, "<raw@x>");
    std::string tooLong(256, 'r');
    std::memcpy(raw.subject, tooLong.c_str(), 255);
    raw.subject[255] = '\0';
    EXPECT_TRUE(Store(raw)); // 255 characters fit exactly
    char over[300];
    std::memset(over, 'o', sizeof(over));
    over[299] = '\0';
    odbcvantTableInfo messages(s_conn, "Messages");
    odbcvantStmt stmt(s_conn, &messages);
    ODBCVANT_PBIND p[1];
    odbcvantSetParamBind(p[0], "Subject", over);
    ASSERT_TRUE(stmt.PrepareInsert(p, 1));
    ReportedErrors().clear();
    EXPECT_FALSE(stmt.InsertRow());
    EXPECT_TRUE(stmt.ReportError(nullptr));
    ASSERT_EQ(1u, ReportedErrors().size());
    EXPECT_TRUE(ContainsNoCase(ReportedErrors()[0].text, "Subject"));
    EXPECT_EQ(2, QueryLong("SELECT COUNT(*) FROM Messages"));
}

TEST_F(LookupTest, SubjectWithAmpersandsAndMarkingRead) {
    MessageRow m;
    std::strcpy(m.mesgId, "<amp@x>");
    lx::ComposeSubject("Tom && Jerry", true, true, m.subject, sizeof(m.subject));
    ASSERT_TRUE(Store(m));
    long num = QueryLong(lx::SqlFindRetrievedMessage(When(m.appDate), m.size, m.mesgId));
    ASSERT_GT(num, 0);
    std::string stored = ReadSubject(num);
    EXPECT_EQ("Tom && Jerry&&N&F", stored);
    lx::SubjectParts parts = lx::ParseSubject(stored);
    EXPECT_EQ("Tom && Jerry", parts.shown);
    EXPECT_TRUE(parts.unread);
    EXPECT_TRUE(parts.hasFiles);

    // Opening the message rewrites the read letter with an update of Subject.
    char subject[256];
    std::snprintf(subject, sizeof(subject), "%s", stored.c_str());
    ASSERT_TRUE(lx::MarkSubjectRead(subject, sizeof(subject)));
    odbcvantTableInfo messages(s_conn, "Messages");
    odbcvantStmt stmt(s_conn, &messages);
    ODBCVANT_PBIND p[1];
    odbcvantSetParamBind(p[0], "Subject", subject);
    ASSERT_TRUE(stmt.PrepareUpdate(p, 1, lx::ConditionMesgNum(num).c_str()));
    ASSERT_TRUE(stmt.UpdateRow());
    EXPECT_EQ("Tom && Jerry&& &F", ReadSubject(num));
    EXPECT_FALSE(lx::ParseSubject(ReadSubject(num)).unread);
}

TEST_F(LookupTest, UcaseWorksOnEveryEngineAndSparesLiterals) {
    MessageRow a = Retrieved("<u1@x>", "Alice@Example.org", "UCASE(x) and more");
    ASSERT_TRUE(Store(a));
    MessageRow b = Retrieved("<u2@x>", "bob@example.org", "Quarterly report");
    ASSERT_TRUE(Store(b));

    EXPECT_EQ(
        1,
        QueryLong("SELECT COUNT(*) FROM Messages M WHERE UCASE(M.FromAdd) = 'ALICE@EXAMPLE.ORG'"));
    EXPECT_EQ(
        2, QueryLong("SELECT COUNT(*) FROM Messages M WHERE ucase (M.FromAdd) LIKE '%EXAMPLE%'"));
    EXPECT_EQ(1,
              QueryLong("SELECT COUNT(*) FROM Messages M WHERE UCASE(M.Subject) LIKE '%REPORT%'"));
    // A literal that spells UCASE( is compared as written.
    EXPECT_EQ(1, QueryLong("SELECT COUNT(*) FROM Messages WHERE Subject LIKE 'UCASE(x)%'"));
    EXPECT_EQ(0, QueryLong("SELECT COUNT(*) FROM Messages WHERE Subject LIKE 'UPPER(x)%'"));

    // Counting and conditions go through the same rewriting.
    odbcvantCursor cur(s_conn,
                       "SELECT MesgNum FROM Messages M WHERE UCASE(M.FromAdd) LIKE '%EXAMPLE.ORG'");
    SQLINTEGER num = 0;
    ASSERT_TRUE(cur.BindColumns(1, ODBCVANT_INT32, &num, 0));
    ASSERT_TRUE(cur.ExecuteStmt()) << cur.GetLastErrorText();
    EXPECT_EQ(2, cur.GetTotalResultRows());
    odbcvantTableInfo messages(s_conn, "Messages");
    odbcvantStmt stmt(s_conn, &messages);
    SQLINTEGER folder = 9;
    ODBCVANT_PBIND p[1];
    odbcvantSetParamBind(p[0], "FolderNum", &folder);
    ASSERT_TRUE(stmt.PrepareUpdate(p, 1, "UCASE(FromAdd) = 'BOB@EXAMPLE.ORG'"));
    ASSERT_TRUE(stmt.UpdateRow()) << stmt.GetLastErrorText();
    EXPECT_EQ(1, stmt.GetRowsAffected());
    EXPECT_EQ(1, QueryLong("SELECT COUNT(*) FROM Messages WHERE FolderNum = 9"));
}

TEST_F(LookupTest, SpecialFoldersSortFirstInTheFolderList) {
    Exec("INSERT INTO Folders (Folder, FolderType, Description) VALUES ('Aardvark', 'U', 'x')");
    Exec("INSERT INTO Folders (Folder, FolderType, Description) VALUES ('_IN', 'S', 'in')");
    Exec("INSERT INTO Folders (Folder, FolderType, Description) VALUES ('_DESK', 'S', 'desk')");
    odbcvantCursor cur(s_conn, lx::kSqlFolderNames);
    SQLINTEGER nums[5];
    char names[5][17];
    ASSERT_TRUE(cur.SetRowSetSize(5));
    ASSERT_TRUE(cur.BindColumns(1, ODBCVANT_INT32, nums, 0));
    ASSERT_TRUE(cur.BindColumns(2, ODBCVANT_TEXT, names, 17));
    ASSERT_TRUE(cur.ExecuteStmt());
    int n = 0;
    ASSERT_TRUE(cur.FetchFirst(&n));
    ASSERT_EQ(3, n);
    EXPECT_STREQ("_DESK", names[0]);
    EXPECT_STREQ("_IN", names[1]);
    EXPECT_STREQ("Aardvark", names[2]);
}

} // namespace
} // namespace lxtest
