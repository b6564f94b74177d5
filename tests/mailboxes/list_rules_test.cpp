// The account list's changes: adding up to ten, replacing, deleting with the records moving
// down, which mailbox each change leaves current, and names kept apart.
#include "mailer/transfer/logic/mboxlist_rules.h"
#include "tests/settings/mailbox_image.h"

#include "common/settings/fixed_text.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

using lxtest::Image;

namespace {

lx::MailboxRecord Named(const std::string& name, int current = 0) {
    lx::MailboxRecord r;
    lx::CopyText(r.name, name.c_str());
    lx::CopyText(r.pop3Server, ("pop." + name).c_str());
    r.current = current;
    return r;
}

lx::MailboxList ListOf(const std::vector<std::string>& names, int current = -1) {
    lx::MailboxList list;
    for (size_t i = 0; i < names.size(); ++i)
        list.records[i] = Named(names[i], static_cast<int>(i) == current ? 1 : 0);
    list.count = static_cast<std::int16_t>(names.size());
    return list;
}

std::vector<int> CurrentFlags(const lx::MailboxList& list) {
    std::vector<int> flags;
    for (int i = 0; i < lx::MailboxCount(list); ++i) flags.push_back(list.records[i].current);
    return flags;
}

bool Cleared(const lx::MailboxRecord& r) {
    const lx::MailboxRecord empty;
    return lxtest::Image(r) == lxtest::Image(empty);
}

TEST(MailboxListRules, AddAppendsAndMakesTheNewMailboxCurrent) {
    lx::MailboxList list = ListOf({"Home", "Work"}, 0);
    ASSERT_TRUE(lx::AddMailbox(list, Named("Club")));
    EXPECT_EQ(3, list.count);
    EXPECT_EQ((std::vector<std::string>{"Home", "Work", "Club"}), lx::MailboxNames(list));
    EXPECT_EQ((std::vector<int>{0, 0, 1}), CurrentFlags(list));
    EXPECT_EQ("pop.Club", lx::TextOf(list.records[2].pop3Server));
}

TEST(MailboxListRules, FirstMailboxEverBecomesCurrent) {
    lx::MailboxList list;
    ASSERT_TRUE(lx::AddMailbox(list, Named("Home")));
    EXPECT_EQ(1, list.count);
    EXPECT_EQ((std::vector<int>{1}), CurrentFlags(list));
}

TEST(MailboxListRules, TenMailboxesRefuseAnEleventh) {
    lx::MailboxList list;
    for (int i = 0; i < lx::kMaxMailboxes; ++i) {
        ASSERT_TRUE(lx::CanAddMailbox(list)) << i;
        ASSERT_TRUE(lx::AddMailbox(list, Named("M" + std::to_string(i))));
    }
    const lx::MailboxList before = list;
    EXPECT_FALSE(lx::CanAddMailbox(list));
    EXPECT_FALSE(lx::AddMailbox(list, Named("Eleventh")));
    EXPECT_EQ(Image(before), Image(list));
}

TEST(MailboxListRules, ReplaceKeepsThePlaceAndMakesItCurrent) {
    lx::MailboxList list = ListOf({"Home", "Work", "Club"}, 0);
    ASSERT_TRUE(lx::ReplaceMailbox(list, 1, Named("Office")));
    EXPECT_EQ((std::vector<std::string>{"Home", "Office", "Club"}), lx::MailboxNames(list));
    EXPECT_EQ((std::vector<int>{0, 1, 0}), CurrentFlags(list));
    for (int bad : {-1, 3, 9}) EXPECT_FALSE(lx::ReplaceMailbox(list, bad, Named("X"))) << bad;
    EXPECT_EQ(3, list.count);
}

struct DeleteCase {
    std::vector<std::string> names;
    int current;
    int deleted;
    std::vector<std::string> left;
};

class MailboxDelete : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(MailboxDelete, RecordsMoveDownAndTheFirstBecomesCurrent) {
    const DeleteCase& c = GetParam();
    lx::MailboxList list = ListOf(c.names, c.current);
    ASSERT_TRUE(lx::DeleteMailbox(list, c.deleted));
    EXPECT_EQ(c.left, lx::MailboxNames(list));
    EXPECT_EQ(static_cast<int>(c.left.size()), list.count);
    std::vector<int> expected(c.left.size(), 0);
    if (!expected.empty()) expected[0] = 1;
    EXPECT_EQ(expected, CurrentFlags(list));
    // The freed place at the end holds nothing of the records that were there.
    for (size_t i = c.left.size(); i < c.names.size(); ++i)
        EXPECT_TRUE(Cleared(list.records[i])) << i;
    // A moved record keeps all its fields.
    for (size_t i = 0; i < c.left.size(); ++i)
        EXPECT_EQ("pop." + c.left[i], lx::TextOf(list.records[i].pop3Server));
}

INSTANTIATE_TEST_SUITE_P(Cases, MailboxDelete,
                         ::testing::Values(DeleteCase{{"Home", "Work"}, 1, 1, {"Home"}},
                                           DeleteCase{{"Home", "Work"}, 0, 0, {"Work"}},
                                           DeleteCase{{"A", "B", "C", "D"}, 3, 1, {"A", "C", "D"}},
                                           DeleteCase{{"A", "B", "C", "D"}, 0, 3, {"A", "B", "C"}},
                                           DeleteCase{{"Only"}, 0, 0, {}},
                                           DeleteCase{
                                               {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"},
                                               9,
                                               0,
                                               {"B", "C", "D", "E", "F", "G", "H", "I", "J"}}));

TEST(MailboxListRules, DeletingNoMailboxChangesNothing) {
    lx::MailboxList list = ListOf({"Home", "Work"}, 1);
    const lx::MailboxList before = list;
    for (int bad : {-1, 2, 10}) EXPECT_FALSE(lx::DeleteMailbox(list, bad)) << bad;
    EXPECT_EQ(Image(before), Image(list));
}

struct NameCase {
    const char* name;
    int except;
    int taken;
};

TEST(MailboxListRules, NamesAreComparedIgnoringCaseExceptTheRecordItself) {
    const lx::MailboxList list = ListOf({"Home", "Work"}, 0);
    const NameCase cases[] = {
        {"Home", -1, 0}, {"home", 2, 0},    {"WORK", 0, 1}, {"Work", 1, -1},
        {"Hom", -1, -1}, {"Homes", -1, -1}, {"", -1, -1},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(c.taken, lx::MailboxNameTaken(list, c.name, c.except))
            << c.name << " " << c.except;
}

} // namespace
