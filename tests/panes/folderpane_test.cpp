// FolderPane against a real store, its dialogs and boxes answered through the UI hook.
#include "common/folderdlg/folderres.h"
#include "common/settings/font_desc.h"
#include "common/win/handles.h"
#include "tests/panes/panes_fixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <cstring>

namespace {

using lxtest::Press;

class FolderPaneTest : public lxtest::PaneTest {
protected:
    std::vector<std::string> ListNames() {
        std::vector<std::string> names;
        for (int i = 0; i < folders->Count(); ++i) names.push_back(ItemText(folders->List(), i));
        return names;
    }
    // Drives the folder dialog: each run takes the next (name, description); "" cancels.
    void ScriptDialogs(std::vector<std::pair<std::string, std::string>> runs) {
        runs_ = std::move(runs);
        hook.onInit = [this](HWND dlg, int id) {
            EXPECT_EQ(IDD_NEWFOLDER, id);
            const size_t run = hook.dialogsStarted.size() - 1;
            presets.push_back(lxtest::ControlText(dlg, IDC_NEWFOLDER_NAME));
            presetDescriptions.push_back(lxtest::ControlText(dlg, IDC_NEWFOLDER_DESC));
            if (run >= runs_.size() || runs_[run].first.empty()) {
                Press(dlg, IDCANCEL);
                return;
            }
            ::SetDlgItemTextA(dlg, IDC_NEWFOLDER_NAME, runs_[run].first.c_str());
            ::SetDlgItemTextA(dlg, IDC_NEWFOLDER_DESC, runs_[run].second.c_str());
            Press(dlg, IDOK);
        };
    }
    std::vector<std::string> presets;
    std::vector<std::string> presetDescriptions;

private:
    std::vector<std::pair<std::string, std::string>> runs_;
};

const std::vector<std::string> kSpecials = {"_DESK", "_DRAFT", "_IN", "_OUT", "_SENT", "_TRASHCAN"};

TEST_F(FolderPaneTest, EmptyStoreGetsTheSixSpecialFoldersWithInSelected) {
    CreatePanes();
    EXPECT_EQ(kSpecials, ListNames());
    EXPECT_EQ(6, lxtest::CountOf(Conn(), "SELECT COUNT(*) FROM Folders"));
    EXPECT_EQ(6, lxtest::CountOf(Conn(), "SELECT COUNT(*) FROM Folders WHERE FolderType = 'S'"));
    EXPECT_EQ(2, folders->SelectedIndex());
    const auto& nums = specialFolders;
    EXPECT_EQ(lxtest::FolderNumOf(Conn(), "_IN"), nums.in);
    EXPECT_EQ(lxtest::FolderNumOf(Conn(), "_OUT"), nums.out);
    EXPECT_EQ(lxtest::FolderNumOf(Conn(), "_DESK"), nums.desk);
    EXPECT_EQ(lxtest::FolderNumOf(Conn(), "_DRAFT"), nums.draft);
    EXPECT_EQ(lxtest::FolderNumOf(Conn(), "_SENT"), nums.sent);
    EXPECT_EQ(lxtest::FolderNumOf(Conn(), "_TRASHCAN"), nums.trashcan);
    EXPECT_EQ(nums.in, messages->Folder()); // the list starts on _IN
    EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(FolderPaneTest, StoreLackingOnlyTrashcanGetsIt) {
    lx::FolderStore store(&Conn(), nullptr);
    for (const char* name : {"_IN", "_OUT", "_DESK", "_DRAFT", "_SENT"})
        ASSERT_TRUE(store.Insert(name, "S", "x"));
    ASSERT_TRUE(store.Insert("Work", "U", "w"));
    CreatePanes();
    std::vector<std::string> expected = kSpecials;
    expected.push_back("Work");
    EXPECT_EQ(expected, ListNames());
    EXPECT_EQ(7, lxtest::CountOf(Conn(), "SELECT COUNT(*) FROM Folders"));
    EXPECT_EQ(Text("MAILFOLD_CPP_17"), folders->Rows()[5].description);
}

TEST_F(FolderPaneTest, NewFolderWithDuplicateNameLoopsUntilChanged) {
    MakeFolders({"Work"});
    CreatePanes();
    ScriptDialogs({{"Work", "again"}, {"Bob's", "Ann's list"}});
    folders->NewFolder();
    ASSERT_EQ(2u, hook.dialogsStarted.size());
    ASSERT_EQ(1u, hook.boxes.size());
    EXPECT_EQ(Text("MAILFOLD_CPP_2"), hook.boxes[0].text);
    EXPECT_EQ(Text("MAILFOLD_CPP_3"), hook.boxes[0].caption);
    const long num = lxtest::FolderNumOf(Conn(), "Bob's");
    ASSERT_GT(num, 0);
    // The new folder is selected where its name sorts, before "Work".
    EXPECT_EQ("Bob's", ItemText(folders->List(), 6));
    EXPECT_EQ(6, folders->SelectedIndex());
    ASSERT_FALSE(selectedFolders.empty());
    EXPECT_EQ(num, selectedFolders.back());
    EXPECT_EQ(1, lxtest::CountOf(Conn(),
                                 "SELECT COUNT(*) FROM Folders WHERE Description = 'Ann''s list'"));
}

TEST_F(FolderPaneTest, AfterADuplicateNameTheDialogComesBackWithWhatWasTyped) {
    MakeFolders({"Work", "Home"});
    CreatePanes();
    // A new folder: the description typed before comes back (with an empty name, so that the
    // dialog stays "Create New Folder").
    ScriptDialogs({{"Work", "Letters from Ann"}, {"", ""}});
    folders->NewFolder();
    ASSERT_EQ(2u, presetDescriptions.size());
    EXPECT_EQ("Letters from Ann", presetDescriptions[1]);
    EXPECT_EQ("", presets[1]);
    // Editing: both typed fields come back.
    presets.clear();
    presetDescriptions.clear();
    hook.dialogsStarted.clear();
    folders->SelectIndex(6); // "Home"
    ScriptDialogs({{"Work", "Renamed"}, {"", ""}});
    folders->EditFolder();
    ASSERT_EQ(2u, presets.size());
    EXPECT_EQ("Home", presets[0]);
    EXPECT_EQ("Work", presets[1]);
    EXPECT_EQ("Renamed", presetDescriptions[1]);
    EXPECT_EQ(8, lxtest::CountOf(Conn(), "SELECT COUNT(*) FROM Folders"));
}

TEST_F(FolderPaneTest, AFailedRefillKeepsTheListedFolders) {
    MakeFolders({"Work"});
    CreatePanes();
    const std::vector<std::string> before = ListNames();
    ASSERT_EQ(7u, before.size());
    lxtest::ReportedErrors().clear();
    Exec("ALTER TABLE Folders RENAME TO FoldersAway");
    folders->Fill();
    Exec("ALTER TABLE FoldersAway RENAME TO Folders");
    EXPECT_FALSE(lxtest::ReportedErrors().empty()) << "the store reported the failure";
    EXPECT_EQ(before, ListNames());
    EXPECT_EQ(7u, folders->Rows().size());
    EXPECT_EQ(lxtest::FolderNumOf(Conn(), "Work"), folders->Rows()[6].num);
}

TEST_F(FolderPaneTest, NewFolderDuplicateThenCancelAddsNothing) {
    MakeFolders({"Work"});
    CreatePanes();
    ScriptDialogs({{"Work", ""}, {"", ""}});
    folders->NewFolder();
    EXPECT_EQ(2u, hook.dialogsStarted.size());
    EXPECT_EQ(1u, hook.boxes.size());
    EXPECT_EQ(7, lxtest::CountOf(Conn(), "SELECT COUNT(*) FROM Folders"));
}

TEST_F(FolderPaneTest, ReservedNamesAreRefusedByTheDialog) {
    CreatePanes();
    ScriptDialogs({{"_Mine", ""}});
    hook.afterBox = [](HWND dlg, size_t) { Press(dlg, IDCANCEL); };
    folders->NewFolder();
    ASSERT_EQ(1u, hook.boxes.size());
    EXPECT_EQ(Text("NEWFOLDE_CPP_1"), hook.boxes[0].text);
    EXPECT_EQ(6, lxtest::CountOf(Conn(), "SELECT COUNT(*) FROM Folders"));
}

TEST_F(FolderPaneTest, EditAndDeleteRefuseSpecialFolders) {
    CreatePanes();
    for (int index = 0; index < 6; ++index) {
        folders->SelectIndex(index);
        folders->EditFolder();
        folders->DeleteFolder();
    }
    ASSERT_EQ(12u, hook.boxes.size());
    for (size_t i = 0; i < hook.boxes.size(); i += 2) {
        EXPECT_EQ(Text("MAILFOLD_CPP_20"), hook.boxes[i].text);
        EXPECT_EQ(Text("MAILFOLD_CPP_21"), hook.boxes[i].caption);
        EXPECT_EQ(Text("MAILFOLD_CPP_6"), hook.boxes[i + 1].text);
        EXPECT_EQ(Text("MAILFOLD_CPP_7"), hook.boxes[i + 1].caption);
    }
    EXPECT_TRUE(hook.dialogsStarted.empty());
    EXPECT_EQ(6, lxtest::CountOf(Conn(), "SELECT COUNT(*) FROM Folders"));
}

TEST_F(FolderPaneTest, RenamingToItsOwnNameIsAccepted) {
    MakeFolders({"Work"});
    CreatePanes();
    folders->SelectIndex(6);
    ScriptDialogs({{"Work", "Still work"}});
    folders->EditFolder();
    EXPECT_TRUE(hook.boxes.empty());
    ASSERT_EQ(1u, presets.size());
    EXPECT_EQ("Work", presets[0]);
    EXPECT_EQ(
        1,
        lxtest::CountOf(
            Conn(),
            "SELECT COUNT(*) FROM Folders WHERE Folder = 'Work' AND Description = 'Still work'"));
    EXPECT_EQ(0, folders->SelectedIndex());
}

TEST_F(FolderPaneTest, RenamingToAnotherFoldersNameLoops) {
    MakeFolders({"Home", "Work"});
    CreatePanes();
    folders->SelectIndex(6); // Home
    ScriptDialogs({{"Work", ""}, {"O'Hara", "renamed"}});
    folders->EditFolder();
    EXPECT_EQ(1u, hook.boxes.size());
    EXPECT_EQ(2u, presets.size());
    EXPECT_EQ("Work", presets[1]); // the dialog comes back with what was typed
    EXPECT_EQ(-1, lxtest::FolderNumOf(Conn(), "Home"));
    EXPECT_GT(lxtest::FolderNumOf(Conn(), "O'Hara"), 0);
}

TEST_F(FolderPaneTest, DeletingAMailboxDefaultFolderIsRefused) {
    MakeFolders({"Work"});
    mailboxes.count = 1;
    std::strcpy(mailboxes.records[0].defaultFolder, "Work");
    CreatePanes();
    folders->SelectIndex(6);
    folders->DeleteFolder();
    ASSERT_EQ(1u, hook.boxes.size());
    EXPECT_NE(std::string::npos, hook.boxes[0].text.find("Work"));
    EXPECT_EQ(Text("MAILFOLD_CPP_23"), hook.boxes[0].caption);
    EXPECT_GT(lxtest::FolderNumOf(Conn(), "Work"), 0);
}

TEST_F(FolderPaneTest, DeleteAsksAndMovesTheMessagesToTrashcan) {
    MakeFolders({"Work"});
    const long work = lxtest::FolderNumOf(Conn(), "Work");
    lxtest::AddMessage(Conn(), work, 'I', "a@x", "Kept&& & ", {2026, 1, 1, 1, 1, 1});
    CreatePanes();
    folders->SelectIndex(6);
    hook.boxAnswer = IDNO;
    folders->DeleteFolder();
    ASSERT_EQ(1u, hook.boxes.size());
    EXPECT_EQ(Text("MAILFOLD_CPP_8"), hook.boxes[0].text);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONSTOP), hook.boxes[0].flags & (MB_TYPEMASK | MB_ICONMASK));
    EXPECT_EQ(work, lxtest::FolderNumOf(Conn(), "Work"));
    hook.boxAnswer = IDYES;
    folders->DeleteFolder();
    EXPECT_EQ(-1, lxtest::FolderNumOf(Conn(), "Work"));
    EXPECT_EQ(6, folders->Count());
    EXPECT_EQ(0, folders->SelectedIndex());
    EXPECT_EQ(1, lxtest::CountOf(Conn(), "SELECT COUNT(*) FROM Messages WHERE FolderNum = " +
                                             std::to_string(specialFolders.trashcan)));
}

