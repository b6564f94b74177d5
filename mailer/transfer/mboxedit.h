// What the "Mail Box List" hands to either mailbox editor (the set-up wizard and the expert
// screen), and the pieces of window work both editors share.
#pragma once
#include "common/settings/mailbox_record.h"
#include "common/settings/settings_registry.h"
#include "mailer/transfer/logic/mboxedit_rules.h"

#include <windows.h>
#include <functional>
#include <string>

class odbcvantConnection;

namespace lx {
class Dialog;
class MessageCatalog;
class MessageMap;

struct MailboxEditData {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;     // the default-folder list; none: the list is empty
    std::string installPath;                // the help file
    const MailboxList* mailboxes = nullptr; // the account list: the record edited, the name check
    int index = 0;                          // the record edited; the count for a new mailbox
    long inFolderNum = 0;                   // FolderNum of _IN as the folder pane knows it
    const char* registryKey = kRegistryKey; // the mailboxes' own keys live under it
    MailboxRecord record;                   // out, on IDOK: the record to store at `index`
};

// The editor's working copies: the stored record's (password unscrambled) when `index` names
// one, else those of a new mailbox.
MailboxWork StartMailboxWork(const MailboxEditData& data);

// Fills a drop-down list with the default-folder entries of the store and selects the one of
// `folder` (else the first).
void FillDefaultFolderList(HWND combo, const MailboxEditData& data, const std::string& folder,
                           HWND owner);
// The folder the list's selected entry names (_IN when there is none).
FolderChoice ChosenDefaultFolder(HWND combo, long inFolderNum);

// The box that tells why an editor did not store its work; `name` is the mailbox name checked.
void ShowWorkRefusal(HWND owner, MessageCatalog* catalog, const WorkCheck& check,
                     const std::string& name);

// The finished work as the record to store: the record as it was, with the working copies. What
// the mailbox keeps beside its record follows: a long password is kept whole, a renamed
// mailbox takes its key along, and a server whose name changed loses its trusted certificate.
MailboxRecord FinishedMailboxRecord(const MailboxEditData& data, const MailboxWork& work);

// The security lists, ports and login box of an editor.
struct SecurityControlIds {
    int pop3List, pop3Port, smtpList, smtpPort, login;
};
class SecurityFields {
public:
    SecurityFields(const SecurityControlIds& ids, MessageCatalog* catalog)
        : ids_(ids), catalog_(catalog) {}
    // Fills the lists with their choices and shows `security`.
    void Show(HWND dialog, const MailboxSecurity& security);
    // A new choice in a list moves its port along (PortFieldAfterChoice).
    void MapChoices(MessageMap& map, const Dialog& dialog);
    // Reads one server's controls into `security`; false, with the box that says why and the port
    // field focused, when its port is not valid.
    bool Read(HWND dialog, MailServer server, MailboxSecurity& security) const;

private:
    void Follow(HWND dialog, MailServer server);

    SecurityControlIds ids_;
    MessageCatalog* catalog_;
    MailSecurity shown_[2] = {MailSecurity::None, MailSecurity::None};
};

// A control's whole text.
std::string ItemText(HWND dialog, int id);

// Maps a button's click to `action`.
void MapClick(MessageMap& map, int id, std::function<void()> action);
// Maps the dialog's Help button (IDHELP) and F1 to its topic in the help file.
void MapHelp(MessageMap& map, const Dialog& dialog, const std::string& installPath, int context);

} // namespace lx
