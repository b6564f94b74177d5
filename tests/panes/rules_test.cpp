// The folder pane's rules and the message list's row texts, icons and selection.
#include "common/settings/mailbox_record.h"
#include "mailer/ui/logic/mailfold_rules.h"
#include "mailer/ui/logic/mailmess_rows.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {

using lx::FolderRow;

std::vector<FolderRow> Rows(std::initializer_list<std::pair<long, const char*>> list) {
    std::vector<FolderRow> rows;
    for (auto& [num, name] : list) rows.push_back({num, name, name[0] == '_' ? "S" : "U", ""});
    return rows;
}

TEST(FolderRules, MissingSpecialFolders) {
    EXPECT_EQ(lx::MissingSpecialFolders::All, lx::FindMissingSpecialFolders({}));
    EXPECT_EQ(lx::MissingSpecialFolders::Trashcan,
              lx::FindMissingSpecialFolders(Rows({{1, "_DESK"}, {2, "_IN"}, {3, "Work"}})));
    EXPECT_EQ(lx::MissingSpecialFolders::None,
              lx::FindMissingSpecialFolders(Rows({{1, "_TRASHCAN"}})));
    // Names are compared exactly.
    EXPECT_EQ(lx::MissingSpecialFolders::Trashcan,
              lx::FindMissingSpecialFolders(Rows({{1, "_trashcan"}})));
}

TEST(FolderRules, SpecialNumbersByExactName) {
    lx::SpecialFolderNumbers nums;
    nums.draft = 3; // found by an earlier fill
    lx::RecordSpecialFolderNumbers(
        Rows({{7, "_IN"}, {8, "_OUT"}, {9, "_in"}, {10, "_TRASHCAN"}, {11, "_SENT "}}), nums);
    EXPECT_EQ(7, nums.in);
    EXPECT_EQ(8, nums.out);
    EXPECT_EQ(10, nums.trashcan);
    EXPECT_EQ(-1, nums.sent);
    EXPECT_EQ(-1, nums.desk);
    EXPECT_EQ(3, nums.draft);
}

TEST(FolderRules, NameTakenIsExactAndSkipsTheEditedFolder) {
    const auto rows = Rows({{1, "Work"}, {2, "Bob's"}});
    EXPECT_TRUE(lx::FolderNameTaken(rows, "Work", -1));
    EXPECT_FALSE(lx::FolderNameTaken(rows, "work", -1));
    EXPECT_FALSE(lx::FolderNameTaken(rows, "Work", 1)); // renaming to its own name
    EXPECT_TRUE(lx::FolderNameTaken(rows, "Work", 2));
    EXPECT_TRUE(lx::FolderNameTaken(rows, "Bob's", -1));
}

TEST(FolderRules, ReservedNames) {
    EXPECT_TRUE(lx::IsReservedFolderName("_Mine"));
    EXPECT_TRUE(lx::IsReservedFolderName("-Mine"));
    EXPECT_FALSE(lx::IsReservedFolderName("Mine_"));
    EXPECT_FALSE(lx::IsReservedFolderName(""));
}

TEST(FolderRules, MailboxUsingFolder) {
    lx::MailboxList list;
    list.count = 2;
    std::strcpy(list.records[1].defaultFolder, "Work");
    list.records[1].defaultFolderNum = 12;
    EXPECT_EQ(&list.records[1], lx::MailboxUsingFolder(list, FolderRow{12, "Renamed", "U", ""}));
    EXPECT_EQ(&list.records[1], lx::MailboxUsingFolder(list, FolderRow{40, "Work", "U", ""}));
    EXPECT_EQ(nullptr, lx::MailboxUsingFolder(list, FolderRow{13, "Home", "U", ""}));
    list.count = 1; // records past the count do not count
    EXPECT_EQ(nullptr, lx::MailboxUsingFolder(list, FolderRow{12, "Work", "U", ""}));
}

TEST(FolderRules, IndexAtPointAndItemHeight) {
    EXPECT_EQ(0, lx::IndexAtPoint(0, 0, 18, 3));
    EXPECT_EQ(2, lx::IndexAtPoint(0, 53, 18, 3));
    EXPECT_EQ(-1, lx::IndexAtPoint(0, 54, 18, 3));
    EXPECT_EQ(5, lx::IndexAtPoint(4, 20, 18, 10));
    EXPECT_EQ(-1, lx::IndexAtPoint(0, 5, 0, 10));
    EXPECT_EQ(18, lx::ListItemHeight(10, 0));
    EXPECT_EQ(21, lx::ListItemHeight(16, 1));
}

