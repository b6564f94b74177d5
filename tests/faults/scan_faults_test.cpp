// The scan into the store when the disk or the store fails part-way: the scanner says which
// message lost a file and why, and the scan then stores nothing of itself (rows rolled back,
// files removed), so no message is stored half and none twice on the next retrieval.
#include "tests/retrieval/mailsamples.h"
#include "tests/retrieval/storerows.h"
#include "tests/settings/temp_folder.h"

#include "mailer/transfer/logic/pop3stat_rules.h"
#include "mailer/transfer/store/pop3scan.h"
#include "netlib/mime/scanner.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace lxtest {
namespace {

std::vector<std::string> Mails(int count, bool withFiles) {
    std::vector<std::string> mails;
    for (int i = 1; i <= count; ++i) {
        SampleMail m;
        m.to = "joe@example.org";
        m.subject = "Message " + std::to_string(i);
        if (withFiles) {
            m.fileName = "file" + std::to_string(i) + ".bin";
            m.fileBytes = std::string(500, static_cast<char>('A' + i));
        }
        mails.push_back(MailText(m));
    }
    return mails;
}

class ScanFaults : public RetrievalStoreTest {
protected:
    void SetUp() override {
        RetrievalStoreTest::SetUp();
        job.inFolderNum = AddFolder("_IN", "S");
        job.spoolPath = folder.File("TernPop3.Txt");
        job.attachDir = folder.File("DATA");
        job.filterPath = folder.File("LORVEX.FLT");
        std::filesystem::create_directory(job.attachDir);
    }
    void TearDown() override { Exec("DROP TRIGGER IF EXISTS store_full"); }

    lx::ScanResult Scan(const std::vector<std::string>& mails) {
        EXPECT_TRUE(WriteBytes(job.spoolPath, IncomingSpool(mails)));
        log.clear();
        return lx::ScanAndStore(s_conn, nullptr, job,
                                [this](const std::string& line) { log.push_back(line); });
    }
    bool Logged(const char* key) const { return std::count(log.begin(), log.end(), key) > 0; }
    size_t FilesLeft() const {
        size_t n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(job.attachDir))
            n += entry.is_regular_file();
        return n;
    }
    void BlockAttachmentFolder() {
        std::filesystem::remove_all(job.attachDir);
        ASSERT_TRUE(WriteBytes(job.attachDir, "a file where the folder should be"));
    }

    lx_test::TempFolder folder;
    lx::ScanJob job;
    std::vector<std::string> log;
};

TEST_F(ScanFaults, ScannerSaysWhichFileCouldNotBeSavedAndWhy) {
    struct Case {
        const char* name;
        bool blocked;
        int bodyBytes; // a text past the record's limit goes to a file as well
        bool withFile;
    };
    for (const Case& c : {Case{"sound folder", false, 0, true}, Case{"attachment", true, 0, true},
                          Case{"overflow text", true, 40000, false}}) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(job.attachDir);
        if (c.blocked)
            BlockAttachmentFolder();
        else
            std::filesystem::create_directory(job.attachDir);
        SampleMail m;
        m.subject = "One";
        m.body = std::string(static_cast<size_t>(c.bodyBytes), 'x') + "\r\n";
        if (c.withFile) {
            m.fileName = "one.bin";
            m.fileBytes = "bytes";
        }
        ASSERT_TRUE(WriteBytes(job.spoolPath, IncomingSpool({MailText(m)})));
        lx::mime::Scanner scanner(job.spoolPath, job.attachDir);
        ASSERT_NE(scanner.getFirst(), nullptr);
        EXPECT_EQ((scanner.lastError() & lx::mime::kScanNotSaved) != 0, c.blocked);
        EXPECT_EQ(scanner.systemError() != 0, c.blocked);
    }
}

TEST_F(ScanFaults, AFileThatCannotBeSavedStoresNothingOfTheScan) {
    std::vector<std::string> mails = Mails(3, false);
    mails.push_back(Mails(4, true).back()); // only the last has a file
    BlockAttachmentFolder();
    EXPECT_EQ(Scan(mails), lx::ScanResult::Failed);
    EXPECT_TRUE(Logged(lx::kKeyFileNotSaved));
    EXPECT_TRUE(Rows().empty()); // the three before it are rolled back
}

TEST_F(ScanFaults, StoreRefusingPartWayStoresNothingAndRemovesTheFiles) {
    Exec("CREATE TRIGGER store_full BEFORE INSERT ON Messages WHEN "
         "(SELECT COUNT(*) FROM Messages) >= 2 BEGIN SELECT RAISE(FAIL, 'database or disk is "
         "full'); END");
    EXPECT_EQ(Scan(Mails(4, true)), lx::ScanResult::Failed);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(FilesLeft(), 0u);
    Exec("DROP TRIGGER store_full");
    // Once there is room, the same spool is stored whole.
    EXPECT_EQ(Scan(Mails(4, true)), lx::ScanResult::AllStored);
    EXPECT_EQ(Rows().size(), 4u);
    EXPECT_EQ(FilesLeft(), 4u);
}

} // namespace
} // namespace lxtest
