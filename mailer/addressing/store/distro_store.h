// The mailing lists' store work: the addresses of a letter tab for picking, a list's members as
// To and Cc entries or as printed rows, saving a list under a name no other list carries, and
// deleting a list. Portable (store access component only). Failures are reported to `owner` by
// the store's own error report (none: not shown).
#pragma once
#include "mailer/addressing/logic/distroli_rules.h"
#include "odbcvant/odbcvant.h"

#include <string>
#include <vector>

namespace lx {

// Runs a ListAddressTabQuery (AddNum, AddName) into `entries`.
bool ReadListEntries(odbcvantConnection* conn, const std::string& sql,
                     std::vector<ListEntry>* entries, HWND owner);
// The members of list `distroNum`, by name: To members into `to`, the others into `cc`.
bool ReadListMembers(odbcvantConnection* conn, long distroNum, std::vector<ListEntry>* to,
                     std::vector<ListEntry>* cc, HWND owner);

struct PrintedMember {
    std::string name, dest, note;
    bool isTo = true;
};
// The members of a list with their addresses and notes, by name.
bool ReadPrintedMembers(odbcvantConnection* conn, long distroNum,
                        std::vector<PrintedMember>* members, HWND owner);

struct ListToSave {
    long distroNum = -1; // -1: a new list
    std::string name;
    std::vector<ListEntry> to, cc;
};

enum class ListSaveOutcome {
    Saved,
    NameTaken,      // another list carries the name: nothing saved, not reported
    NotSaved,       // the list row, or removing its old members, was refused (reported)
    KeyNotFound,    // a new list is stored but its key could not be told apart: no members
    MembersNotSaved // the list is saved; a member was refused (reported)
};
// A new list is inserted and its key learned; an existing one renamed (its own name is allowed).
// Then its members are replaced: every To entry, then every Cc entry.
ListSaveOutcome SaveMailingList(odbcvantConnection* conn, const ListToSave& list, HWND owner,
                                long* distroNum);

// Deletes the list's members and then the list itself, so that no membership is left without
// its list.
bool DeleteMailingList(odbcvantConnection* conn, long distroNum, HWND owner);

} // namespace lx
