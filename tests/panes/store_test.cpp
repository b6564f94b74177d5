// The panes' store work against a real store: special folders, folder changes, message rows.
#include "mailer/ui/store/mailfold_store.h"
#include "mailer/ui/store/mailmess_store.h"
#include "tests/panes/panes_store.h"
#include "tests/store/store_fixture.h"

#include <gtest/gtest.h>

namespace {

using lxtest::StoreTest;

std::string Desc(const char* key) { return std::string("text of ") + key; }

std::vector<std::string> Names(const std::vector<lx::FolderRow>& rows) {
    std::vector<std::string> names;
    for (const auto& r : rows) names.push_back(r.name);
    return names;
}

class PaneStore : public StoreTest {
protected:
    lx::MonthNames months{[](const char* key) { return std::string("M") + (key + 13); }};
};

TEST_F(PaneStore, EmptyStoreGetsExactlyTheSixSpecialFolders) {
    lx::FolderStore store(&Conn(), nullptr);
    ASSERT_TRUE(store.Ready());
    std::vector<lx::FolderRow> rows;
    ASSERT_TRUE(store.LoadEnsuringSpecialFolders(rows, Desc));
    EXPECT_EQ(std::vector<std::string>({"_DESK", "_DRAFT", "_IN", "_OUT", "_SENT", "_TRASHCAN"}),
              Names(rows));
    for (const auto& r : rows) EXPECT_EQ("S", r.type);
    EXPECT_EQ("text of MAILFOLD_CPP_12", rows[2].description);
    EXPECT_EQ("text of MAILFOLD_CPP_17", rows[5].description);
    // Inserted in the order _IN, _OUT, _DESK, _DRAFT, _SENT, _TRASHCAN.
    EXPECT_LT(rows[2].num, rows[3].num);
    EXPECT_LT(rows[3].num, rows[0].num);
    EXPECT_LT(rows[4].num, rows[5].num);
    // A second load adds nothing.
    ASSERT_TRUE(store.LoadEnsuringSpecialFolders(rows, Desc));
    EXPECT_EQ(6u, rows.size());
}

TEST_F(PaneStore, StoreWithoutTrashcanGetsOnlyIt) {
    lx::FolderStore store(&Conn(), nullptr);
    ASSERT_TRUE(store.Insert("_IN", "S", "in"));
    ASSERT_TRUE(store.Insert("Work", "U", "w"));
    std::vector<lx::FolderRow> rows;
    ASSERT_TRUE(store.LoadEnsuringSpecialFolders(rows, Desc));
    EXPECT_EQ(std::vector<std::string>({"_IN", "_TRASHCAN", "Work"}), Names(rows));
}

TEST_F(PaneStore, ApostrophesAndRenameAndDeleteKeepMessages) {
    lx::FolderStore store(&Conn(), nullptr);
    std::vector<lx::FolderRow> rows;
    ASSERT_TRUE(store.LoadEnsuringSpecialFolders(rows, Desc));
    ASSERT_TRUE(store.Insert("Bob's mail", "U", "Ann's 'quoted'"));
    const long num = lxtest::FolderNumOf(Conn(), "Bob's mail");
    ASSERT_GT(num, 0);
    ASSERT_TRUE(store.Update(num, "O'Brien", "d'escr"));
    ASSERT_TRUE(store.Load(rows));
    EXPECT_EQ("O'Brien", rows.back().name);
    EXPECT_EQ("d'escr", rows.back().description);
    const long mesg = lxtest::AddMessage(Conn(), num, 'I', "a@b", "Hi&&N& ", {2026, 1, 2, 3, 4, 5});
    ASSERT_GT(mesg, 0);
    const long trash = lxtest::FolderNumOf(Conn(), "_TRASHCAN");
    const long other =
        lxtest::AddMessage(Conn(), trash - 1, 'I', "c@d", "Stays&& & ", {2026, 1, 2, 3, 4, 6});
    ASSERT_TRUE(store.Delete(num, trash));
    ASSERT_TRUE(store.Load(rows));
    EXPECT_EQ(6u, rows.size());
    // Its message went to _TRASHCAN; no other message moved.
    EXPECT_EQ(2, lxtest::CountOf(Conn(), "SELECT COUNT(*) FROM Messages"));
    EXPECT_EQ(trash, lxtest::CountOf(Conn(), "SELECT FolderNum FROM Messages WHERE MesgNum = " +
                                                 std::to_string(mesg)));
    EXPECT_EQ(trash - 1, lxtest::CountOf(Conn(), "SELECT FolderNum FROM Messages WHERE MesgNum = " +
                                                     std::to_string(other)));
}

TEST_F(PaneStore, MessageRowsNewestFirstWithRecipients) {
    const long in = 1000;
    const long a =
        lxtest::AddMessage(Conn(), in, 'I', "old@x", "Older&& & ", {2026, 1, 2, 3, 4, 5});
    const long b = lxtest::AddMessage(Conn(), in, 'O', "me@x", "Mine&& & ", {2026, 2, 3, 4, 5, 6});
    const long c =
        lxtest::AddMessage(Conn(), in, 'O', "me@x", "It's mine&& & ", {2026, 3, 4, 5, 6, 7});
    lxtest::AddMessage(Conn(), in + 1, 'I', "other@x", "Other&& & ", {2026, 3, 4, 5, 6, 7});
    ASSERT_TRUE(lxtest::AddRecipient(Conn(), c, "first@x"));
    ASSERT_TRUE(lxtest::AddRecipient(Conn(), c, "second@x"));
    lx::MessageListStore store(&Conn(), nullptr);
    std::vector<lx::ListedMessage> rows;
    long count = 0;
    ASSERT_EQ(lx::MessageListStore::Outcome::Listed, store.Load(in, months, rows, count));
    ASSERT_EQ(3, count);
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ(c, rows[0].mesgNum);
    EXPECT_EQ("O \t04-M3-2026\tfirst@x\tIt's mine", rows[0].text);
    EXPECT_EQ(b, rows[1].mesgNum);
    EXPECT_EQ("O \t03-M2-2026\tme@x\tMine", rows[1].text); // no ToList row: the sender
    EXPECT_EQ(a, rows[2].mesgNum);

    ASSERT_TRUE(store.Move(a, in + 1));
    ASSERT_EQ(lx::MessageListStore::Outcome::Listed, store.Load(in, months, rows, count));
    EXPECT_EQ(2, count);
    ASSERT_TRUE(store.Delete(b));
    ASSERT_EQ(lx::MessageListStore::Outcome::Listed, store.Load(in, months, rows, count));
    EXPECT_EQ(1, count);
    ASSERT_EQ(lx::MessageListStore::Outcome::Listed, store.Load(4242, months, rows, count));
    EXPECT_EQ(0, count);
    EXPECT_TRUE(rows.empty());
}

} // namespace
