#include "mailer/ui/logic/autorun.h"

#include "common/catalog/msgcatalog.h"
#include "common/log/logwriter.h"
#include "common/settings/fixed_text.h"
#include "common/settings/settings_registry.h"

namespace lx {

namespace {
constexpr char kRunStartedKey[] = "MAINFRM_CPP_28";
constexpr char kQueuedKey[] = "MAINFRM_CPP_29";
constexpr char kLastAcceptedKey[] = "MAINFRM_CPP_30";
constexpr char kSendOffKey[] = "MAINFRM_CPP_31";
constexpr char kCheckingKey[] = "MAINFRM_CPP_32";
constexpr char kMailboxKey[] = "MAINFRM_CPP_33";
constexpr char kTotalWaitingKey[] = "MAINFRM_CPP_34";
constexpr char kRetrievingKey[] = "MAINFRM_CPP_35";
constexpr char kRetrievalBusyKey[] = "MAINFRM_CPP_36";

// The Messages box ends its last entry with CR LF; the log adds its own.
std::string WithoutLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}
} // namespace

std::vector<AutoRunStep> PlanAutoRun(const DialerSettings& settings, const MailboxList& mailboxes,
                                     bool sendingOpen, bool retrievingOpen) {
    std::vector<AutoRunStep> steps;
    const bool send = settings.sendToo != 0 && !sendingOpen;
    steps.push_back({send ? AutoRunStep::Kind::Send : AutoRunStep::Kind::SendOff});
    if (retrievingOpen) {
        steps.push_back({AutoRunStep::Kind::RetrievalBusy});
        return steps;
    }
    const int count = DialerSelectedCount(settings);
    for (int i = 0; i < count; ++i) {
        const std::string name = TextOf(settings.selectedMailboxes[i]);
        if (name.empty()) continue;
        const int index = FindMailbox(mailboxes, name.c_str());
        if (index >= 0) steps.push_back({AutoRunStep::Kind::Retrieve, index});
    }
    return steps;
}

void RunAutoMail(AutoRunHost& host, const DialerSettings& settings, const MailboxList& mailboxes,
                 SettingsRegistry& registry, LogWriter& log, MessageCatalog& catalog) {
    log.WriteMessage(catalog, kRunStartedKey);
    const std::vector<AutoRunStep> steps =
        PlanAutoRun(settings, mailboxes, host.SendingOpen(), host.RetrievingOpen());
    bool retrieved = false;
    for (const AutoRunStep& step : steps) {
        switch (step.kind) {
        case AutoRunStep::Kind::Send: {
            const SendSummary sent = host.Send();
            log.WriteMessage(catalog, kQueuedKey, {sent.queued});
            log.WriteMessage(catalog, kLastAcceptedKey, {sent.lastAccepted});
            log.WriteEntry(sent.status);
            log.WriteMessage(catalog, kCheckingKey);
            break;
        }
        case AutoRunStep::Kind::SendOff:
            log.WriteMessage(catalog, kSendOffKey);
            log.WriteMessage(catalog, kCheckingKey);
            break;
        case AutoRunStep::Kind::RetrievalBusy: log.WriteMessage(catalog, kRetrievalBusyKey); break;
        case AutoRunStep::Kind::Retrieve: {
            MakeCurrent(mailboxes, step.mailbox, registry);
            retrieved = true;
            log.WriteMessage(catalog, kMailboxKey, {TextOf(mailboxes.records[step.mailbox].name)});
            const RetrieveSummary got = host.Retrieve();
            log.WriteEntry(CatalogText(&catalog, kTotalWaitingKey) + got.totalWaiting);
            log.WriteEntry(CatalogText(&catalog, kRetrievingKey) + got.retrievingMessage);
            log.WriteEntry(WithoutLineEnd(got.messages));
            break;
        }
        }
    }
    // The registry serves the user's commands again: the account the selector shows.
    const int current = CurrentMailboxIndex(mailboxes);
    if (retrieved && current >= 0) MakeCurrent(mailboxes, current, registry);
}

} // namespace lx
