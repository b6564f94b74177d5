// "Incoming Mail Filter List" and "Manage Filter File" driven through the UI hook by control id
// against the runner's store, with the filter file checked on disk afterwards.
#include "common/folderdlg/folderres.h"
#include "common/settings/fixed_text.h"
#include "common/settings/install_path.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/filtlist.h"
#include "mailer/transfer/filtmgr.h"
#include "mailer/transfer/logic/filterfile.h"
#include "mailer/ui/logic/cmdplug.h"
#include "tests/filters/rules.h"
#include "tests/panes/panes_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using lxtest::ControlText;
using lxtest::Press;

using lxtest::MakeRule;

// Ticks a radio button of a group and tells the dialog, as a click does.
void Choose(HWND dlg, int first, int last, int id) {
    ::CheckRadioButton(dlg, first, last, id);
    ::SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dlg, id)));
}
void ChooseFields(HWND dlg, char letter) {
    Choose(dlg, IDC_FILTMGR_CHOICE0, IDC_FILTMGR_CHOICE9,
           IDC_FILTMGR_CHOICE0 + static_cast<int>(lx::FilterChoiceOf(letter)));
}
void ChooseAction(HWND dlg, bool file) {
    Choose(dlg, IDC_FILTMGR_DELETE, IDC_FILTMGR_FILE, file ? IDC_FILTMGR_FILE : IDC_FILTMGR_DELETE);
}

bool Enabled(HWND dlg, int id) { return ::IsWindowEnabled(::GetDlgItem(dlg, id)) != FALSE; }

std::vector<std::string> ListNames(HWND dlg) {
    return lxtest::PaneTest::ItemTexts(::GetDlgItem(dlg, IDC_FILTLIST_LIST));
}

std::vector<std::string> RuleNames(const lx::FilterList& list) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list.Count(); ++i) names.push_back(lx::TextOf(list.At(i).name));
    return names;
}

class FilterDialogs : public lxtest::PaneTest {
protected:
    void SetUp() override {
        PaneTest::SetUp();
        MakeFolders({"Work", "Lists"});
        // The installation folder is emptied of files only: folders a test put in the way go too.
        std::filesystem::remove_all(FilterPath());
        std::filesystem::remove_all(FilterPath() + ".tmp");
    }

    std::string FilterPath() const { return lx::InstallFile(installPath, lx::kFilterFile); }
    lx::FilterList OnDisk() const { return lx::FilterList::Load(FilterPath()); }
    void WriteRules(std::initializer_list<lx::FilterRule> rules) {
        lx::FilterList list = lx::FilterList::Load(FilterPath());
        for (const auto& rule : rules) ASSERT_TRUE(list.Append(rule));
        ASSERT_TRUE(list.Save());
    }

    lx::FilterListData ListData() {
        return lx::FilterListData{&s_catalogue->Get(), &Conn(), installPath, picker};
    }
    INT_PTR RunList() {
        lx::FilterListData data = ListData();
        return lx::ShowFilterListDialog(parent, &data);
    }
    lx::ManageFilterData RuleData(const lx::FilterRule& rule) {
        lx::ManageFilterData data;
        data.catalog = &s_catalogue->Get();
        data.conn = &Conn();
        data.installPath = installPath;
        data.pickAddress = picker;
        data.rule = rule;
        return data;
    }

    // Selects the line of a folder in "Select Folder" and chooses it.
    static void SelectFolderLine(HWND dlg, const char* name) {
        HWND list = ::GetDlgItem(dlg, IDC_SELFOLDER_LIST);
        const std::string prefix = std::string(name) + "\t";
        ::SendMessageA(list, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(prefix.c_str()));
        Press(dlg, IDOK);
    }

    lx::AddressPicker picker;
    lxtest::Later later;
    HWND listDlg = nullptr, ruleDlg = nullptr;
};

