// The message search's rules: the typed dates, the query made of the fields, the result rows.
#include "mailer/ui/logic/findmesg_query.h"

#include "common/schema/subject.h"
#include "tests/search/fields.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using lxtest::Dates;
using lxtest::Sender;
using lxtest::Subject;

const std::string kSelect =
    "SELECT M.MesgNum, M.FromAdd, M.Subject, M.AppDate, M.MesgType, M.MesgSize, M.FolderNum "
    "FROM Messages M WHERE ";
const std::string kOrder = " ORDER BY M.AppDate DESC";

struct QueryCase {
    const char* name;
    lx::SearchFields fields;
    std::string where;
};

void PrintTo(const QueryCase& c, std::ostream* os) { *os << c.name; }

class SearchQuery : public ::testing::TestWithParam<QueryCase> {};

TEST_P(SearchQuery, Where) {
    EXPECT_EQ(lx::SearchSql(GetParam().fields), kSelect + GetParam().where + kOrder);
}

lx::SearchFields All() {
    lx::SearchFields f = Sender("ann@", false);
    f.subject = "Plan";
    f.subjectExact = true;
    f.beginDate = "2026-01-31";
    f.endDate = "2026-02-28";
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SearchQuery,
    ::testing::Values(QueryCase{"SenderExact", Sender("Ann@Example.org", true),
                                "UPPER(M.FromAdd) = 'ANN@EXAMPLE.ORG'"},
                      QueryCase{"SenderPartial", Sender("example", false),
                                "UPPER(M.FromAdd) LIKE '%EXAMPLE%' ESCAPE '!'"},
                      QueryCase{"SenderExactApostrophe", Sender("o'neil@x.ie", true),
                                "UPPER(M.FromAdd) = 'O''NEIL@X.IE'"},
                      QueryCase{"SenderWildcardsLiteral", Sender("a_b%c!d", false),
                                "UPPER(M.FromAdd) LIKE '%A!_B!%C!!D%' ESCAPE '!'"},
                      QueryCase{"SubjectExactBeforeFlags", Subject("Tom's plan", true),
                                "UPPER(M.Subject) LIKE 'TOM''S PLAN&&_&_' ESCAPE '!'"},
                      QueryCase{"SubjectPartialBeforeFlags", Subject("100% sure", false),
                                "UPPER(M.Subject) LIKE '%100!% SURE%&&_&_' ESCAPE '!'"},
                      QueryCase{"BeginDateFromMidnight", Dates("2026-12-09", ""),
                                "M.AppDate >= {ts '2026-12-09 00:00:00'}"},
                      QueryCase{"EndDateToLastSecond", Dates("", "2026-12-09"),
                                "M.AppDate <= {ts '2026-12-09 23:59:59'}"},
                      QueryCase{"BothDates", Dates("2024-02-29", "2024-03-01"),
                                "M.AppDate >= {ts '2024-02-29 00:00:00'} AND "
                                "M.AppDate <= {ts '2024-03-01 23:59:59'}"},
                      QueryCase{"AllFieldsJoinedWithAnd", All(),
                                "UPPER(M.FromAdd) LIKE '%ANN@%' ESCAPE '!' AND "
                                "UPPER(M.Subject) LIKE 'PLAN&&_&_' ESCAPE '!' AND "
                                "M.AppDate >= {ts '2026-01-31 00:00:00'} AND "
                                "M.AppDate <= {ts '2026-02-28 23:59:59'}"}),
    [](const ::testing::TestParamInfo<QueryCase>& info) { return std::string(info.param.name); });

struct DateCase {
    const char* text;
    bool valid;
};

class SearchDate : public ::testing::TestWithParam<DateCase> {};

TEST_P(SearchDate, Check) { EXPECT_EQ(lx::IsSearchDate(GetParam().text), GetParam().valid); }

INSTANTIATE_TEST_SUITE_P(
    Texts, SearchDate,
    ::testing::Values(
        DateCase{"2026-12-09", true}, DateCase{"0001-01-01", true}, DateCase{"9999-12-31", true},
        DateCase{"2024-02-29", true}, DateCase{"2000-02-29", true}, DateCase{"1900-02-29", false},
        DateCase{"2026-02-29", false}, DateCase{"2026-04-31", false}, DateCase{"2026-13-01", false},
        DateCase{"2026-00-10", false}, DateCase{"2026-01-00", false}, DateCase{"0000-01-01", false},
        DateCase{"2026-1-09", false}, DateCase{"2026/12/09", false}, DateCase{"2026-12-9x", false},
        DateCase{"12-09-2026", false}, DateCase{"2026-12-09'", false}, DateCase{"", false},
        DateCase{" 2026-12-09", false}));

