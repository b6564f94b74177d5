// The SMTP, POP3 and password-change exports.
#include "netlib/core/pop3session.h"
#include "netlib/core/popcpwsession.h"
#include "netlib/core/smtpsession.h"
#include "netlib/tern32.h"
#include "netlib/win/winsession.h"

using namespace lx::net;

namespace {
using Smtp = WinSession<SmtpSession>;
using Pop3 = WinSession<Pop3Session>;
using Cpw = WinSession<PopCpwSession>;
} // namespace

extern "C" int WINAPI TERNSMTPStartWindow(HWND hostWindow, UINT message, const char* spoolPath,
                                          TERNHANDLE* handle) {
    return createSession<SmtpSession>(handle, HandleKind::SmtpSession, kSmtpWindow,
                                      Notifier::toWindow(hostWindow, message), spoolPath);
}
extern "C" int WINAPI TERNSMTPStartThread(DWORD hostThread, UINT message, const char* spoolPath,
                                          TERNHANDLE* handle) {
    return createSession<SmtpSession>(handle, HandleKind::SmtpSession, kSmtpWindow,
                                      Notifier::toThread(hostThread, message), spoolPath);
}
extern "C" int WINAPI TERNSMTPSendMail(TERNHANDLE handle, const char* server) {
    Smtp* s = findSession<SmtpSession>(handle, HandleKind::SmtpSession);
    if (!s) return -4;
    return s->machine.sendMail(server);
}
extern "C" int WINAPI TERNSMTPClose(TERNHANDLE handle) {
    return closeSession<SmtpSession>(handle, HandleKind::SmtpSession);
}

extern "C" int WINAPI TERNPOP3StartWindow(HWND hostWindow, UINT message, const char* spoolPath,
                                          TERNHANDLE* handle) {
    return createSession<Pop3Session>(handle, HandleKind::Pop3Session, kPop3Window,
                                      Notifier::toWindow(hostWindow, message), spoolPath);
}
extern "C" int WINAPI TERNPOP3StartThread(DWORD hostThread, UINT message, const char* spoolPath,
                                          TERNHANDLE* handle) {
    return createSession<Pop3Session>(handle, HandleKind::Pop3Session, kPop3Window,
                                      Notifier::toThread(hostThread, message), spoolPath);
}
extern "C" int WINAPI TERNPOP3IsThereMail(TERNHANDLE handle, const char* server, const char* user,
                                          const char* password, int apop) {
    Pop3* s = findSession<Pop3Session>(handle, HandleKind::Pop3Session);
    if (!s) return -4;
    return s->machine.start(server, user, password, false, apop != 0, true);
}
extern "C" int WINAPI TERNPOP3PullMail(TERNHANDLE handle, const char* server, const char* user,
                                       const char* password, int deleteAfter, int apop) {
    Pop3* s = findSession<Pop3Session>(handle, HandleKind::Pop3Session);
    if (!s) return -4;
    return s->machine.start(server, user, password, deleteAfter != 0, apop != 0, false);
}
extern "C" int WINAPI TERNPOP3NumMail(TERNHANDLE handle, int* count) {
    Pop3* s = findSession<Pop3Session>(handle, HandleKind::Pop3Session);
    if (!s) return -4;
    if (count) *count = s->machine.messageCount();
    return 0;
}
extern "C" int WINAPI TERNPOP3Close(TERNHANDLE handle) {
    return closeSession<Pop3Session>(handle, HandleKind::Pop3Session);
}

extern "C" int WINAPI TERNPOPCPWStartWindow(HWND hostWindow, UINT message, TERNHANDLE* handle) {
    return createSession<PopCpwSession>(handle, HandleKind::PasswordSession, kPopCpwWindow,
                                        Notifier::toWindow(hostWindow, message));
}
extern "C" int WINAPI TERNPOPCPWStartThread(DWORD hostThread, UINT message, TERNHANDLE* handle) {
    return createSession<PopCpwSession>(handle, HandleKind::PasswordSession, kPopCpwWindow,
                                        Notifier::toThread(hostThread, message));
}
extern "C" int WINAPI TERNPOPCPWChangeNow(TERNHANDLE handle, const char* server, const char* user,
                                          const char* oldPassword, const char* newPassword) {
    Cpw* s = findSession<PopCpwSession>(handle, HandleKind::PasswordSession);
    if (!s) return -4;
    return s->machine.changeNow(server, user, oldPassword, newPassword);
}
extern "C" int WINAPI TERNPOPCPWClose(TERNHANDLE handle) {
    return closeSession<PopCpwSession>(handle, HandleKind::PasswordSession);
}
