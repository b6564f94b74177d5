// The filter list: its questions for retrieved mail, the file LORVEX.FLT byte by byte, the older
// layout, damaged files and a save that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/settings/fixed_text.h"
#include "mailer/transfer/logic/filterfile.h"
#include "tests/filters/rules.h"
#include "tests/settings/temp_folder.h"

using namespace lx;
using lx_test::Get16;
using lx_test::Get32;
using lx_test::GetText;
using lx_test::Put16;
using lx_test::Put32;
using lx_test::PutText;
using lx_test::TempFolder;

namespace {

using lxtest::MakeRule;

FilterList ListOf(const TempFolder& dir, std::initializer_list<FilterRule> rules) {
    FilterList list = FilterList::Load(dir.File(kFilterFile));
    for (const FilterRule& rule : rules) EXPECT_TRUE(list.Append(rule));
    return list;
}

std::vector<std::string> Names(const FilterList& list) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list.Count(); ++i) names.push_back(TextOf(list.At(i).name));
    return names;
}

const FilterMessage kOffer{"Deals <offers@shop.example>", "Your weekly OFFER", "Buy now"};

// What retrieval does with a message: deleted, or the folder it is filed in (empty: the default).
struct Outcome {
    bool deleted;
    std::string folder;
    std::int32_t folderNum;
};

Outcome Sort(const FilterList& list, const FilterMessage& message) {
    if (list.DeleteMatch(message)) return {true, "", 0};
    Outcome out{false, "", 0};
    if (!list.FolderMatch(message, &out.folderNum, &out.folder)) out.folderNum = -1;
    return out;
}

TEST(FilterListMatch, DeleteWinsOverAFolderRuleInEitherOrder) {
    TempFolder dir;
    const FilterRule file = MakeRule("shop", 'A', "shop.example", "", "", "Offers", 7);
    const FilterRule drop = MakeRule("spam", 'S', "", "offer", "");
    EXPECT_TRUE(Sort(ListOf(dir, {file, drop}), kOffer).deleted);
    EXPECT_TRUE(Sort(ListOf(dir, {drop, file}), kOffer).deleted);
}

TEST(FilterListMatch, TheEarlierFolderRuleDecides) {
    TempFolder dir;
    FilterList list = ListOf(dir, {MakeRule("miss", 'M', "", "", "sell", "Never", 3),
                                   MakeRule("first", 'S', "", "weekly", "", "Weekly", 11),
                                   MakeRule("second", 'A', "offers@", "", "", "Shop", 12)});
    const Outcome out = Sort(list, kOffer);
    EXPECT_FALSE(out.deleted);
    EXPECT_EQ(out.folder, "Weekly");
    EXPECT_EQ(out.folderNum, 11);
}

TEST(FilterListMatch, AddressOrSubjectMatchesOnTheSubjectAlone) {
    TempFolder dir;
    FilterList list =
        ListOf(dir, {MakeRule("either", 'O', "nobody@nowhere", "weekly offer", "", "Offers", 4)});
    EXPECT_EQ(Sort(list, kOffer).folder, "Offers");
}

TEST(FilterListMatch, ARuleOfTheOtherActionIsNotAsked) {
    TempFolder dir;
    FilterList list = ListOf(dir, {MakeRule("drop", 'S', "", "offer", "")});
    std::int32_t num = 99;
    std::string folder = "untouched";
    EXPECT_FALSE(list.FolderMatch(kOffer, &num, &folder));
    EXPECT_EQ(num, 99);
    EXPECT_EQ(folder, "untouched");
    EXPECT_TRUE(list.DeleteMatch(kOffer));
    EXPECT_FALSE(list.DeleteMatch({"a@b", "hello", "text"}));
}

TEST(FilterListEdit, NamesAreUniqueAndExact) {
    TempFolder dir;
    FilterList list = ListOf(dir, {MakeRule("Work", 'A', "boss@", "", "", "Work", 2)});
    EXPECT_FALSE(list.Append(MakeRule("Work", 'S', "", "x", "")));
    EXPECT_FALSE(list.Append(MakeRule("", 'S', "", "x", "")));
    EXPECT_TRUE(list.Append(MakeRule("work", 'S', "", "x", "")));
    EXPECT_EQ(list.Find("Work"), 0);
    EXPECT_EQ(list.Find("work"), 1);
    EXPECT_EQ(list.Find("WORK"), -1);
    EXPECT_EQ(list.Find(nullptr), -1);

    EXPECT_TRUE(list.Replace(0, MakeRule("Work", 'N', "boss@", "urgent", "", "Urgent", 5)));
    EXPECT_EQ(TextOf(list.At(0).folderName), "Urgent");
    EXPECT_FALSE(list.Replace(0, MakeRule("work", 'A', "x", "", "")));
    EXPECT_FALSE(list.Replace(2, MakeRule("other", 'A', "x", "", "")));
    EXPECT_FALSE(list.Replace(-1, MakeRule("other", 'A', "x", "", "")));

    list.Remove(5);
    list.Remove(-1);
    EXPECT_EQ(list.Count(), 2u);
    list.Remove(0);
    EXPECT_EQ(Names(list), std::vector<std::string>{"work"});
}

