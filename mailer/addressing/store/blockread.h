// Reading a query's rows a block of five at a time into bound column buffers, as every address
// and mailing-list read does. Portable (store access component only).
#pragma once
#include "mailer/addressing/logic/addrpick_rules.h"
#include "odbcvant/odbcvant.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace lx {

constexpr int kBlockRows = 5;

// One text column of a block: kBlockRows buffers of Len + 1 bytes each.
template <int Len>
struct TextColumn {
    char rows[kBlockRows][Len + 1];
    void Clear() { std::memset(rows, 0, sizeof rows); }
    bool Bind(odbcvantCursor& cursor, int column) {
        return cursor.BindColumns(column, ODBCVANT_TEXT, rows, sizeof rows[0]) != 0;
    }
    // The text of row i, never past its buffer even when the driver filled it to the end.
    std::string At(int i) const { return std::string(rows[i], strnlen(rows[i], Len)); }
};

// The columns any address or mailing-list read binds: keys, a flag (IsTo), a name, a
// destination and a note, for one block of rows. Each read binds the ones its query yields.
struct AddressBlock {
    std::int32_t keys[kBlockRows];
    std::int32_t flags[kBlockRows];
    TextColumn<kAddNameLen> names;
    TextColumn<kAddDestLen> dests;
    TextColumn<kAddNoteLen> notes;
    void Clear() {
        std::memset(keys, 0, sizeof keys);
        std::memset(flags, 0, sizeof flags);
        names.Clear();
        dests.Clear();
        notes.Clear();
    }
    bool BindKeys(odbcvantCursor& cursor, int column) {
        return cursor.BindColumns(column, ODBCVANT_INT32, keys, 0) != 0;
    }
    bool BindFlags(odbcvantCursor& cursor, int column) {
        return cursor.BindColumns(column, ODBCVANT_INT32, flags, 0) != 0;
    }
};

// Binds the columns of `cursor` (`bind`) and walks its result a block at a time; `take` gets each
// filled row index, `block.Clear()` runs before every fetch. False (the error reported to `owner`
// when there is one) when a step fails.
template <typename Block, typename Bind, typename Take>
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

} // namespace lx
