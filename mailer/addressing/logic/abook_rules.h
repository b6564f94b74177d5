// The address book's portable rules: its editing state and which controls each state enables,
// the mailing lists an address is in or may join, and a preset address split for a new entry.
#pragma once
#include "mailer/addressing/logic/addrpick_rules.h"

#include <cstddef>
#include <string>
#include <vector>

namespace lx {

enum class AddressBookMode { Browsing, Editing };
// What the next Save does: insert a new address or update the one shown.
enum class AddressSaveKind { Insert, Update };

enum class AddressBookEvent { Add, Edit, Save, Clear, TabChange, Delete };

struct AddressBookState {
    AddressBookMode mode = AddressBookMode::Browsing;
    AddressSaveKind saveKind = AddressSaveKind::Insert;
};
// Add starts editing a new address, Edit the shown one; everything else ends editing.
AddressBookState AddressBookStep(const AddressBookState& state, AddressBookEvent event);

struct AddressBookEnabling {
    bool fields = false;      // Full Name, Destination Address, Note
    bool memberLists = false; // both mailing-list boxes and their ">>" and "<<"
    bool save = false, clear = false;
    bool add = false, edit = false, remove = false;
    bool print = false, exportFile = false;
    bool importAddresses = false; // Eudora Light, Pegasus, MS Exchange
    bool importAscii = false;
    bool addressList = false;
};
// While editing: the fields, the list boxes, Save and Clear; while browsing: the rest. Edit and
// Delete need a row on the current tab; an import button needs its import dialog.
AddressBookEnabling EnablingFor(AddressBookMode mode, bool tabHasRows, bool canImportAddresses,
                                bool canImportAscii);

// The mailing lists of one address being edited: those it is in ("Add To Mailing List") and the
// others ("Possible Mailing Lists"), both in the order of the lists.
class MembershipPick {
public:
    // All lists; the address is in those whose number is in `memberOf`.
    void Reset(std::vector<MailingListRow> lists, const std::vector<long>& memberOf);
    // The address is in no list.
    void LeaveAll() { member_.assign(lists_.size(), false); }
    // Moves the possible list at `index` into the address's lists; false when there is none.
    bool Join(std::size_t possibleIndex);
    // Moves the address's list at `index` back to the possible ones.
    bool Leave(std::size_t memberIndex);
    std::vector<std::string> PossibleNames() const { return Names(false); }
    std::vector<std::string> MemberNames() const { return Names(true); }
    std::vector<long> MemberNums() const;

private:
    std::vector<std::string> Names(bool members) const;
    // The position in lists_ of the index-th list on one side; lists_.size() when there is none.
    std::size_t Nth(bool members, std::size_t index) const;
    std::vector<MailingListRow> lists_;
    std::vector<bool> member_;
};

// A preset address for a new entry as a message shows it: "Name <address>" gives both parts
// (the name without surrounding quotes), anything else is the destination only. Both are cut to
// their columns' widths.
void SplitPresetAddress(const std::string& preset, std::string* name, std::string* dest);

} // namespace lx
