// Scanning the incoming spool file into the store: folders by filter or default, the messages of
// a run cut short, damaged messages, and texts that must come through unchanged.
#include "tests/retrieval/filtersample.h"
#include "tests/retrieval/mailsamples.h"
#include "tests/retrieval/storerows.h"
#include "tests/settings/temp_folder.h"

#include "common/settings/install_path.h"
#include "mailer/transfer/logic/pop3stat_rules.h"
#include "mailer/transfer/store/pop3scan.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace lxtest {
namespace {

class ScanTest : public RetrievalStoreTest {
protected:
    void SetUp() override {
        RetrievalStoreTest::SetUp();
        in = AddFolder("_IN", "S");
        std::filesystem::create_directory(folder.File("DATA"));
        job.spoolPath = folder.File("TernPop3.Txt");
        job.attachDir = folder.File("DATA");
        job.filterPath = folder.File("LORVEX.FLT");
        job.inFolderNum = in;
    }

    // The spool holds `messages`; scans it and returns the lines logged (catalogue keys here).
    lx::ScanResult Scan(const std::string& spool) {
        EXPECT_TRUE(WriteBytes(job.spoolPath, spool));
        log.clear();
        return lx::ScanAndStore(
            s_conn, nullptr, job, [this](const std::string& line) { log.push_back(line); },
            &counts);
    }

    static std::vector<std::string> Five() {
        std::vector<std::string> mails;
        for (int i = 1; i <= 5; ++i) {
            SampleMail m;
            m.to = "joe@example.org";
            m.subject = "Message " + std::to_string(i);
            m.body = "Body " + std::to_string(i) + "\r\n";
            mails.push_back(MailText(m));
        }
        return mails;
    }

    lx_test::TempFolder folder;
    lx::ScanJob job;
    lx::ScanCounts counts;
    std::vector<std::string> log;
    long in = 0;
};

TEST_F(ScanTest, UnfilteredMailGoesToTheDefaultFolderOrIn) {
    const long work = AddFolder("Work");
    struct Case {
        const char* name;
        long num;
        long want;
    };
    const Case cases[] = {{"Work", work, work}, {"", work, in}, {"Work", 0, in}};
    for (const Case& c : cases) {
        Exec("DELETE FROM Messages");
        job.defaultFolder = c.name;
        job.defaultFolderNum = c.num;
        EXPECT_EQ(Scan(IncomingSpool(Five())), lx::ScanResult::AllStored);
        const std::vector<StoredRow> rows = Rows();
        ASSERT_EQ(rows.size(), 5u);
        for (const StoredRow& r : rows) EXPECT_EQ(r.folderNum, c.want) << c.name;
        EXPECT_EQ(log.front(), lx::kKeyNoFilters);
    }
}

TEST_F(ScanTest, InIsFoundInTheStoreWhenNotGiven) {
    job.inFolderNum = -1;
    EXPECT_EQ(Scan(IncomingSpool(Five())), lx::ScanResult::AllStored);
    for (const StoredRow& r : Rows()) EXPECT_EQ(r.folderNum, in);
}

TEST_F(ScanTest, RowsCarryTheRecordsValues) {
    SampleMail a;
    a.to = "joe@example.org, amy@example.org";
    a.cc = "cc@example.org";
    a.subject = "With file";
    a.fileName = "report.bin";
    a.fileBytes = std::string("\x00\x01\xff\r\n binary", 11);
    a.messageId = "<a1@example.org>";
    SampleMail b; // no To header at all
    b.subject = "No recipients";
    ASSERT_EQ(Scan(IncomingSpool({MailText(a), MailText(b)})), lx::ScanResult::AllStored);
    const std::vector<StoredRow> rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].subject, "With file&&N&F");
    EXPECT_EQ(rows[0].mesgType, "I");
    EXPECT_EQ(rows[0].mesgSize, static_cast<long>(rows[0].mailData.size()));
    EXPECT_EQ(Children("ToList", "ToName", rows[0].mesgNum),
              (std::vector<std::string>{"joe@example.org", "amy@example.org"}));
    EXPECT_EQ(Children("CcList", "CcName", rows[0].mesgNum),
              std::vector<std::string>{"cc@example.org"});
    const std::vector<std::string> files = Children("Files", "FileName", rows[0].mesgNum);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], lx::InstallFile(job.attachDir, "report.bin"));
    EXPECT_EQ(ReadBytes(files[0]), a.fileBytes);
    EXPECT_EQ(rows[1].subject, "No recipients&&N& ");
    EXPECT_EQ(Children("ToList", "ToName", rows[1].mesgNum),
              std::vector<std::string>{lx::kKeyNoRecipient});
    EXPECT_TRUE(Children("Files", "FileName", rows[1].mesgNum).empty());
}

