// The scanner over one spool of hard cases: words and lines that look like the spool's own
// markers, very long lines, soft line breaks and a broken multipart, then plain messages. Every
// message must come back whole, however the reader's input is cut into pieces.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "mimetest.h"
#include "netlib/mime/scanner.h"

using namespace lx::mime;
using lxtest::TempDir;

namespace {

const std::string kEndWordsBody = "the END MESSAGE words\r\nand BEGIN MESSAGE too\r\n";
const std::string kMarkerLinesBody = "above\r\nEND MESSAGE\r\n.\r\nBEGIN MESSAGE\r\nbelow\r\n";
const std::string kLine2500 = std::string(2500, 'a');
const std::string kLine100k = std::string(100000, 'b');

std::vector<std::string> hardMessages() {
    return {
        "Subject: end words\r\n\r\n" + kEndWordsBody,
        "Subject: marker lines\r\n\r\n" + kMarkerLinesBody,
        "Subject: 2500\r\n\r\nfirst\r\n" + kLine2500 + "\r\nlast\r\n",
        "Subject: 100000\r\n\r\n" + kLine100k + "\r\nlast\r\n",
        "MIME-Version: 1.0\r\nSubject: qp\r\nContent-Type: text/plain\r\n"
        "Content-Transfer-Encoding: quoted-printable\r\n\r\n"
        "one soft=\r\nbreak and a=3Db=\r\n=\r\nend\r\nsecond line\r\n",
        // The boundary's quote never closes, the base64 has stray characters and a short group,
        // a line opens a boundary that does not exist and the closing boundary never comes.
        "MIME-Version: 1.0\r\nSubject: broken\r\nContent-Type: multipart/mixed; boundary=\"BB\r\n"
        "\r\n--BB\r\nContent-Type: text/plain\r\n\r\nintro\r\n"
        "--BB\r\nContent-Type: application/octet-stream; name=\"x.bin\"\r\n"
        "Content-Transfer-Encoding: base64\r\n\r\nZm9v*YmFy\r\nYmF\r\n6\r\n"
        "--BBX\r\nafter the fault\r\n",
        "Subject: plain one\r\n\r\nhello\r\n",
        "Subject: plain two\r\n\r\nworld\r\n",
    };
}

// Everything a record says, files included, as one comparable text.
std::string describe(const TernScanRecord* r, int flags) {
    std::string d = std::string("id=") + r->MesgId + "|date=" + r->Date + "|from=" + r->From +
                    "|reply=" + r->ReplyTo + "|subject=" + r->Subject +
                    "|flags=" + std::to_string(flags) +
                    "|text=" + std::string(r->Text, r->TextLength);
    for (int i = 0; i < r->ToCount; ++i) d += std::string("|to=") + r->To[i];
    for (int i = 0; i < r->CcCount; ++i) d += std::string("|cc=") + r->Cc[i];
    for (int i = 0; i < r->FileCount; ++i) {
        std::string leaf = std::filesystem::path(r->Files[i]).filename().string();
        if (leaf.rfind("QBT", 0) == 0) leaf = "QBT*"; // unique names differ from run to run
        d += "|file=" + leaf + ":" + lxtest::readFile(r->Files[i]);
    }
    return d;
}

std::vector<std::string> scanAll(Scanner& s) {
    std::vector<std::string> out;
    for (const TernScanRecord* r = s.getFirst(); r; r = s.getNext())
        out.push_back(describe(r, s.lastError()));
    return out;
}

std::vector<std::string> scanMemory(const std::string& spool, std::size_t chunk,
                                    std::size_t readBuffer) {
    TempDir dir;
    Scanner s(std::make_unique<MemorySource>(spool, chunk), dir.path(), readBuffer);
    return scanAll(s);
}

std::string text(const TernScanRecord* r) { return std::string(r->Text, r->TextLength - 1); }

} // namespace

