#include "mailer/addressing/store/distro_store.h"

#include "common/schema/newkey.h"
#include "common/schema/sqlforms.h"
#include "common/schema/storetables.h"
#include "mailer/addressing/logic/addrpick_rules.h"
#include "mailer/addressing/store/abook_store.h"
#include "mailer/addressing/store/blockread.h"

namespace lx {
namespace {

// The DistroNums of the lists named `name`.
bool ListsNamed(odbcvantConnection* conn, const std::string& name, std::vector<long>* nums,
                HWND owner) {
    nums->clear();
    odbcvantCursor cursor(conn, SqlFindDistribution(name).c_str());
    AddressBlock block{};
    return WalkBlocks(
        cursor, owner, block, [&] { return block.BindKeys(cursor, 1); },
        [&](int i) { nums->push_back(static_cast<long>(block.keys[i])); });
}

} // namespace

bool ReadListEntries(odbcvantConnection* conn, const std::string& sql,
                     std::vector<ListEntry>* entries, HWND owner) {
    entries->clear();
    if (!conn) return false;
    odbcvantCursor cursor(conn, sql.c_str());
    AddressBlock block{};
    std::vector<ListEntry> read;
    const bool ok = WalkBlocks(
        cursor, owner, block,
        [&] { return block.BindKeys(cursor, 1) && block.names.Bind(cursor, 2); },
        [&](int i) {
            read.push_back(ListEntry{block.keys[i], block.names.At(i)});
        });
    if (ok) entries->swap(read);
    return ok;
}

bool ReadListMembers(odbcvantConnection* conn, long distroNum, std::vector<ListEntry>* to,
                     std::vector<ListEntry>* cc, HWND owner) {
    to->clear();
    cc->clear();
    if (!conn) return false;
    odbcvantCursor cursor(conn, ListEntriesQuery(distroNum).c_str());
    AddressBlock block{};
    std::vector<ListEntry> readTo, readCc;
    const bool ok = WalkBlocks(
        cursor, owner, block,
        [&] {
            return block.BindKeys(cursor, 1) && block.names.Bind(cursor, 2) &&
                   block.BindFlags(cursor, 3);
        },
        [&](int i) {
            (block.flags[i] ? readTo : readCc)
                .push_back(ListEntry{block.keys[i], block.names.At(i)});
        });
    if (ok) {
        to->swap(readTo);
        cc->swap(readCc);
    }
    return ok;
}

bool ReadPrintedMembers(odbcvantConnection* conn, long distroNum,
                        std::vector<PrintedMember>* members, HWND owner) {
    members->clear();
    if (!conn) return false;
    odbcvantCursor cursor(conn, ListPrintQuery(distroNum).c_str());
    AddressBlock block{};
    std::vector<PrintedMember> read;
    const bool ok = WalkBlocks(
        cursor, owner, block,
        [&] {
            return block.names.Bind(cursor, 1) && block.dests.Bind(cursor, 2) &&
                   block.notes.Bind(cursor, 3) && block.BindFlags(cursor, 4);
        },
        [&](int i) {
            read.push_back(PrintedMember{block.names.At(i), block.dests.At(i), block.notes.At(i),
                                         block.flags[i] != 0});
        });
    if (ok) members->swap(read);
    return ok;
}

ListSaveOutcome SaveMailingList(odbcvantConnection* conn, const ListToSave& list, HWND owner,
                                long* distroNum) {
    if (distroNum) *distroNum = list.distroNum;
    const std::string name = FitText(list.name, kDistroNameLen);
    std::vector<long> holders;
    if (!ListsNamed(conn, name, &holders, owner)) return ListSaveOutcome::NotSaved;
    if (ListNameTaken(holders, list.distroNum)) return ListSaveOutcome::NameTaken;

    odbcvantTableInfo distribution(conn, "Distribution");
    ODBCVANT_PBIND p;
    odbcvantSetParamBind(p, "DistroName", name.c_str());
    long key = list.distroNum;
    odbcvantStmt stmt(conn, &distribution);
    if (key < 0) {
        if (!ReportedOutcome(stmt, stmt.PrepareInsert(&p, 1) && stmt.InsertRow(), owner))
            return ListSaveOutcome::NotSaved;
        key = FindNewRowKey(conn, SqlFindDistribution(name), "DistroNum");
        if (key <= 0) return ListSaveOutcome::KeyNotFound;
    } else {
        const std::string row = ConditionDistroNum(static_cast<int>(key));
        if (!ReportedOutcome(stmt, stmt.PrepareUpdate(&p, 1, row.c_str()) && stmt.UpdateRow(),
                             owner))
            return ListSaveOutcome::NotSaved;
    }
    if (distroNum) *distroNum = key;

    odbcvantTableInfo distroAdd(conn, "DistroAdd");
    if (!DeleteRowsWhere(conn, &distroAdd, ConditionDistroNum(static_cast<int>(key)), owner))
        return ListSaveOutcome::NotSaved;
    std::vector<MemberRow> members;
    for (const ListEntry& e : list.to) members.push_back(MemberRow{key, e.addNum, true});
    for (const ListEntry& e : list.cc) members.push_back(MemberRow{key, e.addNum, false});
    return InsertMemberRows(conn, &distroAdd, members, owner) ? ListSaveOutcome::Saved
                                                              : ListSaveOutcome::MembersNotSaved;
}

bool DeleteMailingList(odbcvantConnection* conn, long distroNum, HWND owner) {
    return DeleteWithMemberships(conn, "Distribution",
                                 ConditionDistroNum(static_cast<int>(distroNum)), owner);
}

} // namespace lx
