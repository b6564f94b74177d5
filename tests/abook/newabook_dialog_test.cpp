// "Address Book" driven by control id against the runner's store: tabs, editing state, saving
// with memberships, deleting, the preset address, export, the import buttons and printing
// nothing.
#include "mailer/addressing/logic/addrpick_rules.h"
#include "mailer/addressing/newabook.h"
#include "mailer/res/resource.h"
#include "mailer/ui/logic/cmdplug.h"
#include "printengine/prntvant.h"
#include "tests/abook/abook_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using lxtest::Click;
using lxtest::Enabled;
using lxtest::Lines;
using lxtest::Press;

int g_printDialogs = 0;
BOOL CountPrintDialog(PRINTDLGA*) {
    ++g_printDialogs;
    return FALSE;
}

class AddressBook : public lxtest::AddressingTest {
protected:
    lx::AddressBookData Data() {
        lx::AddressBookData data;
        data.catalog = &s_catalogue->Get();
        data.conn = &Conn();
        data.installPath = installPath;
        return data;
    }
    // Runs the dialog; `script` drives it once it is shown, then it is closed.
    INT_PTR Run(lx::AddressBookData& data, std::function<void(HWND)> script) {
        hook.onInit = [&, script](HWND dlg, int id) {
            if (id != IDD_NEWABOOK) return;
            later.Post([&, dlg, script] {
                script(dlg);
                Press(dlg, IDCANCEL);
            });
        };
        return lx::ShowAddressBookDialog(parent, &data);
    }
    void Fill(HWND dlg, const std::string& name, const std::string& dest, const std::string& note) {
        SetText(dlg, IDC_NEWABOOK_NAME, name);
        SetText(dlg, IDC_NEWABOOK_DEST, dest);
        SetText(dlg, IDC_NEWABOOK_NOTE, note);
    }
};

TEST_F(AddressBook, BrowsingAndEditingEnableTheirOwnControls) {
    lxtest::AddAddress(Conn(), "Ann", "ann@example.org");
    struct Seen {
        bool list, add, edit, del, print, save, name, join, importButtons;
    };
    Seen browsing{}, editing{}, emptyTab{};
    auto seen = [](HWND dlg) {
        return Seen{Enabled(dlg, IDC_NEWABOOK_LIST),
                    Enabled(dlg, IDC_NEWABOOK_ADD),
                    Enabled(dlg, IDC_NEWABOOK_EDIT),
                    Enabled(dlg, IDC_NEWABOOK_DELETE),
                    Enabled(dlg, IDC_NEWABOOK_PRINT),
                    Enabled(dlg, IDC_NEWABOOK_SAVE),
                    Enabled(dlg, IDC_NEWABOOK_NAME),
                    Enabled(dlg, IDC_NEWABOOK_JOIN),
                    Enabled(dlg, IDC_NEWABOOK_EUDORA) || Enabled(dlg, IDC_NEWABOOK_ASCII)};
    };
    lx::AddressBookData data = Data();
    Run(data, [&](HWND dlg) {
        browsing = seen(dlg);
        Click(dlg, IDC_NEWABOOK_EDIT);
        editing = seen(dlg);
        ChooseTab(dlg, IDC_NEWABOOK_TABS, 1); // a tab change ends editing
        emptyTab = seen(dlg);
    });
    EXPECT_TRUE(browsing.list && browsing.add && browsing.edit && browsing.del && browsing.print);
    EXPECT_FALSE(browsing.save || browsing.name || browsing.join);
    EXPECT_FALSE(browsing.importButtons) << "no import dialog plugged in";
    EXPECT_TRUE(editing.save && editing.name && editing.join);
    EXPECT_FALSE(editing.list || editing.add || editing.edit || editing.del || editing.print);
    EXPECT_TRUE(emptyTab.list && emptyTab.add && emptyTab.print);
    EXPECT_FALSE(emptyTab.edit || emptyTab.del || emptyTab.save);
}

