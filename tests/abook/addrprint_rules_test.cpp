// The printed address book and mailing list: entries per page, pages and each page's entries,
// and the texts of an entry's lines.
#include "mailer/addressing/logic/addrprint_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(EntryPages, PerPageAndPageCountFollowTheMeasuredHeights) {
    struct Case {
        int entries;
        long usable, twoLines;
        int perPage, pages;
    };
    const Case cases[] = {
        {1, 910, 36, 22, 1},                       // (910 - 10) / 40
        {22, 910, 36, 22, 1},                      // exactly one full page
        {23, 910, 36, 22, 2},                      // one more starts a page
        {45, 910, 36, 22, 3}, {0, 910, 36, 22, 1}, // never no page
        {5, 30, 36, 1, 5},                         // a page too small for one entry still takes one
        {3, 500, -4, 490, 1}, // heights that cannot be measured do not divide by zero
    };
    for (const Case& c : cases) {
        const lx::EntryPagePlan plan = lx::PlanEntryPages(c.entries, c.usable, c.twoLines);
        EXPECT_EQ(plan.perPage, c.perPage) << c.entries << " " << c.usable;
        EXPECT_EQ(plan.pages, c.pages) << c.entries << " " << c.usable;
    }
}

TEST(EntryPages, EveryEntryIsOnExactlyOnePageInOrder) {
    const int entries = 47;
    const lx::EntryPagePlan plan = lx::PlanEntryPages(entries, 910, 36);
    int next = 0;
    for (int page = 1; page <= plan.pages; ++page) {
        int first = -1, end = -1;
        lx::PageEntries(plan, entries, page, &first, &end);
        EXPECT_EQ(first, next) << page;
        EXPECT_GT(end, first) << page;
        EXPECT_LE(end - first, plan.perPage);
        next = end;
    }
    EXPECT_EQ(next, entries);
    int first = -1, end = -1;
    lx::PageEntries(plan, entries, plan.pages + 1, &first, &end);
    EXPECT_EQ(first, end);
    lx::PageEntries(plan, entries, 0, &first, &end);
    EXPECT_EQ(first, end);
}

TEST(EntryLines, AddressAndMemberTexts) {
    EXPECT_EQ(lx::AddressDetailLine("ann@example.org", "school"), "ann@example.org [school ]");
    EXPECT_EQ(lx::AddressDetailLine("ann@example.org", ""), "ann@example.org [ ]");
    EXPECT_EQ(lx::MemberHeadingLine("Ann", true), "Ann [To Group]");
    EXPECT_EQ(lx::MemberHeadingLine("Bob", false), "Bob [Cc Group]");
    EXPECT_EQ(lx::MemberDetailLine("bob@example.org", "50%"), "bob@example.org [ 50% ]");
}

} // namespace
