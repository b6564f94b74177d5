// "Create New Folder" and "Select Folder" driven through the UI hook by control id.
#include "common/folderdlg/folderres.h"
#include "common/folderdlg/newfolde.h"
#include "common/folderdlg/selfolde.h"
#include "tests/panes/panes_fixture.h"

#include <gtest/gtest.h>
#include <cstring>
#include <vector>

namespace {

using lxtest::Press;

class FolderDialogs : public lxtest::PaneTest {
protected:
    INT_PTR RunNew(const lx::NewFolderData* preset, lx::NewFolderData* out) {
        return lx::ShowNewFolderDialog(parent, s_catalogue->Get(), preset, out,
                                       "LORVEX.HLP>lxpopup");
    }
    INT_PTR RunSelect(long* num, char* name, size_t size) {
        return lx::ShowSelectFolderDialog(parent, s_catalogue->Get(), &Conn(), num, name, size,
                                          "LORVEX.HLP>lxpopup");
    }
};

TEST_F(FolderDialogs, RefusedNamesShowTheirMessageAndTheDialogStaysOpen) {
    struct Case {
        const char* what;
        std::vector<const char*> refused;
        const char* key;
        const char* accepted;
    };
    const Case cases[] = {
        {"reserved for the special folders", {"_Mine", "-Mine"}, "NEWFOLDE_CPP_1", "Mine_"},
        {"empty or blank", {"", "   ", "\t"}, "NEWFOLDE_CPP_4", " Inbox 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hook.boxes.clear();
        hook.dialogsStarted.clear();
        std::vector<const char*> tries = c.refused;
        tries.push_back(c.accepted);
        size_t attempt = 0;
        hook.onInit = [&](HWND dlg, int id) {
            EXPECT_EQ(IDD_NEWFOLDER, id);
            ::SetDlgItemTextA(dlg, IDC_NEWFOLDER_NAME, tries[attempt]);
            ::SetDlgItemTextA(dlg, IDC_NEWFOLDER_DESC, "Mine's");
            Press(dlg, IDOK);
        };
        hook.afterBox = [&](HWND dlg, size_t) {
            ++attempt;
            ::SetDlgItemTextA(dlg, IDC_NEWFOLDER_NAME, tries[attempt]);
            Press(dlg, IDOK);
        };
        lx::NewFolderData out;
        EXPECT_EQ(IDOK, RunNew(nullptr, &out));
        ASSERT_EQ(c.refused.size(), hook.boxes.size());
        for (const auto& box : hook.boxes) {
            EXPECT_EQ(Text(c.key), box.text);
            EXPECT_EQ(Text("NEWFOLDE_CPP_2"), box.caption);
        }
        EXPECT_EQ(1u, hook.dialogsStarted.size()); // the same dialog all along
        EXPECT_STREQ(c.accepted, out.name);
        EXPECT_STREQ("Mine's", out.description);
    }
}

TEST_F(FolderDialogs, EditingShowsItsCaptionAndPresetFields) {
    std::string caption, name, desc;
    hook.onInit = [&](HWND dlg, int) {
        char text[128] = "";
        ::GetWindowTextA(dlg, text, sizeof text);
        caption = text;
        name = lxtest::ControlText(dlg, IDC_NEWFOLDER_NAME);
        desc = lxtest::ControlText(dlg, IDC_NEWFOLDER_DESC);
        Press(dlg, IDCANCEL);
    };
    lx::NewFolderData preset, out;
    std::strcpy(preset.name, "Work");
    std::strcpy(out.name, "unchanged");
    EXPECT_EQ(IDCANCEL, RunNew(&preset, &out));
    EXPECT_EQ(Text("NEWFOLDE_CPP_3"), caption);
    EXPECT_EQ("Work", name);
    EXPECT_EQ("", desc);
    EXPECT_STREQ("unchanged", out.name);

    // Without a name the resource caption stays.
    std::strcpy(preset.name, "");
    std::strcpy(preset.description, "Only a description");
    EXPECT_EQ(IDCANCEL, RunNew(&preset, &out));
    EXPECT_EQ("Create New Folder", caption);
    EXPECT_EQ("Only a description", desc);
}

TEST_F(FolderDialogs, SeventeenCharactersCannotBeSaved) {
    LRESULT limit = 0, descLimit = 0;
    hook.onInit = [&](HWND dlg, int) {
        limit = ::SendDlgItemMessageA(dlg, IDC_NEWFOLDER_NAME, EM_GETLIMITTEXT, 0, 0);
        descLimit = ::SendDlgItemMessageA(dlg, IDC_NEWFOLDER_DESC, EM_GETLIMITTEXT, 0, 0);
        // Text set by a program passes the edit limit; the save check still refuses it.
        ::SetDlgItemTextA(dlg, IDC_NEWFOLDER_NAME, "ABCDEFGHIJKLMNOPQ");
        Press(dlg, IDOK);
    };
    hook.afterBox = [](HWND dlg, size_t) { Press(dlg, IDCANCEL); };
    lx::NewFolderData out;
    EXPECT_EQ(IDCANCEL, RunNew(nullptr, &out));
    EXPECT_EQ(16, limit);
    EXPECT_EQ(32, descLimit);
    ASSERT_EQ(1u, hook.boxes.size());
    EXPECT_NE(std::string::npos, hook.boxes[0].text.find("16"));
}

TEST_F(FolderDialogs, HelpOpensContext22) {
    hook.onInit = [](HWND dlg, int) {
        Press(dlg, IDC_NEWFOLDER_HELP);
        Press(dlg, IDCANCEL);
    };
    RunNew(nullptr, nullptr);
    ASSERT_EQ(1u, hook.helpCalls.size());
    EXPECT_EQ(22u, hook.helpCalls[0].second);
}

std::vector<std::string> ListLines(HWND dlg) {
    return lxtest::PaneTest::ItemTexts(::GetDlgItem(dlg, IDC_SELFOLDER_LIST));
}

class SelectFolder : public FolderDialogs {};

TEST_F(SelectFolder, ListsEverythingButInSpecialFoldersFirst) {
    MakeFolders({"Work", "Bob's", "Archive"});
    std::vector<std::string> lines;
    hook.onInit = [&](HWND dlg, int id) {
        EXPECT_EQ(IDD_SELFOLDER, id);
        lines = ListLines(dlg);
        Press(dlg, IDCANCEL);
    };
    long num = 4711;
    EXPECT_EQ(IDCANCEL, RunSelect(&num, nullptr, 0));
    EXPECT_EQ(4711, num);
    std::vector<std::string> names;
    for (const auto& l : lines) names.push_back(l.substr(0, l.find('\t')));
    EXPECT_EQ(std::vector<std::string>(
                  {"_DESK", "_DRAFT", "_OUT", "_SENT", "_TRASHCAN", "Archive", "Bob's", "Work"}),
              names);
    EXPECT_EQ("Work\t" + std::to_string(lxtest::FolderNumOf(Conn(), "Work")), lines.back());
}

TEST_F(SelectFolder, NothingSelectedAsksAndStaysOpenThenSelects) {
    MakeFolders({"Work"});
    hook.onInit = [](HWND dlg, int) { Press(dlg, IDOK); };
    hook.afterBox = [](HWND dlg, size_t) {
        HWND list = ::GetDlgItem(dlg, IDC_SELFOLDER_LIST);
        ::SendMessageA(list, LB_SETCURSEL, 5, 0); // Work
        // A double-click on a line acts as Select.
        ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_SELFOLDER_LIST, LBN_DBLCLK),
                       reinterpret_cast<LPARAM>(list));
    };
    long num = -5;
    char name[17] = "old";
    EXPECT_EQ(IDOK, RunSelect(&num, name, sizeof name));
    ASSERT_EQ(1u, hook.boxes.size());
    EXPECT_EQ(Text("SELFOLDE_CPP_1"), hook.boxes[0].text);
    EXPECT_EQ(Text("SELFOLDE_CPP_2"), hook.boxes[0].caption);
    EXPECT_EQ(lxtest::FolderNumOf(Conn(), "Work"), num);
    EXPECT_STREQ("Work", name);
}

