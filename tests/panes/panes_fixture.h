// The pane tests' fixture: a real store, the program's catalogue, a scripted UI hook and a
// top-level window holding the folder pane and the message list side by side.
#pragma once
#include "common/settings/mailbox_record.h"
#include "mailer/ui/mailfold.h"
#include "mailer/ui/mailmess.h"
#include "tests/panes/panes_store.h"
#include "tests/startup/uitest.h"
#include "tests/store/store_fixture.h"

#include <memory>
#include <string>
#include <vector>

namespace lxtest {

class PaneTest : public StoreTest {
public:
    // List string of an item of a list box.
    static std::string ItemText(HWND list, int index);
    // Every item's string of a list box, in order.
    static std::vector<std::string> ItemTexts(HWND list);
    // Screen point in the middle of a row of a pane's list.
    static POINT RowPoint(HWND list, int index);
    // Lets posted messages run.
    static void Pump();

protected:
    void SetUp() override;
    void TearDown() override;

    // The catalogue text of a key (copied).
    static std::string Text(const char* key);
    lx::PaneContext Context();
    // Creates the folder pane (left) and the message list (right), wired as the splitter does,
    // and opens the list's query as the frame does.
    void CreatePanes();
    // Creates the special folders and the named user folders before the panes exist.
    void MakeFolders(const std::vector<std::string>& userFolders);
    ScriptedHook hook;
    HWND parent = nullptr;
    std::string installPath;
    lx::MailboxList mailboxes;
    lx::SpecialFolderNumbers specialFolders; // the frame's set, shared by both panes
    std::unique_ptr<lx::FolderPane> folders;
    std::unique_ptr<lx::MessageListPane> messages;
    std::vector<long> selectedFolders; // what the folder pane reported
    std::vector<long> counts;          // what the message list reported
    std::vector<std::pair<long, int>> opened;

    static TestCatalogue* s_catalogue;
};

} // namespace lxtest
