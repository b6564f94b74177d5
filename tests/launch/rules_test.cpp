// Starting the viewer: its command line, the new mark a started viewer clears, the addresses an
// add-addresses request offers, and a request carried through a plugged command's text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/schema/subject.h"
#include "mailer/ui/logic/viewerlaunch_rules.h"
#include "mailer/ui/logic/viewreq.h"
#include "viewer/core/cmdline.h"

namespace {

struct LineCase {
    const char* folder;
    long mesgNum, mesgSize, trash;
    const char* line;
};

TEST(ViewerCommandLine, FormatsProgramWaitPageAndNumbers) {
    const LineCase cases[] = {
        {"C:\\LORVEX", 12, 3456, 7,
         "C:\\LORVEX\\LXVIEWER.EXE /WAIT\"C:\\LORVEX\\WAIT.HTM\" /MESGNUM12 /MESGSIZE3456 "
         "/TRASHCAN7"},
        {"C:\\LORVEX\\", 1, 0, 5,
         "C:\\LORVEX\\LXVIEWER.EXE /WAIT\"C:\\LORVEX\\WAIT.HTM\" /MESGNUM1 /MESGSIZE0 /TRASHCAN5"},
        {"D:\\PROGRA~1\\LX", 2147483647, 65536, 2147483647,
         "D:\\PROGRA~1\\LX\\LXVIEWER.EXE /WAIT\"D:\\PROGRA~1\\LX\\WAIT.HTM\" /MESGNUM2147483647 "
         "/MESGSIZE65536 /TRASHCAN2147483647"},
        {"C:\\Program Files\\Lorvex", 3, 10, -1,
         "C:\\Program Files\\Lorvex\\LXVIEWER.EXE /WAIT\"C:\\Program Files\\Lorvex\\WAIT.HTM\" "
         "/MESGNUM3 /MESGSIZE10 /TRASHCAN-1"},
    };
    for (const LineCase& c : cases)
        EXPECT_EQ(lx::ViewerCommandLine(c.folder, c.mesgNum, c.mesgSize, c.trash), c.line)
            << c.folder;
}

TEST(ViewerCommandLine, ProgramPathFollowsTheBackslashRule) {
    EXPECT_EQ(lx::ViewerProgramPath("C:\\LX"), "C:\\LX\\LXVIEWER.EXE");
    EXPECT_EQ(lx::ViewerProgramPath("C:\\LX\\"), "C:\\LX\\LXVIEWER.EXE");
}

// What the main program writes is what the viewer reads, even with blanks in the folder.
TEST(ViewerCommandLine, TheViewerReadsWhatIsWritten) {
    for (const char* folder : {"C:\\LORVEX", "C:\\Program Files\\Lorvex\\", "C:\\MESGNUM 5"}) {
        const std::string line = lx::ViewerCommandLine(folder, 44, 12000, 9);
        const lx::viewer::ViewerCommandLine parsed = lx::viewer::ParseViewerCommandLine(line);
        EXPECT_EQ(lx::viewer::CheckViewerCommandLine(line, parsed),
                  lx::viewer::CommandLineVerdict::Usable)
            << line;
        EXPECT_EQ(parsed.mesgNum, 44);
        EXPECT_EQ(parsed.mesgSize, 12000);
        EXPECT_EQ(parsed.trashCan, 9);
        EXPECT_EQ(parsed.waitPage.substr(parsed.waitPage.size() - 9), "\\WAIT.HTM");
    }
}

TEST(ViewerCommandLine, IdleWaitIsShorterFromTheSearch) {
    EXPECT_EQ(lx::ViewerIdleMillis(false), 6000u);
    EXPECT_EQ(lx::ViewerIdleMillis(true), 3000u);
}

struct MarkCase {
    const char* stored;
    bool changed;
    const char* after;
};

// The read-state letter sits in the suffix at the end; "&&" inside the subject text is text.
TEST(NewMark, ClearedFromTheSuffixAtTheEnd) {
    const MarkCase cases[] = {
        {"Hello&&N& ", true, "Hello&& & "},
        {"Hello&&N&F", true, "Hello&& &F"},
        {"Hello&& &F", false, "Hello&& &F"},
        {"Tom&&N&Jerry&& & ", false, "Tom&&N&Jerry&& & "},
        {"Tom&&N&Jerry&&N& ", true, "Tom&&N&Jerry&& & "},
        {"No suffix at all", false, "No suffix at all"},
        {"Broken&&N", true, "Broken&& "},
        {"", false, ""},
    };
    for (const MarkCase& c : cases) {
        std::string subject = c.stored;
        EXPECT_EQ(lx::MarkSubjectRead(subject), c.changed) << c.stored;
        EXPECT_EQ(subject, c.after) << c.stored;
        EXPECT_FALSE(lx::ParseSubject(subject).unread) << c.stored;
    }
}

lx::ViewerRequest AddRequest() {
    lx::ViewerRequest r;
    r.code = lx::ViewerRequestCode::AddAddresses;
    r.sender = "ann@example.org";
    r.toList = "Me <ME@home.example>\r\nbob@example.org\r\n";
    r.toCount = 2;
    r.ccList = std::string(90, 'c') + "@example.org\r\nme@home.example\r\n";
    r.ccCount = 2;
    return r;
}

TEST(AddressesFromRequest, SenderFirstOwnLeftOutLongCut) {
    const std::vector<std::string> table =
        lx::AddressesFromRequest(AddRequest(), {"me@home.example"});
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0], "ann@example.org");
    EXPECT_EQ(table[1], "bob@example.org");
    EXPECT_EQ(table[2], std::string(80, 'c'));
}