TEST_F(FilterDialogs, AddFilesANewRuleIntoTheChosenFolder) {
    std::vector<std::string> shown;
    hook.onInit = [&](HWND dlg, int id) {
        if (id == IDD_FILTLIST) {
            listDlg = dlg;
            EXPECT_FALSE(Enabled(dlg, IDC_FILTLIST_EDIT)); // nothing to edit yet
            EXPECT_FALSE(Enabled(dlg, IDC_FILTLIST_DELETE));
            Press(dlg, IDC_FILTLIST_ADD);
        } else if (id == IDD_FILTMGR) {
            ruleDlg = dlg;
            ::SetDlgItemTextA(dlg, IDC_FILTMGR_NAME, "Boss");
            ChooseFields(dlg, 'N');
            ::SetDlgItemTextA(dlg, IDC_FILTMGR_ADDRESS, "boss@work.example");
            ::SetDlgItemTextA(dlg, IDC_FILTMGR_SUBJECT, "urgent");
            ::SetDlgItemTextA(dlg, IDC_FILTMGR_MESSAGE, "typed but not used");
            ChooseAction(dlg, true);
            Press(dlg, IDC_FILTMGR_PICKFOLDER);
        } else if (id == IDD_SELFOLDER) {
            SelectFolderLine(dlg, "Work");
            Press(ruleDlg, IDOK);
            later.Post([&] {
                shown = ListNames(listDlg);
                Press(listDlg, IDCANCEL);
            });
        }
    };
    EXPECT_EQ(IDOK, RunList());
    EXPECT_EQ(hook.dialogsStarted, (std::vector<int>{IDD_FILTLIST, IDD_FILTMGR, IDD_SELFOLDER}));
    EXPECT_TRUE(hook.boxes.empty());
    EXPECT_EQ(shown, std::vector<std::string>{"Boss"});

    const lx::FilterList disk = OnDisk();
    ASSERT_EQ(RuleNames(disk), std::vector<std::string>{"Boss"});
    const lx::FilterRule& r = disk.At(0);
    EXPECT_EQ(r.fields, 'N');
    EXPECT_EQ(lx::TextOf(r.address), "boss@work.example");
    EXPECT_EQ(lx::TextOf(r.subject), "urgent");
    EXPECT_EQ(lx::TextOf(r.message), "");
    EXPECT_EQ(r.action, lx::kFilterActionFile);
    EXPECT_EQ(lx::TextOf(r.folderName), "Work");
    EXPECT_EQ(r.folderNum, lxtest::FolderNumOf(Conn(), "Work"));
}

TEST_F(FilterDialogs, ATakenNameIsRefusedAndTheRuleStaysOpen) {
    WriteRules({MakeRule("Work", 'A', "boss@", "", "", "Work", 5)});
    hook.onInit = [&](HWND dlg, int id) {
        if (id == IDD_FILTLIST) {
            listDlg = dlg;
            Press(dlg, IDC_FILTLIST_ADD);
        } else if (id == IDD_FILTMGR) {
            ::SetDlgItemTextA(dlg, IDC_FILTMGR_NAME, "Work");
            ChooseFields(dlg, 'S');
            ::SetDlgItemTextA(dlg, IDC_FILTMGR_SUBJECT, "lottery");
            ChooseAction(dlg, false);
            Press(dlg, IDOK);
        }
    };
    hook.afterBox = [&](HWND dlg, size_t) {
        ::SetDlgItemTextA(dlg, IDC_FILTMGR_NAME, "Junk");
        Press(dlg, IDOK);
        later.Post([&] { Press(listDlg, IDCANCEL); });
    };
    EXPECT_EQ(IDOK, RunList());
    ASSERT_EQ(1u, hook.boxes.size());
    EXPECT_EQ(Text("FILTLIST_CPP_1"), hook.boxes[0].text);
    EXPECT_EQ(Text("FILTLIST_CPP_2"), hook.boxes[0].caption);
    EXPECT_EQ(hook.dialogsStarted, (std::vector<int>{IDD_FILTLIST, IDD_FILTMGR}));
    const lx::FilterList disk = OnDisk();
    EXPECT_EQ(RuleNames(disk), (std::vector<std::string>{"Work", "Junk"}));
    EXPECT_EQ(lx::TextOf(disk.At(1).subject), "lottery");
    EXPECT_EQ(disk.At(1).action, lx::kFilterActionDelete);
    EXPECT_EQ(lx::TextOf(disk.At(0).folderName), "Work"); // the older rule untouched
}

