// How a socket or session reaches its host: a posted message to a window or to a thread.
#pragma once

#include <windows.h>

namespace lx::net {

// Receives a socket's events inside the library (a protocol session on the same thread), so
// they need not make a trip through the window system.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void deliver(int code, LPARAM value) = 0;
    // The socket has finished handling one platform event: what it delivered can be acted on.
    virtual void flush() = 0;
};

struct Notifier {
    HWND window = nullptr;
    DWORD thread = 0;
    bool threadMode = false;
    UINT message = 0;
    EventSink* sink = nullptr;

    static Notifier toWindow(HWND w, UINT msg) { return Notifier{w, 0, false, msg, nullptr}; }
    static Notifier toThread(DWORD t, UINT msg) { return Notifier{nullptr, t, true, msg, nullptr}; }

    // Results are always posted, never sent: the host's handler runs from its own loop.
    void post(int code, LPARAM value) const {
        if (sink)
            sink->deliver(code, value);
        else if (threadMode)
            PostThreadMessageA(thread, message, static_cast<WPARAM>(code), value);
        else
            PostMessageA(window, message, static_cast<WPARAM>(code), value);
    }
};

} // namespace lx::net
