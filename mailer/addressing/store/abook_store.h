// The address book's store work: the addresses of a letter tab (or of the whole book) with their
// notes, the lists an address is in, saving an address with its memberships and deleting one.
// Portable (store access component only). Failures are reported to `owner` by the store's own
// error report (none: not shown) and the operation is abandoned.
#pragma once
#include "mailer/addressing/logic/abook_rules.h"
#include "odbcvant/odbcvant.h"

#include <string>
#include <vector>

namespace lx {

struct AddressBookRow {
    long addNum = 0;
    std::string name, dest, note;
};

// Every address in name order, for printing and export.
constexpr char kAllAddressesQuery[] =
    "SELECT AddNum, AddName, AddDest, AddNote FROM AddBook ORDER BY AddName";

// Runs an AddressBookTabQuery (or kAllAddressesQuery) into `rows`; false on a store error.
bool ReadAddressBookRows(odbcvantConnection* conn, const std::string& sql,
                         std::vector<AddressBookRow>* rows, HWND owner);
// The DistroNums of the lists address `addNum` is in.
bool ReadMemberships(odbcvantConnection* conn, long addNum, std::vector<long>* distroNums,
                     HWND owner);

struct AddressToSave {
    AddressSaveKind kind = AddressSaveKind::Insert;
    long addNum = -1; // Update: the address shown
    std::string name, dest, note;
    std::vector<long> lists; // the lists it is to be in (as a To member)
};

enum class AddressSaveOutcome {
    Saved,
    NoMembershipTable,  // the DistroAdd description cannot be made: nothing saved, not reported
    NotSaved,           // the address row was refused (reported)
    KeyNotFound,        // inserted, but its key could not be told apart: no memberships
    MembershipsNotSaved // the row is saved; a membership was refused (reported)
};
// Update: the row's three columns, then its memberships replaced. Insert: the row, its key
// learned, then its memberships. Texts are cut to their columns' widths; any text works (values
// are bound, never spliced into SQL).
AddressSaveOutcome SaveAddress(odbcvantConnection* conn, const AddressToSave& address, HWND owner,
                               long* addNum);

// Deletes the address's memberships and then the address itself, so that no mailing list keeps
// a member that no longer exists.
bool DeleteAddress(odbcvantConnection* conn, long addNum, HWND owner);
// Deletes the DistroAdd rows that meet `condition` ("AddNum = n" or "DistroNum = n"), then the
// rows of `table` that meet it.
bool DeleteWithMemberships(odbcvantConnection* conn, const char* table,
                           const std::string& condition, HWND owner);

// Inserts DistroAdd rows (list, address, IsTo) through one table description; false at the first
// refusal (reported).
struct MemberRow {
    long distroNum = 0;
    long addNum = 0;
    bool isTo = true;
};
bool InsertMemberRows(odbcvantConnection* conn, odbcvantTableInfo* distroAdd,
                      const std::vector<MemberRow>& rows, HWND owner);

} // namespace lx
