#include "mailer/addressing/store/addrpick_store.h"

#include "mailer/addressing/logic/addrpick_rules.h"

#include <cstdint>
#include <cstring>

namespace lx {
namespace {

constexpr int kBlockRows = 5;

// One text column of a block: kBlockRows buffers of Size bytes each.
template <int Len>
struct TextColumn {
    char rows[kBlockRows][Len + 1];
    void Clear() { std::memset(rows, 0, sizeof rows); }
    // The text of row i, never past its buffer even when the driver filled it to the end.
    std::string At(int i) const { return std::string(rows[i], strnlen(rows[i], Len)); }
};

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

// Binds the columns of `cursor` and walks its result a block at a time; `take` gets each filled
// row index, `block` is cleared before every fetch. False (the error reported) when a step fails.
template <typename Bind, typename Take>
bool WalkBlocks(odbcvantCursor& cursor, HWND owner, Block& block, Bind bind, Take take) {
    if (!cursor.IsValid() || !cursor.SetRowSetSize(kBlockRows) || !bind() ||
        !cursor.ExecuteStmt()) {
        if (owner) cursor.ReportError(owner);
        return false;
    }
    int filled = 0;
    block.Clear();
    bool more = cursor.FetchFirst(&filled) != 0;
    while (more && filled > 0) {
        for (int i = 0; i < filled && i < kBlockRows; ++i) take(i);
        block.Clear();
        more = cursor.FetchNext(&filled) != 0;
    }
    if (filled < 0) {
        if (owner) cursor.ReportError(owner);
        return false;
    }
    return true;
}

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
