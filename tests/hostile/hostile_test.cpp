// Hostile mail retrieved end to end: the corpus of hostile_corpus.py (a 1 MB header line, 10,000
// attachments, names that are folders, drives and devices, control characters, broken encodings,
// unterminated and 200-deep multiparts, no empty line after the headers) pulled from a Dovecot
// of its own through the "Retrieving Mail [POP3]" dialog into the runner's store. Every message
// is stored or refused with its own line in the Messages box, no file appears outside the Data
// folder, and the dialog answers its messages while the large ones are scanned.
#include "tests/hostile/answerprobe.h"
#include "tests/hostile/drivetree.h"
#include "tests/retrieval/dialog_fixture.h"

#include "mailer/transfer/logic/pop3stat_rules.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace lxtest {
namespace {

// The longest the dialog may keep a message waiting while it scans and stores.
constexpr unsigned kAnswerMillis = 2000;
// Files of one message that may land in the Data folder (the scanner's own limit with slack).
constexpr int kMaxFilesPerMessage = 300;

std::string StateFolder() {
    const char* state = std::getenv("LX_HOSTILE_STATE");
    return state ? std::string("Z:") + state : std::string();
}

// The corpus's messages as its listing names them: tag and what it tests, in server order.
std::vector<std::pair<std::string, std::string>> Corpus() {
    std::ifstream in(StateFolder() + "\\mail\\joe\\corpus.txt");
    std::vector<std::pair<std::string, std::string>> tags;
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t tab = line.find('\t');
        if (tab != std::string::npos) tags.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    return tags;
}

int CountFiles(const std::string& folder) {
    int n = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return n;
}

std::string CurrentFolder() {
    char path[MAX_PATH] = "";
    ::GetCurrentDirectoryA(sizeof path, path);
    return path;
}

class HostileRetrieval : public RetrievalDialogTest {
protected:
    void SetUp() override {
        RetrievalDialogTest::SetUp();
        ASSERT_FALSE(StateFolder().empty()) << "LX_HOSTILE_STATE names the server's folder";
        corpus = Corpus();
        ASSERT_GT(corpus.size(), 10u) << "the hostile corpus was not written";
        MailboxSetting mailbox;
        mailbox.server = "127.0.0.61";
        mailbox.deleteMail = 1;
        WriteMailbox(mailbox);
    }

    // The message whose Message-ID carries the corpus tag, or null.
    const StoredRow* Stored(const std::vector<StoredRow>& rows, const std::string& tag) {
        for (const StoredRow& r : rows) {
            const long n = r.mesgNum;
            if (QueryLong("SELECT COUNT(*) FROM Messages WHERE MesgNum = " + std::to_string(n) +
                          " AND MesgId = '<" + tag + "@attack.example>'") == 1)
                return &r;
        }
        return nullptr;
    }

    std::vector<std::pair<std::string, std::string>> corpus;
};

TEST_F(HostileRetrieval, EveryMessageIsHandledNothingLandsOutsideDataAndTheDialogAnswers) {
    // Everything this program could reach by a name from a message: the Windows drive and the
    // test's own folders (the Unix folder an absolute name points at is checked by name below).
    const std::vector<std::string> roots = {"C:\\", StateFolder(), CurrentFolder()};
    const std::vector<std::string> skip = {StateFolder() + "\\dovecot", StateFolder() + "\\mail"};
    const TreeSnapshot before = SnapshotTrees(roots, skip);

    AnswerProbe probe;
    Run([this](HWND dialog) { return RunFinished(dialog); },
        [&probe](HWND dialog, int, LPARAM) { probe.Watch(dialog); });
    probe.Stop();

    // Every message of the corpus came, and each is in the store or was refused, with a line.
    ASSERT_EQ(data.messageTotal, static_cast<int>(corpus.size())) << data.messages;
    const std::vector<StoredRow> rows = Rows();
    const std::string stored = Text(lx::kKeyStoredInFolder).substr(0, 10);
    std::size_t storedLines = 0;
    for (std::size_t at = data.messages.find(stored); at != std::string::npos;
         at = data.messages.find(stored, at + 1))
        ++storedLines;
    EXPECT_EQ(storedLines, rows.size()) << data.messages;
    for (const auto& [tag, what] : corpus)
        EXPECT_TRUE(Stored(rows, tag)) << tag << " (" << what << ") is not in the store";
    EXPECT_TRUE(Stored(rows, "plain-after")) << "the run stopped before the last message";
    // What the scanner could not keep is said: the structure broken 200 deep, the attached files
    // beyond what one message may write.
    EXPECT_TRUE(Logged(lx::kKeyMalformed)) << data.messages;
    EXPECT_TRUE(Logged(lx::kKeyFilesLost)) << data.messages;
    // Everything is in the store, so the server lets the mail go: it does not come again.
    EXPECT_FALSE(Logged(lx::kKeyLeftOnServer)) << data.messages;
    EXPECT_EQ(CountFiles(StateFolder() + "\\mail\\joe\\new") +
                  CountFiles(StateFolder() + "\\mail\\joe\\cur"),
              0);

    // The attached files: within the Data folder and bounded per message.
    const std::string dataFolder = install + "\\DATA";
    EXPECT_LE(CountFiles(dataFolder), kMaxFilesPerMessage * static_cast<int>(corpus.size()));
    const long fileRows = QueryLong("SELECT COUNT(*) FROM Files");
    EXPECT_EQ(
        QueryLong("SELECT COUNT(*) FROM Files WHERE FileName NOT LIKE '" + dataFolder + "\\%'"), 0)
        << fileRows << " Files rows, some outside " << dataFolder;

    const TreeSnapshot after = SnapshotTrees(roots, skip);
    const std::vector<std::string> outside = WrittenOutside(
        before, after, {dataFolder + "\\", install + "\\TernPop3.Txt", install + "\\BadFile-"});
    std::string list;
    for (const std::string& p : outside) list += "  " + p + "\n";
    EXPECT_TRUE(outside.empty()) << "written outside the Data folder:\n" << list;
    WIN32_FIND_DATAA found;
    HANDLE escaped = ::FindFirstFileA("Z:\\tmp\\hostile-escape*", &found);
    EXPECT_EQ(escaped, INVALID_HANDLE_VALUE) << "a file named by a message landed in /tmp";
    if (escaped != INVALID_HANDLE_VALUE) ::FindClose(escaped);

    RecordProperty("longest_wait_ms", static_cast<int>(probe.LongestWaitMillis()));
    EXPECT_GT(probe.Answers(), 0);
    EXPECT_LE(probe.LongestWaitMillis(), kAnswerMillis)
        << "the dialog kept a message waiting for " << probe.LongestWaitMillis() << " ms";
}

} // namespace
} // namespace lxtest
