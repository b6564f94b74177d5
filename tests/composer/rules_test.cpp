// The composer's rules: command lines, recipient lines, merging picked recipients, the quoted
// body of a reply, the limits and the line-break rebuild.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mailer/ui/logic/editfram_rules.h"

namespace {

using Lines = std::vector<std::string>;

struct CommandLineCase {
    const char* line;
    const char* attachment;
    const char* to;
    bool kept;
};

TEST(ComposerCommandLine, TellsFilePathsFromMailtoLinks) {
    const CommandLineCase cases[] = {
        {"C:\\Mail\\report.doc", "C:\\Mail\\report.doc", "", true},
        {"\"C:\\My Files\\a b.txt\"", "C:\\My Files\\a b.txt", "", true},
        {"mailto:someone@example.org", "", "someone@example.org", false},
        {"MAILTO:Someone@Example.org", "", "Someone@Example.org", false},
        {"\"mailto:a@example.org?subject=Hi\"", "", "a@example.org", false},
        {"mailto:", "", "", false},
        {"just some words", "", "", true},
        {"", "", "", true},
    };
    for (const auto& c : cases) {
        const lx::CommandLineIntent intent = lx::InterpretCommandLine(c.line);
        EXPECT_EQ(intent.attachment, c.attachment) << c.line;
        EXPECT_EQ(intent.toAddress, c.to) << c.line;
        EXPECT_EQ(intent.keepCommandLine, c.kept) << c.line;
    }
}

TEST(ComposerRecipients, StoredLinesLoseEveryBlankAndEmptyLine) {
    const struct {
        const char* text;
        Lines lines;
    } cases[] = {
        {"  a @example.org \r\nb@example.org", {"a@example.org", "b@example.org"}},
        {"\r\n \t \r\nc@x.org\r\n\r\n", {"c@x.org"}},
        {"one@x.org\ntwo@x.org\rthree@x.org", {"one@x.org", "two@x.org", "three@x.org"}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(lx::RecipientLines(c.text), c.lines) << c.text;
    EXPECT_EQ(lx::RemoveBlanks(" J o\thn@x.org "), "John@x.org");
}

TEST(ComposerRecipients, MergeAppendsOnlyLinesNotYetThere) {
    const struct {
        const char* text;
        const char* picked;
        const char* merged;
    } cases[] = {
        {"", "a@x.org\r\nb@x.org", "a@x.org\r\nb@x.org"},
        {"a@x.org", "a@x.org\r\nb@x.org", "a@x.org\r\nb@x.org"},
        {"b@x.org", "", "b@x.org"},
        {"x@y.org", "c@z.org", "x@y.org\r\nc@z.org"},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        lx::MergeRecipients(text, c.picked);
        EXPECT_EQ(text, c.merged) << c.text << " + " << c.picked;
    }
}

TEST(ComposerReply, QuotesTheEarlierBodyBetweenTheFourTexts) {
    const lx::QuoteTexts texts{"-- from ", " --", "-- end of ", " --"};
    EXPECT_EQ(lx::QuotedReplyBody("ann@x.org", "Hello.\r\nBye.", texts),
              "-- from ann@x.org --\r\nHello.\r\nBye.\r\n-- end of ann@x.org --\r\n");
}

TEST(ComposerLimits, BodyOf32000IsAcceptedAndOneMoreRefused) {
    EXPECT_TRUE(lx::BodyFits(0));
    EXPECT_TRUE(lx::BodyFits(32000));
    EXPECT_FALSE(lx::BodyFits(32001));
}

TEST(ComposerLimits, AttachmentListStopsAtItsOneLimit) {
    std::vector<std::string> files;
    for (std::size_t i = 0; i < lx::kMaxAttachments; ++i)
        EXPECT_TRUE(lx::AddAttachment(files, "C:\\F" + std::to_string(i) + ".TXT"));
    EXPECT_FALSE(lx::AddAttachment(files, "C:\\ONEMORE.TXT"));
    EXPECT_EQ(files.size(), lx::kMaxAttachments);

    std::vector<std::string> few;
    EXPECT_TRUE(lx::AddAttachment(few, "C:\\A.TXT"));
    EXPECT_FALSE(lx::AddAttachment(few, "C:\\A.TXT")) << "the same file twice";
    EXPECT_FALSE(lx::AddAttachment(few, "")) << "no path";
    EXPECT_TRUE(lx::AddAttachment(few, "C:\\" + std::string(252, 'p')));  // 255 characters
    EXPECT_FALSE(lx::AddAttachment(few, "C:\\" + std::string(253, 'p'))); // 256 characters
}

TEST(ComposerLineBreaks, EveryDisplayLineKeptWholeAndEnded) {
    const std::string longLine(400, 'w');
    EXPECT_EQ(lx::BodyWithLineBreaks({"first line", longLine, "", "last\r\n"}),
              "first line\r\n" + longLine + "\r\n\r\nlast\r\n");
    EXPECT_EQ(lx::BodyWithLineBreaks({}), "");
}

} // namespace