TEST_F(SelectFolder, WithoutNumberPointerClosesAsCancel) {
    MakeFolders({});
    hook.onInit = [](HWND dlg, int) {
        ::SendDlgItemMessageA(dlg, IDC_SELFOLDER_LIST, LB_SETCURSEL, 0, 0);
        Press(dlg, IDOK);
    };
    EXPECT_EQ(IDCANCEL, RunSelect(nullptr, nullptr, 0));
}

TEST_F(SelectFolder, HelpOpensContext56) {
    MakeFolders({});
    hook.onInit = [](HWND dlg, int) {
        Press(dlg, IDC_SELFOLDER_HELP);
        Press(dlg, IDCANCEL);
    };
    long num = 0;
    RunSelect(&num, nullptr, 0);
    ASSERT_EQ(1u, hook.helpCalls.size());
    EXPECT_EQ(56u, hook.helpCalls[0].second);
}

TEST(SelectFolderLine, FormatAndParse) {
    EXPECT_EQ("Bob's\t42", lx::SelectFolderLine("Bob's", 42));
    std::string name;
    long num = 0;
    EXPECT_TRUE(lx::ParseSelectFolderLine("Work\t17", name, num));
    EXPECT_EQ("Work", name);
    EXPECT_EQ(17, num);
    EXPECT_FALSE(lx::ParseSelectFolderLine("NoTab", name, num));
    EXPECT_FALSE(lx::ParseSelectFolderLine("Tab\tx", name, num));
    EXPECT_EQ("Work", name);
}

} // namespace
