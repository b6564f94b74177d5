// The search's queries against a real store: what each kind of field finds, in which order, and
// the rows the result list shows.
#include "mailer/ui/logic/findmesg_query.h"
#include "mailer/ui/store/findmesg_store.h"
#include "tests/search/fields.h"
#include "tests/search/search_store.h"

#include <gtest/gtest.h>

#include <vector>

namespace lxtest {
namespace {

const lx::MonthNames& Months() {
    static const lx::MonthNames months([](const char* key) {
        static const char* const names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        return std::string(names[std::stoi(std::string(key).substr(13)) - 1]);
    });
    return months;
}

class SearchStore : public SearchStoreTest {
protected:
    // The MesgNums the search finds, in list order.
    std::vector<long> Find(const lx::SearchFields& fields) {
        rows.clear();
        lx::MessageSearchStore store(&Conn(), nullptr);
        EXPECT_TRUE(store.Ready());
        long count = -1;
        EXPECT_EQ(store.Search(lx::SearchSql(fields), Months(), rows, count),
                  lx::MessageSearchStore::Outcome::Listed)
            << lx::SearchSql(fields);
        EXPECT_EQ(count, static_cast<long>(rows.size()));
        std::vector<long> found;
        for (const lx::ListedMessage& r : rows) found.push_back(r.mesgNum);
        return found;
    }
    std::vector<lx::ListedMessage> rows;
};

using Found = std::vector<long>;

TEST_F(SearchStore, SenderPartialInAnyLetterCaseNewestFirst) {
    const long ann = Store(Msg("Ann@Example.org", "a", 1));
    const long bob = Store(Msg("bob@example.ORG", "b", 2));
    Store(Msg("carol@other.net", "c", 3));
    EXPECT_EQ(Find(Sender("eXample", false)), (Found{bob, ann}));
    EXPECT_EQ(Find(Sender("@", false)).size(), 3u);
}

TEST_F(SearchStore, SenderExactIgnoresLetterCaseOnly) {
    const long ann = Store(Msg("Ann@Example.org", "a", 1));
    Store(Msg("joann@example.org", "b", 2));
    EXPECT_EQ(Find(Sender("ANN@example.ORG", true)), (Found{ann}));
    EXPECT_EQ(Find(Sender("ann@example", true)), Found{});
}

TEST_F(SearchStore, SubjectWithApostropheFound) {
    const long plan = Store(Msg("a@x", "Tom's plan", 1));
    Store(Msg("a@x", "Toms plan", 2));
    EXPECT_EQ(Find(Subject("tom's", false)), (Found{plan}));
    EXPECT_EQ(Find(Subject("TOM'S PLAN", true)), (Found{plan}));
    EXPECT_TRUE(ReportedErrors().empty());
}

TEST_F(SearchStore, SubjectExactMatchesTheTextBeforeTheFlags) {
    const long hello = Store(Msg("a@x", "Hello", 1));
    Store(Msg("a@x", "Hello again", 2));
    EXPECT_EQ(Find(Subject("hello", true)), (Found{hello}));
    // The flag letters are not part of the subject text.
    EXPECT_EQ(Find(Subject("&&N", false)), Found{});
}

TEST_F(SearchStore, WildcardsInTheTextMatchThemselves) {
    const long percent = Store(Msg("a@x", "100% sure", 1));
    Store(Msg("a@x", "1005 sure", 2));
    const long underscore = Store(Msg("first_last@x", "b", 3));
    Store(Msg("firstXlast@x", "b", 4));
    const long bang = Store(Msg("a@x", "Now!", 5));
    Store(Msg("a@x", "Now", 6));
    EXPECT_EQ(Find(Subject("100%", false)), (Found{percent}));
    EXPECT_EQ(Find(Sender("t_l", false)), (Found{underscore}));
    EXPECT_EQ(Find(Subject("now!", true)), (Found{bang}));
}

TEST_F(SearchStore, DateRangeTakesWholeDays) {
    Store(Msg("a@x", "before", 8, 23, 59, 59));
    const long midnight = Store(Msg("a@x", "midnight", 9, 0, 0, 0));
    const long noon = Store(Msg("a@x", "noon", 9, 12));
    const long last = Store(Msg("a@x", "last", 10, 23, 59, 59));
    Store(Msg("a@x", "after", 11, 0, 0, 0));
    lx::SearchFields f;
    f.beginDate = "2026-12-09";
    EXPECT_EQ(Find(f).size(), 4u);
    EXPECT_EQ(Find(f).back(), midnight);
    f.endDate = "2026-12-10";
    EXPECT_EQ(Find(f), (Found{last, noon, midnight}));
}

TEST_F(SearchStore, FieldsCombineWithAnd) {
    Store(Msg("ann@x", "Report", 1));
    const long hit = Store(Msg("ann@x", "Report", 5));
    Store(Msg("bob@x", "Report", 5));
    Store(Msg("ann@x", "Notes", 5));
    lx::SearchFields f = Subject("report", true);
    f.sender = "ANN";
    f.beginDate = "2026-12-05";
    f.endDate = "2026-12-05";
    EXPECT_EQ(Find(f), (Found{hit}));
}

TEST_F(SearchStore, TwelveHitsAcrossFoldersInDateOrder) {
    std::vector<long> stored;
    for (int i = 0; i < 12; ++i)
        stored.push_back(Store(Msg("many@x", "m", 1 + (i * 7) % 12, 8), i % 2 ? sent : in));
    Store(Msg("other@x", "m", 5));
    const Found found = Find(Sender("many", false));
    ASSERT_EQ(found.size(), 12u);
    for (size_t i = 0; i < rows.size(); ++i) {
        // Day 12 first, day 1 last.
        char day[4];
        std::snprintf(day, sizeof day, "%02d-", static_cast<int>(12 - i));
        EXPECT_EQ(rows[i].text.rfind(day, 0), 0u) << rows[i].text;
    }
}

TEST_F(SearchStore, OwnMessageShowsFirstRecipientAndSubjectWithoutFlags) {
    Stored own = Msg("me@x", "Tom && Jerry", 3);
    own.type = 'O';
    own.to = {"first@y", "second@y"};
    const long mine = Store(own, sent);
    Stored bare = Msg("me@x", "No one", 2);
    bare.type = 'O';
    Store(bare, sent);
    EXPECT_EQ(Find(Sender("me@x", true)).front(), mine);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "03-Dec-2026\tfirst@y\tTom && Jerry");
    EXPECT_EQ(rows[1].text, "02-Dec-2026\tme@x\tNo one");
}

TEST_F(SearchStore, NothingFound) {
    Store(Msg("a@x", "b", 1));
    EXPECT_EQ(Find(Sender("zzz", false)), Found{});
    EXPECT_TRUE(ReportedErrors().empty());
}

} // namespace
} // namespace lxtest
