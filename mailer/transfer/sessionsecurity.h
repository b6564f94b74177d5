// What a run tells its POP3 or SMTP session about the current mailbox's security before it
// connects. Clear text on the usual port tells it nothing: the run makes exactly the calls it
// always made.
#pragma once

#include "common/settings/mailbox_keys.h"
#include "netlib/tern32.h"

namespace lx {

struct SendingSettings;

// False when the session refused the settings (a pin the library cannot read is dropped and
// the system's trusted authorities decide instead).
bool ApplyPop3Security(TERNHANDLE session, const ServerSecurity& security);
// The security, and the login when the mailbox asks for one (the caller wipes the plain
// password once the session has it).
bool ApplySmtpSecurity(TERNHANDLE session, const SendingSettings& settings);

} // namespace lx
