// The address pickers' rules: the letter tabs' conditions, the To and Cc picking with its
// duplicate test, and the result texts.
#include "mailer/addressing/logic/addrpick_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

TEST(LetterTabs, EachTabListsItsLettersInUpperThenLowerCase) {
    struct Case {
        int tab;
        const char* label;
        const char* conditions;
    };
    const Case cases[] = {
        {0, "ABC",
         "'A%' OR AddName LIKE 'B%' OR AddName LIKE 'C%' OR AddName LIKE 'a%' OR AddName LIKE "
         "'b%' OR AddName LIKE 'c%'"},
        {6, "STU",
         "'S%' OR AddName LIKE 'T%' OR AddName LIKE 'U%' OR AddName LIKE 's%' OR AddName LIKE "
         "'t%' OR AddName LIKE 'u%'"},
        {7, "VW", "'V%' OR AddName LIKE 'W%' OR AddName LIKE 'v%' OR AddName LIKE 'w%'"},
        {8, "XYZ",
         "'X%' OR AddName LIKE 'Y%' OR AddName LIKE 'Z%' OR AddName LIKE 'x%' OR AddName LIKE "
         "'y%' OR AddName LIKE 'z%'"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(lx::LetterTabLabel(c.tab), c.label);
        EXPECT_EQ(lx::LetterTabConditions(c.tab), c.conditions) << c.label;
    }
}

TEST(LetterTabs, TheNineTabsCoverEveryLetterOnceAndNoDigit) {
    std::string letters;
    for (int tab = 0; tab < lx::kLetterTabCount; ++tab) letters += lx::LetterTabLabel(tab);
    EXPECT_EQ(letters, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    for (int tab = 0; tab < lx::kLetterTabCount; ++tab) {
        const std::string conditions = lx::LetterTabConditions(tab);
        EXPECT_EQ(conditions.find_first_of("0123456789"), std::string::npos);
        // Portable SQL: no case function the engines do not share.
        EXPECT_EQ(conditions.find("UCASE"), std::string::npos);
        EXPECT_EQ(conditions.find("UPPER"), std::string::npos);
    }
}

TEST(LetterTabs, QueriesSelectTheirColumnsInNameOrder) {
    EXPECT_EQ(lx::RecipientTabQuery(7),
              "SELECT AddNum, AddName, AddDest FROM AddBook WHERE AddName LIKE 'V%' OR AddName "
              "LIKE 'W%' OR AddName LIKE 'v%' OR AddName LIKE 'w%' ORDER BY AddName");
    EXPECT_EQ(lx::AddressTabQuery(7),
              "SELECT AddName, AddDest FROM AddBook WHERE AddName LIKE 'V%' OR AddName LIKE "
              "'W%' OR AddName LIKE 'v%' OR AddName LIKE 'w%' ORDER BY AddName");
    // An unknown tab is the first one.
    EXPECT_EQ(lx::AddressTabQuery(-1), lx::AddressTabQuery(0));
    EXPECT_EQ(lx::AddressTabQuery(9), lx::AddressTabQuery(0));
}

TEST(LetterTabs, MemberQueriesSplitToFromCc) {
    EXPECT_EQ(lx::ListMembersQuery(40000, true),
              "SELECT AddDest FROM AddBook WHERE AddNum IN (SELECT AddNum FROM DistroAdd WHERE "
              "DistroNum = 40000 AND IsTo = 1)");
    EXPECT_EQ(lx::ListMembersQuery(3, false),
              "SELECT AddDest FROM AddBook WHERE AddNum IN (SELECT AddNum FROM DistroAdd WHERE "
              "DistroNum = 3 AND IsTo <> 1)");
}

TEST(RecipientLists, JoinsEntriesWithCrLfAndNothingAfterTheLast) {
    struct Case {
        Lines lines;
        const char* text;
    };
    const Case cases[] = {{{}, ""}, {{"a@x"}, "a@x"}, {{"a@x", "b@x", "c@x"}, "a@x\r\nb@x\r\nc@x"}};
    for (const Case& c : cases) EXPECT_EQ(lx::JoinLines(c.lines), c.text);
}

TEST(RecipientLists, AnAddressIsTakenOnceAcrossToAndCc) {
    lx::RecipientLists picked;
    EXPECT_TRUE(picked.AddTo("ann@example.org"));
    EXPECT_FALSE(picked.AddTo("ann@example.org")); // the same address twice: one entry
    EXPECT_FALSE(picked.AddCc("ann@example.org")); // never in both lists
    EXPECT_TRUE(picked.AddCc("bob@example.org"));
    EXPECT_FALSE(picked.AddTo("bob@example.org")); // a To member already in Cc stays in Cc only
    EXPECT_TRUE(picked.AddTo("Ann@example.org"));  // the comparison respects case
    EXPECT_FALSE(picked.AddTo(""));                // a row without a destination adds nothing
    EXPECT_EQ(picked.To(), (Lines{"ann@example.org", "Ann@example.org"}));
    EXPECT_EQ(picked.Cc(), (Lines{"bob@example.org"}));
    EXPECT_EQ(picked.ToText(), "ann@example.org\r\nAnn@example.org");
    EXPECT_EQ(picked.CcText(), "bob@example.org");
}

TEST(RecipientLists, RemovingFreesTheAddressAndKeepsTheOrder) {
    lx::RecipientLists picked;
    for (const char* a : {"a@x", "b@x", "c@x"}) picked.AddTo(a);
    EXPECT_TRUE(picked.RemoveTo(1));
    EXPECT_FALSE(picked.RemoveTo(2)); // no such entry any more
    EXPECT_FALSE(picked.RemoveCc(0));
    EXPECT_EQ(picked.To(), (Lines{"a@x", "c@x"}));
    EXPECT_TRUE(picked.AddCc("b@x")); // gone from To, so Cc may take it
    EXPECT_EQ(picked.CcText(), "b@x");
}

TEST(RecipientLists, NothingPickedGivesTwoEmptyTexts) {
    const lx::RecipientLists picked;
    EXPECT_EQ(picked.ToText(), "");
    EXPECT_EQ(picked.CcText(), "");
}

} // namespace
