#include "mailer/addressing/logic/distroli_rules.h"

#include "mailer/addressing/logic/addrpick_rules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace lx {

std::string ListEntryText(const ListEntry& entry) {
    return entry.name + "\t" + std::to_string(entry.addNum);
}

bool ParseListEntry(const std::string& text, ListEntry* entry) {
    const std::size_t tab = text.rfind('\t');
    if (tab == std::string::npos || tab + 1 >= text.size()) return false;
    char* end = nullptr;
    const long num = std::strtol(text.c_str() + tab + 1, &end, 10);
    if (!end || *end != '\0') return false;
    entry->addNum = num;
    entry->name = text.substr(0, tab);
    return true;
}

void ListMembers::Set(std::vector<ListEntry> to, std::vector<ListEntry> cc) {
    to_ = std::move(to);
    cc_ = std::move(cc);
}

int ListMembers::Add(const std::vector<ListEntry>& entries, bool to) {
    int added = 0;
    for (const ListEntry& entry : entries) {
        if (Contains(entry.addNum)) continue;
        (to ? to_ : cc_).push_back(entry);
        ++added;
    }
    return added;
}

void ListMembers::Remove(std::vector<int> indexes, bool to) {
    std::vector<ListEntry>& list = to ? to_ : cc_;
    // From the last index down, so that every index still names the entry it named.
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    for (auto i = indexes.rbegin(); i != indexes.rend(); ++i)
        if (*i >= 0 && static_cast<std::size_t>(*i) < list.size()) list.erase(list.begin() + *i);
}

bool ListMembers::Contains(long addNum) const {
    const auto same = [addNum](const ListEntry& e) { return e.addNum == addNum; };
    return std::any_of(to_.begin(), to_.end(), same) || std::any_of(cc_.begin(), cc_.end(), same);
}

namespace {

std::string MembersQuery(const char* columns, long distroNum) {
    char sql[400];
    std::snprintf(sql, sizeof sql,
                  "Select %s From AddBook ab, DistroAdd da Where ab.AddNum In ( Select AddNum "
                  "From DistroAdd Where DistroNum = %ld ) AND ab.AddNum = da.AddNum  AND "
                  "da.DistroNum = %ld ORDER BY AddName",
                  columns, distroNum, distroNum);
    return sql;
}

} // namespace

std::string ListEntriesQuery(long distroNum) {
    return MembersQuery("ab.AddNum, ab.AddName, da.IsTo", distroNum);
}

std::string ListPrintQuery(long distroNum) {
    return MembersQuery("ab.AddName, ab.AddDest, ab.AddNote, da.IsTo", distroNum);
}

std::string ListAddressTabQuery(int tab) { return TabQuery("AddNum, AddName", tab); }

bool ListNameTaken(const std::vector<long>& holders, long ownNum) {
    return std::any_of(holders.begin(), holders.end(),
                       [ownNum](long num) { return num >= 1 && num != ownNum; });
}

} // namespace lx
