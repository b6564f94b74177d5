// What a mailbox keeps in a registry key of its own beside its MAILBOXX.STP record,
// <settings key>\Mailboxes\<name>: the fingerprints of the certificates the user chose to trust
// for its servers, and a password longer than the record's 16 characters. And how a run reads
// the current mailbox's security: the mirrored values, and the pins of the mailbox they name.
#pragma once

#include <string>

#include "common/settings/mailbox_record.h"
#include "common/settings/mailbox_security.h"
#include "common/settings/settings_registry.h"

namespace lx {

constexpr char kRegMailboxesKey[] = "Mailboxes";
constexpr char kRegPop3Pin[] = "POP3Pin";
constexpr char kRegSmtpPin[] = "SMTPPin";
constexpr char kRegLongPassword[] = "LongPword";

// The key a mailbox's name gives under Mailboxes: the name with "\", "%" and control codes
// written as %XX, so that every name is one key of its own; "%" for the empty name.
std::string MailboxKeyName(const std::string& mailbox);

// The fingerprint the user trusts for one of the mailbox's servers ("" for none), as the network
// library takes it ("AB:CD:..."), and storing one ("" removes it).
std::string ReadMailboxPin(SettingsRegistry& settings, const std::string& mailbox,
                           MailServer server);
bool WriteMailboxPin(SettingsRegistry& settings, const std::string& mailbox, MailServer server,
                     const std::string& fingerprint);

// A password longer than the record holds: the record keeps its first 16 characters, the
// mailbox's key the whole, both scrambled alike. The scrambled password the mailbox logs in
// with: the kept one while it begins with the record's; otherwise the record's own (a program
// that knows only the record has changed it since).
std::string MailboxPassword(SettingsRegistry& settings, const MailboxRecord& record);
// Keeps the whole of a plain password that the record cannot hold; a password the record holds
// removes what was kept. False when it could not be written.
bool KeepMailboxPassword(SettingsRegistry& settings, const std::string& mailbox,
                         const std::string& plain);

// A mailbox renamed takes what its key holds along; a mailbox deleted leaves nothing behind.
bool RenameMailboxKey(SettingsRegistry& settings, const std::string& from, const std::string& to);
bool ForgetMailboxKey(SettingsRegistry& settings, const std::string& mailbox);

// How a run reaches the current mailbox's server: from the mirrored values (an older mirror
// without them reads as clear text on the usual port) and the pin of the mailbox they name.
struct ServerSecurity {
    MailSecurity security = MailSecurity::None;
    int port = 0;    // the usual one for the security when none is mirrored
    std::string pin; // only with a secured connection
};
ServerSecurity ReadCurrentSecurity(SettingsRegistry& settings, MailServer server);
bool ReadCurrentSmtpLogin(SettingsRegistry& settings);
std::string ReadCurrentMailboxName(SettingsRegistry& settings);
// Whether the session must be told anything: clear text on the usual port is what it does anyway.
bool AsksForMore(const ServerSecurity& security, MailServer server);

} // namespace lx
