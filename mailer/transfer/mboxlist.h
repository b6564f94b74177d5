// "Mail Box List": the user's mailboxes, with Add, Edit, Delete and Change Password, opened by
// the main window's Mailbox Setup command; and the set-up wizard of the first start.
#pragma once
#include "common/settings/mailbox_record.h"
#include "common/settings/settings_registry.h"

#include <windows.h>
#include <functional>
#include <string>

class odbcvantConnection;

namespace lx {
class MessageCatalog;
class CommandPlugs;

struct MailboxListData {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;     // the editors' default-folder list
    std::string installPath;                // MAILBOXX.STP, the help file
    MailboxList* mailboxes = nullptr;       // the program's account list, changed in place
    long inFolderNum = 0;                   // FolderNum of _IN as the folder pane knows it
    const char* registryKey = kRegistryKey; // the mailboxes' own keys live under it
    bool changed = false;                   // out: the list was changed (and written)
};

// Every change is written to MAILBOXX.STP at once; a file that cannot be written is reported
// and the list in memory keeps the change. The caller refills the main window's mailbox
// selector afterwards, which mirrors the current mailbox into the registry.
INT_PTR ShowMailboxListDialog(HWND owner, MailboxListData* data);

// What mailbox set-up needs from the program.
struct MailboxSetupContext {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    std::string installPath;
    MailboxList* mailboxes = nullptr;
    // FolderNum of _IN as the folder pane knows it at the moment of asking.
    std::function<long()> inFolderNum;
};

// Plugs the Mailbox Setup command into `plugs` (the main window's); it answers IDOK when the
// list was changed.
void PlugMailboxSetup(CommandPlugs& plugs, const MailboxSetupContext& context);

// The first start: with no mailbox at all the set-up wizard runs for the first record; finished
// with OK, that mailbox is added as the current one. True when a mailbox was added (the caller
// then fills the selector and writes the list).
bool RunFirstMailboxSetup(HWND owner, const MailboxSetupContext& context);

} // namespace lx
