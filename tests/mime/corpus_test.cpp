// The scanner over real mail: the message files of Python's email test suite, each wrapped
// into an incoming spool file, compared with what Python's email package finds in them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "mimetest.h"
#include "netlib/mime/scanner.h"

namespace fs = std::filesystem;
using lx::mime::Scanner;
using lxtest::TempDir;

namespace {

std::string corpusDir() {
    const char* env = std::getenv("LX_EMAIL_CORPUS");
    return env ? env : "/usr/lib/python3.11/test/test_email/data";
}

// Python's message files, then ours with encoded words in their headers.
std::vector<std::string> corpusFiles() {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(corpusDir(), ec)) {
        const std::string name = e.path().filename().string();
        if (name.rfind("msg_", 0) == 0 && e.path().extension() == ".txt")
            files.push_back(e.path().string());
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) return files;
    std::vector<std::string> extra;
    for (const auto& e :
         fs::directory_iterator(lxtest::sourceDir() + "/tests/mime/corpus-extra", ec))
        extra.push_back(e.path().string());
    std::sort(extra.begin(), extra.end());
    files.insert(files.end(), extra.begin(), extra.end());
    return files;
}

// Text lines with LF ends and no trailing line ends, to compare line-kept parts.
std::string normalLines(std::string s) {
    std::string out;
    for (char c : s)
        if (c != '\r') out += c;
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

// The folders and files directly inside dir, recursively, relative to it.
std::set<std::string> tree(const std::string& dir) {
    std::set<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        out.insert(fs::relative(e.path(), dir).string());
    return out;
}

class EmailCorpus : public ::testing::Test {
protected:
    void SetUp() override {
        if (!lxtest::haveSystemPython()) GTEST_SKIP() << "no /usr/bin/python3";
        files_ = corpusFiles();
        if (files_.empty())
            GTEST_SKIP() << "no corpus in " << corpusDir() << " (Debian libpython3.11-testsuite)";
    }
    std::vector<std::string> files_;
};

} // namespace

TEST_F(EmailCorpus, EachMessageAgreesWithPython) {
    const std::string script = lxtest::sourceDir() + "/tests/mime/corpus_oracle.py";
    int compared = 0, attachments = 0, rawParts = 0, encoded = 0;
    std::vector<std::string> malformed;
    for (const std::string& file : files_) {
        SCOPED_TRACE(file);
        TempDir dir;
        const std::string message = lxtest::readFile(file);
        lxtest::writeFile(dir.file("TernPop3.Txt"), lxtest::incomingSpool({message}));
        fs::create_directory(dir.file("Data"));
        fs::create_directory(dir.file("py"));
        std::string out;
        ASSERT_TRUE(lxtest::runPython(script, {file, dir.file("py")}, out)) << out;
        const int expectedFiles = std::atoi(out.c_str());
        Scanner scanner(dir.file("TernPop3.Txt"), dir.file("Data"));
        ASSERT_EQ(scanner.messageCount(), 1);
        const TernScanRecord* r = scanner.getFirst();
        ASSERT_NE(r, nullptr);
        if (scanner.lastError() & lx::mime::kScanMalformed) {
            // Structural errors by the scanner's rules (a boundary line that opens nothing).
            malformed.push_back(fs::path(file).filename().string());
            continue;
        }
        ++compared;
        EXPECT_EQ(std::string(r->Subject), lxtest::readFile(dir.file("py/subject.bin")));
        EXPECT_EQ(std::string(r->From), lxtest::readFile(dir.file("py/from.bin")));
        encoded += message.find("=?") != std::string::npos;
        std::multiset<std::string> scanned;
        for (const auto& e : fs::directory_iterator(dir.file("Data")))
            scanned.insert(lxtest::readFile(e.path().string()));
        std::multiset<std::string> scannedLines;
        for (const auto& f : scanned) scannedLines.insert(normalLines(f));
        for (int i = 0; i < expectedFiles; ++i) {
            const std::string att = dir.file("py/att-" + std::to_string(i) + ".bin");
            if (lxtest::fileExists(att)) {
                const std::string want = lxtest::readFile(att);
                EXPECT_EQ(scanned.count(want), 1u)
                    << "attachment " << i << " of " << want.size() << " bytes not found";
                ++attachments;
            } else {
                const std::string want =
                    normalLines(lxtest::readFile(dir.file("py/raw-" + std::to_string(i) + ".bin")));
                EXPECT_GE(scannedLines.count(want), 1u)
                    << "part " << i << " of " << want.size() << " bytes not found";
                ++rawParts;
            }
        }
        EXPECT_EQ(r->FileCount, static_cast<int>(std::min<std::size_t>(scanned.size(), 12)));
        EXPECT_EQ(scanner.getNext(), nullptr);
        // Nothing beside the spool file and the attachment folder.
        std::set<std::string> top;
        for (const auto& e : fs::directory_iterator(dir.path()))
            top.insert(e.path().filename().string());
        EXPECT_EQ(top, (std::set<std::string>{"Data", "TernPop3.Txt", "py"}));
    }
    std::string list;
    for (const auto& m : malformed) list += " " + m;
    std::printf("corpus: %zu messages, %d compared, %d with encoded words, %d base64 attachments, "
                "%d parts kept as 7bit, malformed by the scanner's rules:%s\n",
                files_.size(), compared, encoded, attachments, rawParts, list.c_str());
    EXPECT_GE(compared, static_cast<int>(files_.size()) - 3);
    EXPECT_GE(attachments + rawParts, 6);
    EXPECT_GE(encoded, 7);
}

TEST_F(EmailCorpus, WholeCorpusInOneSpool) {
    std::vector<std::string> messages;
    for (const std::string& file : files_) messages.push_back(lxtest::readFile(file));
    TempDir dir;
    lxtest::writeFile(dir.file("TernPop3.Txt"), lxtest::incomingSpool(messages));
    fs::create_directory(dir.file("Data"));
    Scanner scanner(dir.file("TernPop3.Txt"), dir.file("Data"));
    EXPECT_EQ(scanner.messageCount(), static_cast<int>(messages.size()));
    int records = 0;
    for (const TernScanRecord* r = scanner.getFirst(); r; r = scanner.getNext()) {
        ++records;
        EXPECT_GE(r->TextLength, 1);
        EXPECT_LE(r->TextLength, 32000);
        EXPECT_LE(r->ToCount, 32);
        EXPECT_LE(r->FileCount, 12);
        for (int i = 0; i < r->FileCount; ++i)
            EXPECT_EQ(std::string(r->Files[i]).rfind(dir.file("Data"), 0), 0u);
    }
    EXPECT_GT(records, 0);
    for (const auto& p : tree(dir.path()))
        EXPECT_TRUE(p == "TernPop3.Txt" || p.rfind("Data", 0) == 0) << p;
}
