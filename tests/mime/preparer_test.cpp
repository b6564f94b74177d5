#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "mimetest.h"
#include "netlib/mime/preparer.h"
#include "netlib/mime/ternmime.h"

using namespace lx::mime;
using lxtest::TempDir;

namespace {

StampTime fixedTime() {
    StampTime t;
    t.year = 1997;
    t.month = 5;
    t.day = 3;
    t.weekday = 6;
    t.hour = 14;
    t.minute = 5;
    t.second = 9;
    t.millisecond = 42;
    t.zoneMinutes = 120;
    return t;
}

int addText(Preparer& p, const std::string& s) {
    return p.addData(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
}

struct Section {
    std::string envelope, dataLine, data;
};

// Splits the spool after the count and first-sender lines into its messages.
std::vector<Section> sections(const std::string& spool) {
    std::vector<Section> out;
    std::size_t at = 0;
    for (;;) {
        std::size_t h = spool.find("BEGIN MESSAGE HEADER\r\n", at);
        if (h == std::string::npos) break;
        std::size_t e = spool.find("END MESSAGE HEADER\r\n", h);
        Section s;
        s.envelope = spool.substr(h, e + 20 - h);
        std::size_t d = e + 20;
        s.dataLine = spool.substr(d, 23);
        std::size_t start = d + 25;
        std::size_t end = spool.find("\r\nEND DATA\r\n", start);
        s.data = spool.substr(start, end - start);
        out.push_back(s);
        at = end;
    }
    return out;
}

} // namespace

TEST(StampTexts, DateMessageIdBoundary) {
    StampTime t = fixedTime();
    EXPECT_EQ(formatDate(t), "Sat, 03 May 1997 14:05:09 +0200");
    t.zoneMinutes = -330;
    EXPECT_EQ(formatDate(t), "Sat, 03 May 1997 14:05:09 -0530");
    t.zoneMinutes = 0;
    EXPECT_EQ(formatDate(t), "Sat, 03 May 1997 14:05:09 +0000");
    EXPECT_EQ(formatMessageId(t), "<14:05:09:042-Tern32>");
    EXPECT_EQ(formatBoundary(t), "TERN32Boundary-03May1997-14:05:09");
    StampTime now = readClock();
    EXPECT_GE(now.year, 2020);
    EXPECT_TRUE(now.zoneMinutes > -15 * 60 && now.zoneMinutes < 15 * 60);
}

TEST(Preparer, PlainMessageWithToAndCc) {
    TempDir dir;
    const std::string spool = dir.file("TernSmtp.Txt");
    {
        Preparer p(spool, "me@here.example", fixedTime);
        ASSERT_EQ(p.newMessage(nullptr), 0);
        EXPECT_EQ(p.addTo("a@x.example"), 0);
        EXPECT_EQ(p.addTo("b@x.example"), 0);
        EXPECT_EQ(p.addCc("c@y.example"), 0);
        EXPECT_EQ(p.setSubject("Hello"), 0);
        EXPECT_EQ(addText(p, "Line one\r\nLine two\r\n"), 0);
        EXPECT_EQ(p.endMessage(), 0);
        EXPECT_EQ(p.finish(), 0);
    }
    EXPECT_EQ(lxtest::pythonSpoolCheck(spool), "");
    const std::string s = lxtest::readFile(spool);
    EXPECT_EQ(s.substr(0, 41), "Letters : 00001\r\nFROM:<me@here.example>\r\n");
    auto secs = sections(s);
    ASSERT_EQ(secs.size(), 1u);
    EXPECT_EQ(
        secs[0].envelope,
        "BEGIN MESSAGE HEADER\r\nFROM:<me@here.example>\r\nTO:<a@x.example>\r\nTO:<b@x.example>\r\n"
        "TO:<c@y.example>\r\nEND MESSAGE HEADER\r\n");
    const std::string expected =
        "From: me@here.example\r\nTo: a@x.example\r\nTo: b@x.example\r\nCc: "
        "c@y.example\r\nSubject: Hello\r\n"
        "Date: Sat, 03 May 1997 14:05:09 +0200\r\nMessage-ID: "
        "<14:05:09:042-Tern32>\r\nMIME-Version: 1.0\r\n"
        "X-Mail-Agent: Ternline v1.7\r\nContent-Type: text/plain; charset=us-ascii\r\n"
        "Content-Transfer-Encoding: 7bit\r\n\r\nLine one\r\nLine two\r\n";
    EXPECT_EQ(secs[0].data, expected);
    std::string dataLine = "BEGIN DATA " + std::to_string(expected.size());
    dataLine.resize(23, ' ');
    EXPECT_EQ(secs[0].dataLine, dataLine);
    EXPECT_EQ(s.substr(s.size() - 12), "\r\nEND DATA\r\n");
}

TEST(Preparer, EightBitTextGoesQuotedPrintableInItsCharset) {
    struct Case {
        std::vector<std::string> pieces;
        std::string charset, encoded;
    };
    const Case cases[] = {
        {{"Caf\xe9 au lait\r\n"}, "iso-8859-1", "Caf=E9=20au=20lait\r\n"},
        // The euro sign exists in Windows-1252 only; a later piece decides the label as well.
        {{"Price ", "5 \x80\r\n"}, "windows-1252", "Price=205=20=80\r\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string spool = dir.file("out.txt");
        Preparer p(spool, "me@here.example", fixedTime);
        p.newMessage(nullptr);
        p.addTo("a@x.example");
        for (const auto& piece : c.pieces) addText(p, piece);
        ASSERT_EQ(p.endMessage(), 0);
        p.finish();
        EXPECT_EQ(lxtest::pythonSpoolCheck(spool), "");
        auto secs = sections(lxtest::readFile(spool));
        ASSERT_EQ(secs.size(), 1u);
        EXPECT_NE(secs[0].data.find("Content-Type: text/plain; charset=" + c.charset +
                                    "\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n" +
                                    c.encoded),
                  std::string::npos)
            << secs[0].data;
    }
}

TEST(Preparer, LongEightBitLinesGoWithSoftBreaksAndArriveWhole) {
    TempDir dir;
    const std::string spool = dir.file("out.txt");
    std::string line;
    for (int i = 0; line.size() < 380; ++i) line.push_back(i % 10 == 9 ? 'e' : '\xe9');
    // A 7-bit piece with a line longer than the 7-bit limit, then the 8-bit lines.
    const std::string ascii = std::string(1200, 'x') + "\r\n";
    Preparer p(spool, "me@here.example", fixedTime);
    p.newMessage(nullptr);
    p.addTo("a@x.example");
    addText(p, ascii);
    for (int i = 0; i < 4; ++i) addText(p, line + "\r\n");
    ASSERT_EQ(p.endMessage(), 0);
    p.finish();
    EXPECT_EQ(lxtest::pythonSpoolCheck(spool), "");
    auto secs = sections(lxtest::readFile(spool));
    ASSERT_EQ(secs.size(), 1u);
    const std::string& d = secs[0].data;
    const std::size_t body = d.find("\r\n\r\n");
    ASSERT_NE(body, std::string::npos);
    std::string decoded;
    for (const std::string& l : lxtest::splitLines(d.substr(body + 4))) {
        EXPECT_LE(l.size(), 76u);
        // Soft breaks join, everything else is one encoded byte or itself.
        const bool soft = !l.empty() && l.back() == '=';
        for (std::size_t i = 0; i < l.size() - (soft ? 1 : 0); ++i) {
            if (l[i] == '=') {
                decoded.push_back(static_cast<char>(std::stoi(l.substr(i + 1, 2), nullptr, 16)));
                i += 2;
            } else {
                decoded.push_back(l[i]);
            }
        }
        if (!soft) decoded += "\r\n";
    }
    std::string want = ascii;
    for (int i = 0; i < 4; ++i) want += line + "\r\n";
    EXPECT_EQ(decoded, want);
}

TEST(Preparer, EightBitSubjectAndNamesBecomeEncodedWords) {
    TempDir dir;
    const std::string spool = dir.file("out.txt");
    Preparer p(spool, "Ren\xe9 Sender <rene@here.example>", fixedTime);
    p.newMessage(nullptr);
    p.addTo("J\xfcrgen <j@x.example>");
    p.addCc("plain@y.example");
    p.setSubject("Caf\xe9 5 \x80");
    addText(p, "text\r\n");
    ASSERT_EQ(p.endMessage(), 0);
    p.finish();
    EXPECT_EQ(lxtest::pythonSpoolCheck(spool), "");
    const std::string s = lxtest::readFile(spool);
    EXPECT_EQ(s.substr(17, 26), "FROM:<rene@here.example>\r\n");
    auto secs = sections(s);
    ASSERT_EQ(secs.size(), 1u);
    EXPECT_EQ(secs[0].envelope,
              "BEGIN MESSAGE HEADER\r\nFROM:<rene@here.example>\r\n"
              "TO:<j@x.example>\r\nTO:<plain@y.example>\r\nEND MESSAGE HEADER\r\n");
    const std::string headers =
        "From: =?iso-8859-1?Q?Ren=E9_Sender?= <rene@here.example>\r\n"
        "To: =?iso-8859-1?Q?J=FCrgen?= <j@x.example>\r\nCc: plain@y.example\r\n"
        "Subject: =?windows-1252?Q?Caf=E9_5_=80?=\r\n";
    EXPECT_EQ(secs[0].data.substr(0, headers.size()), headers);
    // Nothing is left for the SMTP client's 7-bit transfer to cut.
    EXPECT_EQ(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0x80) != 0; }), 0);
}

