// After a run whose server's certificate was refused: offers the user, in a box, to trust that
// very certificate for the current mailbox (by its SHA-256 fingerprint, kept as the mailbox's
// pin), naming the reason and the fingerprint. Never in an automatic run, and never for a
// refusal a pin would not mend.
#pragma once

#include <windows.h>

#include <string>

#include "common/settings/mailbox_security.h"

namespace lx {
class MessageCatalog;

struct TrustQuestion {
    MessageCatalog* catalog = nullptr;
    const char* registryKey = nullptr; // the current mailbox's values and the mailboxes' keys
    MailServer server = MailServer::Pop3;
    std::string serverName;
    bool pinned = false;    // the run had a pin: the certificate has changed since
    bool automatic = false; // nobody to ask
};

// Whether the refusal offers a certificate to trust at all.
bool OffersTrust(const char* refusal);

// A refusal a run's dialog keeps until it can ask about it: the status that brought it is
// handled first (the question has a message loop of its own).
class PendingTrust {
public:
    TrustQuestion question; // filled by the dialog when its run starts
    // Keeps the refusal when it offers a certificate to trust; true then.
    bool Keep(const char* refusal);
    // Asks about the kept refusal, once; the log line, "" when nothing was kept.
    std::string Ask(HWND owner);

private:
    std::string refusal_;
};
// Asks (unless automatic) and keeps the pin on Yes. The log line that says what became of it,
// or "" when the refusal offers nothing.
std::string OfferCertificateTrust(HWND owner, const TrustQuestion& question,
                                  const std::string& refusal);

} // namespace lx
