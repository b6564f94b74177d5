// The retrieval dialog's rules: what every status code does, the backup's name, the messages a run
// cut short stores, the default folder, the watchdog, and a scanned record as the store takes it.
#include <gtest/gtest.h>

#include "mailer/transfer/logic/pop3stat_rules.h"
#include "mailer/transfer/logic/retrieved.h"
#include "netlib/core/codes.h"
#include "netlib/mime/ternmime.h"

#include <cstring>
#include <string>

namespace lx {
namespace {

std::string Str(const char* s) { return s ? s : "(none)"; }

TEST(RetrievalStatus, EveryCodeHasItsAction) {
    struct Case {
        int code;
        StatusStep step;
        const char* log;
        const char* connection;
        bool error;
    };
    const Case cases[] = {
        {0, StatusStep::RunOver, nullptr, nullptr, false},
        {1, StatusStep::Show, "POP3STAT_CPP_6", nullptr, true},
        {2, StatusStep::Show, "POP3STAT_CPP_7", nullptr, true},
        {3, StatusStep::Show, "POP3STAT_CPP_8", nullptr, true},
        {4, StatusStep::Show, "POP3STAT_CPP_10", "POP3STAT_CPP_9", true},
        {5, StatusStep::ServerSaid, "POP3STAT_CPP_11", nullptr, true},
        {6, StatusStep::Show, "POP3STAT_CPP_13", nullptr, true},
        {7, StatusStep::Show, "POP3STAT_CPP_14", nullptr, true},
        // The spool file that cannot be written is reported and ends an automatic run.
        {8, StatusStep::Show, "POP3STAT_CPP_14", nullptr, true},
        {9, StatusStep::Empty, "POP3STAT_CPP_15", nullptr, false},
        {10, StatusStep::Show, "POP3STAT_CPP_17", nullptr, true},
        {11, StatusStep::Show, "POP3STAT_CPP_18", nullptr, true},
        {12, StatusStep::Show, "POP3STAT_CPP_19", nullptr, true},
        {13, StatusStep::Show, "POP3STAT_CPP_20", nullptr, true},
        {14, StatusStep::Show, "POP3STAT_CPP_21", nullptr, false},
        {15, StatusStep::Show, "POP3STAT_CPP_22", nullptr, false},
        {16, StatusStep::Stored, nullptr, nullptr, false},
        {17, StatusStep::Show, nullptr, "POP3STAT_CPP_23", false},
        {18, StatusStep::Count, "POP3STAT_CPP_16", nullptr, false},
        {19, StatusStep::ReceivedOk, "POP3STAT_CPP_24", nullptr, false},
        {20, StatusStep::Progress, nullptr, nullptr, false},
        {21, StatusStep::Spooled, nullptr, nullptr, false},
        {22, StatusStep::Show, nullptr, "POP3STAT_CPP_43", false},
        {23, StatusStep::ServerSaid, "POP3STAT_CPP_44", nullptr, true},
        {24, StatusStep::Refresh, nullptr, nullptr, false},
        {-1, StatusStep::Refresh, nullptr, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const StatusAction a = ActionForStatus(c.code);
        EXPECT_EQ(a.step, c.step);
        EXPECT_EQ(Str(a.logKey), Str(c.log));
        EXPECT_EQ(Str(a.connectionKey), Str(c.connection));
        EXPECT_EQ(a.error, c.error);
    }
}

TEST(RetrievalStatus, BackupNameCarriesMonthDayYearAndTime) {
    EXPECT_EQ(SpoolBackupName({1997, 5, 3, 14, 5, 9}), "BadFile-05-03-1997-14-05-09.TXT");
    EXPECT_EQ(SpoolBackupName({2026, 12, 31, 0, 0, 0}), "BadFile-12-31-2026-00-00-00.TXT");
}

TEST(RetrievalStatus, RunCutShortStoresOnlyCompleteMessages) {
    struct Case {
        int spool, stored, total, scan;
        bool cut;
    };
    const Case cases[] = {
        {5, 5, 5, 5, false}, // complete run
        {5, 3, 5, 3, true},  // closed after 3 of 5
        {5, 0, 5, 5, false}, // nothing complete: not a cut-short run
        {2, 3, 5, 2, true},  // the spool holds fewer than the connection stored
        {0, 0, 0, 0, false}, // empty
        {4, 4, 3, 4, false}, // more stored than announced: not cut short
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.spool << "/" << c.stored << "/" << c.total);
        EXPECT_EQ(RunCutShort(c.stored, c.total), c.cut);
        EXPECT_EQ(MessagesToScan(c.spool, c.stored, c.total), c.scan);
    }
}

TEST(RetrievalStatus, DefaultFolderFallsBackToIn) {
    struct Case {
        const char* name;
        long num;
        const char* wantName;
        long wantNum;
    };
    const Case cases[] = {
        {"Work", 7, "Work", 7}, {"", 7, "_IN", 1},    {"Work", 0, "_IN", 1},
        {"Work", -3, "_IN", 1}, {"_IN", 1, "_IN", 1},
    };
    for (const Case& c : cases) {
        const FolderChoice f = DefaultFolderChoice(c.name, c.num, 1);
        EXPECT_EQ(f.name, c.wantName) << c.name << " " << c.num;
        EXPECT_EQ(f.number, c.wantNum) << c.name << " " << c.num;
    }
}

TEST(RetrievalStatus, FieldTexts) {
    EXPECT_EQ(PercentageText("42.50"), "42.50%");
    EXPECT_EQ(PercentageText(nullptr), "0.00%");
    EXPECT_EQ(ServerReplyLine("-ERR [AUTH] Authentication failed.\r\n"),
              "-ERR [AUTH] Authentication failed.");
    EXPECT_EQ(ServerReplyLine(nullptr), "");
}

TEST(RetrievalStatus, WatchdogEndsStalledRuns) {
    EXPECT_TRUE(WatchdogEndsRun(true, true));   // still connecting after the period
    EXPECT_TRUE(WatchdogEndsRun(false, false)); // connected, then silent
    EXPECT_FALSE(WatchdogEndsRun(false, true)); // busy receiving
}

TEST(RetrievalStatus, ScannerFlagsGiveTheirLines) {
    EXPECT_TRUE(ScanFlagKeys(0).empty());
    EXPECT_EQ(ScanFlagKeys(TERN_SCAN_MALFORMED), std::vector<const char*>{kKeyMalformed});
    EXPECT_EQ(ScanFlagKeys(TERN_SCAN_CUT_SHORT), std::vector<const char*>{kKeyCutShort});
    EXPECT_EQ(ScanFlagKeys(TERN_SCAN_FILES_LOST), std::vector<const char*>{kKeyFilesLost});
    EXPECT_EQ(ScanFlagKeys(TERN_SCAN_MALFORMED | TERN_SCAN_CUT_SHORT).size(), 2u);
}

// A record as the scanner hands it over.
class Record {
public:
    Record(const std::string& subject, const std::string& text) : text_(text) {
        std::memset(&r_, 0, sizeof r_);
        std::strncpy(r_.Subject, subject.c_str(), sizeof r_.Subject - 1);
        std::strcpy(r_.From, "ann@example.org");
        std::strcpy(r_.MesgId, "<1@example.org>");
        std::strcpy(r_.Date, "Tue, 8 Dec 2026");
        r_.Text = &text_[0];
        r_.TextLength = static_cast<int32_t>(text_.size() + 1);
    }
    Record& To(char* a) {
        r_.To[r_.ToCount++] = a;
        return *this;
    }
    Record& Cc(char* a) {
        r_.Cc[r_.CcCount++] = a;
        return *this;
    }
    Record& File(char* a) {
        r_.Files[r_.FileCount++] = a;
        return *this;
    }
    const TernScanRecord& Get() const { return r_; }

private:
    std::string text_;
    TernScanRecord r_;
};

TEST(RetrievedMessage, RecordBecomesTheRowAndItsChildren) {
    char to[] = "joe@example.org", cc1[] = "cc1@example.org", cc2[] = "cc2@example.org";
    char file[] = "C:\\Lorvex\\DATA\\a.pdf";
    Record rec("Report", "Body\r\n");
    rec.To(to).Cc(cc1).Cc(cc2).File(file);
    const NewMessage m = RetrievedMessage(rec.Get(), 9, {2026, 12, 9, 1, 2, 3}, "(none)");
    EXPECT_EQ(m.kind, NewMessageKind::Retrieved);
    EXPECT_EQ(m.folderNum, 9);
    EXPECT_EQ(m.subject, "Report&&N&F");
    EXPECT_EQ(m.mesgId, "<1@example.org>");
    EXPECT_EQ(m.fromAdd, "ann@example.org");
    EXPECT_EQ(m.mesgDate, "Tue, 8 Dec 2026");
    EXPECT_EQ(m.mailData, "Body\r\n");
    EXPECT_EQ(m.appDate.second, 3);
    EXPECT_EQ(m.to, std::vector<std::string>{"joe@example.org"});
    EXPECT_EQ(m.cc, (std::vector<std::string>{"cc1@example.org", "cc2@example.org"}));
    EXPECT_EQ(m.files, std::vector<std::string>{file});
}

TEST(RetrievedMessage, SubjectSuffixAndRecipientCases) {
    struct Case {
        std::string subject;
        bool file;
        std::string stored;
    };
    const std::string long300(300, 'x');
    const Case cases[] = {
        {"Plain", false, "Plain&&N& "},
        {"", false, "&&N& "},
        {"With file", true, "With file&&N&F"},
        {long300, false, std::string(250, 'x') + "&&N& "},
        {std::string(255, 'y'), true, std::string(250, 'y') + "&&N&F"},
        {"It's && more", false, "It's && more&&N& "},
    };
    char file[] = "f.bin";
    for (const Case& c : cases) {
        Record rec(c.subject, "");
        if (c.file) rec.File(file);
        const NewMessage m = RetrievedMessage(rec.Get(), 1, {}, "(no recipient)");
        EXPECT_EQ(m.subject, c.stored);
        EXPECT_LE(m.subject.size(), 255u);
        // No To address: one row that says so.
        EXPECT_EQ(m.to, std::vector<std::string>{"(no recipient)"});
        EXPECT_TRUE(m.cc.empty());
    }
}

TEST(RetrievedMessage, SizeIsTheStoredTextsBytes) {
    // The overflow record's length field (64) is not the length of its text.
    Record rec("s", "Message Text Was Too Large - Please check file attachment");
    TernScanRecord r = rec.Get();
    r.TextLength = 64;
    const NewMessage m = RetrievedMessage(r, 1, {}, "");
    EXPECT_EQ(m.mesgSize, -1); // the store takes the length of mailData
    EXPECT_EQ(m.mailData.size(), 57u);
}

TEST(RetrievedMessage, FiltersSeeSenderSubjectAndText) {
    Record rec("Offer", "Buy now\r\n");
    const FilterMessage f = FilterTextsOf(rec.Get());
    EXPECT_EQ(f.from, "ann@example.org");
    EXPECT_EQ(f.subject, "Offer");
    EXPECT_EQ(f.text, "Buy now\r\n");
}

} // namespace
} // namespace lx
