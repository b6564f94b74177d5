// The automatic mail run: send the queued mail when the settings ask for it, then retrieve the
// mail of every selected mailbox account in turn, each step written to the check's log. The
// dialogs themselves are the host's; the order, the skipping and the log lines are here, so they
// are tested natively.
#pragma once
#include <string>
#include <vector>

#include "common/settings/dialer_settings.h"
#include "common/settings/mailbox_record.h"

namespace lx {

class LogWriter;
class MessageCatalog;
class SettingsRegistry;

// What the sending dialog leaves for its caller.
struct SendSummary {
    int queued = 0;       // messages queued in _OUT
    int lastAccepted = 0; // number of the last message the server accepted (0: none)
    std::string status;   // the dialog's last status text
};

// What the retrieval dialog leaves for its caller: its three summary texts.
struct RetrieveSummary {
    std::string totalWaiting;
    std::string retrievingMessage;
    std::string messages;
};

// The dialogs the run drives, in their automatic mode.
class AutoRunHost {
public:
    virtual ~AutoRunHost() = default;
    virtual bool SendingOpen() = 0;
    virtual bool RetrievingOpen() = 0;
    virtual SendSummary Send() = 0;
    // Retrieves the mail of the account the registry now holds.
    virtual RetrieveSummary Retrieve() = 0;
};

// One step of the run, in order.
struct AutoRunStep {
    enum class Kind { Send, SendOff, Retrieve, RetrievalBusy };
    Kind kind;
    int mailbox = -1; // Retrieve: the account record
};

// The steps for these settings: sending first (or its notice), then one retrieval per selected
// name that some account record has, in the settings' order.
std::vector<AutoRunStep> PlanAutoRun(const DialerSettings& settings, const MailboxList& mailboxes,
                                     bool sendingOpen, bool retrievingOpen);

// Runs the steps: each retrieved account is mirrored into the registry first, and afterwards the
// registry holds the current account again, the one the mailbox selector shows.
void RunAutoMail(AutoRunHost& host, const DialerSettings& settings, const MailboxList& mailboxes,
                 SettingsRegistry& registry, LogWriter& log, MessageCatalog& catalog);

} // namespace lx