TEST(Preparer, CountLineAndFirstSenderOverThreeMessages) {
    TempDir dir;
    const std::string spool = dir.file("out.txt");
    Preparer p(spool, "first@x.example", fixedTime);
    for (int i = 0; i < 3; ++i) {
        p.newMessage(i == 0 ? nullptr : (i == 1 ? "second@x.example" : "third@x.example"));
        p.addTo("r@x.example");
        addText(p, "text\r\n");
        ASSERT_EQ(p.endMessage(), 0);
    }
    // Until the batch is finished the count line holds the first message's count.
    p.finish();
    EXPECT_EQ(lxtest::pythonSpoolCheck(spool), "");
    const std::string s = lxtest::readFile(spool);
    EXPECT_EQ(s.substr(0, 17), "Letters : 00003\r\n");
    EXPECT_EQ(s.substr(17, 24), "FROM:<first@x.example>\r\n");
    auto secs = sections(s);
    ASSERT_EQ(secs.size(), 3u);
    EXPECT_NE(secs[2].envelope.find("FROM:<third@x.example>"), std::string::npos);
}

TEST(Preparer, MessageWithoutToKeepsItsPlaceWithoutRecipients) {
    TempDir dir;
    const std::string spool = dir.file("out.txt");
    Preparer p(spool, "me@x.example", fixedTime);
    for (const char* to : {"r@x.example", "", "s@x.example"}) {
        p.newMessage(nullptr);
        if (*to) p.addTo(to);
        p.addCc("c@x.example");
        addText(p, "text\r\n");
        EXPECT_EQ(p.endMessage(), *to ? 0 : -2);
    }
    // A message is written once.
    EXPECT_EQ(p.endMessage(), -2);
    p.finish();
    EXPECT_EQ(lxtest::pythonSpoolCheck(spool), "");
    const std::string s = lxtest::readFile(spool);
    EXPECT_EQ(s.substr(0, 15), "Letters : 00003");
    // The SMTP client numbers messages by their place: the third stays the third.
    auto secs = sections(s);
    ASSERT_EQ(secs.size(), 3u);
    EXPECT_EQ(secs[1].envelope,
              "BEGIN MESSAGE HEADER\r\nFROM:<me@x.example>\r\nEND MESSAGE HEADER\r\n");
    EXPECT_NE(secs[2].envelope.find("TO:<s@x.example>\r\nTO:<c@x.example>"), std::string::npos);
}

