// "Build Mailing List"'s portable rules: its list entries ("name<TAB>AddNum"), the To and Cc
// members being picked, the member query, and whether a list name is taken.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lx {

// One address of the address list or of TO Names / CC Names.
struct ListEntry {
    long addNum = 0;
    std::string name;
};
// "%s\t%d": the name, a TAB and the AddNum in decimal.
std::string ListEntryText(const ListEntry& entry);
// The number after the last TAB; false when the text has none.
bool ParseListEntry(const std::string& text, ListEntry* entry);

// The members of one list as they are picked: an address is in TO Names, in CC Names or in
// neither, never in both.
class ListMembers {
public:
    void Set(std::vector<ListEntry> to, std::vector<ListEntry> cc);
    // Appends each entry that is in neither list to TO Names (`to`) or CC Names; the count added.
    int Add(const std::vector<ListEntry>& entries, bool to);
    // Removes the entries at the given indexes of TO Names or CC Names (any order, repeats allowed).
    void Remove(std::vector<int> indexes, bool to);
    bool Contains(long addNum) const;
    const std::vector<ListEntry>& To() const { return to_; }
    const std::vector<ListEntry>& Cc() const { return cc_; }

private:
    std::vector<ListEntry> to_;
    std::vector<ListEntry> cc_;
};

// "Select ab.AddNum, ab.AddName, da.IsTo From AddBook ab, DistroAdd da Where ..." of list n.
std::string ListEntriesQuery(long distroNum);
// "Select ab.AddName, ab.AddDest, ab.AddNote, da.IsTo From AddBook ab, DistroAdd da Where ..." of
// list n, for printing it.
std::string ListPrintQuery(long distroNum);
// "SELECT AddNum, AddName FROM AddBook WHERE AddName LIKE ... ORDER BY AddName" of a letter tab.
std::string ListAddressTabQuery(int tab);

// A name is taken when a list other than `ownNum` (-1: a new list) already carries it: `holders`
// are the DistroNums of the lists with that name.
bool ListNameTaken(const std::vector<long>& holders, long ownNum);

} // namespace lx
