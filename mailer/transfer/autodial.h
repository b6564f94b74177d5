// "Dialer Setup": how often the mail is checked automatically, whether queued mail is sent at
// the same time, whether the machine is always connected or dials a phone-book entry, and which
// mailbox accounts the check serves. Save writes AUTODIAL.STP.
#pragma once
#include <windows.h>

#include <string>

#include "common/settings/dialer_settings.h"
#include "common/settings/mailbox_record.h"

namespace lx {
class MessageCatalog;
class CommandPlugs;
struct RasEntryPoints;

struct DialerSetupData {
    MessageCatalog* catalog = nullptr;
    std::string installPath; // AUTODIAL.STP and the help file
    const MailboxList* mailboxes = nullptr;
    // The dial-up library's entry points; without them only the local network is offered.
    const RasEntryPoints* ras = nullptr;
    // In: the settings shown. Out: the settings saved, only when the dialog ends with OK.
    DialerSettings* settings = nullptr;
};

// IDOK once the settings were saved; IDCANCEL otherwise (also when they could not be written).
INT_PTR ShowDialerSetupDialog(HWND owner, DialerSetupData* data);

// Plugs the dialog into the main window's "Dialer Setup" command.
void PlugDialerSetup(CommandPlugs& plugs, const DialerSetupData& data);

} // namespace lx
