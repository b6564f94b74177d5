// "Send Mail [SMTP]": sends every queued message of _OUT through the SMTP server of the current
// mailbox and moves each message the server accepted to _SENT. Manual mode (the Send Mail
// command) stays open until the user closes it; automatic mode (the composer's send, the timed
// mail check) closes as soon as the run is over.
#pragma once
#include "common/settings/settings_registry.h"
#include "mailer/transfer/logic/transfermarks.h"

#include <windows.h>

#include <functional>
#include <string>

class odbcvantConnection;

namespace lx {
class MessageCatalog;
class CommandPlugs;

// The dialog's private messages and its time-out.
constexpr UINT WM_LX_SEND_START = WM_USER + 60;  // start sending (posted when shown)
constexpr UINT WM_LX_SMTP_STATUS = WM_USER + 61; // the SMTP session's status codes
constexpr UINT_PTR kSendTimeoutTimer = 100;
constexpr UINT kSendTimeoutMillis = 60000;
constexpr char kSmtpSpoolFile[] = "TernSmtp.Txt";

struct SendMailData {
    const char* installPath = nullptr; // the spool file and SIGNING.SIG lie here
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    long outFolder = -1;  // FolderNum of _OUT; -1: looked up by name
    long sentFolder = -1; // FolderNum of _SENT; -1: looked up by name
    bool automatic = false;
    TransferMarks* marks = nullptr; // `sending` is held while the dialog exists
    HWND mainWindow = nullptr;      // retitled while an automatic run works minimised
    const char* registryKey = kRegistryKey;
    UINT timeoutMillis = kSendTimeoutMillis; // automatic mode: no answer from the server
    // Out: the log as shown, and how many messages moved to _SENT; the queued count, the number
    // of the last message the server accepted and the last status text as the fields showed them.
    std::string log;
    int movedToSent = 0;
    int queued = 0;
    int lastAccepted = 0;
    std::string statusText;
};

// IDOK once a run has finished, IDCANCEL when the dialog was closed before; -1 when it could
// not be created.
INT_PTR ShowSendMailDialog(HWND owner, SendMailData* data);

struct SendMailContext {
    const char* installPath = nullptr;
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    TransferMarks* marks = nullptr;
    // The numbers of _OUT and _SENT as the folder pane knows them (-1 when not yet known).
    std::function<void(long* out, long* sent)> folders;
};

// The argument of the plugged command that asks for automatic mode.
constexpr char kSendAutomatic[] = "auto";

// Plugs Send Mail into `plugs` (the main window's). The owner window is the main window.
void PlugMailSending(CommandPlugs& plugs, const SendMailContext& context);

} // namespace lx
