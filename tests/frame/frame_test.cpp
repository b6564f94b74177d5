// The main frame in-process under Wine on a real store: its bars, the close question, the
// mailbox selector, the command gate, help, the reader choices and the private messages.
#include "tests/frame/frame_fixture.h"
#include "tests/panes/panes_store.h"
#include "mailer/ui/logic/cmdgate.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/mainspli.h"
#include "mailer/res/resource.h"
#include "common/settings/mailbox_file.h"
#include "common/settings/registry_win32.h"

#include <commctrl.h>
#include <cstdio>
#include <gtest/gtest.h>

namespace lxtest {
namespace {

// Plugs a command for one test and counts its runs.
class Plug {
public:
    Plug(lx::CommandPlugs& plugs, int id, std::function<int(const char*)> body = nullptr)
        : plugs_(plugs), id_(id) {
        plugs_.Plug(id, [this, body](void*, const char* argument) {
            ++runs;
            last = argument ? argument : "";
            return body ? body(argument) : IDOK;
        });
    }
    ~Plug() { plugs_.Plug(id_, nullptr); }
    int runs = 0;
    std::string last;

private:
    lx::CommandPlugs& plugs_;
    int id_;
};

lx::StoreTime Noon(int day) {
    lx::StoreTime t;
    t.year = 2026;
    t.month = 3;
    t.day = day;
    t.hour = 12;
    return t;
}

using Frame = FrameTest;
using lxtest::Press;

TEST_F(Frame, ToolbarHas22SlotsWithTheSelectorOverSlot7) {
    HWND bar = frame->Toolbar();
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(IDW_TOOLBAR, ::GetDlgCtrlID(bar));
    ASSERT_EQ(22, ::SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    const int commands[22] = {57600, 32779, 0,     32783, 32784, 32808, 0,     32793,
                              0,     32775, 32771, 32772, 0,     32773, 32774, 32788,
                              32809, 32792, 0,     57664, 0,     0};
    for (int i = 0; i < 22; ++i) {
        TBBUTTON button{};
        ASSERT_TRUE(::SendMessageA(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ(commands[i], button.idCommand) << "slot " << i + 1;
        EXPECT_EQ(commands[i] == 0 || commands[i] == 32793, (button.fsStyle & TBSTYLE_SEP) != 0)
            << "slot " << i + 1;
    }
    RECT slot7{}, slot6{}, slot8{};
    ::SendMessageA(bar, TB_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&slot6));
    ::SendMessageA(bar, TB_GETITEMRECT, 7, reinterpret_cast<LPARAM>(&slot7));
    ::SendMessageA(bar, TB_GETITEMRECT, 8, reinterpret_cast<LPARAM>(&slot8));
    EXPECT_EQ(24, slot6.right - slot6.left);
    EXPECT_EQ(128, slot7.right - slot7.left);
    EXPECT_EQ(6, slot8.right - slot8.left);

    HWND selector = frame->MailboxSelector();
    ASSERT_NE(nullptr, selector);
    EXPECT_EQ(bar, ::GetParent(selector));
    EXPECT_EQ(IDC_MAILBOX_SELECTOR, ::GetDlgCtrlID(selector));
    const LONG style = ::GetWindowLongA(selector, GWL_STYLE);
    EXPECT_EQ(CBS_DROPDOWNLIST, style & 3);
    EXPECT_TRUE(style & CBS_SORT);
    EXPECT_TRUE(style & CBS_DISABLENOSCROLL);
    RECT placed{};
    ::GetWindowRect(selector, &placed);
    ::MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(slot7.left, placed.left);
    EXPECT_EQ(3, placed.top);
    EXPECT_EQ(128, placed.right - placed.left);
    EXPECT_EQ(reinterpret_cast<LRESULT>(frame->TitleFont()),
              ::SendMessageA(selector, WM_GETFONT, 0, 0));
    LOGFONTA title{};
    ::GetObjectA(frame->TitleFont(), sizeof title, &title);
    EXPECT_STREQ("Arial", title.lfFaceName);
    EXPECT_EQ(-12, title.lfHeight);
    EXPECT_EQ(700, title.lfWeight);
}

TEST_F(Frame, StatusBarHasThreePanesAndShowsTheListedCount) {
    HWND status = frame->StatusBar();
    ASSERT_NE(nullptr, status);
    EXPECT_EQ(IDW_STATUSBAR, ::GetDlgCtrlID(status));
    int edges[4] = {};
    ASSERT_EQ(3, ::SendMessageA(status, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)));
    EXPECT_EQ(136, [&] {
        RECT c{};
        ::GetClientRect(status, &c);
        return c.right - edges[1];
    }());
    EXPECT_EQ(112, edges[1] - edges[0]);
    EXPECT_EQ("Messages : 0", StatusText(status, 1));

    const long in = FolderNumOf(Conn(), "_IN");
    ASSERT_GT(in, 0);
    for (int day = 1; day <= 3; ++day)
        AddMessage(Conn(), in, 'I', "a@b.example", "Hi&&N& ", Noon(day));
    // The end of an automatic run re-selects _IN and reloads the list.
    ::SendMessageA(Wnd(), lx::WM_LX_MAILRUN_DONE, 0, 0);
    EXPECT_EQ("Messages : 3", StatusText(status, 1));
    EXPECT_EQ(3, frame->MessageCount());
}

TEST_F(Frame, SplitterHoldsBothPanesUnderTheirHeaders) {
    lx::MailboxSplitter* splitter = frame->Splitter();
    ASSERT_NE(nullptr, splitter);
    EXPECT_EQ(IDW_SPLITTER, ::GetDlgCtrlID(splitter->Handle()));
    HWND folders = splitter->FolderPaneWindow();
    HWND list = splitter->MessagePaneWindow();
    ASSERT_TRUE(folders && list);
    RECT f{}, l{};
    ::GetWindowRect(folders, &f);
    ::GetWindowRect(list, &l);
    EXPECT_EQ(144, f.right - f.left);
    EXPECT_GT(l.left, f.right - 1);
    POINT top{f.left, f.top};
    ::ScreenToClient(splitter->Handle(), &top);
    EXPECT_EQ(splitter->HeaderHeight(), top.y);
    EXPECT_GE(splitter->HeaderHeight(), 14);
}

TEST_F(Frame, ClosingWithOutgoingMailAsksAndYesKeepsTheWindow) {
    const long out = FolderNumOf(Conn(), "_OUT");
    ASSERT_GT(out, 0);
    AddMessage(Conn(), out, 'O', "me@home.example", "Waiting&&N& ", Noon(2));
    Plug send(frame->Plugs(), ID_MAIL_SEND);
    hook->boxAnswer = IDYES;
    ::SendMessageA(Wnd(), WM_CLOSE, 0, 0);
    ASSERT_EQ(1u, hook->boxes.size());
    EXPECT_EQ(Text("MAINFRM_CPP_13"), hook->boxes[0].text);
    EXPECT_EQ(Text("MAINFRM_CPP_14"), hook->boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONSTOP), hook->boxes[0].flags);
    EXPECT_TRUE(::IsWindow(Wnd()));
    EXPECT_EQ(1, send.runs);

    hook->boxAnswer = IDNO;
    ::SendMessageA(Wnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(2u, hook->boxes.size());
    EXPECT_EQ(nullptr, frame->Handle());
    EXPECT_EQ(1, send.runs);
}

TEST_F(Frame, ClosingWithAnEmptyOutFolderAsksNothing) {
    const long in = FolderNumOf(Conn(), "_IN");
    AddMessage(Conn(), in, 'I', "a@b.example", "Read me&&N& ", Noon(1));
    ::SendMessageA(Wnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(hook->boxes.empty());
    EXPECT_EQ(nullptr, frame->Handle());
}

TEST_F(Frame, SelectorShowsTheAccountsAndSwitchesToTheChosenOne) {
    HWND selector = frame->MailboxSelector();
    ASSERT_EQ(2, ::SendMessageA(selector, CB_GETCOUNT, 0, 0));
    char shown[32] = "";
    ::GetWindowTextA(selector, shown, sizeof shown);
    EXPECT_STREQ("Home", shown);

    ::SendMessageA(selector, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>("Work"));
    Command(IDC_MAILBOX_SELECTOR, CBN_SELCHANGE);
    EXPECT_EQ(0, mailboxes.records[0].current);
    EXPECT_EQ(1, mailboxes.records[1].current);
    lx::MailboxList saved;
    ASSERT_TRUE(lx::LoadMailboxes(folder, 0, saved));
    EXPECT_EQ(1, saved.records[1].current);
    lx::Win32SettingsRegistry registry;
    char server[81] = "";
    ASSERT_TRUE(registry.ReadString("Server", server, sizeof server));
    EXPECT_STREQ("pop.work.example", server);
}

TEST_F(Frame, ASelectorNameThatNoRecordHasChangesNothing) {
    HWND selector = frame->MailboxSelector();
    {
        lx::Win32SettingsRegistry registry;
        registry.WriteString("Server", "untouched");
    }
    const LRESULT ghost =
        ::SendMessageA(selector, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Ghost"));
    ::SendMessageA(selector, CB_SETCURSEL, ghost, 0);
    Command(IDC_MAILBOX_SELECTOR, CBN_SELCHANGE);
    EXPECT_EQ(1, mailboxes.records[0].current);
    EXPECT_EQ(0, mailboxes.records[1].current);
    lx::MailboxList saved;
    EXPECT_FALSE(lx::LoadMailboxes(folder, 0, saved)) << "MAILBOXX.STP must not be written";
    lx::Win32SettingsRegistry registry;
    char server[81] = "";
    ASSERT_TRUE(registry.ReadString("Server", server, sizeof server));
    EXPECT_STREQ("untouched", server);
}

TEST_F(Frame, ASecondCommandDoesNothingWhileOneRuns) {
    Plug lists(frame->Plugs(), ID_MAILING_LISTS);
    Plug book(frame->Plugs(), ID_ADDRESS_BOOK, [this](const char*) {
        // What the address book's modal loop would dispatch: another command of the frame.
        ::SendMessageA(Wnd(), WM_COMMAND, MAKEWPARAM(ID_MAILING_LISTS, 0), 0);
        ::SendMessageA(Wnd(), WM_COMMAND, MAKEWPARAM(ID_ADDRESS_BOOK, 0), 0);
        EXPECT_EQ(1, lx::CommandGate::Instance().Value());
        return IDOK;
    });
    Command(ID_ADDRESS_BOOK);
    EXPECT_EQ(1, book.runs);
    EXPECT_EQ(0, lists.runs);
    EXPECT_EQ(0, lx::CommandGate::Instance().Value());
    Command(ID_MAILING_LISTS);
    EXPECT_EQ(1, lists.runs);
}

TEST_F(Frame, CommandsDoNothingWhileTheAutomaticCheckHoldsTheGate) {
    Plug send(frame->Plugs(), ID_MAIL_SEND);
    ASSERT_TRUE(lx::CommandGate::Instance().CloseForCheck());
    Command(ID_MAIL_SEND);
    EXPECT_EQ(0, send.runs);
    lx::CommandGate::Instance().Reopen();
    Command(ID_MAIL_SEND);
    EXPECT_EQ(1, send.runs);
}

TEST_F(Frame, CommandsThatAreNotWiredYetShowNothing) {
    for (int id : {ID_MAIL_SEND, ID_MAIL_RETRIEVE, ID_MAIL_MERGE, ID_ADDRESS_BOOK, ID_MAILING_LISTS,
                   ID_SIGNATURE_FILE, ID_DIALER_SETUP, ID_FILTER_MANAGER, ID_MAILBOX_SETUP,
                   ID_PRINT_FONTS, ID_MESSAGE_NEW, ID_MESSAGE_SEARCH})
        Command(id);
    Pump();
    EXPECT_TRUE(hook->boxes.empty());
    EXPECT_TRUE(hook->dialogsStarted.empty());
    EXPECT_TRUE(::IsWindow(Wnd()));
    EXPECT_EQ(0, lx::CommandGate::Instance().Value());
}

TEST_F(Frame, NewMessageAndTheStartUpCommandLineReachTheComposerPlug) {
    Plug composer(frame->Plugs(), ID_MESSAGE_NEW);
    Command(ID_MESSAGE_NEW);
    EXPECT_EQ(1, composer.runs);
    EXPECT_EQ("", composer.last);
    static const char kLine[] = "mailto:friend@example.org";
    ::SendMessageA(Wnd(), lx::WM_LX_COMMAND_LINE, 0, reinterpret_cast<LPARAM>(kLine));
    EXPECT_EQ(2, composer.runs);
    EXPECT_EQ(kLine, composer.last);
    EXPECT_EQ(kLine, frame->PendingCommandLine());
}

TEST_F(Frame, RetrieveReselectsInAndSendReloadsTheList) {
    const long in = FolderNumOf(Conn(), "_IN");
    Plug retrieve(frame->Plugs(), ID_MAIL_RETRIEVE, [&](const char*) {
        AddMessage(Conn(), in, 'I', "new@mail.example", "Fresh&&N& ", Noon(5));
        return IDOK;
    });
    Command(ID_MAIL_RETRIEVE);
    EXPECT_EQ(1, retrieve.runs);
    EXPECT_EQ("Messages : 1", StatusText(frame->StatusBar(), 1));
}

TEST_F(Frame, FolderAndMessageCommandsReachThePanes) {
    hook->onInit = [](HWND dialog, int) { Press(dialog, IDCANCEL); };
    Command(ID_FOLDER_NEW);
    EXPECT_EQ(1u, hook->dialogsStarted.size()) << "the New Folder dialog";
    Command(ID_FOLDER_NEW);
    EXPECT_EQ(2u, hook->dialogsStarted.size());
    EXPECT_EQ(0, lx::CommandGate::Instance().Value());

    const long in = FolderNumOf(Conn(), "_IN");
    const long trash = FolderNumOf(Conn(), "_TRASHCAN");
    const long mesg = AddMessage(Conn(), in, 'I', "a@b.example", "Gone&&N& ", Noon(3));
    ::SendMessageA(Wnd(), lx::WM_LX_MAILRUN_DONE, 0, 0);
    ASSERT_EQ(1, frame->MessageCount());
    HWND list = ::GetWindow(frame->Splitter()->MessagePaneWindow(), GW_CHILD);
    ASSERT_NE(nullptr, list);
    ::SendMessageA(list, LB_SETSEL, TRUE, 0);
    ::SendMessageA(list, WM_KEYDOWN, VK_UP, 0); // the pane takes the list's selection
    Command(ID_MESSAGE_DELETE);
    EXPECT_EQ(trash, CountOf(Conn(), "SELECT FolderNum FROM Messages WHERE MesgNum = " +
                                         std::to_string(mesg)));
    EXPECT_EQ("Messages : 0", StatusText(frame->StatusBar(), 1));
}

TEST_F(Frame, HelpInfoUsesTheContextTable) {
    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_MENUITEM;
    info.iCtrlId = ID_MAIL_SEND;
    ::SendMessageA(Wnd(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    info.iCtrlId = ID_MESSAGE_FONT; // no topic of its own
    ::SendMessageA(Wnd(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    info.iCtrlId = 0;
    ::SendMessageA(Wnd(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_EQ(2u, hook->helpCalls.size());
    EXPECT_EQ(folder + "\\LORVEX.HLP>lxpopup", hook->helpCalls[0].first);
    EXPECT_EQ(32u, hook->helpCalls[0].second);
    EXPECT_EQ(0u, hook->helpCalls[1].second);
    Command(ID_HELP_UPRUNNING);
    ASSERT_EQ(3u, hook->helpCalls.size());
    EXPECT_EQ(65u, hook->helpCalls[2].second);
}

UINT MenuState(HWND wnd, UINT id) {
    HMENU menu = ::GetMenu(wnd);
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
        ::SendMessageA(wnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::GetSubMenu(menu, i)), i);
    return ::GetMenuState(menu, id, MF_BYCOMMAND);
}

TEST_F(Frame, DictionaryAndReaderChoicesAreCheckedAndStored) {
    Command(ID_DICT_BRITISH);
    EXPECT_TRUE(hook->boxes.empty()) << "the lexicon list of MAINFRM_CPP_2 loads";
    EXPECT_EQ(0, frame->Choices().dictionary);
    EXPECT_TRUE(MenuState(Wnd(), ID_DICT_BRITISH) & MF_CHECKED);
    EXPECT_FALSE(MenuState(Wnd(), ID_DICT_AMERICAN) & MF_CHECKED);
    Command(ID_READER_INTERNAL);
    EXPECT_TRUE(MenuState(Wnd(), ID_READER_INTERNAL) & MF_CHECKED);
    EXPECT_FALSE(MenuState(Wnd(), ID_READER_SIMPLE) & MF_CHECKED);
    {
        lx::Win32SettingsRegistry registry;
        std::int32_t dictionary = -1, reader = -1;
        ASSERT_TRUE(registry.ReadDword("Dictionary", dictionary));
        ASSERT_TRUE(registry.ReadDword("ReaderType", reader));
        EXPECT_EQ(0, dictionary);
        EXPECT_EQ(2, reader);
    }
    // A new frame starts with the stored choices.
    MakeFrame();
    EXPECT_EQ(0, frame->Choices().dictionary);
    EXPECT_EQ(2, frame->Choices().readerType);
    Command(ID_DICT_AMERICAN);
    Command(ID_READER_SIMPLE);
    EXPECT_EQ(1, frame->Choices().dictionary);
}

TEST_F(Frame, ALexiconThatCannotLoadKeepsTheStoredDictionary) {
    {
        lx::Win32SettingsRegistry registry;
        registry.WriteDword("Dictionary", 1);
    }
    // A catalogue whose British lexicon list is empty: the spell checker refuses it.
    TestCatalogue texts(
        "MAINFRM_CPP_1 ssceam.tlx\nMAINFRM_CPP_11 No dictionary\nMAINFRM_CPP_12 Spelling\n");
    ASSERT_TRUE(texts.Ok());
    frame.reset();
    Pump();
    lx::MainFrameContext context{folder.c_str(), &texts.Get(), &Conn(), &mailboxes};
    frame.reset(new lx::CMainFrame(context));
    ASSERT_TRUE(frame->CreateFrame());
    Command(ID_DICT_BRITISH);
    ASSERT_EQ(1u, hook->boxes.size());
    EXPECT_EQ("No dictionary", hook->boxes[0].text);
    EXPECT_EQ("Spelling", hook->boxes[0].caption);
    EXPECT_EQ(1, frame->Choices().dictionary);
    lx::Win32SettingsRegistry registry;
    std::int32_t dictionary = -1;
    ASSERT_TRUE(registry.ReadDword("Dictionary", dictionary));
    EXPECT_EQ(1, dictionary);
    ::DestroyWindow(frame->Handle());
    frame.reset();
}

TEST_F(Frame, PrivateMessagesRestartTheTimerAndRunTheAutomaticRun) {
    frame->ArmMailCheck(60);
    ::KillTimer(Wnd(), IDT_MAILCHECK);
    ::SendMessageA(Wnd(), lx::WM_LX_MAILRUN_DONE, lx::kRestartCheckTimer, 0);
    EXPECT_TRUE(::KillTimer(Wnd(), IDT_MAILCHECK)) << "the timer runs again";
    EXPECT_EQ(lx::CountdownText(60, Text("MAINFRM_CPP_44").c_str()),
              StatusText(frame->StatusBar(), 2));
    EXPECT_NE("", StatusText(frame->StatusBar(), 2));
    frame->ArmMailCheck(0);
    EXPECT_FALSE(::KillTimer(Wnd(), IDT_MAILCHECK)) << "an interval of 0 arms nothing";
    EXPECT_EQ(Text("MAINFRM_CPP_45"), StatusText(frame->StatusBar(), 2));

    Plug run(frame->Plugs(), lx::kPlugAutoMailRun);
    ::SendMessageA(Wnd(), lx::WM_LX_MAILRUN_NOW, 0, 0);
    EXPECT_EQ(1, run.runs);
}

TEST_F(Frame, AnOpenCheckLogIsClosedWithItsNoticeWhenTheWindowGoes) {
    const std::string log = folder + "\\Lorvex.Log";
    ASSERT_TRUE(frame->CheckLog().Open(log));
    frame->CheckLog().WriteEntry("run started");
    ::DestroyWindow(Wnd());
    EXPECT_FALSE(frame->CheckLog().IsOpen());
    std::FILE* f = std::fopen(log.c_str(), "rb");
    ASSERT_NE(nullptr, f);
    char text[2048] = "";
    const size_t got = std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    const std::string content(text, got);
    EXPECT_NE(std::string::npos, content.find("run started\r\n" + Text("MAINFRM_CPP_43") + "\r\n"));
}

TEST_F(Frame, MessageCommandsNeedAMessageInTheListedFolder) {
    EXPECT_TRUE(MenuState(Wnd(), ID_MESSAGE_DELETE) & MF_GRAYED);
    EXPECT_TRUE(MenuState(Wnd(), ID_MESSAGE_READ) & MF_GRAYED);
    const long in = FolderNumOf(Conn(), "_IN");
    AddMessage(Conn(), in, 'I', "a@b.example", "One&&N& ", Noon(1));
    ::SendMessageA(Wnd(), lx::WM_LX_MAILRUN_DONE, 0, 0);
    EXPECT_FALSE(MenuState(Wnd(), ID_MESSAGE_DELETE) & MF_GRAYED);
    EXPECT_FALSE(MenuState(Wnd(), ID_MESSAGE_PRINT) & MF_GRAYED);
}

TEST_F(Frame, MenuPromptsAndTooltipsComeFromTheCommandStrings) {
    ::SendMessageA(Wnd(), WM_MENUSELECT, MAKEWPARAM(ID_MAIL_SEND, MF_STRING),
                   reinterpret_cast<LPARAM>(::GetMenu(Wnd())));
    EXPECT_EQ("Send all mail in OUT folder", StatusText(frame->StatusBar(), 0));
    ::SendMessageA(Wnd(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ("", StatusText(frame->StatusBar(), 0));
    NMTTDISPINFOA tip{};
    tip.hdr.hwndFrom = frame->Toolbar();
    tip.hdr.idFrom = ID_MAIL_RETRIEVE;
    tip.hdr.code = TTN_GETDISPINFOA;
    ::SendMessageA(Wnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(nullptr, tip.lpszText);
    EXPECT_STREQ("Retrieve Mail", tip.lpszText);
    tip.uFlags = TTF_IDISHWND;
    tip.hdr.idFrom = reinterpret_cast<UINT_PTR>(frame->MailboxSelector());
    ::SendMessageA(Wnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_STREQ("Select Mail Box", tip.lpszText);
}

TEST_F(Frame, ToolbarAndStatusBarCanBeHidden) {
    Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(::IsWindowVisible(frame->Toolbar()));
    EXPECT_FALSE(MenuState(Wnd(), ID_VIEW_TOOLBAR) & MF_CHECKED);
    RECT r{};
    ::GetWindowRect(frame->Splitter()->Handle(), &r);
    POINT p{r.left, r.top};
    ::ScreenToClient(Wnd(), &p);
    EXPECT_EQ(0, p.y);
    Command(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(::IsWindowVisible(frame->Toolbar()));
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(::IsWindowVisible(frame->StatusBar()));
}

TEST(RasApi, AMissingLibraryLeavesEveryEntryUnset) {
    lx::RasApi ras;
    EXPECT_FALSE(ras.Load("NoSuchRas32.dll"));
    EXPECT_FALSE(ras.Loaded());
    const lx::RasEntryPoints& e = ras.Entry();
    for (const void* p :
         {reinterpret_cast<const void*>(e.dial), reinterpret_cast<const void*>(e.enumConnections),
          reinterpret_cast<const void*>(e.getErrorString),
          reinterpret_cast<const void*>(e.enumEntries),
          reinterpret_cast<const void*>(e.getEntryDialParams),
          reinterpret_cast<const void*>(e.getConnectStatus),
          reinterpret_cast<const void*>(e.hangUp)})
        EXPECT_EQ(nullptr, p);
}

TEST(RasApi, TheSystemLibraryGivesItsEntryPointsAndUnloadClearsThem) {
    lx::RasApi ras;
    if (!ras.Load()) GTEST_SKIP() << "no RASAPI32.DLL on this system";
    EXPECT_NE(nullptr, ras.Entry().dial);
    EXPECT_NE(nullptr, ras.Entry().hangUp);
    EXPECT_NE(nullptr, ras.Entry().enumEntries);
    ras.Unload();
    EXPECT_FALSE(ras.Loaded());
    EXPECT_EQ(nullptr, ras.Entry().dial);
    EXPECT_EQ(nullptr, ras.Entry().hangUp);
}

TEST(SpellLibrary, SetMainLexFilesAndCheckCtrlDlg) {
    lx::SpellChecker spell;
    ASSERT_TRUE(spell.Load()) << "SSCED32.dll beside the test";
    HWND edit = ::CreateWindowExA(0, "EDIT", "text", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    EXPECT_EQ(SSCED_ERR_NO_LEXICON, spell.CheckCtrlDlg(nullptr, edit, 0));
    EXPECT_EQ(SSCED_ERR_NO_LEXICON, spell.SetMainLexFiles(""));
    EXPECT_EQ(SSCED_ERR_NO_LEXICON, spell.SetMainLexFiles(" ; , "));
    EXPECT_EQ(0, spell.SetMainLexFiles("ssceam.tlx,ssceam2.clx,correct.tlx"));
    EXPECT_EQ(0, spell.CheckCtrlDlg(nullptr, edit, 0));
    EXPECT_EQ(SSCED_ERR_NO_LEXICON, spell.CheckCtrlDlg(nullptr, nullptr, 0));
    ::DestroyWindow(edit);

    lx::SpellChecker missing;
    EXPECT_FALSE(missing.Load("NoSuchSpell.dll"));
    EXPECT_EQ(SSCED_ERR_NO_LEXICON, missing.SetMainLexFiles("a.tlx"));
}

} // namespace
} // namespace lxtest
