#include "spellcheck/core/checksession.h"
#include "spellcheck/core/speller.h"
#include "spellcheck/core/userdict.h"
#include "tests/spell/spelltest.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

std::string ScratchFile(const char* name) {
    const std::string path = ::testing::TempDir() + name;
    std::remove(path.c_str());
    return path;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(UserDictionary, AddedWordsSurviveAReload) {
    const std::string path = ScratchFile("spell-user.dic");
    {
        lx::spell::UserDictionary user;
        user.Load(path); // none yet
        EXPECT_FALSE(user.Accepts("Lorvexian", false));
        EXPECT_TRUE(user.Add("Lorvexian"));
        EXPECT_TRUE(user.Add("frobnicate"));
        EXPECT_TRUE(user.Add("Lorvexian")); // once only
        EXPECT_TRUE(user.Accepts("Lorvexian", false));
    }
    EXPECT_EQ("Lorvexian\r\nfrobnicate\r\n", FileText(path));
    lx::spell::UserDictionary again;
    again.Load(path);
    EXPECT_TRUE(again.Accepts("Lorvexian", false));
    EXPECT_TRUE(again.Accepts("LORVEXIAN", false));
    EXPECT_FALSE(again.Accepts("lorvexian", true)); // its capital is part of it
    EXPECT_TRUE(again.Accepts("Frobnicate", true));
    EXPECT_FALSE(again.Accepts("Frobnicate", false));
    std::remove(path.c_str());
}

TEST(UserDictionary, AnUnwritableFileIsReportedAndTheWordKeptForTheRun) {
    lx::spell::UserDictionary user;
    user.Load("/nonexistent-folder/user.dic");
    EXPECT_FALSE(user.Add("zorblat"));
    EXPECT_TRUE(user.Accepts("zorblat", false));
    EXPECT_FALSE(user.Add("two\nlines"));
}

TEST(Speller, UserWordsAreCheckedAndSuggested) {
    const std::string path = ScratchFile("spell-user2.dic");
    lx::spell::Speller speller;
    ASSERT_TRUE(lxtest::LoadEnglish(speller, true));
    speller.LoadUserDictionary(path);
    EXPECT_FALSE(speller.IsCorrect("Quorbit", false));
    EXPECT_TRUE(speller.Add("Quorbit"));
    EXPECT_TRUE(speller.IsCorrect("Quorbit", false));
    EXPECT_TRUE(speller.IsCorrect("Quorbit's", false));
    const auto s = speller.Suggest("Qourbit", 3);
    ASSERT_FALSE(s.empty());
    EXPECT_EQ("Quorbit", s.front());
    std::remove(path.c_str());
}

TEST(CheckSession, StopsAtEachMisspellingAndAppliesTheAnswers) {
    lx::spell::Speller speller;
    ASSERT_TRUE(lxtest::LoadEnglish(speller, true));
    speller.LoadUserDictionary(ScratchFile("spell-user3.dic"));
    lx::spell::CheckSession session(
        speller, "Teh cat and teh dog. Recieve the wrld, wrld and zzyzx; teh end zzyzx.");
    ASSERT_TRUE(session.FindNext());
    EXPECT_EQ("Teh", session.CurrentWord());
    EXPECT_TRUE(session.Current().sentenceStart);
    session.Replace("The");
    ASSERT_TRUE(session.FindNext());
    EXPECT_EQ("teh", session.CurrentWord());
    session.ReplaceAll("the");
    ASSERT_TRUE(session.FindNext()); // the next "teh" is changed on the way
    EXPECT_EQ("Recieve", session.CurrentWord());
    session.Ignore();
    ASSERT_TRUE(session.FindNext());
    EXPECT_EQ("wrld", session.CurrentWord());
    session.IgnoreAll();
    ASSERT_TRUE(session.FindNext());
    EXPECT_EQ("zzyzx", session.CurrentWord());
    EXPECT_TRUE(session.Add());
    EXPECT_FALSE(session.FindNext());
    EXPECT_EQ("The cat and the dog. Recieve the wrld, wrld and zzyzx; the end zzyzx.",
              session.Text());

    // The edits made in order turn the original text into the session's.
    std::string text = "Teh cat and teh dog. Recieve the wrld, wrld and zzyzx; teh end zzyzx.";
    for (const auto& e : session.TakeEdits()) text.replace(e.begin, e.length, e.text);
    EXPECT_EQ(session.Text(), text);
    EXPECT_TRUE(session.TakeEdits().empty());
}

TEST(CheckSession, LongerAndShorterReplacementsKeepTheOffsets) {
    lx::spell::Speller speller;
    ASSERT_TRUE(lxtest::LoadEnglish(speller, true));
    const std::string original = "a wrld b adress c wrld";
    lx::spell::CheckSession session(speller, original);
    ASSERT_TRUE(session.FindNext());
    session.Replace("w");
    ASSERT_TRUE(session.FindNext());
    EXPECT_EQ("adress", session.CurrentWord());
    EXPECT_EQ(6u, session.Current().begin);
    session.Replace("postal address");
    ASSERT_TRUE(session.FindNext());
    EXPECT_EQ("wrld", session.CurrentWord());
    EXPECT_EQ(23u, session.Current().begin);
    EXPECT_FALSE((session.Replace("world"), session.FindNext()));
    std::string text = original;
    for (const auto& e : session.TakeEdits()) text.replace(e.begin, e.length, e.text);
    EXPECT_EQ("a w b postal address c world", text);
}

} // namespace
