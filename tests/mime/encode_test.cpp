// The outgoing encoders: quoted-printable with soft breaks, and encoded words in header lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "netlib/mime/codecs.h"
#include "netlib/mime/hdrencode.h"

using namespace lx::mime;

namespace {

std::string qp(const std::string& s) {
    std::string out;
    qpEncode(reinterpret_cast<const std::uint8_t*>(s.data()), s.size(), out);
    return out;
}

// Quoted-printable back to bytes: soft breaks vanish, "=XX" becomes its byte.
std::string unqp(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 3, "=\r\n") == 0) {
            i += 2;
        } else if (s[i] == '=' && i + 2 < s.size()) {
            out.push_back(static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16)));
            i += 2;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

std::vector<std::string> lines(const std::string& s) {
    std::vector<std::string> out;
    std::size_t at = 0;
    for (std::size_t nl; (nl = s.find("\r\n", at)) != std::string::npos; at = nl + 2)
        out.push_back(s.substr(at, nl - at));
    out.push_back(s.substr(at));
    return out;
}

// 380 characters of which nine in ten are 8-bit, as a line of a letter in a Latin language.
std::string mostlyEightBit() {
    std::string s;
    for (int i = 0; s.size() < 380; ++i)
        s.push_back(i % 10 == 9 ? 'a' : static_cast<char>(0xE0 + i % 16));
    return s;
}

} // namespace

TEST(QuotedPrintableEncoder, CaseTable) {
    struct Case {
        const char* what;
        std::string text, encoded;
    };
    const std::string a75(75, 'a');
    const Case cases[] = {
        {"8-bit byte", "caf\xe9", "caf=E9"},
        {"blank, tab, equals", "a b\tc=d", "a=20b=09c=3Dd"},
        {"control and high bytes", std::string("\x00\x7f\x80\xff", 4), "=00=7F=80=FF"},
        {"CR LF kept", "line\r\nnext\r\n", "line\r\nnext\r\n"},
        {"lone LF and lone CR encoded", "a\nb\rc", "a=0Ab=0Dc"},
        {"trailing blanks encoded", "end  \r\n", "end=20=20\r\n"},
        {"\"=\" at line end", "sum =\r\n", "sum=20=3D\r\n"},
        {"75 characters need no soft break", a75 + "\r\n" + a75, a75 + "\r\n" + a75},
        {"76th character goes to the next line", a75 + "bc", a75 + "=\r\nbc"},
        {"an escape is never split", std::string(74, 'a') + "\xe9",
         std::string(74, 'a') + "=\r\n=E9"},
        {"a soft break never ends the text", std::string(150, 'z'),
         std::string(75, 'z') + "=\r\n" + std::string(75, 'z')},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qp(c.text), c.encoded) << c.what;
        EXPECT_EQ(unqp(c.encoded), c.text) << c.what;
    }
}

TEST(QuotedPrintableEncoder, LongEightBitLinesStayWithinTheLineLimit) {
    std::string text;
    for (int i = 0; i < 5; ++i) text += mostlyEightBit() + "\r\n";
    const std::string encoded = qp(text);
    for (const std::string& l : lines(encoded)) EXPECT_LE(l.size(), kQpLineChars) << l;
    EXPECT_EQ(unqp(encoded), text);
}

TEST(QuotedPrintableEncoder, PiecesEncodeLikeTheWhole) {
    const std::string text = "first\r\nsecond caf\xe9 " + std::string(200, 'q') + "\r\nthird\r";
    const std::string whole = qp(text);
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        QpEncoder e;
        std::string out;
        e.add(reinterpret_cast<const std::uint8_t*>(text.data()), cut, out);
        e.add(reinterpret_cast<const std::uint8_t*>(text.data()) + cut, text.size() - cut, out);
        e.finish(out);
        ASSERT_EQ(out, whole) << "cut at " << cut;
    }
}