TEST(FilterFile, SavedBytesFollowTheLayout) {
    TempFolder dir;
    FilterList list =
        ListOf(dir, {MakeRule("drop", 'P', "x@y", "", "unsubscribe"),
                     MakeRule("file", 'U', "", "invoice", "amount due", "Bills", -2)});
    ASSERT_TRUE(list.Save());
    const std::vector<std::uint8_t> f = dir.Read(kFilterFile);
    ASSERT_EQ(f.size(), 64u + 2 * 192u);
    EXPECT_EQ(GetText(f, 0, 13), "Lorvex v2.0");
    EXPECT_EQ(f[12], 0);
    EXPECT_FALSE(GetText(f, 13, 49).empty());
    EXPECT_EQ(Get16(f, 62), 2);
    const std::size_t r = 64 + 192; // the second rule
    EXPECT_EQ(GetText(f, r + 0, 16), "file");
    EXPECT_EQ(f[r + 16], 'U');
    EXPECT_EQ(GetText(f, r + 17, 81), "");
    EXPECT_EQ(GetText(f, r + 98, 32), "invoice");
    EXPECT_EQ(GetText(f, r + 130, 32), "amount due");
    EXPECT_EQ(f[r + 162], 'F');
    EXPECT_EQ(GetText(f, r + 163, 17), "Bills");
    EXPECT_EQ(Get32(f, r + 180), -2);
    for (std::size_t i = 184; i < 192; ++i) EXPECT_EQ(f[r + i], 0) << i;
    EXPECT_EQ(f[64 + 162], 'D');
    EXPECT_FALSE(dir.Exists("LORVEX.FLT.tmp"));
}

TEST(FilterFile, RoundTripKeepsEveryFieldAtItsFullLength) {
    TempFolder dir;
    const std::string address(80, 'a'), words(31, 'w');
    FilterRule full = MakeRule("fifteen-chars-x", 'U', address.c_str(), words.c_str(),
                               words.c_str(), "sixteen-chars-xx", 123456789);
    FilterList list = ListOf(dir, {full, MakeRule("second", 'Z', "a", "b", "c")});
    ASSERT_TRUE(list.Save());

    const FilterList back = FilterList::Load(dir.File(kFilterFile));
    ASSERT_EQ(back.Count(), 2u);
    const FilterRule& r = back.At(0);
    EXPECT_EQ(TextOf(r.name), "fifteen-chars-x");
    EXPECT_EQ(r.fields, 'U');
    EXPECT_EQ(TextOf(r.address), address);
    EXPECT_EQ(TextOf(r.subject), words);
    EXPECT_EQ(TextOf(r.message), words);
    EXPECT_EQ(r.action, kFilterActionFile);
    EXPECT_EQ(TextOf(r.folderName), "sixteen-chars-xx");
    EXPECT_EQ(r.folderNum, 123456789);
    // A letter this program does not offer is kept as it was.
    EXPECT_EQ(back.At(1).fields, 'Z');
}

// A file of the older layout: any other version text, 152-byte rules, 24-byte subject words.
std::vector<std::uint8_t> OldFile(std::int16_t count, int rules) {
    std::vector<std::uint8_t> f(64 + rules * 152, 0);
    PutText(f, 0, "Lorvex v1.0");
    Put16(f, 62, count);
    for (int i = 0; i < rules; ++i) {
        const std::size_t r = 64 + i * 152;
        PutText(f, r, ("old" + std::to_string(i)).c_str());
        f[r + 16] = 'N';
        PutText(f, r + 17, "list@lists.example");
        PutText(f, r + 98, "[announce] 23 characters");
        f[r + 122] = 'F';
        PutText(f, r + 123, "Lists");
        Put32(f, r + 140, 40 + i);
        for (int k = 144; k < 152; ++k) f[r + k] = 0xEE; // unused bytes, ignored
    }
    return f;
}

