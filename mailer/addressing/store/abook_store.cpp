#include "mailer/addressing/store/abook_store.h"

#include "common/schema/newkey.h"
#include "common/schema/sqlforms.h"
#include "common/schema/storetables.h"
#include "mailer/addressing/store/blockread.h"

namespace lx {
namespace {

// The row's three text columns bound for an insert or an update.
struct AddressValues {
    explicit AddressValues(const AddressToSave& a)
        : name(FitText(a.name, kAddNameLen)), dest(FitText(a.dest, kAddDestLen)),
          note(FitText(a.note, kAddNoteLen)) {
        odbcvantSetParamBind(binds[0], "AddName", name.c_str());
        odbcvantSetParamBind(binds[1], "AddDest", dest.c_str());
        odbcvantSetParamBind(binds[2], "AddNote", note.c_str());
    }
    std::string name, dest, note;
    ODBCVANT_PBIND binds[3];
};

} // namespace

bool ReadAddressBookRows(odbcvantConnection* conn, const std::string& sql,
                         std::vector<AddressBookRow>* rows, HWND owner) {
    rows->clear();
    if (!conn) return false;
    odbcvantCursor cursor(conn, sql.c_str());
    AddressBlock block{};
    std::vector<AddressBookRow> read;
    const bool ok = WalkBlocks(
        cursor, owner, block,
        [&] {
            return block.BindKeys(cursor, 1) && block.names.Bind(cursor, 2) &&
                   block.dests.Bind(cursor, 3) && block.notes.Bind(cursor, 4);
        },
        [&](int i) {
            read.push_back(AddressBookRow{static_cast<long>(block.keys[i]), block.names.At(i),
                                          block.dests.At(i), block.notes.At(i)});
        });
    // A list is shown whole or not at all.
    if (ok) rows->swap(read);
    return ok;
}

bool ReadMemberships(odbcvantConnection* conn, long addNum, std::vector<long>* distroNums,
                     HWND owner) {
    distroNums->clear();
    if (!conn) return false;
    const std::string sql =
        "SELECT DistroNum FROM DistroAdd WHERE " + ConditionAddNum(static_cast<int>(addNum));
    odbcvantCursor cursor(conn, sql.c_str());
    AddressBlock block{};
    return WalkBlocks(
        cursor, owner, block, [&] { return block.BindKeys(cursor, 1); },
        [&](int i) { distroNums->push_back(static_cast<long>(block.keys[i])); });
}

bool InsertMemberRows(odbcvantConnection* conn, odbcvantTableInfo* distroAdd,
                      const std::vector<MemberRow>& rows, HWND owner) {
    for (const MemberRow& row : rows) {
        SQLINTEGER list = static_cast<SQLINTEGER>(row.distroNum);
        SQLINTEGER address = static_cast<SQLINTEGER>(row.addNum);
        // A flag column moves through a 16-bit field on every engine (bit or smallint).
        SQLSMALLINT isTo = row.isTo ? 1 : 0;
        ODBCVANT_PBIND p[3];
        odbcvantSetParamBind(p[0], "DistroNum", &list);
        odbcvantSetParamBind(p[1], "AddNum", &address);
        odbcvantSetParamBind(p[2], "IsTo", &isTo);
        odbcvantStmt stmt(conn, distroAdd);
        if (!ReportedOutcome(stmt, stmt.PrepareInsert(p, 3) && stmt.InsertRow(), owner))
            return false;
    }
    return true;
}

AddressSaveOutcome SaveAddress(odbcvantConnection* conn, const AddressToSave& address, HWND owner,
                               long* addNum) {
    if (addNum) *addNum = -1;
    odbcvantTableInfo distroAdd(conn, "DistroAdd");
    if (!distroAdd.IsValid()) return AddressSaveOutcome::NoMembershipTable;
    odbcvantTableInfo addBook(conn, "AddBook");
    AddressValues values(address);
    long key = address.addNum;
    if (address.kind == AddressSaveKind::Update) {
        const std::string row = ConditionAddNum(static_cast<int>(key));
        odbcvantStmt update(conn, &addBook);
        if (!ReportedOutcome(
                update, update.PrepareUpdate(values.binds, 3, row.c_str()) && update.UpdateRow(),
                owner))
            return AddressSaveOutcome::NotSaved;
        if (!DeleteRowsWhere(conn, &distroAdd, row, owner))
            return AddressSaveOutcome::MembershipsNotSaved;
    } else {
        odbcvantStmt insert(conn, &addBook);
        if (!ReportedOutcome(insert, insert.PrepareInsert(values.binds, 3) && insert.InsertRow(),
                             owner))
            return AddressSaveOutcome::NotSaved;
        // The values are quoted for the look-up, so an apostrophe in them finds the row too; the
        // store's own new key tells apart two entries of the same name and address.
        key = FindNewRowKey(conn, SqlFindAddress(values.name, values.dest), "AddNum");
        if (key <= 0) return AddressSaveOutcome::KeyNotFound;
    }
    if (addNum) *addNum = key;
    std::vector<MemberRow> members;
    for (const long list : address.lists) members.push_back(MemberRow{list, key, true});
    return InsertMemberRows(conn, &distroAdd, members, owner)
               ? AddressSaveOutcome::Saved
               : AddressSaveOutcome::MembershipsNotSaved;
}

bool DeleteWithMemberships(odbcvantConnection* conn, const char* table,
                           const std::string& condition, HWND owner) {
    odbcvantTableInfo distroAdd(conn, "DistroAdd");
    odbcvantTableInfo parent(conn, table);
    return DeleteRowsWhere(conn, &distroAdd, condition, owner) &&
           DeleteRowsWhere(conn, &parent, condition, owner);
}

bool DeleteAddress(odbcvantConnection* conn, long addNum, HWND owner) {
    return DeleteWithMemberships(conn, "AddBook", ConditionAddNum(static_cast<int>(addNum)), owner);
}

} // namespace lx