TEST(HeaderEncoder, CaseTable) {
    struct Case {
        const char* field;
        std::string value, line;
    };
    const Case cases[] = {
        {"Subject", "Hello there", "Subject: Hello there\r\n"},
        {"Subject", std::string(120, 'x'), "Subject: " + std::string(120, 'x') + "\r\n"},
        {"Subject",
         "Gr\xfc\xdf"
         "e aus M\xfcnchen",
         "Subject: =?iso-8859-1?Q?Gr=FC=DFe_aus_M=FCnchen?=\r\n"},
        {"Subject",
         "Stra\xdf"
         "e",
         "Subject: =?iso-8859-1?Q?Stra=DFe?=\r\n"},
        {"Subject", "Preis: 5 \x80", "Subject: =?windows-1252?Q?Preis=3A_5_=80?=\r\n"},
        {"Subject", "=?utf-8?Q?x?=", "Subject: =?iso-8859-1?B?PT91dGYtOD9RP3g/PQ==?=\r\n"},
        {"Subject",
         "na\xefve and a much longer subject line that will need folding over several lines "
         "\xe9\xe9\xe9 end",
         "Subject: =?iso-8859-1?Q?na=EFve_and_a_much_longer_subject_line_that_will_nee?=\r\n"
         " =?iso-8859-1?Q?d_folding_over_several_lines_=E9=E9=E9_end?=\r\n"},
        {"To", "plain@x.example", "To: plain@x.example\r\n"},
        {"To", "Plain Name <p@x.example>", "To: Plain Name <p@x.example>\r\n"},
        {"To", "J\xfcrgen M\xfcller <jm@x.example>",
         "To: =?iso-8859-1?Q?J=FCrgen_M=FCller?= <jm@x.example>\r\n"},
        {"Cc", "\"M\xfcller, J\\\"r\" <jm@x.example>",
         "Cc: =?iso-8859-1?B?TfxsbGVyLCBKInI=?= <jm@x.example>\r\n"},
        {"From", "\x80uro Desk <euro@x.example>",
         "From: =?windows-1252?Q?=80uro_Desk?= <euro@x.example>\r\n"},
        {"To", "Bj\xf6rn <bjorn.with.a.rather.long.address.that.goes.on.and.on@sub.example.org>",
         "To: =?iso-8859-1?Q?Bj=F6rn?=\r\n"
         " <bjorn.with.a.rather.long.address.that.goes.on.and.on@sub.example.org>\r\n"},
    };
    for (const Case& c : cases) {
        const std::string field = c.field;
        EXPECT_EQ(field == "Subject" ? unstructuredHeader(field, c.value)
                                     : addressHeader(field, c.value),
                  c.line)
            << c.value;
    }
}

TEST(HeaderEncoder, LongEightBitSubjectsFoldIntoShortWords) {
    for (const std::string& subject :
         {std::string(127, '\xe9'), std::string(127, '\x80'), mostlyEightBit().substr(0, 127)}) {
        const std::string line = unstructuredHeader("Subject", subject);
        ASSERT_EQ(line.substr(line.size() - 2), "\r\n");
        const auto folded = lines(line.substr(0, line.size() - 2));
        EXPECT_GT(folded.size(), 1u);
        for (std::size_t i = 0; i < folded.size(); ++i) {
            const std::string& l = folded[i];
            EXPECT_LE(l.size(), kHeaderLineMax) << l;
            const std::string word = i == 0 ? l.substr(9) : l.substr(1);
            EXPECT_LE(word.size(), kEncodedWordMax) << word;
            EXPECT_EQ(word.find(' '), std::string::npos) << word;
            EXPECT_EQ(word.substr(0, 2), "=?");
            EXPECT_EQ(word.substr(word.size() - 2), "?=");
            if (i > 0) {
                EXPECT_EQ(l[0], ' ');
            }
        }
    }
}

TEST(HeaderEncoder, EnvelopeCarriesTheBareAddress) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain@x.example", "plain@x.example"},
        {"<angle@x.example>", "angle@x.example"},
        {"J\xfcrgen <jm@x.example>", "jm@x.example"},
        {"\"Doe, <J>\" <jd@x.example> ", "jd@x.example"},
        {"no closing <bracket", "no closing <bracket"},
    };
    for (const auto& c : cases) EXPECT_EQ(envelopeAddress(c.first), c.second) << c.first;
}
