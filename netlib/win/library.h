// The process-wide library record and the hidden dispatch window through which all socket
// events arrive.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <vector>

namespace lx::net {

class TernSocket;

struct TernLibrary {
    WSADATA wsa{};
    bool wsaStarted = false;
    HWND dispatch = nullptr;
    int lastError = 0;
    // Sockets in the order they became active; lookup is by socket handle, first match wins.
    std::vector<TernSocket*> registry;
    // Closed sockets whose platform handle is released once their queued events have passed.
    std::vector<SOCKET> closing;
};

// The running library, or null before TERNStartWinSock and after TERNEndWinSock.
TernLibrary* library();
HINSTANCE moduleInstance();
void setModuleInstance(HINSTANCE instance);

// Creates one of the library's never-shown windows (overlapped style, default position and size)
// for `object`, which windowObject gives back in its window procedure.
// It only ever receives messages, so it is a message-only window: the window system keeps no
// surface for it and a thread that owns nothing else need not poll the display for its events.
HWND createHiddenWindow(const char* className, const char* title, void* object);

// The object a library window was created for: taken from the creation parameters at
// WM_NCCREATE into the window's user data, read from there afterwards (null once cleared).
template <class T>
T* windowObject(HWND hwnd, UINT msg, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* object = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        return object;
    }
    return reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void registerSocket(TernSocket* socket);
void unregisterSocket(TernSocket* socket);
// Asks the dispatch window to run a socket's event handling later (send pump, accepted connection).
bool postDispatch(SOCKET s, long event);
// Stops a socket's events and closes it once the events already queued for it have been
// dispatched (and ignored): the platform reuses handle values, and a late event of a closed
// socket must never reach a new socket that got the same handle.
void closeSocketLater(SOCKET s);

} // namespace lx::net