lx::MonthNames Months() {
    return lx::MonthNames([](const char* key) {
        const int m = std::atoi(key + std::strlen("MAILMESS_CPP_"));
        static const char* names[] = {"",    "Jan", "Feb", "Mar", "Apr", "May",      "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "December!"};
        return std::string(names[m]);
    });
}

TEST(MessageRows, MonthNamesAreCutAndBounded) {
    const auto months = Months();
    EXPECT_EQ("Jan", months.Of(1));
    EXPECT_EQ("Decembe", months.Of(12));
    EXPECT_EQ("", months.Of(0));
    EXPECT_EQ("", months.Of(13));
    EXPECT_EQ("", months.Of(-4));
}

TEST(MessageRows, IncomingRowText) {
    const lx::StoreTime t{2026, 3, 7, 10, 0, 0};
    EXPECT_EQ("IN\t07-Mar-2026\tann@example.org\tHello",
              lx::MessageRowText('I', "Hello&&N& ", t, "ann@example.org", "", Months()));
    EXPECT_EQ("I F\t07-Mar-2026\tann@example.org\tFiles",
              lx::MessageRowText('I', "Files&& &F", t, "ann@example.org", "", Months()));
    // Without the marker the subject is shown whole and no letters follow the type.
    EXPECT_EQ("I\t07-Mar-2026\ta\tPlain", lx::MessageRowText('I', "Plain", t, "a", "", Months()));
}

TEST(MessageRows, OwnMailShowsTheFirstRecipientOrTheSender) {
    const lx::StoreTime t{2026, 12, 31, 0, 0, 0};
    EXPECT_EQ("O \t31-Decembe-2026\tbob@example.org\tOut",
              lx::MessageRowText('O', "Out&& & ", t, "me@x", "bob@example.org", Months()));
    EXPECT_EQ("O \t31-Decembe-2026\tme@x\tOut",
              lx::MessageRowText('O', "Out&& & ", t, "me@x", "", Months()));
    // Incoming mail never shows a recipient.
    EXPECT_EQ("I \t31-Decembe-2026\tme@x\tIn",
              lx::MessageRowText('I', "In&& & ", t, "me@x", "bob", Months()));
}

TEST(MessageRows, LongSubjectLosesOnlyItsMarker) {
    std::string subject(250, 'x');
    subject += "&&N&F";
    ASSERT_EQ(255u, subject.size());
    const auto fields = lx::SplitRowFields(
        lx::MessageRowText('I', subject, {2026, 1, 2, 0, 0, 0}, "a", "", Months()));
    EXPECT_EQ("INF", fields[0]);
    EXPECT_EQ(std::string(250, 'x'), fields[3]);
}

TEST(MessageRows, SplitFieldsAndIcons) {
    const auto f = lx::SplitRowFields("IN\tdate\taddr\tsub\twith tab");
    EXPECT_EQ("IN", f[0]);
    EXPECT_EQ("addr", f[2]);
    EXPECT_EQ("sub\twith tab", f[3]);
    const auto p = lx::SplitRowFields(lx::PlaceholderRowText("*** empty ***"));
    EXPECT_EQ("*** empty ***", p[0]);
    EXPECT_EQ("", p[3]);
    EXPECT_EQ(lx::RowIcon::IncomingNewFiles, lx::IconForFlags("INF"));
    EXPECT_EQ(lx::RowIcon::IncomingNew, lx::IconForFlags("IN"));
    EXPECT_EQ(lx::RowIcon::IncomingFiles, lx::IconForFlags("I F"));
    EXPECT_EQ(lx::RowIcon::Incoming, lx::IconForFlags("I "));
    EXPECT_EQ(lx::RowIcon::Incoming, lx::IconForFlags("I"));
    EXPECT_EQ(lx::RowIcon::None, lx::IconForFlags("ONF"));
    EXPECT_EQ(lx::RowIcon::None, lx::IconForFlags(""));
}

TEST(MessageRows, DropTargets) {
    EXPECT_TRUE(lx::IsDropTarget(5, 4, 3));
    EXPECT_FALSE(lx::IsDropTarget(4, 4, 3));  // the listed folder
    EXPECT_FALSE(lx::IsDropTarget(3, 4, 3));  // _IN
    EXPECT_FALSE(lx::IsDropTarget(-1, 4, 3)); // no folder
}

TEST(ListSelectionRules, ClickCtrlShiftAndAnchor) {
    lx::ListSelection s;
    s.Reset(10);
    s.Click(2, false, false);
    EXPECT_EQ(std::vector<int>({2}), s.Selected());
    s.Click(5, false, true);
    EXPECT_EQ(std::vector<int>({2, 3, 4, 5}), s.Selected());
    s.Click(0, false, true); // range from the same anchor, the rest cleared
    EXPECT_EQ(std::vector<int>({0, 1, 2}), s.Selected());
    s.Click(7, true, false);
    EXPECT_EQ(std::vector<int>({0, 1, 2, 7}), s.Selected());
    s.Click(1, true, false);
    EXPECT_EQ(std::vector<int>({0, 2, 7}), s.Selected());
    EXPECT_EQ(1, s.Anchor());
    s.Click(3, false, true);
    EXPECT_EQ(std::vector<int>({1, 2, 3}), s.Selected());
    s.Click(4, false, false);
    EXPECT_EQ(std::vector<int>({4}), s.Selected());
    s.Click(10, false, false); // beyond the last row: nothing changes
    EXPECT_EQ(std::vector<int>({4}), s.Selected());
    s.SelectAll();
    EXPECT_EQ(10u, s.Selected().size());
    s.Reset(3);
    EXPECT_TRUE(s.Selected().empty());
}

} // namespace
