#include "spellcheck/core/distance.h"
#include "spellcheck/core/speller.h"
#include "tests/spell/spelltest.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using lx::spell::Speller;

struct Expected {
    const char* typed;
    const char* right;
};

bool InFirstThree(const std::vector<std::string>& s, const std::string& word) {
    return std::find(s.begin(), s.begin() + std::min<size_t>(3, s.size()), word) !=
           s.begin() + std::min<size_t>(3, s.size());
}

std::string Joined(const std::vector<std::string>& s) {
    std::string out;
    for (const auto& w : s) out += w + ", ";
    return out;
}

TEST(Distance, CountsEditsWithSwapsAsOne) {
    using lx::spell::BoundedEditDistance;
    const struct {
        const char* a;
        const char* b;
        int edits;
    } cases[] = {{"teh", "the", 1},
                 {"recieve", "receive", 1},
                 {"seperate", "separate", 1},
                 {"abc", "abc", 0},
                 {"ab", "abcd", 2},
                 {"kitten", "sitting", 3},
                 {"a", "", 1},
                 {"", "", 0},
                 {"acb", "bca", 2}};
    for (const auto& c : cases)
        EXPECT_EQ(std::min(c.edits, 3), BoundedEditDistance(c.a, c.b, 2)) << c.a << "/" << c.b;
}

TEST(Distance, WeightsLikelySlipsLower) {
    using lx::spell::WeightedEditDistance;
    EXPECT_LT(WeightedEditDistance("recieve", "receive"),
              WeightedEditDistance("recieve", "relieve"));
    EXPECT_LT(WeightedEditDistance("ocured", "occurred"),
              WeightedEditDistance("ocured", "obscured"));
    EXPECT_LT(WeightedEditDistance("dont", "don't"), WeightedEditDistance("dont", "done"));
    EXPECT_LT(WeightedEditDistance("hoise", "house"), WeightedEditDistance("hoise", "noise"));
    EXPECT_TRUE(lx::spell::KeysAdjacent('s', 'd'));
    EXPECT_TRUE(lx::spell::KeysAdjacent('g', 'b'));
    EXPECT_FALSE(lx::spell::KeysAdjacent('q', 'p'));
}

class EnglishSuggestions : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(lxtest::LoadEnglish(american_, true));
        ASSERT_TRUE(lxtest::LoadEnglish(british_, false));
    }
    Speller american_, british_;
};

TEST_F(EnglishSuggestions, RightWordAmongTheFirstThree) {
    const Expected cases[] = {
        {"recieve", "receive"},   {"seperate", "separate"}, {"teh", "the"},
        {"Teh", "The"},           {"TEH", "THE"},           {"adress", "address"},
        {"occured", "occurred"},  {"wrld", "world"},        {"speling", "spelling"},
        {"langauge", "language"}, {"mesage", "message"},    {"tommorow", "tomorrow"},
        {"dont", "don't"},        {"becuase", "because"},   {"knwo", "know"},
        {"alot", "a lot"},        {"Londn", "London"},      {"wendesday", "Wednesday"},
    };
    for (const Expected& e : cases) {
        EXPECT_FALSE(american_.IsCorrect(e.typed, false)) << e.typed;
        const auto s = american_.Suggest(e.typed, 10);
        EXPECT_TRUE(InFirstThree(s, e.right)) << e.typed << " -> " << Joined(s);
    }
}

TEST_F(EnglishSuggestions, EachListKnowsItsOwnSpelling) {
    const struct {
        const char* american;
        const char* british;
    } pairs[] = {{"color", "colour"}, {"center", "centre"}, {"organize", "organise"}};
    for (const auto& p : pairs) {
        EXPECT_TRUE(american_.IsCorrect(p.american, false)) << p.american;
        EXPECT_TRUE(british_.IsCorrect(p.british, false)) << p.british;
    }
    EXPECT_FALSE(american_.IsCorrect("colour", false));
    EXPECT_TRUE(InFirstThree(american_.Suggest("colour", 10), "color"));
    EXPECT_FALSE(british_.IsCorrect("color", false));
    EXPECT_TRUE(InFirstThree(british_.Suggest("color", 10), "colour"));
}

TEST_F(EnglishSuggestions, NothingForGibberishAndNoRepeats) {
    EXPECT_TRUE(american_.Suggest("qzxjvkqzx", 10).empty());
    const auto s = american_.Suggest("thier", 10);
    ASSERT_FALSE(s.empty());
    EXPECT_EQ("their", s.front()); // the correction table first
    for (size_t i = 0; i < s.size(); ++i)
        for (size_t j = i + 1; j < s.size(); ++j) EXPECT_NE(s[i], s[j]);
    EXPECT_LE(american_.Suggest("hte", 3).size(), 3u);
}

} // namespace