TEST(Preparer, RefusesOverlongFields) {
    TempDir dir;
    Preparer p(dir.file("out.txt"), std::string(127, 's').c_str(), fixedTime);
    p.newMessage(nullptr);
    EXPECT_EQ(p.addTo(std::string(127, 'a').c_str()), 0);
    EXPECT_EQ(p.addTo(std::string(128, 'a').c_str()), -2);
    EXPECT_EQ(p.addCc(std::string(128, 'a').c_str()), -2);
    // Subjects and file paths are as long as the store keeps them.
    EXPECT_EQ(p.addFile(std::string(255, 'a').c_str()), 0);
    EXPECT_EQ(p.addFile(std::string(256, 'a').c_str()), -2);
    EXPECT_EQ(p.setSubject(std::string(255, 'a').c_str()), 0);
    EXPECT_EQ(p.setSubject(std::string(256, 'a').c_str()), -2);
    ASSERT_EQ(p.endMessage(), 0);
    p.finish();
    // The sender of 127 characters was replaced by an empty one.
    EXPECT_NE(lxtest::readFile(dir.file("out.txt")).find("\r\nFROM:<>\r\n"), std::string::npos);
}

TEST(Preparer, AttachmentsAsBase64Parts) {
    TempDir dir;
    const std::string file = dir.file("data.bin");
    std::string bytes;
    for (int i = 0; i < 52; ++i) bytes.push_back(static_cast<char>(i * 5));
    lxtest::writeFile(file, bytes);
    Preparer p(dir.file("out.txt"), "me@x.example", fixedTime);
    p.newMessage(nullptr);
    p.addTo("r@x.example");
    p.addFile(file.c_str());
    p.addFile(dir.file("missing.bin").c_str());
    addText(p, "See attached.\r\n");
    ASSERT_EQ(p.endMessage(), 0);
    p.finish();
    EXPECT_EQ(lxtest::pythonSpoolCheck(dir.file("out.txt")), "");
    auto secs = sections(lxtest::readFile(dir.file("out.txt")));
    ASSERT_EQ(secs.size(), 1u);
    const std::string& d = secs[0].data;
    const std::string b = "TERN32Boundary-03May1997-14:05:09";
    EXPECT_NE(d.find("Content-Type: multipart/mixed; boundary=\"" + b + "\"\r\n\r\n--" + b +
                     "\r\nContent-Type: text/plain; charset=us-ascii\r\nContent-Transfer-Encoding: "
                     "7bit\r\n\r\n"
                     "See attached.\r\n\r\n\r\n--" +
                     b + "\r\n"),
              std::string::npos);
    const std::string head = "Content-Type: application/octet-stream; name=\"data.bin\"\r\n"
                             "Content-Transfer-Encoding: base64\r\n"
                             "Content-Disposition: attachment; filename=\"data.bin\"\r\n\r\n";
    std::size_t at = d.find(head);
    ASSERT_NE(at, std::string::npos);
    auto lines = lxtest::splitLines(d.substr(at + head.size()));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 68u);
    EXPECT_EQ(lines[1].size(), 4u);
    EXPECT_EQ(lines[1].substr(2), "==");
    // The missing file gives a part without data lines; the closing boundary ends the data.
    EXPECT_NE(d.find("filename=\"missing.bin\"\r\n\r\n\r\n--" + b + "--"), std::string::npos);
    EXPECT_EQ(d.substr(d.size() - b.size() - 4), "--" + b + "--");
}

