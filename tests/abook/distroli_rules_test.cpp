// Build Mailing List's rules and the merge file's: list entries, To and Cc picking, the name
// check, and the merge file's name and text.
#include "mailer/addressing/logic/distroli_rules.h"
#include "mailer/addressing/logic/mergefile_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lx::ListEntry;

std::vector<long> Nums(const std::vector<ListEntry>& entries) {
    std::vector<long> nums;
    for (const ListEntry& e : entries) nums.push_back(e.addNum);
    return nums;
}

TEST(ListEntries, TextCarriesTheNumberAfterATab) {
    EXPECT_EQ(lx::ListEntryText({70000, "Ann"}), "Ann\t70000");
    ListEntry e;
    ASSERT_TRUE(lx::ParseListEntry("Tab\tin name\t42", &e));
    EXPECT_EQ(e.addNum, 42);
    EXPECT_EQ(e.name, "Tab\tin name");
    for (const char* bad : {"Ann", "Ann\t", "Ann\t12x", "(No addresses)"})
        EXPECT_FALSE(lx::ParseListEntry(bad, &e)) << bad;
}

TEST(ListMembers, AnAddressIsInToOrCcNeverBoth) {
    lx::ListMembers m;
    m.Set({}, {{2, "Bob"}});
    EXPECT_EQ(m.Add({{1, "Ann"}, {2, "Bob"}, {3, "Carl"}}, true), 2);
    EXPECT_EQ(Nums(m.To()), (std::vector<long>{1, 3}));
    EXPECT_EQ(Nums(m.Cc()), (std::vector<long>{2}));
    EXPECT_EQ(m.Add({{1, "Ann"}, {4, "Dora"}}, false), 1);
    EXPECT_EQ(Nums(m.Cc()), (std::vector<long>{2, 4}));
}

TEST(ListMembers, SeveralSelectedEntriesAreRemovedTogether) {
    struct Case {
        std::vector<int> remove;
        std::vector<long> left;
    };
    const Case cases[] = {{{1, 2}, {1, 4, 5}},
                          {{2, 1}, {1, 4, 5}},
                          {{0, 1, 2, 3, 4}, {}},
                          {{4, 4, 9, -1}, {1, 2, 3, 4}}};
    for (const Case& c : cases) {
        lx::ListMembers m;
        m.Set({{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}, {5, "e"}}, {{6, "f"}});
        m.Remove(c.remove, true);
        EXPECT_EQ(Nums(m.To()), c.left);
        EXPECT_EQ(m.Cc().size(), 1u);
    }
}

TEST(ListNames, AnotherListsNameIsTakenTheOwnIsNot) {
    EXPECT_FALSE(lx::ListNameTaken({}, -1));
    EXPECT_TRUE(lx::ListNameTaken({5}, -1));
    EXPECT_FALSE(lx::ListNameTaken({5}, 5));
    EXPECT_TRUE(lx::ListNameTaken({5, 8}, 5));
    EXPECT_FALSE(lx::ListNameTaken({0}, -1)); // no real list has number 0
}

TEST(ListQueries, MembersOfOneList) {
    EXPECT_EQ(lx::ListEntriesQuery(7),
              "Select ab.AddNum, ab.AddName, da.IsTo From AddBook ab, DistroAdd da Where "
              "ab.AddNum In ( Select AddNum From DistroAdd Where DistroNum = 7 ) AND ab.AddNum = "
              "da.AddNum  AND da.DistroNum = 7 ORDER BY AddName");
    EXPECT_NE(lx::ListPrintQuery(70000).find("ab.AddName, ab.AddDest, ab.AddNote, da.IsTo"),
              std::string::npos);
    EXPECT_EQ(lx::ListAddressTabQuery(7).rfind("SELECT AddNum, AddName FROM AddBook WHERE AddName "
                                               "LIKE 'V%' OR AddName LIKE 'W%'",
                                               0),
              0u);
}

TEST(MergeFile, OnlyAPlainNameInTheInstallationFolderIsAccepted) {
    using lx::MergeNameCheck;
    struct Case {
        std::string name;
        MergeNameCheck check;
    };
    const Case cases[] = {
        {"friends", MergeNameCheck::Ok},
        {" club 2026 ", MergeNameCheck::Ok},
        {"my.list", MergeNameCheck::Ok},
        {"", MergeNameCheck::Empty},
        {"   ", MergeNameCheck::Empty},
        {"..\\outside", MergeNameCheck::NotPlainName},
        {"../outside", MergeNameCheck::NotPlainName},
        {"sub\\file", MergeNameCheck::NotPlainName},
        {"C:file", MergeNameCheck::NotPlainName},
        {"a..b", MergeNameCheck::NotPlainName},
        {"what?", MergeNameCheck::NotPlainName},
        {"tab\there", MergeNameCheck::NotPlainName},
        {"ends.", MergeNameCheck::NotPlainName},
        {"CON", MergeNameCheck::DeviceName},
        {"nul", MergeNameCheck::DeviceName},
        {"Com1", MergeNameCheck::DeviceName},
        {"LPT9.txt", MergeNameCheck::DeviceName},
        {"COM10", MergeNameCheck::Ok},
        {"console", MergeNameCheck::Ok},
        {std::string(65, 'x'), MergeNameCheck::TooLong},
    };
    for (const Case& c : cases) EXPECT_EQ(lx::CheckMergeFileName(c.name), c.check) << c.name;
    EXPECT_EQ(lx::MergeFileName(" club "), "club.MMF");
}

TEST(MergeFile, ToMembersComeFirstEachLineEndedByCrLf) {
    EXPECT_EQ(lx::MergeFileText({"a@x.org", "b@x.org"}, {"c@x.org"}),
              "a@x.org\r\nb@x.org\r\nc@x.org\r\n");
    EXPECT_EQ(lx::MergeFileText({}, {}), "");
}

} // namespace