TEST(AddressesFromRequest, CountsLimitThePieces) {
    lx::ViewerRequest r = AddRequest();
    r.toCount = 1; // only the own address is counted
    r.ccCount = 0;
    EXPECT_EQ(lx::AddressesFromRequest(r, {}),
              (std::vector<std::string>{"ann@example.org", "Me <ME@home.example>"}));
}

TEST(ViewerRequestArgument, CarriesEveryFieldThrough) {
    lx::ViewerRequest r = AddRequest();
    r.code = lx::ViewerRequestCode::ReplyOrForward;
    r.mesgNum = 77;
    r.mesgSize = 4096;
    r.subject = "Lunch&&N& ";
    const std::string text = lx::ViewerRequestArgument(r);
    EXPECT_EQ(text.size(), 2 * lx::kViewerRequestSize);
    lx::ViewerRequest back;
    ASSERT_TRUE(lx::ParseViewerRequestArgument(text.c_str(), &back));
    EXPECT_EQ(back.code, r.code);
    EXPECT_EQ(back.mesgNum, 77);
    EXPECT_EQ(back.mesgSize, 4096);
    EXPECT_EQ(back.sender, r.sender);
    EXPECT_EQ(back.toList, r.toList);
    EXPECT_EQ(back.toCount, 2);
    EXPECT_EQ(back.ccList, r.ccList);
    EXPECT_EQ(back.subject, r.subject);
}

TEST(ViewerRequestArgument, OtherTextsAreRefused) {
    const std::string good = lx::ViewerRequestArgument(AddRequest());
    std::string badDigit = good;
    badDigit[10] = 'g';
    std::string badCode = good;
    badCode[1] = '9'; // request code 9
    for (const std::string& text :
         {std::string(), good.substr(1), good + "00", badDigit, badCode}) {
        lx::ViewerRequest untouched;
        untouched.mesgNum = -5;
        EXPECT_FALSE(lx::ParseViewerRequestArgument(text.c_str(), &untouched));
        EXPECT_EQ(untouched.mesgNum, -5);
    }
    EXPECT_FALSE(lx::ParseViewerRequestArgument(nullptr, nullptr));
}

} // namespace