TEST(ScannerHardSpool, EveryMessageComesBackWhole) {
    TempDir dir;
    lxtest::writeFile(dir.file("TernPop3.Txt"), lxtest::incomingSpool(hardMessages()));
    Scanner s(dir.file("TernPop3.Txt"), dir.path());
    ASSERT_EQ(s.messageCount(), 8);

    const TernScanRecord* r = s.getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->Subject, "end words");
    EXPECT_EQ(text(r), kEndWordsBody);

    ASSERT_NE(r = s.getNext(), nullptr);
    EXPECT_STREQ(r->Subject, "marker lines");
    EXPECT_EQ(text(r), kMarkerLinesBody);

    ASSERT_NE(r = s.getNext(), nullptr);
    EXPECT_EQ(text(r), "first\r\n" + kLine2500 + "\r\nlast\r\n");

    ASSERT_NE(r = s.getNext(), nullptr); // beyond the record's limit: the text goes to a file
    EXPECT_STREQ(r->Text, "Message Text Was Too Large - Please check file attachment");
    ASSERT_EQ(r->FileCount, 1);
    EXPECT_EQ(lxtest::readFile(r->Files[0]), kLine100k + "\r\nlast\r\n");

    ASSERT_NE(r = s.getNext(), nullptr);
    EXPECT_EQ(text(r), "one softbreak and a=bend\r\nsecond line\r\n");

    ASSERT_NE(r = s.getNext(), nullptr);
    EXPECT_STREQ(r->Subject, "broken");
    EXPECT_EQ(s.lastError(), kScanMalformed);
    EXPECT_EQ(text(r), "intro\r\n--BBX\r\nafter the fault\r\n");
    ASSERT_EQ(r->FileCount, 1);
    EXPECT_EQ(lxtest::readFile(r->Files[0]), "foobarbaz");

    ASSERT_NE(r = s.getNext(), nullptr);
    EXPECT_EQ(s.lastError(), kScanSound);
    EXPECT_STREQ(r->Subject, "plain one");
    EXPECT_EQ(text(r), "hello\r\n");
    ASSERT_NE(r = s.getNext(), nullptr);
    EXPECT_STREQ(r->Subject, "plain two");
    EXPECT_EQ(text(r), "world\r\n");
    EXPECT_EQ(s.getNext(), nullptr);
}

TEST(ScannerHardSpool, AnyCuttingOfTheInputGivesTheSameRecords) {
    const std::string spool = lxtest::incomingSpool(hardMessages());
    const std::vector<std::string> whole = scanMemory(spool, spool.size(), spool.size());
    ASSERT_EQ(whole.size(), 8u);
    std::vector<std::size_t> chunks;
    for (std::size_t c = 1; c <= 600; ++c) chunks.push_back(c);
    for (std::size_t c = 601; c < spool.size(); c += c / 7) chunks.push_back(c);
    for (std::size_t c : {4095, 4096, 4097, 65535, 65536, 65537}) chunks.push_back(c);
    chunks.push_back(spool.size());
    for (std::size_t c : chunks) ASSERT_EQ(scanMemory(spool, c, kReadBlock), whole) << c;
    // Read buffers far smaller than the lines, so that lines span many refills.
    for (std::size_t buffer : {16, 17, 1000})
        for (std::size_t c : {1, 2, 3, 5, 16, 17, 64, 999, 4096})
            ASSERT_EQ(scanMemory(spool, c, buffer), whole) << buffer << " " << c;
}

TEST(ScannerHardSpool, LoneFullStopInsideAMessageStaysInTheText) {
    // A server that did not stuff a body line "." leaves a lone full stop that is not the end:
    // it stays in the text, however the reader's buffer falls around it.
    const std::string spool =
        "Letters : 2\r\nBEGIN MESSAGE\r\n+OK\r\nSubject: dot\r\n\r\nabove\r\n"
        ".\r\nbelow the full stop line\r\n.\r\nEND MESSAGE\r\n"
        "BEGIN MESSAGE\r\n+OK\r\nSubject: next\r\n\r\nx\r\n.\r\nEND MESSAGE\r\n";
    for (std::size_t buffer : {16, 17, 18, 19, 20, 21, 1000})
        for (std::size_t c : {1, 2, 3, 7, 16, 4096}) {
            const std::vector<std::string> records = scanMemory(spool, c, buffer);
            ASSERT_EQ(records.size(), 2u) << buffer << " " << c;
            EXPECT_NE(records[0].find("|text=above\r\n.\r\nbelow the full stop line\r\n"),
                      std::string::npos)
                << buffer << " " << c << " " << records[0];
        }
}
