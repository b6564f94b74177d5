// "Select Recipients", "Select Mailing List" and "Select Address" driven by control id against
// the runner's store, with address-book rows and mailing lists the tests insert.
#include "mailer/addressing/seladdrs.h"
#include "mailer/res/resource.h"
#include "tests/pickers/addrbook_rows.h"
#include "tests/pickers/dialog_drive.h"
#include "tests/panes/panes_fixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using lxtest::Click;
using lxtest::Enabled;
using lxtest::Press;

// Selects exactly the given lines of a multiple-selection list.
void SelectLines(HWND dlg, int id, std::initializer_list<int> lines) {
    HWND list = ::GetDlgItem(dlg, id);
    ::SendMessageA(list, LB_SETSEL, FALSE, -1);
    for (const int line : lines) ::SendMessageA(list, LB_SETSEL, TRUE, line);
}

// Chooses a letter tab as a click on it does.
void ChooseTab(HWND dlg, int id, int tab) {
    HWND tabs = ::GetDlgItem(dlg, id);
    ::SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    NMHDR header{tabs, static_cast<UINT_PTR>(id), static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageA(dlg, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
}

class Pickers : public lxtest::PaneTest {
protected:
    void SetUp() override {
        PaneTest::SetUp();
        ann = lxtest::AddAddress(Conn(), "Ann", "ann@example.org");
        bob = lxtest::AddAddress(Conn(), "Bob", "bob@example.org");
        carl = lxtest::AddAddress(Conn(), "Carl", "carl@example.org");
        dora = lxtest::AddAddress(Conn(), "Dora", "dora@example.org");
        lxtest::AddAddress(Conn(), "4th Floor", "floor4@example.org");
    }
    Lines Lines_(HWND dlg, int id) { return ItemTexts(::GetDlgItem(dlg, id)); }
    lx::RecipientPickData PickData() {
        lx::RecipientPickData data;
        data.catalog = &s_catalogue->Get();
        data.conn = &Conn();
        data.installPath = installPath;
        return data;
    }
    lx::SelectAddressData AddressData() {
        lx::SelectAddressData data;
        data.catalog = &s_catalogue->Get();
        data.conn = &Conn();
        return data;
    }
    long ann = -1, bob = -1, carl = -1, dora = -1;
    lxtest::Later later;
};

TEST_F(Pickers, RecipientsArePickedIntoToAndCcOnceEach) {
    Lines abc, def, ghi, to, cc;
    bool addEnabledOnEmptyTab = true;
    hook.onInit = [&](HWND dlg, int id) {
        ASSERT_EQ(id, IDD_SELRECIP);
        later.Post([&, dlg] {
            abc = Lines_(dlg, IDC_SELRECIP_LIST);
            SelectLines(dlg, IDC_SELRECIP_LIST, {0, 1}); // Ann, Bob
            Click(dlg, IDC_SELRECIP_ADDTO);
            SelectLines(dlg, IDC_SELRECIP_LIST, {1, 2}); // Bob again, Carl
            Click(dlg, IDC_SELRECIP_ADDCC);
            Click(dlg, IDC_SELRECIP_ADDTO); // both already picked
            ::SendMessageA(::GetDlgItem(dlg, IDC_SELRECIP_TO), LB_SETCURSEL, 0, 0);
            Click(dlg, IDC_SELRECIP_REMOVETO); // Ann leaves To
            ChooseTab(dlg, IDC_SELRECIP_TABS, 2);
            ghi = Lines_(dlg, IDC_SELRECIP_LIST);
            addEnabledOnEmptyTab =
                Enabled(dlg, IDC_SELRECIP_ADDTO) || Enabled(dlg, IDC_SELRECIP_ADDCC);
            ChooseTab(dlg, IDC_SELRECIP_TABS, 1);
            def = Lines_(dlg, IDC_SELRECIP_LIST);
            Click(dlg, IDC_SELRECIP_ADDTO); // the tab's first line is selected
            to = Lines_(dlg, IDC_SELRECIP_TO);
            cc = Lines_(dlg, IDC_SELRECIP_CC);
            Press(dlg, IDOK);
        });
    };
    lx::RecipientPickData data = PickData();
    EXPECT_EQ(IDOK, lx::ShowSelectRecipientsDialog(parent, &data));
    EXPECT_EQ(abc, (Lines{"Ann", "Bob", "Carl"}));
    EXPECT_EQ(ghi, Lines{Text("NEWABOOK_CPP_15")});
    EXPECT_FALSE(addEnabledOnEmptyTab);
    EXPECT_EQ(def, Lines{"Dora"});
    EXPECT_EQ(to, (Lines{"bob@example.org", "dora@example.org"}));
    EXPECT_EQ(cc, Lines{"carl@example.org"});
    EXPECT_EQ(data.to, "bob@example.org\r\ndora@example.org");
    EXPECT_EQ(data.cc, "carl@example.org");
    EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(Pickers, OkWithNothingPickedGivesTwoEmptyTexts) {
    bool manageEnabled = true;
    hook.onInit = [&](HWND dlg, int) {
        manageEnabled = Enabled(dlg, IDC_SELRECIP_MANAGE); // no address book to run
        Press(dlg, IDOK);
    };
    lx::RecipientPickData data = PickData();
    data.to = "left over";
    data.cc = "left over";
    EXPECT_EQ(IDOK, lx::ShowSelectRecipientsDialog(parent, &data));
    EXPECT_FALSE(manageEnabled);
    EXPECT_EQ(data.to, "");
    EXPECT_EQ(data.cc, "");
}

TEST_F(Pickers, ManagingTheAddressBookShowsTheTabAgain) {
    Lines before, after;
    HWND managedOver = nullptr;
    hook.onInit = [&](HWND dlg, int) {
        later.Post([&, dlg] {
            before = Lines_(dlg, IDC_SELRECIP_LIST);
            Click(dlg, IDC_SELRECIP_MANAGE);
            after = Lines_(dlg, IDC_SELRECIP_LIST);
            Press(dlg, IDCANCEL);
        });
    };
    lx::RecipientPickData data = PickData();
    data.manageAddressBook = [&](HWND owner) {
        managedOver = owner;
        lxtest::AddAddress(Conn(), "Abe", "abe@example.org");
    };
    EXPECT_EQ(IDCANCEL, lx::ShowSelectRecipientsDialog(parent, &data));
    EXPECT_NE(managedOver, nullptr);
    EXPECT_EQ(before, (Lines{"Ann", "Bob", "Carl"}));
    EXPECT_EQ(after, (Lines{"Abe", "Ann", "Bob", "Carl"}));
}

TEST_F(Pickers, MailingListsAddTheirToAndCcMembersListByList) {
    lxtest::AddList(Conn(), "Board", {{bob, true}, {dora, false}});
    lxtest::AddList(Conn(), "Team", {{ann, true}, {bob, false}, {dora, true}, {carl, false}});
    Lines lists, to, cc;
    hook.onInit = [&](HWND dlg, int id) {
        ASSERT_EQ(id, IDD_SELLIST);
        later.Post([&, dlg] {
            lists = Lines_(dlg, IDC_SELLIST_LISTS);
            SelectLines(dlg, IDC_SELLIST_LISTS, {0, 1});
            Click(dlg, IDC_SELLIST_ADD);
            Click(dlg, IDC_SELLIST_ADD); // a second time adds nothing
            to = Lines_(dlg, IDC_SELLIST_TO);
            cc = Lines_(dlg, IDC_SELLIST_CC);
            Press(dlg, IDOK);
        });
    };
    lx::RecipientPickData data = PickData();
    EXPECT_EQ(IDOK, lx::ShowSelectMailingListDialog(parent, &data));
    EXPECT_EQ(lists, (Lines{"Board", "Team"}));
    // Board: bob To, dora Cc; Team: ann To, dora To (already in Cc: stays there), bob Cc (already
    // in To), carl Cc.
    EXPECT_EQ(to, (Lines{"bob@example.org", "ann@example.org"}));
    EXPECT_EQ(cc, (Lines{"dora@example.org", "carl@example.org"}));
    EXPECT_EQ(data.to, "bob@example.org\r\nann@example.org");
    EXPECT_EQ(data.cc, "dora@example.org\r\ncarl@example.org");
}

TEST_F(Pickers, SelectAddressReturnsTheChosenRowsDestination) {
    Lines abc, def;
    hook.onInit = [&](HWND dlg, int id) {
        ASSERT_EQ(id, IDD_SELADDRS);
        later.Post([&, dlg] {
            abc = Lines_(dlg, IDC_SELADDRS_LIST);
            ChooseTab(dlg, IDC_SELADDRS_TABS, 1);
            def = Lines_(dlg, IDC_SELADDRS_LIST);
            ChooseTab(dlg, IDC_SELADDRS_TABS, 0);
            ::SendMessageA(::GetDlgItem(dlg, IDC_SELADDRS_LIST), LB_SETCURSEL, 2, 0);
            Press(dlg, IDC_SELADDRS_SELECT);
        });
    };
    lx::SelectAddressData data = AddressData();
    EXPECT_EQ(IDOK, lx::ShowSelectAddressDialog(parent, &data));
    EXPECT_EQ(abc, (Lines{"Ann", "Bob", "Carl"})); // "4th Floor" is on no tab
    EXPECT_EQ(def, Lines{"Dora"});
    EXPECT_EQ(data.address, "carl@example.org");
    EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(Pickers, SelectAddressWithoutALineTellsSoAndCancels) {
    hook.onInit = [&](HWND dlg, int) {
        ::SendMessageA(::GetDlgItem(dlg, IDC_SELADDRS_LIST), LB_SETCURSEL, static_cast<WPARAM>(-1),
                       0);
        Press(dlg, IDC_SELADDRS_SELECT);
    };
    lx::SelectAddressData data = AddressData();
    EXPECT_EQ(IDCANCEL, lx::ShowSelectAddressDialog(parent, &data));
    ASSERT_EQ(hook.boxes.size(), 1u);
    EXPECT_EQ(hook.boxes[0].text, Text("SELADDRS_CPP_3"));
    EXPECT_EQ(hook.boxes[0].caption, Text("SELADDRS_CPP_4"));
    EXPECT_EQ(data.address, "");
}

TEST_F(Pickers, SelectAddressOnAnUnreadableAddressBookTellsSo) {
    odbcvantConnection unconnected(s_env);
    hook.onInit = [&](HWND dlg, int) { Press(dlg, IDCANCEL); };
    lx::SelectAddressData data = AddressData();
    data.conn = &unconnected;
    EXPECT_EQ(IDCANCEL, lx::ShowSelectAddressDialog(parent, &data));
    ASSERT_EQ(hook.boxes.size(), 1u);
    EXPECT_EQ(hook.boxes[0].text, Text("SELADDRS_CPP_5"));
    EXPECT_EQ(hook.boxes[0].caption, Text("SELADDRS_CPP_6"));
}

} // namespace
