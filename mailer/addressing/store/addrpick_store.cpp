#include "mailer/addressing/store/addrpick_store.h"

#include "mailer/addressing/logic/addrpick_rules.h"
#include "mailer/addressing/store/blockread.h"

namespace lx {

bool ReadAddressRows(odbcvantConnection* conn, const std::string& sql, bool withKey,
                     std::vector<AddressRow>* rows, HWND owner) {
    rows->clear();
    if (!conn) return false;
    odbcvantCursor cursor(conn, sql.c_str());
    AddressBlock block{};
    const int first = withKey ? 2 : 1;
    std::vector<AddressRow> read;
    const bool ok = WalkBlocks(
        cursor, owner, block,
        [&] {
            return (!withKey || block.BindKeys(cursor, 1)) && block.names.Bind(cursor, first) &&
                   block.dests.Bind(cursor, first + 1);
        },
        [&](int i) {
            read.push_back(
                AddressRow{static_cast<long>(block.keys[i]), block.names.At(i), block.dests.At(i)});
        });
    // What was read before a failure stays out: the list is shown whole or not at all.
    if (ok) rows->swap(read);
    return ok;
}

bool ReadMailingLists(odbcvantConnection* conn, std::vector<MailingListRow>* lists, HWND owner) {
    lists->clear();
    if (!conn) return false;
    odbcvantCursor cursor(conn, kMailingListsQuery);
    AddressBlock block{};
    std::vector<MailingListRow> read;
    const bool ok = WalkBlocks(
        cursor, owner, block,
        [&] { return block.BindKeys(cursor, 1) && block.names.Bind(cursor, 2); },
        [&](int i) {
            read.push_back(MailingListRow{static_cast<long>(block.keys[i]),
                                          block.names.At(i).substr(0, kDistroNameLen)});
        });
    if (ok) lists->swap(read);
    return ok;
}

bool ReadMemberAddresses(odbcvantConnection* conn, long distroNum, bool asTo,
                         std::vector<std::string>* dests, HWND owner) {
    dests->clear();
    if (!conn) return false;
    odbcvantCursor cursor(conn, ListMembersQuery(distroNum, asTo).c_str());
    AddressBlock block{};
    std::vector<std::string> read;
    const bool ok = WalkBlocks(
        cursor, owner, block, [&] { return block.dests.Bind(cursor, 1); },
        [&](int i) { read.push_back(block.dests.At(i)); });
    if (ok) dests->swap(read);
    return ok;
}

} // namespace lx
