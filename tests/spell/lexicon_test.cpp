#include "spellcheck/core/lexicon.h"
#include "spellcheck/core/speller.h"
#include "spellcheck/core/textchars.h"
#include "spellcheck/core/wordlist.h"
#include "tests/spell/spelltest.h"

#include <gtest/gtest.h>
#include <functional>
#include <set>

namespace {

using lx::spell::Lexicon;
using lx::spell::LexiconKind;

Lexicon Built(LexiconKind kind, std::vector<std::pair<std::string, std::string>> entries) {
    Lexicon lexicon;
    std::string error;
    EXPECT_TRUE(lexicon.Assign(lx::spell::BuildLexicon(kind, std::move(entries)), &error)) << error;
    return lexicon;
}

bool Has(const Lexicon& lexicon, const std::string& word) {
    return lexicon.ForEachFolded(lx::spell::Fold(word),
                                 [&](const Lexicon::Entry& e) { return e.word == word; });
}

TEST(Lexicon, FindsEveryEntryIgnoringCaseAndNothingElse) {
    const Lexicon l = Built(LexiconKind::Words, {{"polish", ""},
                                                 {"Polish", ""},
                                                 {"a", ""},
                                                 {"don't", ""},
                                                 {"caf\xe9", ""},
                                                 {"polish", ""}});
    EXPECT_EQ(5u, l.Count()); // the repeated entry once
    for (const char* w : {"polish", "Polish", "a", "don't", "caf\xe9"}) EXPECT_TRUE(Has(l, w)) << w;
    for (const char* w : {"polis", "dont", "b", "cafe"}) EXPECT_FALSE(Has(l, w)) << w;
    int polish = 0;
    l.ForEachFolded("polish", [&](const Lexicon::Entry&) { return ++polish, false; });
    EXPECT_EQ(2, polish);
    EXPECT_TRUE(Has(Built(LexiconKind::Words, {{"CAF\xc9", ""}}), "CAF\xc9"));
    EXPECT_TRUE(Built(LexiconKind::Words, {{"CAF\xc9", ""}})
                    .ForEachFolded("caf\xe9", [](const Lexicon::Entry&) { return true; }));
}

TEST(Lexicon, GroupsWordsByLength) {
    const Lexicon l = Built(LexiconKind::Words, {{"ccc", ""}, {"a", ""}, {"bb", ""}, {"dd", ""}});
    const auto [first, last] = l.WithLength(2);
    ASSERT_EQ(2u, last - first);
    EXPECT_EQ("bb", l.At(first).word);
    EXPECT_EQ("dd", l.At(first + 1).word);
    EXPECT_EQ(0u, l.WithLength(4).second - l.WithLength(4).first);
}

TEST(Lexicon, CorrectionTableGivesTheCorrection) {
    const Lexicon l = Built(LexiconKind::Corrections, {{"teh", "the"}, {"youre", "you're"}});
    EXPECT_EQ(LexiconKind::Corrections, l.Kind());
    std::string found;
    l.ForEachFolded("youre", [&](const Lexicon::Entry& e) { return found = e.correction, true; });
    EXPECT_EQ("you're", found);
}

TEST(Lexicon, RefusesDamagedFiles) {
    const std::vector<uint8_t> good =
        lx::spell::BuildLexicon(LexiconKind::Words, {{"one", ""}, {"two", ""}, {"three", ""}});
    struct Damage {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> apply;
    };
    const Damage damages[] = {
        {"empty", [](auto& b) { b.clear(); }},
        {"magic", [](auto& b) { b[0] = 'X'; }},
        {"kind", [](auto& b) { b[8] = 7; }},
        {"count", [](auto& b) { b[12] = 9; }},
        {"truncated", [](auto& b) { b.pop_back(); }},
        {"longer", [](auto& b) { b.push_back(0); }},
        {"entry length", [](auto& b) { b[b.size() - 6] = 60; }},
        {"slot",
         [](auto& b) {
             for (size_t i = 8 + 16 + 4 * 66; i < b.size(); i += 4)
                 if (b[i] != 0) {
                     b[i] += 1;
                     break;
                 }
         }},
    };
    for (const Damage& d : damages) {
        std::vector<uint8_t> bytes = good;
        d.apply(bytes);
        Lexicon l;
        std::string error;
        EXPECT_FALSE(l.Assign(bytes, &error)) << d.what;
        EXPECT_FALSE(error.empty()) << d.what;
        EXPECT_EQ(0u, l.Count()) << d.what;
    }
    Lexicon missing;
    std::string error;
    EXPECT_FALSE(missing.Load("/nonexistent/ssceam.tlx", &error));
    EXPECT_NE(std::string::npos, error.find("/nonexistent/ssceam.tlx"));
}

// Every word of the system's word lists is in the lexicon built from it.
TEST(Lexicon, BuiltLexiconsHoldEveryWordOfTheirList) {
    const std::pair<const char*, const char*> lists[] = {
        {"/usr/share/dict/american-english", "ssceam.tlx"},
        {"/usr/share/dict/british-english", "sscebr.tlx"}};
    for (const auto& [source, name] : lists) {
        std::vector<std::string> words;
        size_t skipped = 0;
        std::string error;
        ASSERT_TRUE(lx::spell::ReadWordList(source, &words, &skipped, &error)) << error;
        EXPECT_EQ(0u, skipped) << source;
        Lexicon lexicon;
        ASSERT_TRUE(lexicon.Load(lxtest::BuiltLexicon(name), &error)) << error;
        const std::set<std::string> distinct(words.begin(), words.end());
        EXPECT_GT(distinct.size(), 100000u);
        EXPECT_EQ(distinct.size(), lexicon.Count()) << name;
        size_t missing = 0;
        for (const std::string& w : distinct)
            if (!Has(lexicon, w)) ++missing;
        EXPECT_EQ(0u, missing) << name;
    }
}

struct CaseRule {
    const char* entry;
    const char* word;
    bool sentenceStart;
    bool accepted;
};

TEST(CaseRules, LowerCaseWordsBendCapitalisedWordsKeepTheirCapital) {
    const CaseRule rules[] = {
        {"mail", "mail", false, true},
        {"mail", "Mail", true, true},
        {"mail", "Mail", false, false},
        {"mail", "MAIL", false, true},
        {"mail", "mAil", true, false},
        {"mail", "MAil", true, false},
        {"London", "London", false, true},
        {"London", "LONDON", false, true},
        {"London", "london", true, false},
        {"London", "lONDON", false, false},
        {"McDonald", "McDonald", false, true},
        {"McDonald", "Mcdonald", true, false},
        {"McDonald", "MCDONALD", false, true},
        {"I", "I", false, true},
        {"I", "i", false, false},
        {"don't", "DON'T", false, true},
        {"\xe9mile", "\xc9mile", true, true},
        {"\xe9mile", "\xc9MILE", false, true},
    };
    for (const CaseRule& r : rules)
        EXPECT_EQ(r.accepted, lx::spell::CaseMatches(r.entry, r.word, r.sentenceStart))
            << r.entry << " / " << r.word << (r.sentenceStart ? " at a sentence start" : "");
}

TEST(CaseRules, SpellerAppliesThemWithTheBuiltLexicon) {
    lx::spell::Speller speller;
    ASSERT_TRUE(lxtest::LoadEnglish(speller, true));
    EXPECT_TRUE(speller.IsCorrect("The", true));
    EXPECT_FALSE(speller.IsCorrect("The", false));
    EXPECT_TRUE(speller.IsCorrect("THE", false));
    EXPECT_TRUE(speller.IsCorrect("London", false));
    EXPECT_FALSE(speller.IsCorrect("london", true));
    EXPECT_TRUE(speller.IsCorrect("it\x92s", false));
    EXPECT_TRUE(speller.IsCorrect("inbox", false)); // from the companion lexicon
    EXPECT_FALSE(speller.IsCorrect("teh", false));  // a correction is not a word
}

TEST(Speller, AFailedLexiconListKeepsTheLexiconsInUse) {
    lx::spell::Speller speller;
    std::string error;
    EXPECT_FALSE(speller.SetLexiconFiles({lxtest::BuiltLexicon("correct.tlx")}, &error));
    EXPECT_FALSE(speller.HasLexicon());
    ASSERT_TRUE(lxtest::LoadEnglish(speller, false));
    EXPECT_FALSE(
        speller.SetLexiconFiles({lxtest::BuiltLexicon("ssceam.tlx"), "/nonexistent.clx"}, &error));
    EXPECT_TRUE(speller.HasLexicon());
    EXPECT_TRUE(speller.IsCorrect("colour", false)); // still the British list
}

TEST(LexiconList, SplitsAndResolvesNames) {
    using lx::spell::SplitLexiconList;
    EXPECT_EQ((std::vector<std::string>{"a.tlx", "b c.clx", "d.tlx"}),
              SplitLexiconList(" a.tlx,b c.clx ;; d.tlx ,"));
    EXPECT_TRUE(SplitLexiconList(" ; , ").empty());
    EXPECT_EQ("C:\\Lorvex\\a.tlx", lx::spell::ResolveIn("C:\\Lorvex", "a.tlx"));
    EXPECT_EQ("C:\\Lorvex\\a.tlx", lx::spell::ResolveIn("C:\\Lorvex\\", "a.tlx"));
    EXPECT_EQ("D:\\x\\a.tlx", lx::spell::ResolveIn("C:\\Lorvex", "D:\\x\\a.tlx"));
    EXPECT_EQ("\\\\server\\a.tlx", lx::spell::ResolveIn("C:\\Lorvex", "\\\\server\\a.tlx"));
}

} // namespace