TEST_F(AddressBook, ADigitNameIsStoredButListedUnderNoTab) {
    Lines tabs[lx::kLetterTabCount];
    lx::AddressBookData data = Data();
    Run(data, [&](HWND dlg) {
        Click(dlg, IDC_NEWABOOK_ADD);
        Fill(dlg, "4th Floor", "floor4@example.org", "");
        Click(dlg, IDC_NEWABOOK_SAVE);
        for (int tab = 0; tab < lx::kLetterTabCount; ++tab) {
            ChooseTab(dlg, IDC_NEWABOOK_TABS, tab);
            tabs[tab] = ListLines(dlg, IDC_NEWABOOK_LIST);
        }
    });
    EXPECT_EQ(Count("AddBook WHERE AddName = '4th Floor'"), 1);
    for (const Lines& lines : tabs) EXPECT_EQ(lines, Lines{Text("NEWABOOK_CPP_15")});
    EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(AddressBook, AnApostropheNameIsSavedWithItsMemberships) {
    const long club = lxtest::AddList(Conn(), "Club", {});
    const long work = lxtest::AddList(Conn(), "Work", {});
    Lines mno, members;
    lx::AddressBookData data = Data();
    Run(data, [&](HWND dlg) {
        Click(dlg, IDC_NEWABOOK_ADD);
        Fill(dlg, "O'Brien, Pat", "pat.o'brien@example.org", "it's me");
        ChooseLine(dlg, IDC_NEWABOOK_POSSIBLE, 1, LBN_DBLCLK); // Work
        ChooseLine(dlg, IDC_NEWABOOK_POSSIBLE, 0);             // Club
        Click(dlg, IDC_NEWABOOK_JOIN);
        Click(dlg, IDC_NEWABOOK_SAVE);
        ChooseTab(dlg, IDC_NEWABOOK_TABS, 4);
        mno = ListLines(dlg, IDC_NEWABOOK_LIST);
        members = ListLines(dlg, IDC_NEWABOOK_MEMBERS);
    });
    EXPECT_TRUE(hook.boxes.empty()) << hook.boxes[0].text;
    const long pat = QueryLong("SELECT AddNum FROM AddBook WHERE AddName = 'O''Brien, Pat' AND "
                               "AddDest = 'pat.o''brien@example.org' AND AddNote = 'it''s me'");
    ASSERT_GT(pat, 0);
    EXPECT_EQ(ListsOf(pat), (std::vector<long>{club, work}));
    EXPECT_EQ(Count("DistroAdd WHERE IsTo = 1"), 2);
    EXPECT_EQ(mno, Lines{"O'Brien, Pat"});
    EXPECT_EQ(members, (Lines{"Club", "Work"}));
}

TEST_F(AddressBook, SavingAnEditedAddressReplacesItsMemberships) {
    const long ann = lxtest::AddAddress(Conn(), "Ann", "ann@example.org");
    const long bob = lxtest::AddAddress(Conn(), "Bob", "bob@example.org");
    const long club = lxtest::AddList(Conn(), "Club", {{ann, true}, {bob, false}});
    const long work = lxtest::AddList(Conn(), "Work", {{ann, true}});
    const long zoo = lxtest::AddList(Conn(), "Zoo", {});
    Lines shownMembers, shownPossible, afterSave;
    lx::AddressBookData data = Data();
    Run(data, [&](HWND dlg) {
        shownMembers = ListLines(dlg, IDC_NEWABOOK_MEMBERS); // Ann is shown first
        shownPossible = ListLines(dlg, IDC_NEWABOOK_POSSIBLE);
        Click(dlg, IDC_NEWABOOK_EDIT);
        SetText(dlg, IDC_NEWABOOK_NOTE, "moved");
        ChooseLine(dlg, IDC_NEWABOOK_MEMBERS, 0, LBN_DBLCLK); // Club leaves
        ChooseLine(dlg, IDC_NEWABOOK_POSSIBLE, 1);            // Zoo joins
        Click(dlg, IDC_NEWABOOK_JOIN);
        Click(dlg, IDC_NEWABOOK_SAVE);
        afterSave = ListLines(dlg, IDC_NEWABOOK_MEMBERS);
    });
    EXPECT_EQ(shownMembers, (Lines{"Club", "Work"}));
    EXPECT_EQ(shownPossible, Lines{"Zoo"});
    EXPECT_EQ(ListsOf(ann), (std::vector<long>{work, zoo}));
    EXPECT_EQ(ListsOf(bob), std::vector<long>{club});
    EXPECT_EQ(afterSave, (Lines{"Work", "Zoo"}));
    EXPECT_EQ(Count("AddBook WHERE AddNote = 'moved'"), 1);
    EXPECT_EQ(Count("AddBook"), 2);
}

TEST_F(AddressBook, DeletingTheLastAddressOfATabLeavesTheNoAddressesLine) {
    const long ann = lxtest::AddAddress(Conn(), "Ann", "ann@example.org");
    const long dora = lxtest::AddAddress(Conn(), "Dora", "dora@example.org");
    lxtest::AddList(Conn(), "Club", {{ann, true}, {dora, true}});
    Lines lines;
    bool edit = true, del = true;
    std::string name = "not cleared";
    hook.boxAnswer = IDYES;
    lx::AddressBookData data = Data();
    Run(data, [&](HWND dlg) {
        Click(dlg, IDC_NEWABOOK_DELETE);
        lines = ListLines(dlg, IDC_NEWABOOK_LIST);
        edit = Enabled(dlg, IDC_NEWABOOK_EDIT);
        del = Enabled(dlg, IDC_NEWABOOK_DELETE);
        name = lxtest::ControlText(dlg, IDC_NEWABOOK_NAME);
    });
    ASSERT_EQ(hook.boxes.size(), 1u);
    EXPECT_EQ(hook.boxes[0].text, Text("NEWABOOK_CPP_2"));
    EXPECT_EQ(hook.boxes[0].caption, Text("NEWABOOK_CPP_1"));
    EXPECT_NE(hook.boxes[0].flags & MB_YESNO, 0u);
    EXPECT_EQ(lines, Lines{Text("NEWABOOK_CPP_15")});
    EXPECT_FALSE(edit);
    EXPECT_FALSE(del);
    EXPECT_EQ(name, "");
    EXPECT_EQ(Count("AddBook"), 1);
    // No membership is left pointing at the deleted address; Dora keeps hers.
    EXPECT_TRUE(ListsOf(ann).empty());
    EXPECT_EQ(ListsOf(dora).size(), 1u);
}

TEST_F(AddressBook, AnsweringNoKeepsTheAddress) {
    lxtest::AddAddress(Conn(), "Ann", "ann@example.org");
    hook.boxAnswer = IDNO;
    lx::AddressBookData data = Data();
    Run(data, [&](HWND dlg) { Click(dlg, IDC_NEWABOOK_DELETE); });
    EXPECT_EQ(hook.boxes.size(), 1u);
    EXPECT_EQ(Count("AddBook"), 1);
}

TEST_F(AddressBook, APresetAddressStartsANewEntry) {
    std::string name, dest;
    bool saveEnabled = false;
    lx::AddressBookData data = Data();
    data.preset = "Pat Smith <pat@example.org>";
    Run(data, [&](HWND dlg) {
        name = lxtest::ControlText(dlg, IDC_NEWABOOK_NAME);
        dest = lxtest::ControlText(dlg, IDC_NEWABOOK_DEST);
        saveEnabled = Enabled(dlg, IDC_NEWABOOK_SAVE);
        Click(dlg, IDC_NEWABOOK_SAVE);
    });
    EXPECT_EQ(name, "Pat Smith");
    EXPECT_EQ(dest, "pat@example.org");
    EXPECT_TRUE(saveEnabled);
    EXPECT_EQ(Count("AddBook WHERE AddName = 'Pat Smith' AND AddDest = 'pat@example.org'"), 1);
}

TEST_F(AddressBook, SavingWithoutAnAddressIsRefusedWithAReason) {
    bool stillEditing = false;
    lx::AddressBookData data = Data();
    Run(data, [&](HWND dlg) {
        Click(dlg, IDC_NEWABOOK_ADD);
        Fill(dlg, "Ann", "  ", "");
        Click(dlg, IDC_NEWABOOK_SAVE);
        stillEditing = Enabled(dlg, IDC_NEWABOOK_SAVE);
    });
    ASSERT_EQ(hook.boxes.size(), 1u);
    EXPECT_EQ(hook.boxes[0].text, Text("NEWABOOK_CPP_18"));
    EXPECT_TRUE(stillEditing);
    EXPECT_EQ(Count("AddBook"), 0);
}

TEST_F(AddressBook, PrintingAnEmptyBookTellsSoWithoutAPrintDialog) {
    g_printDialogs = 0;
    PrintVant::SetPrintDialog(CountPrintDialog);
    lx::AddressBookData data = Data();
    Run(data, [&](HWND dlg) { Click(dlg, IDC_NEWABOOK_PRINT); });
    PrintVant::SetPrintDialog(nullptr);
    ASSERT_EQ(hook.boxes.size(), 1u);
    EXPECT_EQ(hook.boxes[0].text, Text("NEWABOOK_CPP_14"));
    EXPECT_EQ(hook.boxes[0].caption, Text("NEWABOOK_CPP_13"));
    EXPECT_EQ(g_printDialogs, 0);
    EXPECT_EQ(PrintVant::RefCounter, 0);
}

TEST_F(AddressBook, CancellingThePrintDialogPrintsNothingAndSaysNothing) {
    lxtest::AddAddress(Conn(), "Ann", "ann@example.org");
    g_printDialogs = 0;
    PrintVant::SetPrintDialog(CountPrintDialog);
    bool enabledAfter = false;
    lx::AddressBookData data = Data();
    Run(data, [&](HWND dlg) {
        Click(dlg, IDC_NEWABOOK_PRINT);
        enabledAfter = ::IsWindowEnabled(dlg) != FALSE;
    });
    PrintVant::SetPrintDialog(nullptr);
    EXPECT_EQ(g_printDialogs, 1);
    EXPECT_TRUE(hook.boxes.empty());
    EXPECT_TRUE(enabledAfter);
    EXPECT_EQ(PrintVant::RefCounter, 0);
}

TEST_F(AddressBook, ExportWritesEveryAddressEscapedIntoTheInstallationFolder) {
    lxtest::AddAddress(Conn(), "Zed \"Z\" Smith", "zed@example.org");
    lxtest::AddAddress(Conn(), "Smith, Ann", "ann@example.org");
    lxtest::AddAddress(Conn(), "9 Lives", "cat@example.org");
    lx::AddressBookData data = Data();
    Run(data, [&](HWND dlg) { Click(dlg, IDC_NEWABOOK_EXPORT); });
    const std::string path = installPath + "\\LXADBOOK.TXT";
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "\"Name\",\"Email Address\",\"Notes\"\r\n"
                          "\"9 Lives\",\"cat@example.org\",\"\"\r\n"
                          "\"Smith, Ann\",\"ann@example.org\",\"\"\r\n"
                          "\"Zed \"\"Z\"\" Smith\",\"zed@example.org\",\"\"\r\n");
    ASSERT_EQ(hook.boxes.size(), 1u);
    EXPECT_NE(hook.boxes[0].text.find(path), std::string::npos) << hook.boxes[0].text;
    EXPECT_EQ(hook.boxes[0].caption, Text("NEWABOOK_CPP_11"));
}

