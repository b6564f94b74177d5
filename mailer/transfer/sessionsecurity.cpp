#include "mailer/transfer/sessionsecurity.h"

#include "mailer/transfer/logic/sendsettings.h"

namespace lx {
namespace {

using SetSecurity = int(WINAPI*)(TERNHANDLE, int, int, const char*);

bool Apply(SetSecurity set, TERNHANDLE session, const ServerSecurity& s, MailServer server) {
    if (!AsksForMore(s, server)) return true;
    const int security = static_cast<int>(s.security);
    const char* pin = s.pin.empty() ? nullptr : s.pin.c_str();
    if (set(session, security, s.port, pin) == 0) return true;
    return pin && set(session, security, s.port, nullptr) == 0;
}

} // namespace

bool ApplyPop3Security(TERNHANDLE session, const ServerSecurity& security) {
    return Apply(&TERNPOP3SetSecurity, session, security, MailServer::Pop3);
}

bool ApplySmtpSecurity(TERNHANDLE session, const SendingSettings& settings) {
    bool ok = Apply(&TERNSMTPSetSecurity, session, settings.security, MailServer::Smtp);
    if (settings.login)
        ok &= TERNSMTPSetLogin(session, settings.user.c_str(), settings.password.c_str()) == 0;
    return ok;
}

} // namespace lx