TEST(SearchDates, NamesTheFieldThatIsNotADate) {
    EXPECT_EQ(lx::CheckSearchDates(Dates("", "")), lx::SearchDateFault::None);
    EXPECT_EQ(lx::CheckSearchDates(Dates("2026-12-09", "2026-12-10")), lx::SearchDateFault::None);
    EXPECT_EQ(lx::CheckSearchDates(Dates("2026-12-32", "2026-12-10")), lx::SearchDateFault::Begin);
    EXPECT_EQ(lx::CheckSearchDates(Dates("", "yesterday")), lx::SearchDateFault::End);
    EXPECT_EQ(lx::CheckSearchDates(Dates("x", "y")), lx::SearchDateFault::Begin);
}

TEST(SearchFields, EmptyOnlyWithoutAnyText) {
    lx::SearchFields f;
    f.senderExact = f.subjectExact = true;
    EXPECT_TRUE(lx::SearchFieldsEmpty(f));
    for (auto fill : {&lx::SearchFields::sender, &lx::SearchFields::subject,
                      &lx::SearchFields::beginDate, &lx::SearchFields::endDate}) {
        lx::SearchFields one;
        one.*fill = "x";
        EXPECT_FALSE(lx::SearchFieldsEmpty(one));
    }
}

struct RowCase {
    const char* name;
    char type;
    std::string subject;
    std::string from;
    std::string firstTo;
    std::string expected;
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class SearchRow : public ::testing::TestWithParam<RowCase> {};

TEST_P(SearchRow, Text) {
    const lx::MonthNames months([](const char* key) {
        static const char* const names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "December"};
        return std::string(names[std::stoi(std::string(key).substr(13)) - 1]);
    });
    const RowCase& c = GetParam();
    EXPECT_EQ(lx::SearchRowText(c.type, c.subject, lx::StoreTime{2026, 3, 7, 0, 0, 0}, c.from,
                                c.firstTo, months),
              c.expected);
}

const std::string k40(40, 'a');
const std::string k60(60, 's');

INSTANTIATE_TEST_SUITE_P(
    Rows, SearchRow,
    ::testing::Values(
        RowCase{"Incoming", 'I', lx::ComposeSubject("Hello", true, true), "ann@x.org", "",
                "07-Mar-2026\tann@x.org\tHello"},
        RowCase{"OwnShowsFirstRecipient", 'O', lx::ComposeSubject("Plan", false, false), "me@x.org",
                "bob@y.org", "07-Mar-2026\tbob@y.org\tPlan"},
        RowCase{"OwnWithoutRecipientShowsSender", 'O', lx::ComposeSubject("Plan", false, false),
                "me@x.org", "", "07-Mar-2026\tme@x.org\tPlan"},
        RowCase{"IncomingIgnoresRecipient", 'I', lx::ComposeSubject("Hi", true, false), "ann@x.org",
                "bob@y.org", "07-Mar-2026\tann@x.org\tHi"},
        RowCase{"SubjectWithAmpersandsWhole", 'I', lx::ComposeSubject("Tom && Jerry", true, false),
                "ann@x.org", "", "07-Mar-2026\tann@x.org\tTom && Jerry"},
        RowCase{"LongFieldsCut", 'I', lx::ComposeSubject(k60, false, false), k40, "",
                "07-Mar-2026\t" + k40.substr(0, 32) + "\t" + k60.substr(0, 48)},
        RowCase{"LongRecipientCut", 'O', lx::ComposeSubject("x", false, false), "me", k40,
                "07-Mar-2026\t" + k40.substr(0, 32) + "\tx"}),
    [](const ::testing::TestParamInfo<RowCase>& info) { return std::string(info.param.name); });

TEST(SearchRowDate, MonthNameCutToSeven) {
    const lx::MonthNames months([](const char*) { return std::string("Septembre"); });
    EXPECT_EQ(lx::SearchRowText('I', "x&&N& ", lx::StoreTime{987, 9, 1, 0, 0, 0}, "a", "", months),
              "01-Septemb- 987\ta\tx");
}

} // namespace
