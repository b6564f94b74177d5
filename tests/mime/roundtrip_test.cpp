// A batch prepared for sending comes back through the scanner: text and attachment bytes survive.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "mimetest.h"
#include "netlib/mime/preparer.h"
#include "netlib/mime/scanner.h"
#include "netlib/mime/uniquefile.h"

using namespace lx::mime;
using lxtest::TempDir;

namespace {

std::string randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(rng() & 0xFF);
    return s;
}

std::string trimEnds(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
    return s;
}

struct Letter {
    std::string subject, text;
    std::vector<std::string> to, cc;
    std::vector<std::pair<std::string, std::string>> files;
};

} // namespace

TEST(RoundTrip, PreparedBatchScansBack) {
    TempDir dir;
    std::vector<Letter> letters(7);
    letters[0] = {"Plain", "Hello\r\nWorld\r\n", {"a@x.example"}, {}, {}};
    letters[1] = {"Files",
                  "Two files.\r\n.leading dot\r\n",
                  {"a@x.example", "b@x.example"},
                  {"c@y.example"},
                  {{"small.bin", randomBytes(52, 7)},
                   {"large.dat", randomBytes(300000, 8)},
                   {"empty.txt", ""}}};
    letters[2] = {"Eight",
                  "Caf\xe9 au lait = 5\r\nna\xefve\r\n",
                  {"d@x.example"},
                  {},
                  {{"x.bin", randomBytes(1000, 9)}}};
    letters[3] = {"Eight only",
                  "Stra\xdf"
                  "e\r\n",
                  {"e@x.example"},
                  {},
                  {}};
    // Lines that end nothing: the data's end is its byte count.
    letters[4] = {"Markers", "caf\xe9\r\nEND DATA\r\n.\r\nlast\r\n", {"f@x.example"}, {}, {}};
    // 8-bit headers go out as encoded words and long 8-bit lines as soft-broken
    // quoted-printable; both come back as written.
    std::string longLine;
    for (int i = 0; i < 380; ++i) longLine += (i % 10 == 9) ? ' ' : "\xe9\xfc\xdf\x80"[i % 4];
    letters[5] = {"Caf\xe9 cr\xe8me br\xfbl\xe9e \x80 5",
                  longLine + "\r\n" + longLine + "\r\nend\r\n",
                  {"g@x.example"},
                  {},
                  {}};
    letters[6] = {"After the long lines", "still here\r\n", {"h@x.example"}, {}, {}};
    const std::string out = dir.file("TernSmtp.Txt");
    {
        Preparer p(out, "me@lorvex.example");
        for (std::size_t i = 0; i < letters.size(); ++i) {
            const Letter& l = letters[i];
            p.newMessage(nullptr);
            for (const auto& a : l.to) p.addTo(a.c_str());
            for (const auto& a : l.cc) p.addCc(a.c_str());
            p.setSubject(l.subject.c_str());
            for (const auto& f : l.files) {
                std::filesystem::create_directory(dir.file("src" + std::to_string(i)));
                const std::string path = joinPath(dir.file("src" + std::to_string(i)), f.first);
                lxtest::writeFile(path, f.second);
                p.addFile(path.c_str());
            }
            p.addData(reinterpret_cast<const std::uint8_t*>(l.text.data()), l.text.size());
            ASSERT_EQ(p.endMessage(), 0);
        }
        p.finish();
    }
    EXPECT_EQ(lxtest::pythonSpoolCheck(out), "");
    const auto sections = lxtest::outgoingDataSections(lxtest::readFile(out));
    ASSERT_EQ(sections.size(), letters.size());
    lxtest::writeFile(dir.file("TernPop3.Txt"), lxtest::incomingSpool(sections));
    const std::string data = dir.file("Data");
    std::filesystem::create_directory(data);
    Scanner scanner(dir.file("TernPop3.Txt"), data);
    ASSERT_EQ(scanner.messageCount(), static_cast<int>(letters.size()));
    const TernScanRecord* r = scanner.getFirst();
    for (std::size_t i = 0; i < letters.size(); ++i) {
        SCOPED_TRACE(letters[i].subject);
        ASSERT_NE(r, nullptr);
        const Letter& l = letters[i];
        EXPECT_EQ(std::string(r->Subject), l.subject);
        EXPECT_STREQ(r->From, "me@lorvex.example");
        ASSERT_EQ(r->ToCount, static_cast<int>(l.to.size()));
        for (std::size_t k = 0; k < l.to.size(); ++k) EXPECT_EQ(std::string(r->To[k]), l.to[k]);
        ASSERT_EQ(r->CcCount, static_cast<int>(l.cc.size()));
        EXPECT_EQ(std::string(r->MesgId).substr(std::string(r->MesgId).size() - 8), "-Tern32>");
        EXPECT_EQ(trimEnds(std::string(r->Text, r->TextLength - 1)), trimEnds(l.text));
        ASSERT_EQ(r->FileCount, static_cast<int>(l.files.size()));
        for (std::size_t k = 0; k < l.files.size(); ++k) {
            EXPECT_EQ(std::string(r->Files[k]), joinPath(data, l.files[k].first));
            EXPECT_EQ(lxtest::readFile(r->Files[k]), l.files[k].second) << l.files[k].first;
        }
        r = scanner.getNext();
    }
    EXPECT_EQ(r, nullptr);
}