TEST(FilterFile, OlderLayoutIsReadAndRewrittenAtTheNextSave) {
    TempFolder dir;
    dir.Write(kFilterFile, OldFile(2, 2));
    FilterList list = FilterList::Load(dir.File(kFilterFile));
    ASSERT_EQ(Names(list), (std::vector<std::string>{"old0", "old1"}));
    const FilterRule& r = list.At(1);
    EXPECT_EQ(r.fields, 'N');
    EXPECT_EQ(TextOf(r.address), "list@lists.example");
    EXPECT_EQ(TextOf(r.subject), "[announce] 23 character");
    EXPECT_EQ(TextOf(r.message), "");
    EXPECT_EQ(r.action, kFilterActionFile);
    EXPECT_EQ(TextOf(r.folderName), "Lists");
    EXPECT_EQ(r.folderNum, 41);

    ASSERT_TRUE(list.Append(MakeRule("new", 'M', "", "", "words")));
    ASSERT_TRUE(list.Save());
    const std::vector<std::uint8_t> f = dir.Read(kFilterFile);
    ASSERT_EQ(f.size(), 64u + 3 * 192u);
    EXPECT_EQ(GetText(f, 0, 13), "Lorvex v2.0");
    EXPECT_EQ(Get32(f, 64 + 192 + 180), 41);
    const FilterList back = FilterList::Load(dir.File(kFilterFile));
    EXPECT_EQ(Names(back), (std::vector<std::string>{"old0", "old1", "new"}));
    EXPECT_EQ(TextOf(back.At(1).subject), "[announce] 23 character");
}

TEST(FilterFile, ACountBeyondTheRulesReadsTheCompleteOnes) {
    TempFolder dir;
    FilterList list =
        ListOf(dir, {MakeRule("one", 'A', "a", "", ""), MakeRule("two", 'A', "b", "", ""),
                     MakeRule("three", 'A', "c", "", "")});
    ASSERT_TRUE(list.Save());
    std::vector<std::uint8_t> f = dir.Read(kFilterFile);
    Put16(f, 62, 9);
    f.resize(64 + 2 * 192 + 100); // the third rule cut in its middle
    dir.Write(kFilterFile, f);
    EXPECT_EQ(Names(FilterList::Load(dir.File(kFilterFile))),
              (std::vector<std::string>{"one", "two"}));

    dir.Write(kFilterFile, OldFile(5, 1));
    EXPECT_EQ(FilterList::Load(dir.File(kFilterFile)).Count(), 1u);
}

TEST(FilterFile, UnreadableHeadersGiveAnEmptyListThatCanBeSaved) {
    TempFolder dir;
    EXPECT_EQ(FilterList::Load("").Count(), 0u);
    EXPECT_FALSE(FilterList::Load("").Save());

    FilterList missing = FilterList::Load(dir.File(kFilterFile));
    EXPECT_EQ(missing.Count(), 0u);

    std::vector<std::uint8_t> f = OldFile(1, 1);
    f.resize(63);
    dir.Write(kFilterFile, f);
    EXPECT_EQ(FilterList::Load(dir.File(kFilterFile)).Count(), 0u);

    // A negative count holds no rules.
    f = OldFile(-3, 1);
    dir.Write(kFilterFile, f);
    FilterList negative = FilterList::Load(dir.File(kFilterFile));
    EXPECT_EQ(negative.Count(), 0u);

    ASSERT_TRUE(negative.Append(MakeRule("first", 'S', "", "hello", "")));
    ASSERT_TRUE(negative.Save());
    EXPECT_EQ(Names(FilterList::Load(dir.File(kFilterFile))), std::vector<std::string>{"first"});
}

TEST(FilterFile, AFileThatCannotBeReadIsToldFromAMissingOne) {
    TempFolder dir;
    EXPECT_FALSE(FilterList::Load(dir.File(kFilterFile)).Unreadable());
    dir.Write(kFilterFile, {1, 2, 3});
    EXPECT_FALSE(FilterList::Load(dir.File(kFilterFile)).Unreadable());
    std::filesystem::remove(dir.File(kFilterFile));
    std::filesystem::create_directory(dir.File(kFilterFile));
    const FilterList list = FilterList::Load(dir.File(kFilterFile));
    EXPECT_TRUE(list.Unreadable());
    EXPECT_EQ(list.Count(), 0u);
}

TEST(FilterFile, ASaveThatCannotWriteLeavesTheOldFileWhole) {
    TempFolder dir;
    FilterList list = ListOf(dir, {MakeRule("keep", 'A', "a", "", "")});
    ASSERT_TRUE(list.Save());
    const std::vector<std::uint8_t> before = dir.Read(kFilterFile);

    // The temporary file's place is taken by a folder holding a file: it cannot be written.
    std::filesystem::create_directory(dir.File("LORVEX.FLT.tmp"));
    dir.Write("LORVEX.FLT.tmp/inside", {1});
    ASSERT_TRUE(list.Append(MakeRule("lost", 'A', "b", "", "")));
    EXPECT_FALSE(list.Save());
    EXPECT_EQ(dir.Read(kFilterFile), before);
    EXPECT_TRUE(dir.Exists("LORVEX.FLT.tmp/inside"));

    // Once the place is free the same list saves.
    std::filesystem::remove_all(dir.File("LORVEX.FLT.tmp"));
    EXPECT_TRUE(list.Save());
    EXPECT_EQ(FilterList::Load(dir.File(kFilterFile)).Count(), 2u);
}

} // namespace
