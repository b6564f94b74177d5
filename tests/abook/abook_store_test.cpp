// The address book's and the mailing lists' store work against a real store: saving with an
// apostrophe, memberships replaced, nothing left pointing at a deleted address or list, list
// names, and members read back as To and Cc.
#include "mailer/addressing/logic/addrpick_rules.h"
#include "mailer/addressing/store/abook_store.h"
#include "mailer/addressing/store/distro_store.h"
#include "tests/pickers/addrbook_rows.h"
#include "tests/store/store_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lx::AddressSaveKind;
using lx::AddressSaveOutcome;
using lx::ListSaveOutcome;

class AddressBookStore : public lxtest::StoreTest {
protected:
    static long Count(const std::string& where) {
        return QueryLong("SELECT COUNT(*) FROM " + where);
    }
    static std::vector<long> Memberships(long addNum) {
        std::vector<long> lists;
        EXPECT_TRUE(lx::ReadMemberships(&Conn(), addNum, &lists, nullptr));
        return lists;
    }
    static long Save(const lx::AddressToSave& a) {
        long key = -1;
        EXPECT_EQ(lx::SaveAddress(&Conn(), a, nullptr, &key), AddressSaveOutcome::Saved) << a.name;
        return key;
    }
};

TEST_F(AddressBookStore, AnApostropheNameIsSavedWithItsMemberships) {
    const long club = lxtest::AddList(Conn(), "Club", {});
    const long work = lxtest::AddList(Conn(), "Work", {});
    lx::AddressToSave a;
    a.name = "O'Brien, Pat";
    a.dest = "pat.o'brien@example.org";
    a.note = "it's";
    a.lists = {club, work};
    const long key = Save(a);
    ASSERT_GT(key, 0);
    EXPECT_EQ(Memberships(key), (std::vector<long>{club, work}));
    std::vector<lx::AddressBookRow> rows;
    ASSERT_TRUE(lx::ReadAddressBookRows(&Conn(), lx::AddressBookTabQuery(4), &rows, nullptr));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, a.name);
    EXPECT_EQ(rows[0].dest, a.dest);
    EXPECT_EQ(rows[0].note, a.note);
    EXPECT_EQ(Count("DistroAdd WHERE IsTo = 1"), 2);
}

TEST_F(AddressBookStore, TwinEntriesEachGetTheirOwnMemberships) {
    const long club = lxtest::AddList(Conn(), "Club", {});
    lx::AddressToSave a;
    a.name = "Ann";
    a.dest = "ann@example.org";
    const long first = Save(a);
    a.lists = {club};
    const long second = Save(a);
    EXPECT_NE(first, second);
    EXPECT_TRUE(Memberships(first).empty());
    EXPECT_EQ(Memberships(second), std::vector<long>{club});
}

TEST_F(AddressBookStore, UpdatingAnAddressReplacesItsMemberships) {
    const long a = lxtest::AddAddress(Conn(), "Ann", "ann@example.org");
    const long b = lxtest::AddAddress(Conn(), "Bob", "bob@example.org");
    const long club = lxtest::AddList(Conn(), "Club", {{a, true}, {b, false}});
    const long work = lxtest::AddList(Conn(), "Work", {{a, true}});
    const long zoo = lxtest::AddList(Conn(), "Zoo", {});
    lx::AddressToSave edit;
    edit.kind = AddressSaveKind::Update;
    edit.addNum = a;
    edit.name = "Anne";
    edit.dest = "anne@example.org";
    edit.lists = {zoo};
    EXPECT_EQ(Save(edit), a);
    EXPECT_EQ(Memberships(a), std::vector<long>{zoo});
    EXPECT_EQ(Memberships(b), std::vector<long>{club}); // another address keeps its own
    EXPECT_EQ(Count("AddBook WHERE AddName = 'Anne' AND AddDest = 'anne@example.org'"), 1);
    EXPECT_EQ(Count("DistroAdd WHERE DistroNum = " + std::to_string(work)), 0);
}

