// Password scrambling.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/settings/scramble.h"

using namespace lx;

TEST(ScrambleTable, IsReversibleOnSevenBitCodes) {
    const ScrambleTable& t = PasswordScrambleTable();
    bool seen[256] = {};
    for (int c = 0; c < 128; ++c) {
        std::uint8_t s = t.ScrambledCode(static_cast<std::uint8_t>(c));
        EXPECT_FALSE(seen[s]) << "scrambled code used twice: " << int(s);
        seen[s] = true;
        EXPECT_NE(s, '|');
        EXPECT_NE(s, 0);
        EXPECT_NE(s, kUnknownCode);
        EXPECT_EQ(t.PlainCode(s), c);
    }
    EXPECT_GT(t.ScrambledCode('|' - kScrambleOffset), 127);
    EXPECT_NE(t.ScrambledCode('a'), 'a');
}

TEST(ScrambleTable, UnknownCodesBecome255) {
    const ScrambleTable& t = PasswordScrambleTable();
    EXPECT_EQ(t.PlainCode('|'), kUnknownCode);
    EXPECT_EQ(t.PlainCode(kUnknownCode), kUnknownCode);
    EXPECT_EQ(t.ScrambledCode(200), kUnknownCode);
    char text[] = {'|', 'A', 0};
    Unscramble(text);
    EXPECT_EQ(static_cast<std::uint8_t>(text[0]), kUnknownCode);
}

TEST(Scramble, EverySixteenCharacterWindowRoundTrips) {
    // All codes 1..127, taken in every window of 16 consecutive codes (wrapping round).
    for (int start = 1; start <= 127; ++start) {
        char text[17] = {};
        for (int i = 0; i < 16; ++i) text[i] = static_cast<char>(1 + (start - 1 + i) % 127);
        const std::string plain(text);
        Scramble(text);
        ASSERT_EQ(std::strlen(text), 16u) << "a scrambled text keeps its length";
        EXPECT_EQ(std::string(text).find('|'), std::string::npos);
        EXPECT_NE(std::string(text), plain);
        Unscramble(text);
        EXPECT_EQ(std::string(text), plain) << "window starting at " << start;
    }
}

TEST(Scramble, WorksOnSixteenCharactersAtMost) {
    char text[32] = "abcdefghijklmnopqrstuvw";
    Scramble(text);
    EXPECT_EQ(std::string(text + 16), "qrstuvw");
    EXPECT_NE(text[15], 'p');
    Unscramble(text);
    EXPECT_STREQ(text, "abcdefghijklmnopqrstuvw");
}

TEST(Scramble, StopsAtTheTerminatorAndTheBuffer) {
    char text[8] = {'a', 'b', 0, 'c', 'd', 0, 0, 0};
    Scramble(text);
    EXPECT_NE(text[0], 'a');
    EXPECT_EQ(text[2], 0);
    EXPECT_EQ(text[3], 'c');

    char small[3] = {'x', 'y', 'z'}; // no terminator: only its own bytes are touched
    PasswordScrambleTable().Scramble(small, sizeof small);
    PasswordScrambleTable().Unscramble(small, sizeof small);
    EXPECT_EQ(std::string(small, 3), "xyz");

    Scramble(nullptr, 5); // nothing to do, and no crash
    char empty[1] = {0};
    Scramble(empty);
    EXPECT_EQ(empty[0], 0);
}