TEST_F(FolderPaneTest, KeysRunTheCommands) {
    CreatePanes();
    folders->SelectIndex(3);
    ::SendMessageA(folders->List(), WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_EQ(1u, hook.boxes.size());
    EXPECT_EQ(Text("MAILFOLD_CPP_6"), hook.boxes[0].text);
    ScriptDialogs({{"", ""}});
    ::SendMessageA(folders->List(), WM_KEYDOWN, VK_INSERT, 0);
    EXPECT_EQ(std::vector<int>({IDD_NEWFOLDER}), hook.dialogsStarted);
    ::SetFocus(folders->List());
    ::SendMessageA(folders->List(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(messages->List(), ::GetFocus());
}

TEST_F(FolderPaneTest, FolderUnderAPointAndTooltips) {
    MakeFolders({"Work"});
    CreatePanes();
    const int h = folders->ItemHeight();
    EXPECT_EQ(lxtest::FolderNumOf(Conn(), "Work"), folders->FolderAt(POINT{5, 6 * h + 1}));
    int index = 0;
    EXPECT_EQ(-1, folders->FolderAt(POINT{5, 7 * h + 1}, &index));
    EXPECT_EQ(-1, index);
    EXPECT_EQ(specialFolders.in, folders->FolderAt(POINT{5, 2 * h}, &index));
    EXPECT_EQ(2, index);

    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = nullptr;
    info.hdr.code = TTN_GETDISPINFOA;
    info.hdr.idFrom = 7;
    ::SendMessageA(folders->List(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(nullptr, info.lpszText);
    EXPECT_STREQ("About Work", info.lpszText);
    info.hdr.idFrom = 99;
    ::SendMessageA(folders->List(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(Text("MAILFOLD_CPP_1"), info.lpszText);
}

TEST_F(FolderPaneTest, OneTooltipPerVisibleFolder) {
    MakeFolders({"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9", "B1",
                 "B2", "B3", "B4", "B5", "B6", "B7", "B8", "B9", "C1", "C2",
                 "C3", "C4", "C5", "C6", "C7", "C8", "C9", "D1", "D2"});
    CreatePanes();
    RECT client{};
    ::GetClientRect(folders->List(), &client);
    const int h = folders->ItemHeight();
    const int visible = (client.bottom + h - 1) / h;
    ASSERT_LT(visible, folders->Count());
    EXPECT_EQ(visible,
              static_cast<int>(::SendMessageA(folders->Tooltip(), TTM_GETTOOLCOUNT, 0, 0)));
    // After a scroll the tools follow the rows now on view: the first is the top row's.
    ::SendMessageA(folders->List(), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    ::SendMessageA(folders->List(), WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
    const int top = static_cast<int>(::SendMessageA(folders->List(), LB_GETTOPINDEX, 0, 0));
    EXPECT_EQ(1, top);
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    ASSERT_TRUE(
        ::SendMessageA(folders->Tooltip(), TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(static_cast<UINT_PTR>(top + 1), tool.uId);
}

TEST_F(FolderPaneTest, FontComesFromItsFile) {
    CreatePanes();
    const int standard = folders->ItemHeight();
    EXPECT_GE(standard, 18);
    EXPECT_EQ(-14, folders->LogFont().lfHeight);
    messages.reset();
    folders.reset();
    lx::FontDesc big = lx::DefaultPaneFont();
    big.height = -40;
    ASSERT_TRUE(lx::WriteFontFile(installPath, lx::kFolderPaneFontFile, big));
    CreatePanes();
    EXPECT_EQ(-40, folders->LogFont().lfHeight);
    EXPECT_GT(folders->ItemHeight(), standard);
    EXPECT_EQ(folders->ItemHeight(),
              static_cast<int>(::SendMessageA(folders->List(), LB_GETITEMHEIGHT, 0, 0)));
}

TEST_F(FolderPaneTest, RefreshReselectsIn) {
    MakeFolders({"Work"});
    CreatePanes();
    folders->SelectIndex(6);
    selectedFolders.clear();
    folders->Refresh();
    EXPECT_EQ(2, folders->SelectedIndex());
    EXPECT_EQ(std::vector<long>({specialFolders.in}), selectedFolders);
}

} // namespace

namespace {

// Answers the font dialog with a font of height -30.
class FontHook : public lxtest::ScriptedHook {
public:
    int calls = 0;
    BOOL OnCommonDialog(lx::ui::CommonDialog kind, void* data) override {
        if (kind != lx::ui::CommonDialog::Font) return FALSE;
        ++calls;
        static_cast<CHOOSEFONTA*>(data)->lpLogFont->lfHeight = -30;
        return TRUE;
    }
};

class PaneFonts : public lxtest::PaneTest {};

TEST_F(PaneFonts, ChosenFontsAreStoredAndApplied) {
    FontHook fonts; // replaces the fixture's hook for this test
    CreatePanes();
    const int folderHeight = folders->ItemHeight();
    const int listHeight = messages->ItemHeight();
    folders->ChooseFont();
    messages->ChooseFont();
    EXPECT_EQ(2, fonts.calls);
    lx::FontDesc stored;
    ASSERT_TRUE(lx::ReadFontFile(installPath, lx::kFolderPaneFontFile, stored));
    EXPECT_EQ(-30, stored.height);
    ASSERT_TRUE(lx::ReadFontFile(installPath, lx::kMessageListFontFile, stored));
    EXPECT_EQ(-30, stored.height);
    EXPECT_GT(folders->ItemHeight(), folderHeight);
    EXPECT_GT(messages->ItemHeight(), listHeight);
}

bool Greyed(HMENU menu, UINT id) {
    return (::GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

TEST(PanePopups, MenusHoldTheirCommandsAndGreyWhatDoesNotApply) {
    const lx::Menu menus = lx::Menu::Load(175);
    ASSERT_TRUE(menus);
    HMENU folder = menus.Sub(0);
    HMENU message = menus.Sub(1);
    char text[64] = "";
    ::GetMenuStringA(folder, 32811, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ("&Empty _TRASHCAN", text);
    ::GetMenuStringA(message, 32799, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ("&Read Message...", text);
    // Below the last of 8 folders, with _IN selected.
    lx::FolderPane::GreyMenu(folder, -1, 8, 2);
    EXPECT_TRUE(Greyed(folder, 32806));
    EXPECT_TRUE(Greyed(folder, 32803));
    EXPECT_TRUE(Greyed(folder, 32811));
    EXPECT_FALSE(Greyed(folder, 32802));
    lx::FolderPane::GreyMenu(folder, 4, 8, 5); // on _SENT, _TRASHCAN selected
    EXPECT_TRUE(Greyed(folder, 32806));
    EXPECT_FALSE(Greyed(folder, 32811));
    lx::FolderPane::GreyMenu(folder, 7, 8, 7); // on a user folder
    EXPECT_FALSE(Greyed(folder, 32806));
    EXPECT_FALSE(Greyed(folder, 32803));
    EXPECT_TRUE(Greyed(folder, 32811));
    lx::MessageListPane::GreyMenu(message, false);
    EXPECT_TRUE(Greyed(message, 32799));
    EXPECT_TRUE(Greyed(message, 32800));
    EXPECT_TRUE(Greyed(message, 32807));
    EXPECT_FALSE(Greyed(message, 32813));
    lx::MessageListPane::GreyMenu(message, true);
    EXPECT_FALSE(Greyed(message, 32800));
}

TEST_F(PaneFonts, HelpContextsAndMenuGreying) {
    CreatePanes();
    ::SendMessageA(folders->List(), WM_HELP, 0, 0);
    ::SendMessageA(messages->List(), WM_HELP, 0, 0);
    ASSERT_EQ(2u, hook.helpCalls.size());
    EXPECT_EQ(15u, hook.helpCalls[0].second);
    EXPECT_EQ(14u, hook.helpCalls[1].second);
    EXPECT_NE(std::string::npos, hook.helpCalls[0].first.find("LORVEX.HLP>lxpopup"));
    EXPECT_FALSE(lx::FolderPane::CanEditOrDeleteAt(5, 8));
    EXPECT_TRUE(lx::FolderPane::CanEditOrDeleteAt(6, 8));
    EXPECT_TRUE(lx::FolderPane::CanEditOrDeleteAt(7, 8));
    EXPECT_FALSE(lx::FolderPane::CanEditOrDeleteAt(8, 8)); // below the last folder
    EXPECT_FALSE(lx::FolderPane::CanEditOrDeleteAt(-1, 8));
}

} // namespace
