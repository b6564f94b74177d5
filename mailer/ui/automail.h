// The automatic mail run of the main window (WM_USER+1994): "Send Mail [SMTP]" and "Retrieving
// Mail [POP3]" in their automatic modes for the check's settings, written to the check's log.
#pragma once
#include <string>

class odbcvantConnection;

namespace lx {
class CommandPlugs;
class LogWriter;
class MessageCatalog;
struct DialerSettings;
struct MailboxList;
struct SpecialFolderNumbers;
struct TransferMarks;

struct AutoMailContext {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    std::string installPath;
    TransferMarks* marks = nullptr;
    const SpecialFolderNumbers* specialFolders = nullptr;
    const MailboxList* mailboxes = nullptr;
    const DialerSettings* dialer = nullptr;
    LogWriter* log = nullptr; // the main window's check log
    // How long each dialog waits for a silent server before it ends the run; 0: its own period.
    unsigned silenceMillis = 0;
};

// Plugs the run in as the main window's automatic mail run; the owner is the main window.
void PlugAutoMailRun(CommandPlugs& plugs, const AutoMailContext& context);

} // namespace lx
