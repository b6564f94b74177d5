// The address pickers' store reads: the addresses of a letter tab, the mailing lists and the
// destinations of a list's members. Portable (store access component only). Rows come in
// blocks of five; a row's texts are cut to their columns' widths. A failed read gives no rows
// and reports the store error to `owner` (none: the caller tells the user itself).
#pragma once
#include "mailer/addressing/logic/addrpick_rules.h"
#include "odbcvant/odbcvant.h"

#include <string>
#include <vector>

namespace lx {

struct AddressRow {
    long addNum = 0; // the whole 32-bit key
    std::string name;
    std::string dest;
};

// Runs `sql` (a RecipientTabQuery, whose columns are AddNum, AddName, AddDest, or an
// AddressTabQuery, whose columns are AddName, AddDest) into `rows`. False on a store error.
bool ReadAddressRows(odbcvantConnection* conn, const std::string& sql, bool withKey,
                     std::vector<AddressRow>* rows, HWND owner);

// Every mailing list by name.
bool ReadMailingLists(odbcvantConnection* conn, std::vector<MailingListRow>* lists, HWND owner);

// The AddDest of every row of a ListMembersQuery, in the store's order.
bool ReadMemberAddresses(odbcvantConnection* conn, long distroNum, bool asTo,
                         std::vector<std::string>* dests, HWND owner);

} // namespace lx
