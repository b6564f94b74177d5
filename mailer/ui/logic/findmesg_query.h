// The message search's rules: checking the typed dates, the query made of the filled-in fields,
// and the text of one result row. Portable.
#pragma once
#include "mailer/ui/logic/mailmess_rows.h"

#include <string>

namespace lx {

// What the user typed into the "Message Search" dialog.
struct SearchFields {
    std::string sender;
    bool senderExact = false;
    std::string subject;
    bool subjectExact = false;
    std::string beginDate; // YYYY-MM-DD
    std::string endDate;   // YYYY-MM-DD
};

// All four texts empty: there is nothing to search for.
bool SearchFieldsEmpty(const SearchFields& fields);

// A real calendar date written YYYY-MM-DD (years 0001 to 9999, months 1 to 12, the month's days,
// 29 February in leap years only).
bool IsSearchDate(const std::string& text);

// Which date field holds a text that is not such a date.
enum class SearchDateFault { None, Begin, End };
SearchDateFault CheckSearchDates(const SearchFields& fields);

// The query: every filled-in field gives one condition, joined with AND, newest first.
//  - sender and subject compare in upper case, the user's text quoted for SQL and its LIKE
//    wildcards (% and _) matched literally;
//  - a subject is compared with the subject text before its flag suffix, so "Exact Match" finds
//    a stored subject equal to the text, and a partial text is not matched against the flags;
//  - the begin date takes its whole first day (from 00:00:00), the end date its whole last day.
// The dates must have passed CheckSearchDates.
std::string SearchSql(const SearchFields& fields);

// A text for inside a LIKE pattern that matches itself only: %, _ and the escape character are
// escaped with kLikeEscape (the query's ESCAPE clause names it). Not yet quoted for SQL.
constexpr char kLikeEscape = '!';
std::string LikeLiteral(const std::string& text);

// Result rows show at most this much of the address and of the subject.
constexpr size_t kSearchAddressShown = 32;
constexpr size_t kSearchSubjectShown = 48;

// One result row: date, TAB, address, TAB, subject. Own mail ("O") shows its first recipient
// when it has one; the subject is shown without its flag suffix.
std::string SearchRowText(char mesgType, const std::string& storedSubject, const StoreTime& appDate,
                          const std::string& fromAdd, const std::string& firstTo,
                          const MonthNames& months);

} // namespace lx
