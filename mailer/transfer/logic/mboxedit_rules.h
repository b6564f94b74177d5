// The rules both mailbox editors (the set-up wizard and the expert screen) share: the working
// copies of one record, the checks before a record is stored, the record that is stored, and
// the entries of the "Default Folder" list. Portable.
#pragma once
#include "common/settings/mailbox_record.h"
#include "common/settings/mailbox_security.h"

#include <cstddef>
#include <string>
#include <vector>

namespace lx {

// The working copies of a record while an editor is open; the password in plain text.
struct MailboxWork {
    std::string name;
    std::string pop3Server;
    std::string smtpServer;
    std::string address;
    std::string user;
    std::string password;
    bool deleteMail = false;
    bool apop = false;
    std::string defaultFolder;
    long defaultFolderNum = 0;
    MailboxSecurity security; // kept in the record's spare bytes
};

// The text fields of a record, with the most characters each one holds. The password may be
// longer than the record's 16 characters: the whole is kept beside the record.
enum class MailboxField { Name, Pop3Server, SmtpServer, Address, User, Password };
std::size_t MailboxFieldLimit(MailboxField field);
// The field's working copy.
std::string& WorkField(MailboxWork& work, MailboxField field);
const std::string& WorkField(const MailboxWork& work, MailboxField field);

// What a mailbox that nobody has named is called.
constexpr char kUnnamedMailbox[] = "NO NAME";

// The working copies of a stored record (its password unscrambled).
MailboxWork WorkFromRecord(const MailboxRecord& record);
// The working copies of a mailbox not yet in the list: everything empty, mail into _IN.
MailboxWork NewMailboxWork(long inFolderNum);

// Why an editor does not store its work.
enum class WorkRefusal {
    None,
    NameTooLong,      // the name has more than 12 characters
    FieldTooLong,     // another text field is longer than its record field holds
    NameTaken,        // another mailbox has this name (ignoring case)
    PasswordNotPlain, // the password holds a character outside 1..127, which cannot be stored
    Unfinished,       // the wizard is not on its last step
    PortNotValid,     // a port that is not a number from 1 to 65535
};
struct WorkCheck {
    WorkRefusal refusal = WorkRefusal::None;
    MailboxField field = MailboxField::Name; // the field refused
};

// Checks one field's working copy (its length; for the password also its characters).
WorkCheck CheckWorkField(MailboxField field, const std::string& value);
// Checks every field, then the name (as it would be stored) against the other mailboxes of
// `list`; `index` is the record being edited (the count for a new one).
WorkCheck CheckWork(const MailboxWork& work, const MailboxList& list, int index);

// The name a mailbox is stored under: an empty name becomes kUnnamedMailbox.
std::string StoredMailboxName(const std::string& name);

// The record the editor stores: `base` (the record as it was: its current flag and unused
// bytes stay) with every working copy, the password scrambled. The work must have passed
// CheckWork.
MailboxRecord RecordFromWork(const MailboxWork& work, const MailboxRecord& base);

// A default-folder entry: "<folder> [<FolderNum>]".
std::string FolderEntryText(const std::string& folder, long folderNum);
// Whether a folder is offered as a default folder: every folder except _OUT and _SENT.
bool IsOfferedAsDefaultFolder(const std::string& folder);

struct FolderChoice {
    std::string folder;
    long folderNum = 0;
};
// The folder an entry names. An entry that does not end in " [<number>]" (no folder was listed)
// stands for _IN with `inFolderNum`.
FolderChoice FolderFromEntry(const std::string& entry, long inFolderNum);

// The entry to select for the working default folder: the entry of that folder (by its exact
// name, else ignoring case), else the first entry; -1 when there are no entries.
int PickFolderEntry(const std::vector<std::string>& entries, const std::string& folder);

// The security lists offer the choices in the order of their values: none, STLS (POP3) or
// STARTTLS (SMTP), TLS from the first byte.
constexpr int kSecurityChoices = 3;
// The port field as an editor shows it: the record's port, or the usual one for the security.
std::string PortFieldText(const MailboxSecurity& security, MailServer server);
// The port to keep for what the port field holds: 0 (the usual one) when it is empty or holds the
// usual port for the security; false when it is no port.
bool PortFromField(const std::string& text, MailServer server, MailSecurity security,
                   std::uint16_t& port);
// The port field once the security choice has changed: it follows the choice while it showed
// the usual port of the former one (or nothing); a port of the user's own stays.
std::string PortFieldAfterChoice(const std::string& shown, MailServer server, MailSecurity before,
                                 MailSecurity after);

// Whether a password survives being stored scrambled: scrambling maps the codes 1..127 only.
bool IsStorablePassword(const std::string& text);

// Overwrites a plain-text password before its memory is given up.
void WipeText(std::string& text);
void WipeText(char* text, std::size_t size);

} // namespace lx