TEST(Preparer, HeaderValuesCannotAddHeaders) {
    TempDir dir;
    Preparer p(dir.file("out.txt"), "me@x.example", fixedTime);
    p.newMessage(nullptr);
    p.addTo("r@x.example\r\nBcc: evil@x.example");
    p.setSubject("Hi\r\nX-Injected: 1");
    ASSERT_EQ(p.endMessage(), 0);
    p.finish();
    EXPECT_EQ(lxtest::pythonSpoolCheck(dir.file("out.txt")), "");
    const std::string s = lxtest::readFile(dir.file("out.txt"));
    EXPECT_EQ(s.find("\r\nBcc:"), std::string::npos);
    EXPECT_EQ(s.find("\r\nX-Injected:"), std::string::npos);
}

TEST(Preparer, ScratchFilesAreUniqueAndRemoved) {
    TempDir dir;
    Preparer a(dir.file("a.txt"), "me@x.example", fixedTime);
    Preparer b(dir.file("b.txt"), "me@x.example", fixedTime);
    a.newMessage(nullptr);
    b.newMessage(nullptr);
    ASSERT_FALSE(a.scratchPath().empty());
    ASSERT_FALSE(b.scratchPath().empty());
    EXPECT_NE(a.scratchPath(), b.scratchPath());
    // Beside the spool file, which lies in the installation folder.
    EXPECT_EQ(a.scratchPath().rfind(dir.file("TERNMIME-"), 0), 0u) << a.scratchPath();
    a.addTo("r@x.example");
    b.addTo("r@x.example");
    addText(a, "text of a\r\n");
    addText(b, "text of b\r\n");
    const std::string scratchA = a.scratchPath();
    ASSERT_EQ(a.endMessage(), 0);
    ASSERT_EQ(b.endMessage(), 0);
    EXPECT_FALSE(lxtest::fileExists(scratchA));
    a.finish();
    b.finish();
    EXPECT_EQ(lxtest::pythonSpoolCheck(dir.file("a.txt")), "");
    EXPECT_EQ(lxtest::pythonSpoolCheck(dir.file("b.txt")), "");
    EXPECT_NE(lxtest::readFile(dir.file("a.txt")).find("text of a"), std::string::npos);
    EXPECT_EQ(lxtest::readFile(dir.file("a.txt")).find("text of b"), std::string::npos);
    EXPECT_NE(lxtest::readFile(dir.file("b.txt")).find("text of b"), std::string::npos);
}