TEST_F(ScanTest, FiltersDeleteFileOrLeaveMail) {
    const long bossFolder = AddFolder("Boss");
    ASSERT_TRUE(WriteSampleFilters(job.filterPath, "Boss", bossFolder));
    SampleMail plain, spam, boss, both;
    plain.subject = "Lunch";
    spam.subject = "Cheap SPAM offer";
    boss.from = "boss@example.org";
    boss.subject = "Meeting";
    both.from = "boss@example.org";
    both.subject = "spam from the boss";
    job.defaultFolder = "_IN";
    job.defaultFolderNum = in;
    ASSERT_EQ(
        Scan(IncomingSpool({MailText(plain), MailText(spam), MailText(boss), MailText(both)})),
        lx::ScanResult::AllStored);
    const std::vector<StoredRow> rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].subject, "Lunch&&N& ");
    EXPECT_EQ(rows[0].folderNum, in);
    EXPECT_EQ(rows[1].subject, "Meeting&&N& ");
    EXPECT_EQ(rows[1].folderNum, bossFolder);
    EXPECT_EQ(counts.deleted, 2);
    EXPECT_EQ(log.front(), lx::kKeyFiltersLoaded);
    EXPECT_EQ(std::count(log.begin(), log.end(), std::string(lx::kKeyFilterDeleted)), 2);
}

TEST_F(ScanTest, RunCutShortStoresOnlyItsCompleteMessages) {
    job.messagesStored = 3;
    job.messageTotal = 5;
    EXPECT_EQ(Scan(CutSpool(Five(), 4)), lx::ScanResult::AllStored);
    const std::vector<StoredRow> rows = Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].subject, "Message 3&&N& ");
}

TEST_F(ScanTest, DamagedMessagesAreStoredAndReported) {
    std::vector<std::string> mails = Five();
    mails[2] = MalformedMail("Broken");
    EXPECT_EQ(Scan(IncomingSpool(mails)), lx::ScanResult::Damaged);
    const std::vector<StoredRow> rows = Rows();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[2].subject, "Broken&&N& ");
    EXPECT_NE(rows[2].mailData.find("--Bogus"), std::string::npos);
    EXPECT_NE(std::find(log.begin(), log.end(), lx::kKeyMalformed), log.end());
    EXPECT_EQ(counts.cutShort, 0);

    // A spool cut inside its last message (no complete-message count to go by).
    job.messagesStored = 0;
    job.messageTotal = 0;
    Exec("DELETE FROM Messages");
    EXPECT_EQ(Scan(CutSpool(Five(), 5)), lx::ScanResult::Damaged);
    EXPECT_EQ(Rows().size(), 5u);
    EXPECT_NE(std::find(log.begin(), log.end(), lx::kKeyCutShort), log.end());
    EXPECT_EQ(counts.cutShort, 1); // the dialog keeps the mail on the server for this one
}

TEST_F(ScanTest, NothingToScanFails) {
    // No file, an empty file, a file that announces no messages.
    for (const char* spool : {static_cast<const char*>(nullptr), "", "Letters : 0\r\n"}) {
        std::filesystem::remove(job.spoolPath);
        if (spool) {
            ASSERT_TRUE(WriteBytes(job.spoolPath, spool));
        }
        log.clear();
        EXPECT_EQ(lx::ScanAndStore(s_conn, nullptr, job,
                                   [this](const std::string& l) { log.push_back(l); }),
                  lx::ScanResult::Failed);
        EXPECT_TRUE(Rows().empty());
    }
    EXPECT_EQ(log, (std::vector<std::string>{lx::kKeyNoFilters, lx::kKeySpoolEmpty}));
}

TEST_F(ScanTest, TextsSurviveTheStore) {
    SampleMail a, b, c;
    a.from = "O'Brien <o.brien@example.org>";
    a.subject = "It's Pat's";
    b.from = "=?utf-8?q?J=C3=BCrgen_M=C3=BCller?= <jm@example.org>";
    b.subject = "Gr\xc3\xbc\xc3\x9f"
                "e";
    c.subject = LongSubject();
    ASSERT_EQ(Scan(IncomingSpool({MailText(a), MailText(b), MailText(c)})),
              lx::ScanResult::AllStored);
    const std::vector<StoredRow> rows = Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].subject, "It's Pat's&&N& ");
    EXPECT_EQ(rows[0].from, "O'Brien <o.brien@example.org>");
    EXPECT_EQ(rows[1].subject, "Gr\xc3\xbc\xc3\x9f"
                               "e&&N& ");
    EXPECT_NE(rows[1].from.find("M"), std::string::npos);
    EXPECT_NE(rows[1].from.find("jm@example.org"), std::string::npos);
    EXPECT_EQ(rows[2].subject, LongSubject().substr(0, 250) + "&&N& ");
    EXPECT_EQ(rows[2].subject.size(), 255u);
}

} // namespace
} // namespace lxtest