TEST_F(FilterDialogs, EditShowsTheSelectedRuleAndReplacesIt) {
    WriteRules({MakeRule("First", 'S', "", "sale", ""),
                MakeRule("News", 'U', "", "weekly", "unsubscribe", "Lists", 8)});
    struct Seen {
        bool nameEnabled = true, choiceU = false, fileChecked = false;
        std::string name, subject, message, folder;
    } seen;
    hook.onInit = [&](HWND dlg, int id) {
        if (id == IDD_FILTLIST) {
            listDlg = dlg;
            ::SendDlgItemMessageA(dlg, IDC_FILTLIST_LIST, LB_SETCURSEL, 1, 0);
            Press(dlg, IDC_FILTLIST_EDIT);
        } else if (id == IDD_FILTMGR) {
            seen.nameEnabled = Enabled(dlg, IDC_FILTMGR_NAME);
            seen.choiceU = ::IsDlgButtonChecked(dlg, IDC_FILTMGR_CHOICE8) == BST_CHECKED;
            seen.fileChecked = ::IsDlgButtonChecked(dlg, IDC_FILTMGR_FILE) == BST_CHECKED;
            seen.name = ControlText(dlg, IDC_FILTMGR_NAME);
            seen.subject = ControlText(dlg, IDC_FILTMGR_SUBJECT);
            seen.message = ControlText(dlg, IDC_FILTMGR_MESSAGE);
            seen.folder = ControlText(dlg, IDC_FILTMGR_FOLDER);
            ::SetDlgItemTextA(dlg, IDC_FILTMGR_SUBJECT, "newsletter");
            Press(dlg, IDOK);
            later.Post([&] { Press(listDlg, IDCANCEL); });
        }
    };
    EXPECT_EQ(IDOK, RunList());
    EXPECT_FALSE(seen.nameEnabled);
    EXPECT_TRUE(seen.choiceU);
    EXPECT_TRUE(seen.fileChecked);
    EXPECT_EQ("News", seen.name);
    EXPECT_EQ("weekly", seen.subject);
    EXPECT_EQ("unsubscribe", seen.message);
    EXPECT_EQ("Lists", seen.folder);

    const lx::FilterList disk = OnDisk();
    ASSERT_EQ(RuleNames(disk), (std::vector<std::string>{"First", "News"}));
    const lx::FilterRule& r = disk.At(1);
    EXPECT_EQ(r.fields, 'U');
    EXPECT_EQ(lx::TextOf(r.subject), "newsletter");
    EXPECT_EQ(lx::TextOf(r.message), "unsubscribe");
    EXPECT_EQ(lx::TextOf(r.folderName), "Lists");
    EXPECT_EQ(r.folderNum, 8);
}

TEST_F(FilterDialogs, DeleteAsksFirstAndRemovesOnlyOnYes) {
    WriteRules({MakeRule("One", 'A', "a@", "", ""), MakeRule("Two", 'A', "b@", "", ""),
                MakeRule("Three", 'A', "c@", "", "")});
    std::vector<std::vector<std::string>> shown;
    hook.onInit = [&](HWND dlg, int id) {
        listDlg = dlg;
        ::SendDlgItemMessageA(dlg, IDC_FILTLIST_LIST, LB_SETCURSEL, 1, 0);
        Press(dlg, IDC_FILTLIST_DELETE); // answered No
        Press(dlg, IDC_FILTLIST_DELETE); // answered Yes
        later.Post([&] {
            shown.push_back(ListNames(listDlg));
            Press(listDlg, IDCANCEL);
        });
    };
    hook.afterBox = [&](HWND, size_t index) { hook.boxAnswer = index == 0 ? IDNO : IDYES; };
    EXPECT_EQ(IDOK, RunList());
    ASSERT_EQ(2u, hook.boxes.size());
    for (const auto& box : hook.boxes) {
        EXPECT_EQ(Text("FILTLIST_CPP_9"), box.text);
        EXPECT_EQ(Text("FILTLIST_CPP_10"), box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONSTOP),
                  box.flags & (MB_TYPEMASK | MB_ICONMASK));
    }
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(shown[0], (std::vector<std::string>{"One", "Three"}));
    EXPECT_EQ(RuleNames(OnDisk()), (std::vector<std::string>{"One", "Three"}));
}

