// "Mailing List", "Build Mailing List" and "Merge File" driven by control id against the runner's
// store: picking To and Cc members, list names, deleting a list, and the merge file.
#include "mailer/addressing/maillist.h"
#include "mailer/res/resource.h"
#include "mailer/ui/logic/cmdplug.h"
#include "tests/abook/abook_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using lxtest::Click;
using lxtest::Enabled;
using lxtest::Lines;
using lxtest::Press;

class MailingLists : public lxtest::AddressingTest {
protected:
    void SetUp() override {
        AddressingTest::SetUp();
        ann = lxtest::AddAddress(Conn(), "Ann", "ann@example.org");
        bob = lxtest::AddAddress(Conn(), "Bob", "bob@example.org");
        carl = lxtest::AddAddress(Conn(), "Carl", "carl@example.org");
        dora = lxtest::AddAddress(Conn(), "Dora", "dora@example.org");
    }
    lx::BuildMailingListData BuildData(long distroNum, const std::string& name) {
        lx::BuildMailingListData data;
        data.catalog = &s_catalogue->Get();
        data.conn = &Conn();
        data.installPath = installPath;
        data.distroNum = distroNum;
        data.name = name;
        return data;
    }
    lx::MailingListData ListData() {
        lx::MailingListData data;
        data.catalog = &s_catalogue->Get();
        data.conn = &Conn();
        data.installPath = installPath;
        return data;
    }
    std::string Entry(const char* name, long num) {
        return name + std::string("\t") + std::to_string(num);
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    long ann = -1, bob = -1, carl = -1, dora = -1;
};

TEST_F(MailingLists, MembersArePickedIntoToAndCcAndSaved) {
    const long list = lxtest::AddList(Conn(), "Team", {{carl, false}});
    Lines abc, shownCc, to, cc, ghi;
    bool addEnabledOnEmptyTab = true;
    hook.onInit = [&](HWND dlg, int id) {
        ASSERT_EQ(id, IDD_DISTROLI);
        later.Post([&, dlg] {
            abc = ListLines(dlg, IDC_DISTROLI_ADDRESSES);
            shownCc = ListLines(dlg, IDC_DISTROLI_CC);
            SelectLines(dlg, IDC_DISTROLI_ADDRESSES, {0, 1, 2}); // Ann, Bob, Carl (in Cc)
            Click(dlg, IDC_DISTROLI_ADDTO);
            ChooseTab(dlg, IDC_DISTROLI_TABS, 2);
            ghi = ListLines(dlg, IDC_DISTROLI_ADDRESSES);
            addEnabledOnEmptyTab =
                Enabled(dlg, IDC_DISTROLI_ADDTO) || Enabled(dlg, IDC_DISTROLI_ADDCC);
            ChooseTab(dlg, IDC_DISTROLI_TABS, 1); // Dora, selected
            Click(dlg, IDC_DISTROLI_ADDCC);
            Click(dlg, IDC_DISTROLI_ADDTO); // already in Cc
            to = ListLines(dlg, IDC_DISTROLI_TO);
            cc = ListLines(dlg, IDC_DISTROLI_CC);
            Press(dlg, IDOK);
        });
    };
    lx::BuildMailingListData data = BuildData(list, "Team");
    EXPECT_EQ(IDOK, lx::ShowBuildMailingListDialog(parent, &data));
    EXPECT_EQ(abc, (Lines{Entry("Ann", ann), Entry("Bob", bob), Entry("Carl", carl)}));
    EXPECT_EQ(shownCc, Lines{Entry("Carl", carl)});
    EXPECT_EQ(ghi, Lines{Text("NEWABOOK_CPP_15")});
    EXPECT_FALSE(addEnabledOnEmptyTab);
    EXPECT_EQ(to, (Lines{Entry("Ann", ann), Entry("Bob", bob)}));
    EXPECT_EQ(cc, (Lines{Entry("Carl", carl), Entry("Dora", dora)}));
    EXPECT_EQ(Count("DistroAdd WHERE IsTo = 1 AND DistroNum = " + std::to_string(list)), 2);
    EXPECT_EQ(Count("DistroAdd WHERE IsTo = 0 AND DistroNum = " + std::to_string(list)), 2);
    EXPECT_EQ(data.distroNum, list);
}

TEST_F(MailingLists, SeveralAdjacentToEntriesAreRemovedTogether) {
    const long list =
        lxtest::AddList(Conn(), "Team", {{ann, true}, {bob, true}, {carl, true}, {dora, true}});
    Lines to;
    hook.onInit = [&](HWND dlg, int) {
        later.Post([&, dlg] {
            SelectLines(dlg, IDC_DISTROLI_TO, {1, 2}); // Bob, Carl
            Click(dlg, IDC_DISTROLI_REMOVETO);
            to = ListLines(dlg, IDC_DISTROLI_TO);
            Press(dlg, IDOK);
        });
    };
    lx::BuildMailingListData data = BuildData(list, "Team");
    EXPECT_EQ(IDOK, lx::ShowBuildMailingListDialog(parent, &data));
    EXPECT_EQ(to, (Lines{Entry("Ann", ann), Entry("Dora", dora)}));
    EXPECT_EQ(ListsOf(bob).size() + ListsOf(carl).size(), 0u);
    EXPECT_EQ(ListsOf(ann), std::vector<long>{list});
}

TEST_F(MailingLists, AnotherListsNameIsRefusedTheOwnNameAccepted) {
    const long team = lxtest::AddList(Conn(), "Team", {{ann, true}});
    lxtest::AddList(Conn(), "Board's", {});
    hook.onInit = [&](HWND dlg, int) {
        later.Post([&, dlg] {
            SetText(dlg, IDC_DISTROLI_NAME, "Board's");
            Press(dlg, IDOK); // refused: the dialog stays
        });
    };
    hook.afterBox = [&](HWND dlg, size_t) {
        later.Post([&, dlg] {
            SetText(dlg, IDC_DISTROLI_NAME, "Team");
            Press(dlg, IDOK);
        });
    };
    lx::BuildMailingListData data = BuildData(team, "Team");
    EXPECT_EQ(IDOK, lx::ShowBuildMailingListDialog(parent, &data));
    ASSERT_EQ(hook.boxes.size(), 1u);
    EXPECT_EQ(hook.boxes[0].text, Text("DISTROLI_CPP_4"));
    EXPECT_EQ(hook.boxes[0].caption, Text("DISTROLI_CPP_3"));
    EXPECT_EQ(Count("Distribution WHERE DistroName = 'Team'"), 1);
    EXPECT_EQ(Count("Distribution WHERE DistroName = 'Board''s'"), 1);
    EXPECT_EQ(ListsOf(ann), std::vector<long>{team});
}

TEST_F(MailingLists, ANewListUnderATakenNameIsRefused) {
    lxtest::AddList(Conn(), "Team", {});
    hook.onInit = [&](HWND dlg, int) {
        later.Post([&, dlg] {
            SetText(dlg, IDC_DISTROLI_NAME, "Team");
            Press(dlg, IDOK);
            later.Post([dlg] { Press(dlg, IDCANCEL); });
        });
    };
    lx::BuildMailingListData data = BuildData(-1, "");
    EXPECT_EQ(IDCANCEL, lx::ShowBuildMailingListDialog(parent, &data));
    ASSERT_EQ(hook.boxes.size(), 1u);
    EXPECT_EQ(hook.boxes[0].text, Text("DISTROLI_CPP_4"));
    EXPECT_EQ(Count("Distribution"), 1);
}

TEST_F(MailingLists, AMergeFileHoldsTheToMembersFirst) {
    lxtest::AddList(Conn(), "Alpha", {{dora, true}});
    lxtest::AddList(Conn(), "Team", {{ann, false}, {bob, true}, {carl, true}});
    hook.onInit = [&](HWND dlg, int id) {
        if (id == IDD_MMFNAME) {
            SetText(dlg, IDC_MMFNAME_NAME, " team ");
            Press(dlg, IDOK);
            return;
        }
        later.Post([&, dlg] {
            ::SendMessageA(::GetDlgItem(dlg, IDC_MAILLIST_LISTS), LB_SETCURSEL, 1, 0);
            Click(dlg, IDC_MAILLIST_MERGE);
            Press(dlg, IDCANCEL);
        });
    };
    lx::MailingListData data = ListData();
    EXPECT_EQ(IDCANCEL, lx::ShowMailingListDialog(parent, &data));
    const std::string path = installPath + "\\team.MMF";
    const std::string text = ReadFile(path);
    const bool toFirst = text == "bob@example.org\r\ncarl@example.org\r\nann@example.org\r\n" ||
                         text == "carl@example.org\r\nbob@example.org\r\nann@example.org\r\n";
    EXPECT_TRUE(toFirst) << text;
    ASSERT_EQ(hook.boxes.size(), 1u);
    EXPECT_EQ(hook.boxes[0].text, Text("MAILLIST_CPP_8"));
    EXPECT_EQ(hook.boxes[0].caption, path);
}

TEST_F(MailingLists, AMergeFileNameLeavingTheFolderIsRefused) {
    lxtest::AddList(Conn(), "Team", {{ann, true}});
    const char* const refused[] = {"..\\outside", "sub/file", "NUL", ""};
    size_t tried = 0;
    hook.onInit = [&](HWND dlg, int id) {
        if (id == IDD_MMFNAME) {
            SetText(dlg, IDC_MMFNAME_NAME, refused[tried++]);
            Press(dlg, IDOK);
            return;
        }
        later.Post([&, dlg] {
            Click(dlg, IDC_MAILLIST_MERGE);
            Press(dlg, IDCANCEL);
        });
    };
    // Each refusal keeps the name dialog open: the next name is tried, and after the last the
    // dialog is cancelled.
    hook.afterBox = [&](HWND dlg, size_t) {
        later.Post([&, dlg] {
            if (tried < std::size(refused)) {
                SetText(dlg, IDC_MMFNAME_NAME, refused[tried++]);
                Press(dlg, IDOK);
            } else {
                Press(dlg, IDCANCEL);
            }
        });
    };
    lx::MailingListData data = ListData();
    EXPECT_EQ(IDCANCEL, lx::ShowMailingListDialog(parent, &data));
    ASSERT_EQ(hook.boxes.size(), 4u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_NE(hook.boxes[i].text.find(refused[i]), std::string::npos) << hook.boxes[i].text;
    EXPECT_EQ(hook.boxes[3].text, Text("MAILLIST_CPP_11"));
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((installPath + "\\*.MMF").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "no merge file is written";
    if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
}

TEST_F(MailingLists, DeletingAListRemovesItsMembersButNotTheAddresses) {
    const long team = lxtest::AddList(Conn(), "Team", {{ann, true}, {bob, false}});
    const long zoo = lxtest::AddList(Conn(), "Zoo", {{ann, true}});
    Lines before, after;
    bool editAfter = true;
    hook.boxAnswer = IDYES;
    hook.onInit = [&](HWND dlg, int) {
        later.Post([&, dlg] {
            before = ListLines(dlg, IDC_MAILLIST_LISTS);
            Click(dlg, IDC_MAILLIST_DELETE); // the first line: Team
            after = ListLines(dlg, IDC_MAILLIST_LISTS);
            Click(dlg, IDC_MAILLIST_DELETE);
            editAfter = Enabled(dlg, IDC_MAILLIST_EDIT) || Enabled(dlg, IDC_MAILLIST_DELETE);
            Press(dlg, IDCANCEL);
        });
    };
    lx::MailingListData data = ListData();
    EXPECT_EQ(IDCANCEL, lx::ShowMailingListDialog(parent, &data));
    EXPECT_EQ(before, (Lines{"Team", "Zoo"}));
    EXPECT_EQ(after, Lines{"Zoo"});
    EXPECT_FALSE(editAfter);
    ASSERT_EQ(hook.boxes.size(), 2u);
    EXPECT_EQ(hook.boxes[0].text, Text("MAILLIST_CPP_3"));
    EXPECT_NE(hook.boxes[0].flags & MB_ICONSTOP, 0u);
    EXPECT_EQ(Count("DistroAdd WHERE DistroNum = " + std::to_string(team)), 0);
    EXPECT_EQ(Count("DistroAdd WHERE DistroNum = " + std::to_string(zoo)), 0);
    EXPECT_EQ(Count("AddBook"), 4);
}

TEST_F(MailingLists, ThePluggedCommandOpensTheLists) {
    lx::CommandPlugs plugs;
    lx::PlugMailingLists(plugs, ListData());
    lxtest::AddList(Conn(), "Team", {});
    Lines lists;
    hook.onInit = [&](HWND dlg, int id) {
        EXPECT_EQ(id, IDD_MAILLIST);
        lists = ListLines(dlg, IDC_MAILLIST_LISTS);
        Press(dlg, IDCANCEL);
    };
    int result = 0;
    ASSERT_TRUE(plugs.Run(ID_MAILING_LISTS, parent, nullptr, &result));
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(lists, Lines{"Team"});
}

TEST_F(MailingLists, AddingAListThroughBuildShowsItInTheList) {
    Lines after;
    hook.onInit = [&](HWND dlg, int id) {
        if (id == IDD_DISTROLI) {
            later.Post([&, dlg] {
                SetText(dlg, IDC_DISTROLI_NAME, "New's");
                SelectLines(dlg, IDC_DISTROLI_ADDRESSES, {0});
                Click(dlg, IDC_DISTROLI_ADDTO);
                Press(dlg, IDOK);
            });
            return;
        }
        later.Post([&, dlg] {
            Click(dlg, IDC_MAILLIST_ADD);
            after = ListLines(dlg, IDC_MAILLIST_LISTS);
            Press(dlg, IDCANCEL);
        });
    };
    lx::MailingListData data = ListData();
    EXPECT_EQ(IDCANCEL, lx::ShowMailingListDialog(parent, &data));
    EXPECT_EQ(after, Lines{"New's"});
    const long list = QueryLong("SELECT DistroNum FROM Distribution WHERE DistroName = 'New''s'");
    EXPECT_EQ(ListsOf(ann), std::vector<long>{list});
}

} // namespace
