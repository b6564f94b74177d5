// The minimal main frame: resource 128 (menu, accelerators, title), the command line hand-over
// and the View Log File command.
#include "tests/startup/uitest.h"
#include "mailer/res/resource.h"
#include "mailer/ui/mainfrm.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

using lxtest::Press;

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

std::string MenuText(HMENU menu, UINT id) {
    char text[128] = "";
    ::GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

class Frame : public ::testing::Test {
protected:
    void SetUp() override {
        folder = lxtest::TempFolder("lxframe");
        frame.reset(new lx::CMainFrame(lx::MainFrameContext{folder.c_str(), &catalogue.Get()}));
        ASSERT_TRUE(frame->CreateFrame());
    }
    void TearDown() override {
        if (frame && frame->Handle()) ::DestroyWindow(frame->Handle());
        Pump(); // the WM_QUIT the frame posts on destruction
        MSG msg;
        ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    lxtest::TestCatalogue catalogue{"VIEWLOG_CPP_1 No log.\n"};
    std::string folder;
    std::unique_ptr<lx::CMainFrame> frame;
};

TEST_F(Frame, TitleMenuAndAcceleratorsComeFromResource128) {
    HWND wnd = frame->Handle();
    char title[64] = "";
    ::GetWindowTextA(wnd, title, sizeof title);
    EXPECT_STREQ("Lorvex", title);
    char cls[64] = "";
    ::GetClassNameA(wnd, cls, sizeof cls);
    EXPECT_STREQ("CMainFrame", cls);
    EXPECT_EQ(static_cast<LONG>(WS_OVERLAPPEDWINDOW),
              ::GetWindowLongA(wnd, GWL_STYLE) & static_cast<LONG>(WS_OVERLAPPEDWINDOW));

    HMENU menu = ::GetMenu(wnd);
    ASSERT_NE(nullptr, menu);
    const std::map<UINT, std::string> items = {
        {ID_FOLDER_NEW, "&New Folder ...\tCtrl-N"},
        {ID_FOLDER_DELETE, "&Delete Folder ...\tCtrl-D"},
        {ID_FOLDER_EDIT, "&Edit Folder ...\tCtrl-E"},
        {ID_FILE_PRINT_SETUP, "Printer &Setup ..."},
        {ID_PRINT_FONTS, "Select Printer &Fonts ..."},
        {ID_MESSAGE_PRINT, "Print &Message(s) ..."},
        {ID_APP_EXIT, "E&xit"},
        {ID_MESSAGE_NEW, "&Prepare New Message ..."},
        {ID_MESSAGE_READ, "&Read/Edit Message ..."},
        {ID_MESSAGE_DELETE, "D&elete Message(s) ..."},
        {ID_MESSAGE_SEARCH, "&Search Messages ..."},
        {ID_MAIL_SEND, "&Send Mail ...\tCtrl-S"},
        {ID_MAIL_RETRIEVE, "&Retrieve Mail ...\tCtrl-R"},
        {ID_MAIL_MERGE, "&Mail Merge ...\tCtrl-M"},
        {ID_ADDRESS_BOOK, "&Address Book..."},
        {ID_MAILING_LISTS, "Mailing &Lists ..."},
        {ID_SIGNATURE_FILE, "&Signature File ..."},
        {ID_DIALER_SETUP, "&Dialer Setup ..."},
        {ID_FILTER_MANAGER, "&Filter Manager ..."},
        {ID_MAILBOX_SETUP, "&Mailbox Setup ..."},
        {ID_DICT_AMERICAN, "Use American English"},
        {ID_DICT_BRITISH, "Use British English"},
        {ID_READER_SIMPLE, "Do &Not Use Browser Engine"},
        {ID_READER_INTERNAL, "Use &Internal Browser Engine"},
        {ID_READER_IE3, "Use IE3.x Browser Engine"},
        {ID_VIEW_TOOLBAR, "&Toolbar"},
        {ID_VIEW_STATUS_BAR, "&Status Bar"},
        {ID_VIEW_LOGFILE, "&Log File"},
        {ID_HELP_INDEX, "&Index"},
        {ID_HELP_UPRUNNING, "Up And &Running"},
        {ID_HELP_USING, "&Using Help"},
        {ID_APP_ABOUT, "&About Lorvex ..."},
    };
    for (const auto& item : items) EXPECT_EQ(item.second, MenuText(menu, item.first)) << item.first;

    HACCEL accel = frame->Accelerators();
    ASSERT_NE(nullptr, accel);
    ACCEL table[16];
    const int count = ::CopyAcceleratorTableA(accel, table, 16);
    std::map<char, WORD> byKey;
    for (int i = 0; i < count; ++i) {
        EXPECT_TRUE(table[i].fVirt & FCONTROL);
        byKey[static_cast<char>(table[i].key)] = table[i].cmd;
    }
    const std::map<char, WORD> expected = {{'D', 32779}, {'E', 32805}, {'M', 32780},
                                           {'N', 57600}, {'R', 32772}, {'S', 32771}};
    EXPECT_EQ(expected, byKey);
}

TEST_F(Frame, PromptsAreStringsOfTheCommandIds) {
    char text[256] = "";
    ASSERT_GT(::LoadStringA(::GetModuleHandleA(nullptr), ID_VIEW_LOGFILE, text, sizeof text), 0);
    EXPECT_STREQ("View log file using Notepad\nView Log File", text);
    ASSERT_GT(::LoadStringA(::GetModuleHandleA(nullptr), ID_MESSAGE_FONT, text, sizeof text), 0);
    EXPECT_STREQ("Change  Message Font\nChange Font", text);
}

TEST_F(Frame, KeepsTheCommandLineHandedOverAtStartUp) {
    static const char kLine[] = "mailto:friend@example.org?subject=Hello";
    ::PostMessageA(frame->Handle(), lx::WM_LX_COMMAND_LINE, 0, reinterpret_cast<LPARAM>(kLine));
    Pump();
    EXPECT_EQ(kLine, frame->PendingCommandLine());
}

TEST_F(Frame, LogFileCommandOpensTheViewLogDialog) {
    lxtest::ScriptedHook hook;
    hook.onInit = [](HWND dlg, int) { Press(dlg, IDCANCEL); };
    ::SendMessageA(frame->Handle(), WM_COMMAND, MAKEWPARAM(ID_VIEW_LOGFILE, 0), 0);
    ASSERT_EQ(1u, hook.dialogsStarted.size());
    EXPECT_EQ(IDD_VIEWLOG, hook.dialogsStarted[0]);
}

TEST_F(Frame, ClosingWritesThePlacementFile) {
    ::MoveWindow(frame->Handle(), 30, 40, 500, 400, TRUE);
    ::SendMessageA(frame->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(nullptr, frame->Handle());
    lx::MainWindowPlacement placement;
    ASSERT_TRUE(lx::ReadMainWindowFile(folder, placement));
    EXPECT_EQ(30, placement.frame.left);
    EXPECT_EQ(40, placement.frame.top);
    EXPECT_EQ(530, placement.frame.right);
    EXPECT_EQ(440, placement.frame.bottom);
}

} // namespace
