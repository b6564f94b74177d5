// The composer's store work against a real store: the rows of a saved message, replacing an
// opened message without leaving its old rows behind, and deleting one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/schema/sqlforms.h"
#include "mailer/ui/store/editfram_store.h"
#include "tests/store/store_fixture.h"

namespace lxtest {
namespace {

class ComposerStore : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        Exec("INSERT INTO Folders (Folder, FolderType, Description) VALUES ('_OUT', 'S', 'o')");
        out = QueryLong("SELECT FolderNum FROM Folders WHERE Folder = '_OUT'");
    }
    lx::ComposedMessage Message(int second) const {
        lx::ComposedMessage m;
        m.folderNum = out;
        m.signature = "Work";
        m.returnAddress = "me@example.org";
        m.subjectText = "Plans";
        m.body = "Hello.\r\n";
        m.to = {"a@example.org", "b@example.org"};
        m.cc = {"c@example.org"};
        m.files = {"C:\\ONE.TXT", "C:\\TWO.TXT"};
        m.appDate = lx::StoreTime{2026, 12, 10, 8, 0, second};
        return m;
    }
    static long Count(const std::string& table, long mesgNum) {
        return QueryLong("SELECT COUNT(*) FROM " + table + " WHERE " +
                         lx::ConditionMesgNum(mesgNum));
    }
    long out = -1;
};

TEST_F(ComposerStore, SavedMessageHasExactlyItsRows) {
    long key = -1;
    ASSERT_EQ(lx::SaveComposedMessage(&Conn(), nullptr, Message(1), -1, &key),
              lx::SaveResult::Saved);
    ASSERT_GT(key, 0);
    lx::StoredMessage stored;
    ASSERT_TRUE(lx::ReadStoredMessage(&Conn(), nullptr, key, &stored));
    EXPECT_EQ(stored.subject, "Plans&& &F");
    EXPECT_EQ(stored.mesgId, "Work");
    EXPECT_EQ(stored.fromAdd, "me@example.org");
    EXPECT_EQ(stored.mesgType, "O");
    EXPECT_EQ(stored.folderNum, out);
    EXPECT_EQ(stored.mailData, "Hello.\r\n");
    std::vector<std::string> to, cc, files;
    ASSERT_TRUE(lx::ReadMessageList(&Conn(), nullptr, lx::MessageList::To, key, &to));
    ASSERT_TRUE(lx::ReadMessageList(&Conn(), nullptr, lx::MessageList::Cc, key, &cc));
    ASSERT_TRUE(lx::ReadMessageList(&Conn(), nullptr, lx::MessageList::Files, key, &files));
    EXPECT_EQ(to, Message(1).to);
    EXPECT_EQ(cc, Message(1).cc);
    EXPECT_EQ(files, Message(1).files);
}

TEST_F(ComposerStore, ReplacingLeavesNoRowOfTheOldMessage) {
    long first = -1, second = -1;
    ASSERT_EQ(lx::SaveComposedMessage(&Conn(), nullptr, Message(2), -1, &first),
              lx::SaveResult::Saved);
    lx::ComposedMessage edited = Message(3);
    edited.to = {"z@example.org"};
    edited.files.clear();
    ASSERT_EQ(lx::SaveComposedMessage(&Conn(), nullptr, edited, first, &second),
              lx::SaveResult::Saved);
    EXPECT_NE(second, first);
    for (const char* table : {"Messages", "ToList", "CcList", "Files"})
        EXPECT_EQ(Count(table, first), 0) << table;
    EXPECT_EQ(Count("ToList", second), 1);
    EXPECT_EQ(Count("Files", second), 0);
    EXPECT_EQ(QueryLong("SELECT COUNT(*) FROM Messages"), 1);
}

TEST_F(ComposerStore, FailedSaveKeepsTheOpenedMessageWhole) {
    long first = -1, second = -1;
    ASSERT_EQ(lx::SaveComposedMessage(&Conn(), nullptr, Message(4), -1, &first),
              lx::SaveResult::Saved);
    InstallErrorHook();
    ReportedErrors().clear();
    // The Cc rows of the new copy cannot be written: the store has lost that table.
    Exec("DROP TABLE CcList");
    EXPECT_EQ(lx::SaveComposedMessage(&Conn(), nullptr, Message(5), first, &second),
              lx::SaveResult::NotSaved);
    EXPECT_EQ(second, -1);
    EXPECT_FALSE(ReportedErrors().empty());
    EXPECT_EQ(QueryLong("SELECT COUNT(*) FROM Messages"), 1);
    EXPECT_EQ(Count("Messages", first), 1);
    EXPECT_EQ(Count("ToList", first), 2);
    EXPECT_EQ(Count("Files", first), 2);
    Exec("CREATE TABLE CcList (MesgNum INTEGER, CcName VARCHAR(80))");
    EXPECT_EQ(QueryLong("SELECT COUNT(*) FROM ToList"), 2) << "no row of the failed copy stays";
}

TEST_F(ComposerStore, DeleteAndMoveTouchOnlyTheMessage) {
    long a = -1, b = -1;
    ASSERT_EQ(lx::SaveComposedMessage(&Conn(), nullptr, Message(6), -1, &a), lx::SaveResult::Saved);
    ASSERT_EQ(lx::SaveComposedMessage(&Conn(), nullptr, Message(7), -1, &b), lx::SaveResult::Saved);
    Exec("INSERT INTO Folders (Folder, FolderType, Description) VALUES ('_TRASHCAN', 'S', 't')");
    const long trash = QueryLong("SELECT FolderNum FROM Folders WHERE Folder = '_TRASHCAN'");
    ASSERT_TRUE(lx::MoveComposedMessage(&Conn(), nullptr, a, trash));
    EXPECT_EQ(QueryLong("SELECT FolderNum FROM Messages WHERE " + lx::ConditionMesgNum(a)), trash);
    EXPECT_EQ(QueryLong("SELECT FolderNum FROM Messages WHERE " + lx::ConditionMesgNum(b)), out);
    ASSERT_TRUE(lx::DeleteMessageWithRows(&Conn(), nullptr, a));
    for (const char* table : {"Messages", "ToList", "CcList", "Files"}) {
        EXPECT_EQ(Count(table, a), 0) << table;
        EXPECT_GT(Count(table, b), 0) << table;
    }
}

} // namespace
} // namespace lxtest
