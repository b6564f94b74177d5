// The preparer's output checked by an independent parser: Python's email package.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "mimetest.h"
#include "netlib/mime/preparer.h"

using namespace lx::mime;
using lxtest::TempDir;

namespace {

StampTime fixedTime() {
    StampTime t;
    t.year = 2026;
    t.month = 12;
    t.day = 9;
    t.weekday = 3;
    t.hour = 8;
    t.minute = 7;
    t.second = 6;
    t.millisecond = 5;
    t.zoneMinutes = -90;
    return t;
}

std::string hex(const std::string& s) {
    static const char* d = "0123456789abcdef";
    std::string out;
    for (unsigned char c : s) {
        out += d[c >> 4];
        out += d[c & 15];
    }
    return out;
}

std::string jstr(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (c < 32) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// A JSON list of the texts as hexadecimal strings (the texts are Windows-1252 bytes).
std::string jhexlist(const std::vector<std::string>& v) {
    std::string out = "[";
    for (std::size_t i = 0; i < v.size(); ++i) out += (i ? ",\"" : "\"") + hex(v[i]) + "\"";
    return out + "]";
}

struct OutMessage {
    std::string from = "sender@lorvex.example";
    std::vector<std::string> to, cc;
    std::string subject;
    std::string text;         // handed over as it stands
    std::string expectedText; // as the reader must find it (empty: same as text)
    std::vector<std::pair<std::string, std::string>> files; // name, bytes
};

std::string randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(rng() & 0xFF);
    return s;
}

class PreparerOracle : public ::testing::Test {
protected:
    void SetUp() override {
        if (!lxtest::haveSystemPython()) GTEST_SKIP() << "no /usr/bin/python3";
    }

    // Prepares all messages into one spool file and has Python check every data section.
    void prepareAndCheck(const std::vector<OutMessage>& messages) {
        TempDir dir;
        const std::string spool = dir.file("TernSmtp.Txt");
        {
            Preparer p(spool, messages[0].from.c_str(), fixedTime);
            for (std::size_t m = 0; m < messages.size(); ++m) {
                const OutMessage& om = messages[m];
                p.newMessage(om.from.c_str());
                for (const auto& a : om.to) ASSERT_EQ(p.addTo(a.c_str()), 0);
                for (const auto& a : om.cc) ASSERT_EQ(p.addCc(a.c_str()), 0);
                ASSERT_EQ(p.setSubject(om.subject.c_str()), 0);
                for (std::size_t f = 0; f < om.files.size(); ++f) {
                    std::string path = dir.file("m" + std::to_string(m) + "_" + om.files[f].first);
                    lxtest::writeFile(path, om.files[f].second);
                    ASSERT_EQ(p.addFile(path.c_str()), 0);
                }
                // Handed over in two pieces, as a composer may do.
                const std::string& t = om.text;
                std::size_t half = t.size() / 2;
                ASSERT_EQ(p.addData(reinterpret_cast<const std::uint8_t*>(t.data()), half), 0);
                ASSERT_EQ(p.addData(reinterpret_cast<const std::uint8_t*>(t.data()) + half,
                                    t.size() - half),
                          0);
                ASSERT_EQ(p.endMessage(), 0);
            }
            p.finish();
        }
        EXPECT_EQ(lxtest::pythonSpoolCheck(spool), "");
        const auto sections = lxtest::outgoingDataSections(lxtest::readFile(spool));
        ASSERT_EQ(sections.size(), messages.size());
        const std::string script = lxtest::sourceDir() + "/tests/mime/oracle_prep.py";
        for (std::size_t m = 0; m < messages.size(); ++m) {
            const OutMessage& om = messages[m];
            bool eight = false, windows = false;
            for (unsigned char c : om.text) {
                eight |= c >= 128;
                windows |= c >= 0x80 && c <= 0x9F;
            }
            const char* charset = !eight ? "us-ascii" : windows ? "windows-1252" : "iso-8859-1";
            std::string files = "[";
            for (std::size_t f = 0; f < om.files.size(); ++f)
                files += (f ? "," : "") + std::string("{\"name\":") +
                         jstr("m" + std::to_string(m) + "_" + om.files[f].first) + ",\"hex\":\"" +
                         hex(om.files[f].second) + "\"}";
            files += "]";
            const std::string want =
                "{\"from_hex\":\"" + hex(om.from) + "\",\"to_hex\":" + jhexlist(om.to) +
                ",\"cc_hex\":" + jhexlist(om.cc) + ",\"subject_hex\":\"" + hex(om.subject) + "\"" +
                ",\"message_id\":\"<08:07:06:005-Tern32>\"" +
                ",\"date\":\"Wed, 09 Dec 2026 08:07:06 -0130\"" + ",\"charset\":" + jstr(charset) +
                ",\"text_hex\":\"" + hex(om.expectedText.empty() ? om.text : om.expectedText) +
                "\",\"files\":" + files + "}";
            lxtest::writeFile(dir.file("msg.eml"), sections[m]);
            lxtest::writeFile(dir.file("want.json"), want);
            std::string out;
            bool ok = lxtest::runPython(script, {dir.file("msg.eml"), dir.file("want.json")}, out);
            EXPECT_TRUE(ok) << "message " << m << ":\n" << out;
        }
    }
};

} // namespace

