// The viewer's command line: the switches the main program writes, browse mode, and the lines
// that must end in the About box.
#include <gtest/gtest.h>

#include <string>

#include "viewer/core/cmdline.h"

namespace {

using lx::viewer::CheckViewerCommandLine;
using lx::viewer::CommandLineVerdict;
using lx::viewer::ParseViewerCommandLine;

struct LineCase {
    const char* line;
    const char* waitPage;
    int mesgNum, mesgSize, trashCan;
    CommandLineVerdict verdict;
};

const char* const kWait = R"(/WAIT"C:\LORVEX\WAIT.HTM")";

TEST(ViewerCommandLine, SwitchesAndVerdicts) {
    using V = CommandLineVerdict;
    const LineCase cases[] = {
        {R"(/WAIT"C:\LORVEX\WAIT.HTM" /MESGNUM42 /MESGSIZE20000 /TRASHCAN7)",
         R"(C:\LORVEX\WAIT.HTM)", 42, 20000, 7, V::Usable},
        // Leading white space and a sign before the numbers.
        {R"(/WAIT"C:\W.HTM" /MESGNUM  +42 /MESGSIZE 9000 /TRASHCAN 7)", R"(C:\W.HTM)", 42, 9000, 7,
         V::Usable},
        // A small buffer is raised to 8192; a missing MESGSIZE too.
        {R"(/WAIT"C:\W.HTM" /MESGNUM5 /MESGSIZE1000 /TRASHCAN7)", R"(C:\W.HTM)", 5, 8192, 7,
         V::Usable},
        {R"(/WAIT"C:\W.HTM" /MESGNUM5 /TRASHCAN7)", R"(C:\W.HTM)", 5, 8192, 7, V::Usable},
        // A huge buffer size is capped rather than allocated (or wrapped by the extra byte).
        {R"(/WAIT"C:\W.HTM" /MESGNUM5 /MESGSIZE2147483647 /TRASHCAN7)", R"(C:\W.HTM)", 5,
         lx::viewer::kMaxMessageBufferSize, 7, V::Usable},
        // Browse mode: no numbers are read.
        {R"(/VIEWMASTER /WAIT"C:\HOME.HTM")", R"(C:\HOME.HTM)", -13, -1, -13, V::Usable},
        {"", "", -1, 8192, -1, V::Empty},
        {"   ", "", -1, 8192, -1, V::Empty},
        // A WAIT value without its closing quote is no wait page (and what follows its opening
        // quote is its text, not switches).
        {R"(/WAIT"C:\W.HTM /MESGNUM5 /TRASHCAN7)", "", -1, 8192, -1, V::NoWaitPage},
        {"/MESGNUM5 /TRASHCAN7", "", 5, 8192, 7, V::NoWaitPage},
        {R"(/WAIT"C:\W.HTM" /MESGNUM0 /TRASHCAN7)", R"(C:\W.HTM)", 0, 8192, 7, V::BadMessageNumber},
        {R"(/WAIT"C:\W.HTM" /TRASHCAN7)", R"(C:\W.HTM)", -1, 8192, 7, V::BadMessageNumber},
        // Numbers that are missing, not numbers or out of range read as 0.
        {R"(/WAIT"C:\W.HTM" /MESGNUM /TRASHCAN7)", R"(C:\W.HTM)", 0, 8192, 7, V::BadMessageNumber},
        {R"(/WAIT"C:\W.HTM" /MESGNUMx12 /TRASHCAN7)", R"(C:\W.HTM)", 0, 8192, 7,
         V::BadMessageNumber},
        {R"(/WAIT"C:\W.HTM" /MESGNUM99999999999 /TRASHCAN7)", R"(C:\W.HTM)", 0, 8192, 7,
         V::BadMessageNumber},
        {R"(/WAIT"C:\W.HTM" /MESGNUM5 /TRASHCAN-3)", R"(C:\W.HTM)", 5, 8192, -3, V::BadTrashNumber},
        {R"(/WAIT"C:\W.HTM" /MESGNUM5)", R"(C:\W.HTM)", 5, 8192, -1, V::BadTrashNumber},
        // Keywords are case-sensitive.
        {R"(/wait"C:\W.HTM" /MESGNUM5 /TRASHCAN7)", "", 5, 8192, 7, V::NoWaitPage},
        // A keyword inside the quoted wait path is not a switch.
        {R"(/WAIT"C:\MESGNUM9\TRASHCAN9\WAIT.HTM" /MESGNUM5 /TRASHCAN7)",
         R"(C:\MESGNUM9\TRASHCAN9\WAIT.HTM)", 5, 8192, 7, V::Usable},
        {R"(/WAIT"C:\VIEWMASTER\WAIT.HTM" /MESGNUM5 /TRASHCAN7)", R"(C:\VIEWMASTER\WAIT.HTM)", 5,
         8192, 7, V::Usable},
    };
    for (const LineCase& c : cases) {
        const auto parsed = ParseViewerCommandLine(c.line);
        EXPECT_EQ(parsed.waitPage, c.waitPage) << c.line;
        EXPECT_EQ(parsed.mesgNum, c.mesgNum) << c.line;
        EXPECT_EQ(parsed.mesgSize, c.mesgSize) << c.line;
        EXPECT_EQ(parsed.trashCan, c.trashCan) << c.line;
        EXPECT_EQ(CheckViewerCommandLine(c.line, parsed), c.verdict) << c.line;
    }
}

TEST(ViewerCommandLine, OverlongWaitPathIsRefused) {
    const std::string fits = "C:\\" + std::string(lx::viewer::kMaxWaitPathLength - 3, 'A');
    const std::string tooLong = fits + "B";
    const auto ok = ParseViewerCommandLine("/WAIT\"" + fits + "\" /MESGNUM5 /TRASHCAN7");
    EXPECT_EQ(ok.waitPage, fits);
    for (const std::string& path : {tooLong, std::string(100000, 'X')}) {
        const std::string line = "/WAIT\"" + path + "\" /MESGNUM5 /TRASHCAN7";
        const auto parsed = ParseViewerCommandLine(line);
        EXPECT_TRUE(parsed.waitPage.empty());
        EXPECT_EQ(parsed.mesgNum, 5);
        EXPECT_EQ(CheckViewerCommandLine(line, parsed), CommandLineVerdict::NoWaitPage);
    }
}

TEST(ViewerCommandLine, KeywordAtTheVeryEndReadsNothing) {
    for (const char* line : {"/WAIT", "/WAIT\"", "x /MESGNUM", "/TRASHCAN"}) {
        const auto parsed = ParseViewerCommandLine(line);
        EXPECT_TRUE(parsed.waitPage.empty()) << line;
        EXPECT_NE(CheckViewerCommandLine(line, parsed), CommandLineVerdict::Usable) << line;
    }
    EXPECT_TRUE(
        lx::viewer::IsMessageMode(ParseViewerCommandLine(std::string(kWait) + " /MESGNUM3")));
    EXPECT_FALSE(lx::viewer::IsMessageMode(ParseViewerCommandLine("/VIEWMASTER /MESGNUM3")));
}

} // namespace
