// The messages of a merge: the preparer calls for each address, and the spool file the real
// preparer writes from them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mailer/transfer/logic/mergeprep.h"
#include "mailer/transfer/logic/ternsink.h"
#include "tests/mime/mimetest.h"
#include "tests/sending/recordingsink.h"

namespace {

const std::vector<std::string> kThree = {"ann@example.org", "bob@example.org", "cy@example.org"};

// A text of `size` bytes in lines of 60 characters.
std::string Body(std::size_t size) {
    std::string text;
    for (int n = 0; text.size() < size; ++n)
        text += "Line " + std::to_string(n) + " of the letter that goes to everybody.\r\n";
    text.resize(size);
    return text;
}

TEST(MergePrep, CallsPerAddressWithTheBodyInBlocksOf512) {
    const std::string body = Body(1100);
    lx::MergeBodyBytes source(body);
    lxtest::RecordingSink sink;
    std::vector<int> shown;
    const lx::MergePrepared done = lx::PrepareMergeMessages(
        sink, {"Our news", "C:\\news.pdf"}, {"ann@example.org", "bob@example.org"}, source,
        [&](int n) { shown.push_back(n); });
    EXPECT_EQ(done.prepared, 2);
    EXPECT_EQ(done.failedAt, 0);
    EXPECT_EQ(shown, (std::vector<int>{1, 2}));
    std::vector<std::string> expected;
    for (const char* to : {"ann@example.org", "bob@example.org"}) {
        expected.push_back("NewMesg (null)");
        expected.push_back(std::string("TO ") + to);
        expected.push_back("Subj Our news");
        expected.push_back("File C:\\news.pdf");
        expected.push_back("Data " + body.substr(0, 512));
        expected.push_back("Data " + body.substr(512, 512));
        expected.push_back("Data " + body.substr(1024));
        expected.push_back("EndMesg");
    }
    EXPECT_EQ(sink.calls, expected);
}

TEST(MergePrep, NoAttachmentNoFileCall) {
    lx::MergeBodyBytes source("Hello.\r\n");
    lxtest::RecordingSink sink;
    lx::PrepareMergeMessages(sink, {"S", ""}, {"ann@example.org"}, source, nullptr);
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"NewMesg (null)", "TO ann@example.org",
                                                    "Subj S", "Data Hello.\r\n", "EndMesg"}));
}

// A message that cannot be handed over whole stops the run there: nothing after it is prepared
// and it is never ended.
TEST(MergePrep, StopsAtTheFirstMessageNotWrittenWhole) {
    struct Case {
        int failData;  // the n-th Data call fails (two per message)
        int endResult; // what EndMesg answers
        int prepared, failedAt;
    } cases[] = {{1, 0, 0, 1}, {4, 0, 1, 2}, {6, 0, 2, 3}, {0, -2, 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failData);
        lx::MergeBodyBytes source(Body(600));
        lxtest::RecordingSink sink;
        sink.failData = c.failData;
        sink.endResult = c.endResult;
        int shown = 0;
        const lx::MergePrepared done =
            lx::PrepareMergeMessages(sink, {"S", ""}, kThree, source, [&](int n) { shown = n; });
        EXPECT_EQ(done.prepared, c.prepared);
        EXPECT_EQ(done.failedAt, c.failedAt);
        EXPECT_EQ(shown, c.prepared);
        int ended = 0;
        for (const std::string& call : sink.calls) ended += call == "EndMesg";
        EXPECT_EQ(ended, c.endResult == 0 ? c.prepared : 1);
    }
}

// A message file that cannot be read to its end.
class BrokenBody : public lx::MergeBody {
public:
    bool Rewind() override { return true; }
    int Read(char*, int) override { return -1; }
};

TEST(MergePrep, UnreadableMessageFilePreparesNothing) {
    BrokenBody source;
    lxtest::RecordingSink sink;
    const lx::MergePrepared done =
        lx::PrepareMergeMessages(sink, {"S", ""}, kThree, source, nullptr);
    EXPECT_EQ(done.prepared, 0);
    EXPECT_EQ(done.failedAt, 1);
}

int Occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(MergeSpool, OneMessagePerAddressEachWithItselfAsOnlyTo) {
    lxtest::TempDir dir;
    const std::string body = Body(3000);
    std::string attachment;
    for (int i = 0; i < 1000; ++i) attachment += static_cast<char>((i * 7) & 0xff);
    const std::string file = dir.file("report.bin");
    lxtest::writeFile(file, attachment);
    const std::string spool = dir.file("TernSmtp.Txt");
    lx::MergeBodyBytes source(body);
    {
        lx::TernMimeSink sink;
        ASSERT_TRUE(sink.Start(spool.c_str(), "me@example.org"));
        EXPECT_EQ(lx::PrepareMergeMessages(sink, {"Quarterly news", file}, kThree, source, nullptr)
                      .prepared,
                  3);
    }
    const std::string text = lxtest::readFile(spool);
    EXPECT_EQ(text.substr(0, 16), "Letters : 00003\r");
    const auto envelopes = lxtest::outgoingEnvelopes(text);
    ASSERT_EQ(envelopes.size(), 3u);
    const auto sections = lxtest::outgoingDataSections(text);
    ASSERT_EQ(sections.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(kThree[i]);
        EXPECT_EQ(envelopes[i], std::vector<std::string>{kThree[i]});
        EXPECT_EQ(Occurrences(sections[i], "\r\nTo: "), 1);
        EXPECT_NE(sections[i].find("\r\nTo: " + kThree[i] + "\r\n"), std::string::npos);
        EXPECT_EQ(Occurrences(sections[i], "\r\nCc: "), 0);
        EXPECT_NE(sections[i].find("\r\nSubject: Quarterly news\r\n"), std::string::npos);
        EXPECT_NE(sections[i].find(body), std::string::npos);
        EXPECT_EQ(Occurrences(sections[i], "filename=\"report.bin\""), 1);
    }
    EXPECT_EQ(lxtest::pythonSpoolCheck(spool), "");
}

TEST(MergeSpool, WithoutAttachmentNoFilePart) {
    lxtest::TempDir dir;
    const std::string spool = dir.file("TernSmtp.Txt");
    lx::MergeBodyBytes source("Short note.\r\n");
    {
        lx::TernMimeSink sink;
        ASSERT_TRUE(sink.Start(spool.c_str(), "me@example.org"));
        lx::PrepareMergeMessages(sink, {"Note", ""}, {"ann@example.org"}, source, nullptr);
    }
    const auto sections = lxtest::outgoingDataSections(lxtest::readFile(spool));
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0].find("multipart"), std::string::npos);
    EXPECT_EQ(sections[0].find("Content-Disposition"), std::string::npos);
    EXPECT_NE(sections[0].find("\r\n\r\nShort note.\r\n"), std::string::npos);
}

} // namespace