TEST_F(PreparerOracle, PlainAndQuotedPrintableMessages) {
    OutMessage plain;
    plain.to = {"one@x.example", "Two Person <two@x.example>"};
    plain.cc = {"three@y.example"};
    plain.subject = "Plain test";
    plain.text = "First line\r\n\r\nThird line with = and \t tab\r\n";
    OutMessage eight;
    eight.to = {"r@x.example"};
    eight.subject = "Caf\xe9 cr\xe8me \x80 5?";
    eight.text = "Caf\xe9 cr\xe8me br\xfbl\xe9"
                 "e = 100%\r\n  leading blanks and trailing  \r\nbyte 255: \xff\r\n";
    OutMessage longLines;
    longLines.to = {"r@x.example"};
    longLines.subject = "Long";
    longLines.text = std::string(1200, 'x') + "\r\n";
    longLines.expectedText = std::string(990, 'x') + "\r\n" + std::string(210, 'x') + "\r\n";
    OutMessage longEight;
    longEight.to = {"r@x.example"};
    longEight.subject = "Long 8-bit";
    // Quoted-printable lines are kept short by soft breaks: the text keeps its own lines.
    longEight.text = std::string(500, '\xe9') + "\r\n";
    prepareAndCheck({plain, eight, longLines, longEight});
}

TEST_F(PreparerOracle, EightBitHeadersAndTextArriveAsWritten) {
    OutMessage latin;
    latin.from = "Ren\xe9 M\xfcller <rene@lorvex.example>";
    latin.to = {"J\xfcrgen Stra\xdf"
                "e <js@x.example>",
                "plain@x.example"};
    latin.cc = {"\"Gro\xdf, Anna\" <anna@y.example>"};
    latin.subject = "Caf\xe9 cr\xe8me br\xfbl\xe9"
                    "e";
    latin.text = "Gr\xfc\xdf"
                 "e aus M\xfcnchen.\r\nEND DATA\r\n.\r\n";
    OutMessage euro;
    euro.from = "\x80uro Desk <euro@lorvex.example>";
    euro.to = {"r@x.example"};
    euro.subject = "Preis 5 \x80 f\xfcr alle, auch wenn der Betreff so lang ist, dass er gefaltet "
                   "werden muss \x80\x80";
    std::string line;
    for (int i = 0; line.size() < 380; ++i)
        line.push_back(i % 10 == 9 ? 'x' : "\xe9\x80\xdf"[i % 3]);
    for (int i = 0; i < 3; ++i) euro.text += line + "\r\n";
    OutMessage files = latin;
    files.subject = "\xdc"
                    "ber die Anlage";
    files.files = {{"doc.txt", "plain text file\r\n"}};
    prepareAndCheck({latin, euro, files});
}

TEST_F(PreparerOracle, AttachmentsOfEveryLength) {
    OutMessage m;
    m.to = {"r@x.example"};
    m.cc = {"c1@x.example", "c2@x.example"};
    m.subject = "Files";
    m.text = "Four files follow.\r\n";
    m.files = {{"empty.bin", ""},
               {"one.bin", "A"},
               {"fiftytwo.bin", randomBytes(52, 1)},
               {"big.dat", randomBytes(100000, 2)},
               {"fiftyone.bin", randomBytes(51, 3)}};
    OutMessage m8 = m;
    m8.subject = "Files with 8-bit text";
    m8.text = "Gr\xfc\xdf"
              "e\r\n";
    m8.files = {{"doc.txt", "plain text file\r\n"}};
    prepareAndCheck({m, m8});
}
