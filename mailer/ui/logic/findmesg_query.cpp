#include "mailer/ui/logic/findmesg_query.h"

#include "common/schema/sqlforms.h"
#include "common/schema/subject.h"

namespace lx {

namespace {

constexpr char kSearchSelect[] =
    "SELECT M.MesgNum, M.FromAdd, M.Subject, M.AppDate, M.MesgType, M.MesgSize, M.FolderNum "
    "FROM Messages M WHERE ";

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool Digits(const std::string& text, size_t from, size_t count, int* value) {
    *value = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        *value = *value * 10 + (text[i] - '0');
    }
    return true;
}

bool ParseSearchDate(const std::string& text, StoreTime* date) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    int year = 0, month = 0, day = 0;
    if (!Digits(text, 0, 4, &year) || !Digits(text, 5, 2, &month) || !Digits(text, 8, 2, &day))
        return false;
    if (year < 1 || month < 1 || month > 12 || day < 1) return false;
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int days = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    if (day > days) return false;
    *date = StoreTime{year, month, day, 0, 0, 0};
    return true;
}

// UPPER(column) equal to the user's text in upper case.
std::string EqualCondition(const char* column, const std::string& text) {
    return std::string("UPPER(") + column + ") = " + SqlQuote(UpperAscii(text));
}

// UPPER(column) LIKE prefix + the user's text in upper case (matched literally) + suffix.
std::string LikeCondition(const char* column, const std::string& text, const char* prefix,
                          const char* suffix) {
    return std::string("UPPER(") + column + ") LIKE '" + prefix +
           SqlEscape(LikeLiteral(UpperAscii(text))) + suffix + "' ESCAPE '" + kLikeEscape + "'";
}

std::string DateCondition(const char* op, const std::string& text, int hour, int minute,
                          int second) {
    StoreTime date;
    ParseSearchDate(text, &date);
    date.hour = hour;
    date.minute = minute;
    date.second = second;
    return std::string("M.AppDate ") + op + " " + TimestampLiteral(date);
}

} // namespace

bool SearchFieldsEmpty(const SearchFields& f) {
    return f.sender.empty() && f.subject.empty() && f.beginDate.empty() && f.endDate.empty();
}

bool IsSearchDate(const std::string& text) {
    StoreTime date;
    return ParseSearchDate(text, &date);
}

SearchDateFault CheckSearchDates(const SearchFields& f) {
    if (!f.beginDate.empty() && !IsSearchDate(f.beginDate)) return SearchDateFault::Begin;
    if (!f.endDate.empty() && !IsSearchDate(f.endDate)) return SearchDateFault::End;
    return SearchDateFault::None;
}

std::string LikeLiteral(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '%' || c == '_' || c == kLikeEscape) out += kLikeEscape;
        out += c;
    }
    return out;
}

std::string SearchSql(const SearchFields& f) {
    std::string sql = kSearchSelect;
    bool first = true;
    auto add = [&](const std::string& condition) {
        if (!first) sql += " AND ";
        sql += condition;
        first = false;
    };
    if (!f.sender.empty())
        add(f.senderExact ? EqualCondition("M.FromAdd", f.sender)
                          : LikeCondition("M.FromAdd", f.sender, "%", "%"));
    // The subject text stands before the flag suffix ("&&", letter, "&", letter).
    if (!f.subject.empty())
        add(f.subjectExact ? LikeCondition("M.Subject", f.subject, "", "&&_&_")
                           : LikeCondition("M.Subject", f.subject, "%", "%&&_&_"));
    if (!f.beginDate.empty()) add(DateCondition(">=", f.beginDate, 0, 0, 0));
    if (!f.endDate.empty()) add(DateCondition("<=", f.endDate, 23, 59, 59));
    return sql + kSqlMessageListOrder;
}

std::string SearchRowText(char mesgType, const std::string& storedSubject, const StoreTime& appDate,
                          const std::string& fromAdd, const std::string& firstTo,
                          const MonthNames& months) {
    std::string address = (mesgType == 'O' && !firstTo.empty()) ? firstTo : fromAdd;
    if (address.size() > kSearchAddressShown) address.resize(kSearchAddressShown);
    std::string subject = ParseSubject(storedSubject).shown;
    if (subject.size() > kSearchSubjectShown) subject.resize(kSearchSubjectShown);
    return DateField(appDate, months) + "\t" + address + "\t" + subject;
}

} // namespace lx