// The deletes must not rely on the store's relations: on SQLite they are switched off here, as
// an engine without them would behave.
class WithoutRelations {
public:
    explicit WithoutRelations(odbcvantConnection& conn) : conn_(conn) {
        sqlite_ = lxtest::ContainsNoCase(conn.GetDbmsName(), "sqlite");
        if (sqlite_) EXPECT_TRUE(conn_.ExecuteDirect("PRAGMA foreign_keys = OFF"));
    }
    ~WithoutRelations() {
        if (sqlite_) conn_.ExecuteDirect("PRAGMA foreign_keys = ON");
    }

private:
    odbcvantConnection& conn_;
    bool sqlite_ = false;
};

TEST_F(AddressBookStore, DeletingAnAddressLeavesNoMembershipBehind) {
    const long a = lxtest::AddAddress(Conn(), "Ann", "ann@example.org");
    const long b = lxtest::AddAddress(Conn(), "Bob", "bob@example.org");
    lxtest::AddList(Conn(), "Club", {{a, true}, {b, true}});
    {
        WithoutRelations plain(Conn());
        ASSERT_TRUE(lx::DeleteAddress(&Conn(), a, nullptr));
    }
    EXPECT_EQ(Count("AddBook"), 1);
    EXPECT_EQ(Count("DistroAdd WHERE AddNum = " + std::to_string(a)), 0);
    EXPECT_EQ(Count("DistroAdd WHERE AddNum = " + std::to_string(b)), 1);
}

TEST_F(AddressBookStore, ListNamesAreOneListEachAndMembersAreReplaced) {
    const long a = lxtest::AddAddress(Conn(), "Ann", "ann@example.org");
    const long b = lxtest::AddAddress(Conn(), "Bob", "bob@example.org");
    const long c = lxtest::AddAddress(Conn(), "Carl", "carl@example.org");
    const long other = lxtest::AddList(Conn(), "Other's", {{c, true}});
    lx::ListToSave list;
    list.name = "Friends";
    list.to = {{b, "Bob"}, {a, "Ann"}};
    list.cc = {{c, "Carl"}};
    long key = -1;
    ASSERT_EQ(lx::SaveMailingList(&Conn(), list, nullptr, &key), ListSaveOutcome::Saved);
    ASSERT_GT(key, 0);
    std::vector<lx::ListEntry> to, cc;
    ASSERT_TRUE(lx::ReadListMembers(&Conn(), key, &to, &cc, nullptr));
    ASSERT_EQ(to.size(), 2u);
    EXPECT_EQ(to[0].name, "Ann"); // by name
    EXPECT_EQ(to[1].addNum, b);
    ASSERT_EQ(cc.size(), 1u);
    EXPECT_EQ(cc[0].addNum, c);

    list.distroNum = key;
    list.to = {{a, "Ann"}};
    list.cc.clear();
    EXPECT_EQ(lx::SaveMailingList(&Conn(), list, nullptr, nullptr), ListSaveOutcome::Saved);
    EXPECT_EQ(Count("DistroAdd WHERE DistroNum = " + std::to_string(key)), 1);
    list.name = "Other's";
    EXPECT_EQ(lx::SaveMailingList(&Conn(), list, nullptr, nullptr), ListSaveOutcome::NameTaken);
    list.distroNum = -1;
    EXPECT_EQ(lx::SaveMailingList(&Conn(), list, nullptr, nullptr), ListSaveOutcome::NameTaken);
    EXPECT_EQ(Count("Distribution"), 2);

    {
        WithoutRelations plain(Conn());
        ASSERT_TRUE(lx::DeleteMailingList(&Conn(), key, nullptr));
    }
    EXPECT_EQ(Count("Distribution"), 1);
    EXPECT_EQ(Count("DistroAdd WHERE DistroNum = " + std::to_string(key)), 0);
    EXPECT_EQ(Count("DistroAdd WHERE DistroNum = " + std::to_string(other)), 1);
    EXPECT_EQ(Count("AddBook"), 3); // the members stay in the address book
}

} // namespace
