// The frame's commands that lead somewhere of their own: the About box, the folder commands
// taking the gate from every entry, Empty _TRASHCAN across both panes, Printer Setup keeping
// its choice, and the check countdown.
#include "tests/frame/frame_fixture.h"
#include "tests/panes/panes_store.h"
#include "mailer/ui/logic/cmdgate.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/mailfold.h"
#include "mailer/ui/mainspli.h"
#include "mailer/res/resource.h"
#include "common/folderdlg/folderres.h"

#include <commctrl.h>
#include <cstring>
#include <memory>
#include <gtest/gtest.h>

namespace lxtest {
namespace {

using Commands = FrameTest;

lx::FolderPane* FolderPaneOf(lx::CMainFrame& frame) {
    return static_cast<lx::FolderPane*>(
        lx::Window::FromHandle(frame.Splitter()->FolderPaneWindow()));
}

TEST_F(Commands, AboutShowsTheProgramItsVersionAndTheCatalogueTexts) {
    std::string caption, name, version, text;
    hook->onInit = [&](HWND dialog, int) {
        char title[128] = "";
        ::GetWindowTextA(dialog, title, sizeof title);
        caption = title;
        name = ControlText(dialog, IDC_ABOUT_NAME);
        version = ControlText(dialog, IDC_ABOUT_VERSION);
        text = ControlText(dialog, IDC_ABOUT_TEXT);
        Press(dialog, IDOK);
    };
    Command(ID_APP_ABOUT);
    ASSERT_EQ(std::vector<int>({IDD_ABOUT}), hook->dialogsStarted);
    EXPECT_EQ(Text("ABOUTDLG_CPP_1"), caption);
    EXPECT_EQ(Text("ABOUTDLG_CPP_2"), name);
    EXPECT_NE(std::string::npos, version.find(LX_VERSION_TEXT)) << version;
    EXPECT_EQ(Text("ABOUTDLG_CPP_4"), text);
    EXPECT_EQ(0, lx::CommandGate::Instance().Value());
}

TEST_F(Commands, FolderCommandsTakeTheGateFromMenuToolbarAndAccelerator) {
    const long work = [&] {
        AddMessage(Conn(), FolderNumOf(Conn(), "_IN"), 'I', "a@b.example", "x&&N& ",
                   lx::StoreTime{2026, 1, 1, 12, 0, 0});
        lx::FolderStore store(&Conn(), nullptr);
        EXPECT_TRUE(store.Insert("Work", "U", "Work mail"));
        return FolderNumOf(Conn(), "Work");
    }();
    ASSERT_GT(work, 0);
    MakeFrame();
    lx::FolderPane* folders = FolderPaneOf(*frame);
    ASSERT_NE(nullptr, folders);
    folders->SelectIndex(6);
    hook->boxAnswer = IDNO; // Delete Folder's question
    hook->onInit = [](HWND dialog, int) { Press(dialog, IDCANCEL); };
    struct Entry {
        const char* what;
        WORD code;
        HWND control;
    };
    const Entry entries[] = {{"menu", 0, nullptr},
                             {"accelerator", 1, nullptr},
                             {"toolbar", BN_CLICKED, frame->Toolbar()}};
    ASSERT_TRUE(lx::CommandGate::Instance().CloseForCheck());
    for (const Entry& e : entries)
        for (int id : {ID_FOLDER_NEW, ID_FOLDER_EDIT, ID_FOLDER_DELETE})
            ::SendMessageA(Wnd(), WM_COMMAND, MAKEWPARAM(id, e.code),
                           reinterpret_cast<LPARAM>(e.control));
    EXPECT_TRUE(hook->dialogsStarted.empty()) << "nothing runs while the check holds the gate";
    EXPECT_TRUE(hook->boxes.empty());
    lx::CommandGate::Instance().Reopen();

    for (const Entry& e : entries) {
        SCOPED_TRACE(e.what);
        hook->dialogsStarted.clear();
        hook->boxes.clear();
        for (int id : {ID_FOLDER_EDIT, ID_FOLDER_DELETE})
            ::SendMessageA(Wnd(), WM_COMMAND, MAKEWPARAM(id, e.code),
                           reinterpret_cast<LPARAM>(e.control));
        EXPECT_EQ(std::vector<int>({IDD_NEWFOLDER}), hook->dialogsStarted);
        ASSERT_EQ(1u, hook->boxes.size());
        EXPECT_EQ(Text("MAILFOLD_CPP_8"), hook->boxes[0].text);
        EXPECT_EQ(0, lx::CommandGate::Instance().Value());
    }
    EXPECT_EQ(work, FolderNumOf(Conn(), "Work")) << "every question was answered No";
}

TEST_F(Commands, EmptyTrashcanEmptiesTheListedTrashcanAndTheCount) {
    const long trash = FolderNumOf(Conn(), "_TRASHCAN");
    const long in = FolderNumOf(Conn(), "_IN");
    for (int day = 1; day <= 3; ++day)
        AddMessage(Conn(), trash, 'I', "old@mail.example", "Old&&N& ",
                   lx::StoreTime{2026, 2, day, 9, 0, 0});
    const long kept =
        AddMessage(Conn(), in, 'I', "new@mail.example", "Keep&&N& ", lx::StoreTime{2026, 2, 9});
    lx::FolderPane* folders = FolderPaneOf(*frame);
    ASSERT_NE(nullptr, folders);
    folders->SelectIndex(lx::kTrashcanIndex);
    ASSERT_EQ(3, frame->MessageCount());

    // Refused while the check holds the gate.
    ASSERT_TRUE(lx::CommandGate::Instance().CloseForCheck());
    folders->RunMenuCommand(ID_EMPTY_TRASH);
    lx::CommandGate::Instance().Reopen();
    EXPECT_TRUE(hook->boxes.empty());
    EXPECT_EQ(3, CountOf(Conn(), "SELECT COUNT(*) FROM Messages WHERE FolderNum = " +
                                     std::to_string(trash)));

    hook->boxAnswer = IDYES;
    folders->RunMenuCommand(ID_EMPTY_TRASH);
    ASSERT_EQ(1u, hook->boxes.size()) << "one question for the whole folder";
    EXPECT_EQ(Text("MAILMESS_CPP_15"), hook->boxes[0].text);
    EXPECT_EQ(0, CountOf(Conn(), "SELECT COUNT(*) FROM Messages WHERE FolderNum = " +
                                     std::to_string(trash)));
    EXPECT_EQ(in, CountOf(Conn(), "SELECT FolderNum FROM Messages WHERE MesgNum = " +
                                      std::to_string(kept)));
    EXPECT_EQ("Messages : 0", StatusText(frame->StatusBar(), 1));
    EXPECT_EQ(0, lx::CommandGate::Instance().Value());
}

// Answers the print set-up dialog as a user choosing a printer would.
class PrinterHook : public ScriptedHook {
public:
    BOOL OnCommonDialog(lx::ui::CommonDialog kind, void* data) override {
        if (kind != lx::ui::CommonDialog::PrintSetup) return FALSE;
        auto* setup = static_cast<PRINTDLGA*>(data);
        given.push_back(setup->hDevNames);
        if (!choose) return FALSE;
        const char device[] = "Office Laser";
        HGLOBAL names = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(DEVNAMES) + sizeof device);
        auto* n = static_cast<DEVNAMES*>(::GlobalLock(names));
        n->wDriverOffset = n->wDeviceOffset = n->wOutputOffset = sizeof(DEVNAMES);
        std::memcpy(reinterpret_cast<char*>(n) + sizeof(DEVNAMES), device, sizeof device);
        ::GlobalUnlock(names);
        if (setup->hDevNames) ::GlobalFree(setup->hDevNames); // the dialog replaces the block
        setup->hDevNames = names;
        return TRUE;
    }
    bool choose = true;
    std::vector<HGLOBAL> given;
};

TEST_F(Commands, PrinterSetupKeepsTheChosenPrinterForPrinting) {
    auto printer = std::make_unique<PrinterHook>();
    EXPECT_FALSE(frame->Printer().Chosen());
    Command(ID_FILE_PRINT_SETUP);
    ASSERT_TRUE(frame->Printer().Chosen());
    EXPECT_EQ("Office Laser", frame->Printer().DeviceName());
    // The next set-up starts from the kept choice; cancelling it keeps the choice.
    printer->choose = false;
    Command(ID_FILE_PRINT_SETUP);
    ASSERT_EQ(2u, printer->given.size());
    EXPECT_EQ(nullptr, printer->given[0]);
    EXPECT_EQ(frame->Printer().DevNames(), printer->given[1]);
    EXPECT_EQ("Office Laser", frame->Printer().DeviceName());
    printer.reset();
    lx::ui::SetHook(hook.get()); // the fixture's hook answers again
}

TEST_F(Commands, TheCountdownCountsAndAsksForTheAutomaticRunAtZero) {
    struct Plug {
        explicit Plug(lx::CommandPlugs& plugs) : plugs_(plugs) {
            plugs_.Plug(lx::kPlugAutoMailRun, [this](void*, const char*) {
                ++runs;
                return IDOK;
            });
        }
        ~Plug() { plugs_.Plug(lx::kPlugAutoMailRun, nullptr); }
        lx::CommandPlugs& plugs_;
        int runs = 0;
    } run(frame->Plugs());
    // Always connected: the run starts at zero without dialling.
    frame->Dialer().localNetwork = 1;
    frame->ArmMailCheck(3);
    const std::string format = Text("MAINFRM_CPP_44");
    EXPECT_EQ(lx::CountdownText(3, format.c_str()), StatusText(frame->StatusBar(), 2));
    // The timer's ticks, sent rather than waited for.
    ::SendMessageA(Wnd(), WM_TIMER, IDT_MAILCHECK, 0);
    EXPECT_EQ(lx::CountdownText(2, format.c_str()), StatusText(frame->StatusBar(), 2));
    ::SendMessageA(Wnd(), WM_TIMER, IDT_MAILCHECK, 0);
    EXPECT_EQ(0, run.runs);
    ::SendMessageA(Wnd(), WM_TIMER, IDT_MAILCHECK, 0);
    EXPECT_EQ(1, run.runs);
    EXPECT_EQ(lx::CountdownText(3, format.c_str()), StatusText(frame->StatusBar(), 2))
        << "the next interval starts";
    EXPECT_TRUE(::KillTimer(Wnd(), IDT_MAILCHECK)) << "the timer runs again";
    // Without an interval the ticks change nothing.
    frame->ArmMailCheck(0);
    ::SendMessageA(Wnd(), WM_TIMER, IDT_MAILCHECK, 0);
    EXPECT_EQ(Text("MAINFRM_CPP_45"), StatusText(frame->StatusBar(), 2));
    EXPECT_EQ(1, run.runs);
}

} // namespace
} // namespace lxtest
