#include "mailer/addressing/logic/addrpick_rules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace lx {
namespace {

constexpr const char* kTabLetters[kLetterTabCount] = {"ABC", "DEF", "GHI", "JKL", "MNO",
                                                      "PQR", "STU", "VW",  "XYZ"};

const char* LettersOf(int tab) { return kTabLetters[tab >= 0 && tab < kLetterTabCount ? tab : 0]; }

} // namespace

std::string FitText(const std::string& value, int width) {
    std::string text(value.c_str());
    if (width >= 0 && text.size() > static_cast<std::size_t>(width))
        text.resize(static_cast<std::size_t>(width));
    return text;
}

const char* LetterTabLabel(int tab) { return LettersOf(tab); }

std::string LetterTabConditions(int tab) {
    const std::string letters = LettersOf(tab);
    std::string conditions;
    // Upper case first, then lower case: the store's LIKE may or may not respect case.
    for (const bool lower : {false, true}) {
        for (const char letter : letters) {
            if (!conditions.empty()) conditions += " OR AddName LIKE ";
            conditions += '\'';
            conditions += lower
                              ? static_cast<char>(std::tolower(static_cast<unsigned char>(letter)))
                              : letter;
            conditions += "%'";
        }
    }
    return conditions;
}

std::string TabQuery(const char* columns, int tab) {
    return std::string("SELECT ") + columns + " FROM AddBook WHERE AddName LIKE " +
           LetterTabConditions(tab) + " ORDER BY AddName";
}

std::string RecipientTabQuery(int tab) { return TabQuery("AddNum, AddName, AddDest", tab); }

std::string AddressTabQuery(int tab) { return TabQuery("AddName, AddDest", tab); }

std::string AddressBookTabQuery(int tab) {
    return TabQuery("AddNum, AddName, AddDest, AddNote", tab);
}

std::string ListMembersQuery(long distroNum, bool asTo) {
    char sql[200];
    std::snprintf(sql, sizeof sql,
                  "SELECT AddDest FROM AddBook WHERE AddNum IN (SELECT AddNum FROM DistroAdd "
                  "WHERE DistroNum = %ld AND IsTo %s 1)",
                  distroNum, asTo ? "=" : "<>");
    return sql;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) text += "\r\n";
        text += lines[i];
    }
    return text;
}

bool RecipientLists::AddTo(const std::string& address) { return Add(to_, address); }
bool RecipientLists::AddCc(const std::string& address) { return Add(cc_, address); }
bool RecipientLists::RemoveTo(std::size_t index) { return Remove(to_, index); }
bool RecipientLists::RemoveCc(std::size_t index) { return Remove(cc_, index); }

bool RecipientLists::Contains(const std::string& address) const {
    return std::find(to_.begin(), to_.end(), address) != to_.end() ||
           std::find(cc_.begin(), cc_.end(), address) != cc_.end();
}

bool RecipientLists::Add(std::vector<std::string>& list, const std::string& address) {
    // A row without a destination gives nothing to send to.
    if (address.empty() || Contains(address)) return false;
    list.push_back(address);
    return true;
}

bool RecipientLists::Remove(std::vector<std::string>& list, std::size_t index) {
    if (index >= list.size()) return false;
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

} // namespace lx
