// The address book's rules: the editing state and the controls each state enables, the lists an
// address is in, and a preset address split for a new entry.
#include "mailer/addressing/logic/abook_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lx::AddressBookEvent;
using lx::AddressBookMode;
using lx::AddressSaveKind;
using Lines = std::vector<std::string>;

TEST(AddressBookState, EventsStartAndEndEditing) {
    struct Case {
        lx::AddressBookState from;
        AddressBookEvent event;
        AddressBookMode mode;
        AddressSaveKind kind;
    };
    const lx::AddressBookState browsingInsert{AddressBookMode::Browsing, AddressSaveKind::Insert};
    const lx::AddressBookState editingUpdate{AddressBookMode::Editing, AddressSaveKind::Update};
    const Case cases[] = {
        {browsingInsert, AddressBookEvent::Add, AddressBookMode::Editing, AddressSaveKind::Insert},
        {browsingInsert, AddressBookEvent::Edit, AddressBookMode::Editing, AddressSaveKind::Update},
        {editingUpdate, AddressBookEvent::Add, AddressBookMode::Editing, AddressSaveKind::Insert},
        {editingUpdate, AddressBookEvent::Save, AddressBookMode::Browsing, AddressSaveKind::Update},
        {editingUpdate, AddressBookEvent::Clear, AddressBookMode::Browsing,
         AddressSaveKind::Update},
        {editingUpdate, AddressBookEvent::TabChange, AddressBookMode::Browsing,
         AddressSaveKind::Update},
        {editingUpdate, AddressBookEvent::Delete, AddressBookMode::Browsing,
         AddressSaveKind::Update},
    };
    for (const Case& c : cases) {
        const lx::AddressBookState next = lx::AddressBookStep(c.from, c.event);
        EXPECT_EQ(next.mode, c.mode) << static_cast<int>(c.event);
        EXPECT_EQ(next.saveKind, c.kind) << static_cast<int>(c.event);
    }
}

TEST(AddressBookState, EachStateEnablesItsControls) {
    struct Case {
        AddressBookMode mode;
        bool rows, imports, ascii;
        // fields, lists, save, clear, add, edit, delete, print, export, import, ascii, list
        std::vector<bool> enabled;
    };
    const Case cases[] = {
        {AddressBookMode::Browsing,
         true,
         true,
         true,
         {false, false, false, false, true, true, true, true, true, true, true, true}},
        {AddressBookMode::Browsing,
         false,
         true,
         true,
         {false, false, false, false, true, false, false, true, true, true, true, true}},
        {AddressBookMode::Browsing,
         true,
         false,
         false,
         {false, false, false, false, true, true, true, true, true, false, false, true}},
        {AddressBookMode::Editing,
         true,
         true,
         true,
         {true, true, true, true, false, false, false, false, false, false, false, false}},
        {AddressBookMode::Editing,
         false,
         true,
         true,
         {true, true, true, true, false, false, false, false, false, false, false, false}},
    };
    for (const Case& c : cases) {
        const lx::AddressBookEnabling e = lx::EnablingFor(c.mode, c.rows, c.imports, c.ascii);
        const std::vector<bool> got = {
            e.fields, e.memberLists, e.save,       e.clear,           e.add,         e.edit,
            e.remove, e.print,       e.exportFile, e.importAddresses, e.importAscii, e.addressList};
        EXPECT_EQ(got, c.enabled) << static_cast<int>(c.mode) << " rows " << c.rows;
    }
}

TEST(Memberships, AnAddressSeesItsListsAndTheOthers) {
    lx::MembershipPick pick;
    pick.Reset({{3, "Club"}, {7, "Family"}, {9, "Work"}, {12, "Zoo"}}, {9, 3, 44});
    EXPECT_EQ(pick.MemberNames(), (Lines{"Club", "Work"}));
    EXPECT_EQ(pick.PossibleNames(), (Lines{"Family", "Zoo"}));
    EXPECT_TRUE(pick.Join(1));  // Zoo
    EXPECT_TRUE(pick.Leave(0)); // Club
    EXPECT_FALSE(pick.Join(5));
    EXPECT_FALSE(pick.Leave(3));
    EXPECT_EQ(pick.MemberNames(), (Lines{"Work", "Zoo"}));
    EXPECT_EQ(pick.PossibleNames(), (Lines{"Club", "Family"}));
    EXPECT_EQ(pick.MemberNums(), (std::vector<long>{9, 12}));
    pick.LeaveAll();
    EXPECT_TRUE(pick.MemberNums().empty());
    EXPECT_EQ(pick.PossibleNames().size(), 4u);
}

TEST(PresetAddress, NameAndAddressAreSplit) {
    struct Case {
        std::string preset, name, dest;
    };
    const Case cases[] = {
        {"ann@example.org", "", "ann@example.org"},
        {"  Ann Smith <ann@example.org> ", "Ann Smith", "ann@example.org"},
        {"\"O'Brien, Pat\" <pat@example.org>", "O'Brien, Pat", "pat@example.org"},
        {"<bare@example.org>", "", "bare@example.org"},
        {"broken <x@example.org", "", "broken <x@example.org"},
        {std::string(60, 'n') + " <" + std::string(90, 'd') + ">", std::string(48, 'n'),
         std::string(80, 'd')},
    };
    for (const Case& c : cases) {
        std::string name, dest;
        lx::SplitPresetAddress(c.preset, &name, &dest);
        EXPECT_EQ(name, c.name) << c.preset;
        EXPECT_EQ(dest, c.dest) << c.preset;
    }
}

} // namespace
