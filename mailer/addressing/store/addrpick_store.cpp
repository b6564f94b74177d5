#include "mailer/addressing/store/addrpick_store.h"

#include "mailer/addressing/logic/addrpick_rules.h"
#include "mailer/addressing/store/blockread.h"

#include <cstdint>
#include <cstring>

namespace lx {
namespace {

struct Block {
    std::int32_t keys[kBlockRows];
    TextColumn<kAddNameLen> names;
    TextColumn<kAddDestLen> dests;
    void Clear() {
        std::memset(keys, 0, sizeof keys);
        names.Clear();
        dests.Clear();
    }
};

} // namespace

bool ReadAddressRows(odbcvantConnection* conn, const std::string& sql, bool withKey,
                     std::vector<AddressRow>* rows, HWND owner) {
    rows->clear();
    if (!conn) return false;
    odbcvantCursor cursor(conn, sql.c_str());
    Block block{};
    const int first = withKey ? 2 : 1;
    std::vector<AddressRow> read;
    const bool ok = WalkBlocks(
        cursor, owner, block,
        [&] {
            return (!withKey || cursor.BindColumns(1, ODBCVANT_INT32, block.keys, 0)) &&
                   cursor.BindColumns(first, ODBCVANT_TEXT, block.names.rows,
                                      sizeof block.names.rows[0]) &&
                   cursor.BindColumns(first + 1, ODBCVANT_TEXT, block.dests.rows,
                                      sizeof block.dests.rows[0]);
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
    Block block{};
    std::vector<MailingListRow> read;
    const bool ok = WalkBlocks(
        cursor, owner, block,
        [&] {
            return cursor.BindColumns(1, ODBCVANT_INT32, block.keys, 0) &&
                   cursor.BindColumns(2, ODBCVANT_TEXT, block.names.rows,
                                      sizeof block.names.rows[0]);
        },
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
    Block block{};
    std::vector<std::string> read;
    const bool ok = WalkBlocks(
        cursor, owner, block,
        [&] {
            return cursor.BindColumns(1, ODBCVANT_TEXT, block.dests.rows,
                                      sizeof block.dests.rows[0]);
        },
        [&](int i) { read.push_back(block.dests.At(i)); });
    if (ok) dests->swap(read);
    return ok;
}

} // namespace lx