TEST_F(FilterDialogs, AFileThatCannotBeReadIsNeitherEditedNorReplaced) {
    std::filesystem::create_directory(FilterPath());
    hook.onInit = [&](HWND dlg, int id) {
        Press(dlg, IDC_FILTLIST_ADD);
        Press(dlg, IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, RunList());
    ASSERT_EQ(1u, hook.boxes.size());
    EXPECT_EQ(Text("FILTLIST_CPP_5"), hook.boxes[0].text);
    EXPECT_EQ(Text("FILTLIST_CPP_6"), hook.boxes[0].caption);
    EXPECT_EQ(hook.dialogsStarted, std::vector<int>{IDD_FILTLIST});
    EXPECT_TRUE(std::filesystem::is_directory(FilterPath()));
}

TEST_F(FilterDialogs, ASaveThatFailsIsReportedAndTheListShowsTheFile) {
    WriteRules({MakeRule("Kept", 'A', "a@", "", "")});
    const std::string blocker = FilterPath() + ".tmp";
    std::filesystem::create_directories(blocker + "/inside");
    std::vector<std::string> shown;
    hook.onInit = [&](HWND dlg, int id) {
        if (id == IDD_FILTLIST) {
            listDlg = dlg;
            Press(dlg, IDC_FILTLIST_ADD);
        } else {
            ::SetDlgItemTextA(dlg, IDC_FILTMGR_NAME, "Lost");
            ::SetDlgItemTextA(dlg, IDC_FILTMGR_ADDRESS, "x@");
            Press(dlg, IDOK);
            later.Post([&] {
                shown = ListNames(listDlg);
                Press(listDlg, IDCANCEL);
            });
        }
    };
    EXPECT_EQ(IDCANCEL, RunList());
    ASSERT_EQ(1u, hook.boxes.size());
    EXPECT_EQ(Text("FILTLIST_CPP_11"), hook.boxes[0].text);
    EXPECT_EQ(Text("FILTLIST_CPP_12"), hook.boxes[0].caption);
    EXPECT_EQ(shown, std::vector<std::string>{"Kept"});
    EXPECT_EQ(RuleNames(OnDisk()), std::vector<std::string>{"Kept"});
    std::filesystem::remove_all(blocker);
}

TEST_F(FilterDialogs, SaveChecksRefuseInOrderAndKeepTheRuleOpen) {
    hook.onInit = [&](HWND dlg, int) {
        ChooseFields(dlg, 'T');
        ChooseAction(dlg, true);
        Press(dlg, IDOK);
    };
    // Each refusal fills the field it named, then Save is pressed again.
    const std::vector<std::pair<std::string, int>> fills = {
        {"FILTMGR_CPP_1", IDC_FILTMGR_NAME},    {"FILTMGR_CPP_3", IDC_FILTMGR_ADDRESS},
        {"FILTMGR_CPP_4", IDC_FILTMGR_SUBJECT}, {"FILTMGR_CPP_6", IDC_FILTMGR_MESSAGE},
        {"FILTMGR_CPP_5", IDC_FILTMGR_FOLDER},
    };
    hook.afterBox = [&](HWND dlg, size_t index) {
        if (index >= fills.size()) return;
        ::SetDlgItemTextA(dlg, fills[index].second, "filled");
        Press(dlg, IDOK);
    };
    lx::ManageFilterData data = RuleData(lx::FilterRule{});
    EXPECT_EQ(IDOK, lx::ShowManageFilterDialog(parent, &data));
    ASSERT_EQ(fills.size(), hook.boxes.size());
    for (size_t i = 0; i < fills.size(); ++i) {
        EXPECT_EQ(Text(fills[i].first.c_str()), hook.boxes[i].text) << i;
        EXPECT_EQ(Text("FILTMGR_CPP_2"), hook.boxes[i].caption);
    }
    EXPECT_EQ(data.rule.fields, 'T');
    EXPECT_EQ(lx::TextOf(data.rule.folderName), "filled");
}

TEST_F(FilterDialogs, EachChoiceEnablesExactlyTheTextsItUses) {
    struct State {
        bool address, pick, subject, message;
    };
    for (bool withPicker : {false, true}) {
        SCOPED_TRACE(withPicker ? "with an address book" : "without an address book");
        picker = withPicker ? lx::AddressPicker([](HWND, char*, size_t) { return false; })
                            : lx::AddressPicker();
        std::vector<State> states;
        bool folderOnDelete = true, pickOnDelete = true, folderOnFile = false;
        hook.onInit = [&](HWND dlg, int) {
            for (const lx::FilterChoice& choice : lx::kFilterChoices) {
                ChooseFields(dlg, choice.letter);
                states.push_back(
                    {Enabled(dlg, IDC_FILTMGR_ADDRESS), Enabled(dlg, IDC_FILTMGR_PICKADDRESS),
                     Enabled(dlg, IDC_FILTMGR_SUBJECT), Enabled(dlg, IDC_FILTMGR_MESSAGE)});
            }
            ChooseAction(dlg, false);
            folderOnDelete = Enabled(dlg, IDC_FILTMGR_FOLDER);
            pickOnDelete = Enabled(dlg, IDC_FILTMGR_PICKFOLDER);
            ChooseAction(dlg, true);
            folderOnFile = Enabled(dlg, IDC_FILTMGR_FOLDER) && Enabled(dlg, IDC_FILTMGR_PICKFOLDER);
            Press(dlg, IDCANCEL);
        };
        lx::ManageFilterData data = RuleData(lx::FilterRule{});
        EXPECT_EQ(IDCANCEL, lx::ShowManageFilterDialog(parent, &data));
        ASSERT_EQ(lx::kFilterChoiceCount, states.size());
        for (size_t i = 0; i < states.size(); ++i) {
            const lx::FilterChoice& c = lx::kFilterChoices[i];
            EXPECT_EQ(c.address, states[i].address) << c.letter;
            EXPECT_EQ(c.address && withPicker, states[i].pick) << c.letter;
            EXPECT_EQ(c.subject, states[i].subject) << c.letter;
            EXPECT_EQ(c.message, states[i].message) << c.letter;
        }
        EXPECT_FALSE(folderOnDelete);
        EXPECT_FALSE(pickOnDelete);
        EXPECT_TRUE(folderOnFile);
    }
}

TEST_F(FilterDialogs, TheAddressBookPickerFillsTheAddress) {
    picker = [](HWND, char* address, size_t size) {
        lx::CopyText(address, size, "list@lists.example");
        return true;
    };
    std::string address;
    hook.onInit = [&](HWND dlg, int) {
        Press(dlg, IDC_FILTMGR_PICKADDRESS);
        later.Post([&address, dlg] {
            address = ControlText(dlg, IDC_FILTMGR_ADDRESS);
            Press(dlg, IDCANCEL);
        });
    };
    lx::ManageFilterData data = RuleData(MakeRule("x", 'A', "", "", ""));
    EXPECT_EQ(IDCANCEL, lx::ShowManageFilterDialog(parent, &data));
    EXPECT_EQ("list@lists.example", address);
}

TEST_F(FilterDialogs, ARulesLetterSelectsTheFirstChoiceWithIt) {
    const struct {
        char letter;
        int checked;
    } cases[] = {{'A', IDC_FILTMGR_CHOICE0}, {'S', IDC_FILTMGR_CHOICE1},
                 {'R', IDC_FILTMGR_CHOICE7}, {'U', IDC_FILTMGR_CHOICE8},
                 {'T', IDC_FILTMGR_CHOICE9}, {'z', IDC_FILTMGR_CHOICE9}};
    for (const auto& c : cases) {
        int checked = 0;
        hook.onInit = [&](HWND dlg, int) {
            for (int id = IDC_FILTMGR_CHOICE0; id <= IDC_FILTMGR_CHOICE9; ++id) {
                if (::IsDlgButtonChecked(dlg, id) == BST_CHECKED) checked = checked ? -1 : id;
            }
            Press(dlg, IDCANCEL);
        };
        lx::ManageFilterData data = RuleData(MakeRule("x", c.letter, "a", "b", "c"));
        lx::ShowManageFilterDialog(parent, &data);
        EXPECT_EQ(c.checked, checked) << c.letter;
    }
}

TEST_F(FilterDialogs, HelpOpensEachDialogsTopic) {
    hook.onInit = [&](HWND dlg, int id) {
        if (id == IDD_FILTLIST) {
            listDlg = dlg;
            Press(dlg, IDC_FILTLIST_HELP);
            Press(dlg, IDC_FILTLIST_ADD);
        } else {
            Press(dlg, IDC_FILTMGR_HELP);
            Press(dlg, IDCANCEL);
            later.Post([&] { Press(listDlg, IDCANCEL); });
        }
    };
    RunList();
    ASSERT_EQ(2u, hook.helpCalls.size());
    EXPECT_EQ(static_cast<ULONG_PTR>(HELP_CONTEXT_FILTLIST), hook.helpCalls[0].second);
    EXPECT_EQ(static_cast<ULONG_PTR>(HELP_CONTEXT_FILTMGR), hook.helpCalls[1].second);
    EXPECT_NE(std::string::npos, hook.helpCalls[0].first.find("LORVEX.HLP"));
}

TEST_F(FilterDialogs, TheFilterManagerCommandOpensTheList) {
    lx::CommandPlugs plugs;
    lx::PlugFilterManager(plugs, ListData());
    hook.onInit = [](HWND dlg, int) { Press(dlg, IDCANCEL); };
    int result = 0;
    ASSERT_TRUE(plugs.Run(ID_FILTER_MANAGER, parent, nullptr, &result));
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(hook.dialogsStarted, std::vector<int>{IDD_FILTLIST});
}

} // namespace
