#include <gtest/gtest.h>

#include <string>

#include "netlib/mime/textintake.h"

using namespace lx::mime;

namespace {

std::string intake(const std::string& text, std::size_t limit) {
    TextIntake t;
    std::string out;
    t.add(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), limit, out);
    t.finish(out);
    return out;
}

} // namespace

TEST(TextIntake, CrEndsLinesWithCrLf) {
    EXPECT_EQ(intake("a\r\nb\rc\r\n", 990), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(intake("lone\nlf", 990), "lone\nlf"); // a lone LF is an ordinary character
    EXPECT_EQ(intake("no end", 990), "no end");
}

TEST(TextIntake, HardCutWithoutBlanks) {
    std::string line(1200, 'x');
    EXPECT_EQ(intake(line, kLineLimit7bit), std::string(990, 'x') + "\r\n" + std::string(210, 'x'));
    EXPECT_EQ(intake(line, 384), std::string(384, 'x') + "\r\n" + std::string(384, 'x') + "\r\n" +
                                     std::string(384, 'x') + "\r\n" + std::string(48, 'x'));
    // Exactly the limit followed by CR stays one line.
    EXPECT_EQ(intake(std::string(990, 'y') + "\r\n", 990), std::string(990, 'y') + "\r\n");
}

TEST(TextIntake, BreaksBeforeTheLastBlank) {
    std::string words;
    while (words.size() < 1100) words += "word ";
    std::string out = intake(words, kLineLimit7bit);
    std::size_t crlf = out.find("\r\n");
    ASSERT_NE(crlf, std::string::npos);
    EXPECT_LE(crlf, 990u);
    EXPECT_EQ(words.substr(0, crlf), out.substr(0, crlf));
    EXPECT_EQ(out[crlf + 2], ' '); // the next line starts with that blank
    EXPECT_EQ(words[crlf], ' ');
    EXPECT_EQ(out.substr(crlf + 2), words.substr(crlf));
}

TEST(TextIntake, BlankAtLineStartDoesNotLoop) {
    std::string text = " " + std::string(2000, 'z');
    std::string out = intake(text, 990);
    EXPECT_EQ(out,
              text.substr(0, 990) + "\r\n" + text.substr(990, 990) + "\r\n" + text.substr(1980));
}

TEST(TextIntake, PiecesBreakLikeTheWhole) {
    std::string text = "first line\r\nsecond " + std::string(1500, 'q') + "\r\nthird\r";
    std::string whole = intake(text, 990);
    TextIntake t;
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += 7) {
        std::string piece = text.substr(i, 7);
        t.add(reinterpret_cast<const std::uint8_t*>(piece.data()), piece.size(), 990, out);
    }
    t.add(reinterpret_cast<const std::uint8_t*>("\nlast"), 5, 990, out); // LF of the split CR LF
    t.finish(out);
    EXPECT_EQ(out, whole + "last");
}

TEST(TextIntake, WithoutLimitOnlyLineEndsChange) {
    // Text that goes out quoted-printable keeps its lines whole: soft breaks shorten them later.
    const std::string words = std::string(3000, 'x') + " " + std::string(500, '\xe9');
    EXPECT_EQ(intake(words + "\r" + words + "\r\n", kNoLineLimit), words + "\r\n" + words + "\r\n");
    EXPECT_EQ(intake("lone\nlf\r", kNoLineLimit), "lone\nlf\r\n");
}

TEST(TextIntake, CharsetOfEightBitText) {
    struct Case {
        std::string text;
        bool highBit, windowsByte;
        const char* charset;
    };
    const Case cases[] = {
        {"plain", false, false, "iso-8859-1"},
        {"caf\xe9 \xfc \xdf", true, false, "iso-8859-1"},
        {"5 \x80", true, true, "windows-1252"},        // the euro sign
        {"\x9f and \xa0", true, true, "windows-1252"}, // the last byte Windows-1252 adds
        {"\xa0\xff", true, false, "iso-8859-1"},
    };
    for (const Case& c : cases) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(c.text.data());
        EXPECT_EQ(hasHighBit(p, c.text.size()), c.highBit) << c.text;
        EXPECT_EQ(hasWindowsByte(p, c.text.size()), c.windowsByte) << c.text;
        EXPECT_STREQ(eightBitCharset(c.windowsByte), c.charset) << c.text;
    }
}
