// The SMTP, POP3 and password-change exports.
#include <cstring>

#include "netlib/core/pop3session.h"
#include "netlib/core/popcpwsession.h"
#include "netlib/core/sasl.h"
#include "netlib/core/sha256.h"
#include "netlib/core/smtpsession.h"
#include "netlib/tern32.h"
#include "netlib/win/winsession.h"

using namespace lx::net;

namespace {

// Which handle kind and window class each protocol's sessions use.
template <class Machine>
struct Kind;
template <>
struct Kind<SmtpSession> {
    static constexpr HandleKind handle = HandleKind::SmtpSession;
    static const SessionWindowClass& window() { return kSmtpWindow; }
};
template <>
struct Kind<Pop3Session> {
    static constexpr HandleKind handle = HandleKind::Pop3Session;
    static const SessionWindowClass& window() { return kPop3Window; }
};
template <>
struct Kind<PopCpwSession> {
    static constexpr HandleKind handle = HandleKind::PasswordSession;
    static const SessionWindowClass& window() { return kPopCpwWindow; }
};

template <class Machine, class... Args>
int create(TERNHANDLE* handle, const Notifier& host, Args... args) {
    return createSession<Machine>(handle, Kind<Machine>::handle, Kind<Machine>::window(), host,
                                  args...);
}

// Runs call on the session's state machine: -4 when the handle names no session of this kind.
template <class Machine, class Call>
int withMachine(TERNHANDLE handle, Call&& call) {
    WinSession<Machine>* s = findSession<Machine>(handle, Kind<Machine>::handle);
    if (!s) return -4;
    return call(s->machine);
}

// Sets how the session's next run secures its connection: 0, -3 for a bad value, -4.
template <class Machine>
int setSecurity(TERNHANDLE handle, int security, int port, const char* pin) {
    WinSession<Machine>* s = findSession<Machine>(handle, Kind<Machine>::handle);
    if (!s) return -4;
    SecurityMode mode;
    Sha256Digest digest{};
    const bool pinned = pin && *pin;
    if (!toSecurityMode(security, mode) || port < 0 || port > 65535 ||
        (pinned && !parseFingerprint(pin, digest)))
        return -3;
    s->machine.setSecurity(mode, port);
    s->port.setPin(pinned ? &digest : nullptr);
    return 0;
}

template <class Machine>
int closeOf(TERNHANDLE handle) {
    return closeSession<Machine>(handle, Kind<Machine>::handle);
}

} // namespace

extern "C" int WINAPI TERNSMTPStartWindow(HWND hostWindow, UINT message, const char* spoolPath,
                                          TERNHANDLE* handle) {
    return create<SmtpSession>(handle, Notifier::toWindow(hostWindow, message), spoolPath);
}
extern "C" int WINAPI TERNSMTPStartThread(DWORD hostThread, UINT message, const char* spoolPath,
                                          TERNHANDLE* handle) {
    return create<SmtpSession>(handle, Notifier::toThread(hostThread, message), spoolPath);
}
extern "C" int WINAPI TERNSMTPSendMail(TERNHANDLE handle, const char* server) {
    return withMachine<SmtpSession>(handle, [&](SmtpSession& m) { return m.sendMail(server); });
}
extern "C" int WINAPI TERNSMTPClose(TERNHANDLE handle) { return closeOf<SmtpSession>(handle); }
extern "C" int WINAPI TERNSMTPSetSecurity(TERNHANDLE handle, int security, int port,
                                          const char* pin) {
    return setSecurity<SmtpSession>(handle, security, port, pin);
}
extern "C" int WINAPI TERNSMTPSetLogin(TERNHANDLE handle, const char* user, const char* password) {
    return withMachine<SmtpSession>(handle, [&](SmtpSession& m) {
        const auto fits = [](const char* t) {
            return !t || strnlen(t, kLoginFieldSize) < kLoginFieldSize;
        };
        if (!fits(user) || !fits(password)) return -3;
        m.setLogin(user ? user : "", password ? password : "");
        return 0;
    });
}

extern "C" int WINAPI TERNPOP3StartWindow(HWND hostWindow, UINT message, const char* spoolPath,
                                          TERNHANDLE* handle) {
    return create<Pop3Session>(handle, Notifier::toWindow(hostWindow, message), spoolPath);
}
extern "C" int WINAPI TERNPOP3StartThread(DWORD hostThread, UINT message, const char* spoolPath,
                                          TERNHANDLE* handle) {
    return create<Pop3Session>(handle, Notifier::toThread(hostThread, message), spoolPath);
}
extern "C" int WINAPI TERNPOP3IsThereMail(TERNHANDLE handle, const char* server, const char* user,
                                          const char* password, int apop) {
    return withMachine<Pop3Session>(handle, [&](Pop3Session& m) {
        return m.start(server, user, password, false, apop != 0, true);
    });
}
extern "C" int WINAPI TERNPOP3PullMail(TERNHANDLE handle, const char* server, const char* user,
                                       const char* password, int deleteAfter, int apop) {
    return withMachine<Pop3Session>(handle, [&](Pop3Session& m) {
        return m.start(server, user, password, deleteAfter != 0, apop != 0, false,
                       deleteAfter == TERN_POP3_DELETE_WHEN_STORED);
    });
}
extern "C" int WINAPI TERNPOP3Finish(TERNHANDLE handle, int deleteMessages) {
    return withMachine<Pop3Session>(handle,
                                    [&](Pop3Session& m) { return m.finish(deleteMessages != 0); });
}
extern "C" int WINAPI TERNPOP3NumMail(TERNHANDLE handle, int* count) {
    return withMachine<Pop3Session>(handle, [&](Pop3Session& m) {
        if (count) *count = m.messageCount();
        return 0;
    });
}
extern "C" int WINAPI TERNPOP3Close(TERNHANDLE handle) { return closeOf<Pop3Session>(handle); }
extern "C" int WINAPI TERNPOP3SetSecurity(TERNHANDLE handle, int security, int port,
                                          const char* pin) {
    return setSecurity<Pop3Session>(handle, security, port, pin);
}

extern "C" int WINAPI TERNPOPCPWStartWindow(HWND hostWindow, UINT message, TERNHANDLE* handle) {
    return create<PopCpwSession>(handle, Notifier::toWindow(hostWindow, message));
}
extern "C" int WINAPI TERNPOPCPWStartThread(DWORD hostThread, UINT message, TERNHANDLE* handle) {
    return create<PopCpwSession>(handle, Notifier::toThread(hostThread, message));
}
extern "C" int WINAPI TERNPOPCPWChangeNow(TERNHANDLE handle, const char* server, const char* user,
                                          const char* oldPassword, const char* newPassword) {
    return withMachine<PopCpwSession>(handle, [&](PopCpwSession& m) {
        return m.changeNow(server, user, oldPassword, newPassword);
    });
}
extern "C" int WINAPI TERNPOPCPWClose(TERNHANDLE handle) { return closeOf<PopCpwSession>(handle); }
