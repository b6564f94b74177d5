// The default-folder entries read from a real store.
#include "mailer/transfer/logic/mboxedit_rules.h"
#include "mailer/transfer/store/mboxfolders.h"
#include "tests/store/store_fixture.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class DefaultFolderStore : public lxtest::StoreTest {
protected:
    static void AddFolder(const char* name, const char* type) {
        Exec(std::string("INSERT INTO Folders (Folder, FolderType, Description) VALUES ('") + name +
             "', '" + type + "', 'd')");
    }
    static long Num(const char* name) {
        return QueryLong(std::string("SELECT FolderNum FROM Folders WHERE Folder = '") + name +
                         "'");
    }
};

TEST_F(DefaultFolderStore, EveryFolderButOutAndSentInListOrder) {
    for (const char* special : {"_IN", "_OUT", "_DESK", "_DRAFT", "_SENT", "_TRASHCAN"})
        AddFolder(special, "S");
    AddFolder("Work", "U");
    AddFolder("Archive", "U");
    std::vector<std::string> entries = {"left over"};
    ASSERT_TRUE(lx::LoadDefaultFolderEntries(&Conn(), nullptr, entries));
    const std::vector<std::string> expected = {
        lx::FolderEntryText("_DESK", Num("_DESK")),
        lx::FolderEntryText("_DRAFT", Num("_DRAFT")),
        lx::FolderEntryText("_IN", Num("_IN")),
        lx::FolderEntryText("_TRASHCAN", Num("_TRASHCAN")),
        lx::FolderEntryText("Archive", Num("Archive")),
        lx::FolderEntryText("Work", Num("Work")),
    };
    EXPECT_EQ(expected, entries);
    // Each entry names its folder again.
    for (const std::string& entry : entries) {
        const lx::FolderChoice choice = lx::FolderFromEntry(entry, -1);
        EXPECT_NE(-1, choice.folderNum) << entry;
        EXPECT_EQ(entry, lx::FolderEntryText(choice.folder, choice.folderNum));
    }
}

TEST_F(DefaultFolderStore, EmptyStoreGivesNoEntries) {
    std::vector<std::string> entries = {"left over"};
    ASSERT_TRUE(lx::LoadDefaultFolderEntries(&Conn(), nullptr, entries));
    EXPECT_TRUE(entries.empty());
}

TEST_F(DefaultFolderStore, NoConnectionLeavesTheEntries) {
    std::vector<std::string> entries = {"kept"};
    EXPECT_FALSE(lx::LoadDefaultFolderEntries(nullptr, nullptr, entries));
    EXPECT_EQ(std::vector<std::string>{"kept"}, entries);
}

} // namespace
