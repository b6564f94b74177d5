// Which messages a rule matches: every letter against the same messages, and the upper-case
// substring search.
#include <gtest/gtest.h>

#include <string>

#include "common/settings/fixed_text.h"
#include "mailer/transfer/logic/filterrule.h"
#include "tests/filters/rules.h"

using namespace lx;

namespace {

FilterRule Rule(char letter, const char* address, const char* subject, const char* message) {
    return lxtest::MakeRule("rule", letter, address, subject, message);
}

bool Matches(const FilterRule& rule, const FilterMessage& message) {
    return FilterRuleMatches(rule, UpperFilterMessage(message));
}

// Which of the rule's three texts the message holds.
struct Holds {
    bool address, subject, message;
};

FilterMessage MessageHolding(Holds h) {
    return {h.address ? "Joe Bloggs <Joe@Example.ORG>" : "ann@elsewhere.net",
            h.subject ? "Re: Quarterly Figures attached" : "lunch",
            h.message ? "Please find the budget below.\r\nRegards" : "see you at noon"};
}

struct LetterCase {
    char letter;
    Holds holds;
    bool matches;
};

class LetterTable : public ::testing::TestWithParam<LetterCase> {};

TEST_P(LetterTable, MatchesByItsCombination) {
    const LetterCase& c = GetParam();
    FilterRule rule = Rule(c.letter, "joe@example.org", "quarterly", "BUDGET");
    EXPECT_EQ(Matches(rule, MessageHolding(c.holds)), c.matches)
        << "letter " << c.letter << " address " << c.holds.address << " subject " << c.holds.subject
        << " message " << c.holds.message;
}

constexpr Holds kNone{false, false, false}, kAddr{true, false, false}, kSubj{false, true, false},
    kText{false, false, true}, kAddrSubj{true, true, false}, kAddrText{true, false, true},
    kSubjText{false, true, true}, kAll{true, true, true};

INSTANTIATE_TEST_SUITE_P(
    Letters, LetterTable,
    ::testing::Values(
        // A: the address alone
        LetterCase{'A', kAddr, true}, LetterCase{'A', kSubjText, false},
        // S: the subject alone
        LetterCase{'S', kSubj, true}, LetterCase{'S', kAddrText, false},
        // M: the message text alone
        LetterCase{'M', kText, true}, LetterCase{'M', kAddrSubj, false},
        // N: address and subject
        LetterCase{'N', kAddrSubj, true}, LetterCase{'N', kAddr, false},
        LetterCase{'N', kSubj, false},
        // O: address or subject
        LetterCase{'O', kAddr, true}, LetterCase{'O', kSubj, true}, LetterCase{'O', kText, false},
        // P: address and message text
        LetterCase{'P', kAddrText, true}, LetterCase{'P', kAddrSubj, false},
        LetterCase{'P', kText, false},
        // Q: address or message text
        LetterCase{'Q', kAddr, true}, LetterCase{'Q', kText, true}, LetterCase{'Q', kSubj, false},
        // R: subject and message text
        LetterCase{'R', kSubjText, true}, LetterCase{'R', kSubj, false},
        LetterCase{'R', kText, false},
        // U: subject or message text
        LetterCase{'U', kSubj, true}, LetterCase{'U', kText, true}, LetterCase{'U', kAddr, false},
        // T: all three
        LetterCase{'T', kAll, true}, LetterCase{'T', kAddrSubj, false},
        LetterCase{'T', kSubjText, false},
        // A letter of no choice is taken as T.
        LetterCase{'Z', kAll, true}, LetterCase{'Z', kAddrSubj, false},
        LetterCase{'\0', kNone, false}));

TEST(FilterChoices, TheTenChoicesInTheDialogsOrder) {
    std::string letters;
    for (const FilterChoice& c : kFilterChoices) letters += c.letter;
    EXPECT_EQ(letters, "ASMNOPQRUT");
    for (std::size_t i = 0; i < kFilterChoiceCount; ++i)
        EXPECT_EQ(FilterChoiceOf(kFilterChoices[i].letter), i);
    EXPECT_EQ(kFilterChoices[FilterChoiceOf('x')].letter, 'T');
}

struct SearchCase {
    const char* ruleText;
    const char* from;
    bool matches;
};

class AddressSearch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(AddressSearch, UpperCaseSubstring) {
    const SearchCase& c = GetParam();
    EXPECT_EQ(Matches(Rule('A', c.ruleText, "", ""), {c.from, "", ""}), c.matches)
        << c.ruleText << " in " << c.from;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AddressSearch,
    ::testing::Values(
        // Part of the sender address in other letter case.
        SearchCase{"EXAMPLE.org", "joe@example.ORG", true},
        SearchCase{"example", "Joe Bloggs <joe@examples.com>", true},
        // The rule's text is one substring: its words are not looked for separately.
        SearchCase{"joe example", "joe@example.org", false},
        SearchCase{"bloggs <joe", "Joe Bloggs <joe@x.org>", true},
        // Longer than the address.
        SearchCase{"joe@example.org.uk", "joe@example.org", false},
        // Bytes beyond ASCII are compared as they are.
        SearchCase{"m\xc3\xbcller", "M\xc3\xbcller@beispiel.de", true},
        SearchCase{"M\xc3\x9cLLER", "m\xc3\xbcller@beispiel.de", false}));

TEST(FilterRuleText, AnEmptyTextTakesNoPart) {
    const FilterMessage message{"joe@example.org", "Weekly report", "numbers"};
    // A rule without any text of its letter never matches, so it cannot delete every message.
    EXPECT_FALSE(Matches(Rule('A', "", "report", "numbers"), message));
    EXPECT_FALSE(Matches(Rule('O', "", "", "numbers"), message));
    EXPECT_FALSE(Matches(Rule('T', "", "", ""), message));
    // An "all" rule needs its non-empty texts only: T from a file without message words acts as N.
    EXPECT_TRUE(Matches(Rule('T', "joe@", "weekly", ""), message));
    EXPECT_FALSE(Matches(Rule('T', "ann@", "weekly", ""), message));
    // An "either" rule needs one of its non-empty texts.
    EXPECT_TRUE(Matches(Rule('Q', "", "", "NUMBERS"), message));
}

TEST(FilterRuleText, TextsTheLetterDoesNotUseAreIgnored) {
    const FilterMessage message{"joe@example.org", "Weekly report", "numbers"};
    // S looks at the subject only, even when address and message words are set.
    EXPECT_TRUE(Matches(Rule('S', "nobody", "REPORT", "nothing"), message));
    EXPECT_FALSE(Matches(Rule('S', "joe", "nothing", "numbers"), message));
}

} // namespace
