// The address pickers' reads against a real store: the letter tabs as the engine evaluates them,
// blocks of five rows, keys beyond 16 bits, texts longer than their columns, and failures.
#include "mailer/addressing/logic/addrpick_rules.h"
#include "mailer/addressing/store/addrpick_store.h"
#include "tests/pickers/addrbook_rows.h"
#include "tests/store/store_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

class PickerStore : public lxtest::StoreTest {
protected:
    static long AddAddress(const std::string& name, const std::string& dest) {
        return lxtest::AddAddress(Conn(), name, dest);
    }
    static long AddList(const std::string& name,
                        const std::vector<std::pair<long, bool>>& members) {
        return lxtest::AddList(Conn(), name, members);
    }

    Lines TabNames(int tab) {
        std::vector<lx::AddressRow> rows;
        EXPECT_TRUE(lx::ReadAddressRows(&Conn(), lx::RecipientTabQuery(tab), true, &rows, nullptr));
        Lines names;
        for (const auto& row : rows) names.push_back(row.name);
        return names;
    }
};

TEST_F(PickerStore, EachTabListsItsNamesOfEitherCaseAndNoTabADigit) {
    for (const char* name :
         {"alice", "Bob", "carol", "Dave", "9lives", "victor", "Wendy", "_x", "zed"})
        AddAddress(name, std::string(name) + "@example.org");
    struct Case {
        int tab;
        Lines names;
    };
    const Case cases[] = {{0, {"Bob", "alice", "carol"}},
                          {1, {"Dave"}},
                          {7, {"Wendy", "victor"}},
                          {8, {"zed"}},
                          {3, {}}};
    for (const Case& c : cases) {
        Lines names = TabNames(c.tab);
        // Engines order mixed case differently; the set is what the tab decides.
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.names) << lx::LetterTabLabel(c.tab);
    }
    Lines all;
    for (int tab = 0; tab < lx::kLetterTabCount; ++tab)
        for (const auto& name : TabNames(tab)) all.push_back(name);
    EXPECT_EQ(all.size(), 7u); // "9lives" and "_x" are on no tab
}

TEST_F(PickerStore, ReadsEveryBlockOfFiveWithWholeKeysAndDestinations) {
    Exec("INSERT INTO AddBook (AddNum, AddName, AddDest, AddNote) VALUES (40000, 'Aaron', "
         "'aaron@example.org', '')");
    for (int i = 0; i < 11; ++i)
        AddAddress("Anna" + std::to_string(10 + i), "anna" + std::to_string(i) + "@x");
    std::vector<lx::AddressRow> rows;
    ASSERT_TRUE(lx::ReadAddressRows(&Conn(), lx::RecipientTabQuery(0), true, &rows, nullptr));
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[0].addNum, 40000); // above 32767: held whole
    EXPECT_EQ(rows[0].name, "Aaron");
    EXPECT_EQ(rows[0].dest, "aaron@example.org");
    EXPECT_EQ(rows[11].name, "Anna20");
    EXPECT_EQ(rows[11].dest, "anna10@x");
    EXPECT_GT(rows[11].addNum, 40000);

    std::vector<lx::AddressRow> named;
    ASSERT_TRUE(lx::ReadAddressRows(&Conn(), lx::AddressTabQuery(0), false, &named, nullptr));
    ASSERT_EQ(named.size(), 12u);
    EXPECT_EQ(named[0].dest, "aaron@example.org");
}

TEST_F(PickerStore, TextsLongerThanTheirColumnsAreCutNotOverrun) {
    // SQLite keeps whatever length it is given; the buffers hold 48 and 80 characters.
    const std::string name = "A" + std::string(70, 'a');
    const std::string dest = std::string(120, 'd') + "@x";
    const std::string sql = "INSERT INTO AddBook (AddName, AddDest, AddNote) VALUES ('" + name +
                            "', '" + dest + "', '')";
    if (!Conn().ExecuteDirect(sql.c_str()))
        GTEST_SKIP() << "the engine refuses texts longer than their columns: "
                     << Conn().GetLastErrorText();
    AddAddress("Ann", "ann@x"); // sorts after the long name, in the same block
    std::vector<lx::AddressRow> rows;
    ASSERT_TRUE(lx::ReadAddressRows(&Conn(), lx::RecipientTabQuery(0), true, &rows, nullptr));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, name.substr(0, lx::kAddNameLen));
    EXPECT_EQ(rows[0].dest, dest.substr(0, lx::kAddDestLen));
    EXPECT_EQ(rows[1].name, "Ann"); // the next row is its own
    EXPECT_EQ(rows[1].dest, "ann@x");
}

TEST_F(PickerStore, AFailedQueryGivesNoRows) {
    std::vector<lx::AddressRow> rows{lx::AddressRow{1, "stale", "stale@x"}};
    EXPECT_FALSE(lx::ReadAddressRows(&Conn(), "SELECT AddNum, AddName, AddDest FROM NoSuchTable",
                                     true, &rows, nullptr));
    EXPECT_TRUE(rows.empty());
}

TEST_F(PickerStore, ListsByNameAndTheirMembersSplitIntoToAndCc) {
    const long ann = AddAddress("Ann", "ann@x");
    const long bob = AddAddress("Bob", "bob@x");
    const long cy = AddAddress("Cy", "cy@x");
    const long team = AddList("Team", {{ann, true}, {bob, false}, {cy, true}});
    AddList("Board", {{bob, true}});
    std::vector<lx::MailingListRow> lists;
    ASSERT_TRUE(lx::ReadMailingLists(&Conn(), &lists, nullptr));
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[0].name, "Board");
    EXPECT_EQ(lists[1].name, "Team");
    EXPECT_EQ(lists[1].distroNum, team);

    Lines to, cc;
    ASSERT_TRUE(lx::ReadMemberAddresses(&Conn(), team, true, &to, nullptr));
    ASSERT_TRUE(lx::ReadMemberAddresses(&Conn(), team, false, &cc, nullptr));
    std::sort(to.begin(), to.end());
    EXPECT_EQ(to, (Lines{"ann@x", "cy@x"}));
    EXPECT_EQ(cc, Lines{"bob@x"});
}

} // namespace
