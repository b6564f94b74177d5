// The address pickers' portable rules: the nine letter tabs and their queries, the To and Cc
// lists with their duplicate test, the texts the pickers return, and the member queries of a
// mailing list.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lx {

// Widths of the address book's and the mailing lists' text columns.
constexpr int kAddNameLen = 48;
constexpr int kAddDestLen = 80;
constexpr int kAddNoteLen = 80;
constexpr int kDistroNameLen = 32;

// The text up to its first NUL, cut to `width` characters (a column's width).
std::string FitText(const std::string& value, int width);

struct MailingListRow {
    long distroNum = 0;
    std::string name;
};

constexpr int kLetterTabCount = 9;
// "ABC", "DEF", ... "VW", "XYZ".
const char* LetterTabLabel(int tab);

// The conditions that follow "WHERE AddName LIKE " for a tab: each letter in upper case, then
// each in lower case, so that the tab finds the same names on engines whose LIKE respects case.
// A name that does not begin with a letter A to Z or a to z is listed under no tab. An unknown
// tab gives the conditions of the first.
std::string LetterTabConditions(int tab);
// "SELECT <columns> FROM AddBook WHERE AddName LIKE ... ORDER BY AddName" for a tab.
std::string TabQuery(const char* columns, int tab);
// "SELECT AddNum, AddName, AddDest FROM AddBook WHERE AddName LIKE ... ORDER BY AddName".
std::string RecipientTabQuery(int tab);
// "SELECT AddName, AddDest FROM AddBook WHERE AddName LIKE ... ORDER BY AddName".
std::string AddressTabQuery(int tab);
// "SELECT AddNum, AddName, AddDest, AddNote FROM AddBook WHERE AddName LIKE ... ORDER BY AddName".
std::string AddressBookTabQuery(int tab);

constexpr char kMailingListsQuery[] = "SELECT * FROM Distribution ORDER BY DistroName";
// The destinations of a list's members sent as To (`asTo`) or as Cc.
std::string ListMembersQuery(long distroNum, bool asTo);

// Lines of a list (or a result text) joined with CR LF, no separator after the last.
std::string JoinLines(const std::vector<std::string>& lines);

// The To and Cc entries being picked. An address is taken only when no entry of either list is
// exactly equal to it (case counts), so an address is never in both lists; entries keep the
// order in which they were added.
class RecipientLists {
public:
    // True when the address was added; an empty address is never added.
    bool AddTo(const std::string& address);
    bool AddCc(const std::string& address);
    // Removes the entry at `index` of the list; false when there is none.
    bool RemoveTo(std::size_t index);
    bool RemoveCc(std::size_t index);
    bool Contains(const std::string& address) const;

    const std::vector<std::string>& To() const { return to_; }
    const std::vector<std::string>& Cc() const { return cc_; }
    std::string ToText() const { return JoinLines(to_); }
    std::string CcText() const { return JoinLines(cc_); }

private:
    bool Add(std::vector<std::string>& list, const std::string& address);
    static bool Remove(std::vector<std::string>& list, std::size_t index);
    std::vector<std::string> to_;
    std::vector<std::string> cc_;
};

} // namespace lx
