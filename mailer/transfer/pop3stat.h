// "Retrieving Mail [POP3]": fetches the current mailbox's mail over a POP3 connection of TERN32
// into the incoming spool file, shows the connection's progress, then stores every message in its
// folder (incoming filters or the mailbox's default folder). Manual mode stays open until the user
// closes it; automatic mode closes itself and is watched by a timer.
#pragma once
#include <windows.h>

#include <string>

#include "common/settings/settings_registry.h"

class odbcvantConnection;

namespace lx {
class MessageCatalog;
class CommandPlugs;
struct TransferMarks;
struct SpecialFolderNumbers;

struct Pop3StatData {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    std::string installPath;        // spool, backup, filters and the DATA folder live here
    TransferMarks* marks = nullptr; // its retrieving mark is held while the dialog exists
    bool automatic = false;         // set by the automatic mail run before showing
    HWND mainWindow = nullptr;      // whose title an automatic run changes; the owner when null
    long inFolderNum = -1;          // `_IN` as the folder pane found it; -1: looked up
    std::string registryKey = kRegistryKey; // the current mailbox's values
    unsigned watchdogMillis = 60000;        // period of the automatic run's watchdog

    // Out, readable after the dialog has ended: the fields and the Messages box as last shown.
    std::string connectionStatus;
    std::string totalWaiting;
    std::string retrievingMessage;
    std::string percentage;
    std::string messages;
    int messageTotal = 0;
    int messagesStored = 0;
    bool receivedOk = false;
};

INT_PTR ShowPop3StatDialog(HWND owner, Pop3StatData* data);

// What the Retrieve Mail command needs from the application.
struct MailRetrievalContext {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    const char* installPath = nullptr;
    TransferMarks* marks = nullptr;
    const SpecialFolderNumbers* specialFolders = nullptr;
};

// Plugs the Retrieve Mail command (manual mode) into the main window's commands.
void PlugMailRetrieval(CommandPlugs& plugs, const MailRetrievalContext& context);

} // namespace lx
