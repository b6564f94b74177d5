// A protocol session as the host holds it: the portable state machine with its Win32 port.
#pragma once

#include <new>
#include <utility>

#include "netlib/core/handletable.h"
#include "netlib/win/sessionwindow.h"

namespace lx::net {

template <class Machine>
struct WinSession {
    template <class... Args>
    WinSession(const SessionWindowClass& cls, const Notifier& host, Args&&... args)
        : port(cls, host), machine(port, std::forward<Args>(args)...) {
        port.attach(&machine);
    }
    WinSessionPort port;
    Machine machine;
};

// Creates a session and hands out its handle: 0, or -1 when it cannot be allocated.
template <class Machine, class... Args>
int createSession(TERNHANDLE* out, HandleKind kind, const SessionWindowClass& cls,
                  const Notifier& host, Args&&... args) {
    if (!out) return -1;
    auto* s = new (std::nothrow) WinSession<Machine>(cls, host, std::forward<Args>(args)...);
    if (!s) return -1;
    const TERNHANDLE h = handles().add(s, kind);
    if (!h) {
        delete s;
        return -1;
    }
    *out = h;
    return 0;
}

template <class Machine>
WinSession<Machine>* findSession(TERNHANDLE h, HandleKind kind) {
    return static_cast<WinSession<Machine>*>(handles().find(h, kind));
}

// Closes the socket, destroys the window, closes the files and frees the session: 0, or -2.
template <class Machine>
int closeSession(TERNHANDLE h, HandleKind kind) {
    auto* s = static_cast<WinSession<Machine>*>(handles().remove(h, kind));
    if (!s) return -2;
    delete s;
    return 0;
}

} // namespace lx::net