TEST_F(AddressBook, ImportButtonsRunTheImportDialogsAndTheListIsReadAgain) {
    std::vector<int> kinds;
    int asciiRuns = 0;
    Lines after;
    lx::AddressBookData data = Data();
    data.importAddresses = [&](HWND owner, int kind) {
        EXPECT_NE(owner, nullptr);
        kinds.push_back(kind);
        lxtest::AddAddress(Conn(), "Abe " + std::to_string(kind), "abe@example.org");
    };
    data.importAscii = [&](HWND) { ++asciiRuns; };
    Run(data, [&](HWND dlg) {
        for (const int id : {IDC_NEWABOOK_EUDORA, IDC_NEWABOOK_PEGASUS, IDC_NEWABOOK_EXCHANGE,
                             IDC_NEWABOOK_ASCII}) {
            EXPECT_TRUE(Enabled(dlg, id)) << id;
            Click(dlg, id);
        }
        after = ListLines(dlg, IDC_NEWABOOK_LIST);
    });
    EXPECT_EQ(kinds, (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(asciiRuns, 1);
    EXPECT_EQ(after, (Lines{"Abe 0", "Abe 1", "Abe 2"}));
}

TEST_F(AddressBook, ThePluggedCommandOpensTheBookWithItsPresetAndHelpShowsItsTopic) {
    lx::CommandPlugs plugs;
    lx::PlugAddressBook(plugs, Data());
    std::string dest;
    hook.onInit = [&](HWND dlg, int) {
        later.Post([&, dlg] {
            dest = lxtest::ControlText(dlg, IDC_NEWABOOK_DEST);
            Click(dlg, IDC_NEWABOOK_HELP);
            ::SendMessageA(dlg, WM_HELP, 0, 0);
            Press(dlg, IDCANCEL);
        });
    };
    int result = 0;
    ASSERT_TRUE(plugs.Run(ID_ADDRESS_BOOK, parent, "ann@example.org", &result));
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dest, "ann@example.org");
    ASSERT_EQ(hook.helpCalls.size(), 2u);
    for (const auto& call : hook.helpCalls)
        EXPECT_EQ(call.second, ULONG_PTR{HELP_CONTEXT_NEWABOOK});
}

} // namespace
