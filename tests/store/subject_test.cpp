#include "common/schema/subject.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(SubjectSuffix, ComposesTheFlags) {
    EXPECT_EQ("Hello&&N&F", lx::ComposeSubject("Hello", true, true));
    EXPECT_EQ("Hello&&N& ", lx::ComposeSubject("Hello", true, false));
    EXPECT_EQ("Hello&& & ", lx::ComposeSubject("Hello", false, false));
    EXPECT_EQ("&&N& ", lx::ComposeSubject("", true, false));
}

TEST(SubjectSuffix, CutsLongSubjectsAt250) {
    std::string text(300, 'x');
    text[249] = 'y';
    text[250] = 'z';
    std::string stored = lx::ComposeSubject(text, true, false);
    ASSERT_EQ(255u, stored.size());
    EXPECT_EQ(std::string(249, 'x') + "y&&N& ", stored);
    EXPECT_EQ(255u, lx::ComposeSubject(std::string(251, 'a'), true, true).size());
    EXPECT_EQ(255u, lx::ComposeSubject(std::string(250, 'a'), true, true).size());
    EXPECT_EQ(254u, lx::ComposeSubject(std::string(249, 'a'), true, true).size());
}

TEST(SubjectSuffix, ComposesIntoABoundedBuffer) {
    char out[256];
    std::memset(out, '#', sizeof(out));
    std::string text(300, 'q');
    EXPECT_EQ(255u, lx::ComposeSubject(text.c_str(), true, true, out, sizeof(out)));
    EXPECT_STREQ((std::string(250, 'q') + "&&N&F").c_str(), out);
    char small[8];
    std::memset(small, '#', sizeof(small));
    EXPECT_EQ(7u, lx::ComposeSubject("Hello", true, true, small, sizeof(small)));
    EXPECT_STREQ("Hello&&", small);
    EXPECT_EQ(0u, lx::ComposeSubject("Hello", true, true, small, 0));
}

TEST(SubjectSuffix, ParsesShownSubjectAndFlags) {
    lx::SubjectParts p = lx::ParseSubject("Meeting&&N&F");
    EXPECT_TRUE(p.hasSuffix);
    EXPECT_EQ("Meeting", p.shown);
    EXPECT_TRUE(p.unread);
    EXPECT_TRUE(p.hasFiles);
    p = lx::ParseSubject("Meeting&& & ");
    EXPECT_FALSE(p.unread);
    EXPECT_FALSE(p.hasFiles);
    p = lx::ParseSubject("No suffix");
    EXPECT_FALSE(p.hasSuffix);
    EXPECT_EQ("No suffix", p.shown);
    p = lx::ParseSubject("Short&&N");
    EXPECT_TRUE(p.unread);
    EXPECT_FALSE(p.hasFiles);
}

struct ShownCase {
    const char* text; // the subject as the user wrote it
    bool unread;
    bool hasFiles;
};

// Whatever the subject holds, composing then parsing gives it back whole with its flags: the
// suffix is taken from the end, never at an "&&" of the subject itself.
TEST(SubjectSuffix, EverySubjectIsShownWholeWithItsOwnFlags) {
    const ShownCase cases[] = {
        {"Tom && Jerry", true, true}, {"Tom && Jerry", false, false}, {"&&", true, false},
        {"&&&&", false, true},        {"A&&B&C", false, false},       {"R&D &", true, true},
        {"ends with &", false, true}, {"ends with &&", true, false},  {"&", true, true},
        {"&&N&F", false, false},      {"x&&N&F", true, false},        {"", false, true},
        {"plain", true, false},
    };
    for (const ShownCase& c : cases) {
        const lx::SubjectParts p =
            lx::ParseSubject(lx::ComposeSubject(c.text, c.unread, c.hasFiles));
        EXPECT_TRUE(p.hasSuffix) << c.text;
        EXPECT_EQ(c.text, p.shown) << c.text;
        EXPECT_EQ(c.unread, p.unread) << c.text;
        EXPECT_EQ(c.hasFiles, p.hasFiles) << c.text;
    }
}

struct StoredCase {
    const char* stored;
    const char* shown;
    bool unread;
    bool hasFiles;
};

// Values without a well-formed suffix at their end (damaged or written elsewhere) are read up to
// their first "&&".
TEST(SubjectSuffix, ValueWithoutTrailingSuffixIsReadUpToItsFirstPair) {
    const StoredCase cases[] = {
        {"Short&&N", "Short", true, false},
        {"Cut&&N&F and more", "Cut", true, true},
        {"No suffix", "No suffix", false, false},
        {"Tom && Jerry", "Tom ", false, false},
    };
    for (const StoredCase& c : cases) {
        const lx::SubjectParts p = lx::ParseSubject(c.stored);
        EXPECT_EQ(c.shown, p.shown) << c.stored;
        EXPECT_EQ(c.unread, p.unread) << c.stored;
        EXPECT_EQ(c.hasFiles, p.hasFiles) << c.stored;
    }
}

TEST(SubjectSuffix, LongSubjectWithAmpersandsIsShownAsCut) {
    const std::string text = std::string(247, 'a') + "&&&&&&";
    const lx::SubjectParts p = lx::ParseSubject(lx::ComposeSubject(text, true, false));
    EXPECT_EQ(text.substr(0, 250), p.shown);
    EXPECT_TRUE(p.unread);
    EXPECT_FALSE(p.hasFiles);
}

TEST(SubjectSuffix, MarkReadRewritesOnlyTheSuffixLetter) {
    std::string s = lx::ComposeSubject("Nothing && Nowhere", true, true);
    EXPECT_TRUE(lx::MarkSubjectRead(s));
    EXPECT_EQ("Nothing && Nowhere&& &F", s);
    EXPECT_FALSE(lx::MarkSubjectRead(s)); // already read
    std::string plain = "No suffix";
    EXPECT_FALSE(lx::MarkSubjectRead(plain));
    EXPECT_EQ("No suffix", plain);

    char buf[32] = "Hi&&N& ";
    EXPECT_TRUE(lx::MarkSubjectRead(buf, sizeof(buf)));
    EXPECT_STREQ("Hi&& & ", buf);
    char unterminated[4] = {'&', '&', 'N', '&'};
    EXPECT_TRUE(lx::MarkSubjectRead(unterminated, sizeof(unterminated)));
    EXPECT_EQ(' ', unterminated[2]);
    EXPECT_FALSE(lx::MarkSubjectRead(nullptr, 10));
}

} // namespace