TEST(PreparerExports, HandlesAndResults) {
    TempDir dir;
    const std::string spool = dir.file("TernSmtp.Txt");
    TernMimeHandle h = 0;
    ASSERT_EQ(TERNMimePrepStart(spool.c_str(), "me@x.example", &h), 0);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(TERNMimePrepNewMesg(0, nullptr), -4);
    EXPECT_EQ(TERNMimePrepNewMesg(h ^ 0x10000u, nullptr), -4); // forged generation
    EXPECT_EQ(TERNMimePrepNewMesg(h, nullptr), 0);
    EXPECT_EQ(TERNMimePrepTO(h, "r@x.example"), 0);
    EXPECT_EQ(TERNMimePrepSubj(h, "s"), 0);
    EXPECT_EQ(TERNMimePrepData(h, "abc\r\n", 5), 0);
    EXPECT_EQ(TERNMimePrepData(h, "abc", -1), -2);
    EXPECT_EQ(TERNMimePrepEndMesg(h), 0);
    EXPECT_EQ(TERNMimePrepFinish(h), 0);
    EXPECT_EQ(TERNMimePrepFinish(h), -4); // freed: the handle is stale now
    EXPECT_EQ(TERNMimePrepTO(h, "r@x.example"), -4);
    EXPECT_EQ(lxtest::readFile(spool).substr(0, 15), "Letters : 00001");
    // A spool file that cannot be created leaves a usable handle whose message ends fail.
    ASSERT_EQ(TERNMimePrepStart(dir.file("no/such/folder.txt").c_str(), "me@x.example", &h), 0);
    EXPECT_EQ(TERNMimePrepNewMesg(h, nullptr), 0);
    EXPECT_EQ(TERNMimePrepTO(h, "r@x.example"), 0);
    EXPECT_EQ(TERNMimePrepEndMesg(h), -2);
    EXPECT_EQ(TERNMimePrepFinish(h), 0);
    EXPECT_EQ(TERNMimePrepStart("x", "y", nullptr), -4);
}
