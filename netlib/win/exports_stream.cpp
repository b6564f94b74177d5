// The stream-socket exports.
#include "netlib/win/exports_util.h"
#include "netlib/win/resolve.h"
#include "netlib/win/streamsocket.h"

using namespace lx::net;

namespace {

using Role = TernStreamSocket::Role;

int create(TERNHANDLE* handle, const Notifier& host, Role role, int port = 0) {
    return createSocketObject<TernStreamSocket>(handle, HandleKind::StreamSocket, host, role, port);
}

template <class Call>
int withStream(TERNHANDLE h, Call&& call) {
    return withSocket<TernStreamSocket>(h, HandleKind::StreamSocket, std::forward<Call>(call));
}

} // namespace

extern "C" int WINAPI TERNCreateStreamClientWindow(HWND hostWindow, UINT message,
                                                   TERNHANDLE* handle) {
    return create(handle, Notifier::toWindow(hostWindow, message), Role::Client);
}
extern "C" int WINAPI TERNCreateStreamClientThread(DWORD hostThread, UINT message,
                                                   TERNHANDLE* handle) {
    return create(handle, Notifier::toThread(hostThread, message), Role::Client);
}
extern "C" int WINAPI TERNCreateStreamServerWindow(int port, HWND hostWindow, UINT message,
                                                   TERNHANDLE* handle) {
    return create(handle, Notifier::toWindow(hostWindow, message), Role::Server, port);
}
extern "C" int WINAPI TERNCreateStreamServerThread(int port, DWORD hostThread, UINT message,
                                                   TERNHANDLE* handle) {
    return create(handle, Notifier::toThread(hostThread, message), Role::Server, port);
}
extern "C" int WINAPI TERNCreateStreamCommWindow(HWND hostWindow, UINT message,
                                                 TERNHANDLE* handle) {
    return create(handle, Notifier::toWindow(hostWindow, message), Role::Comm);
}
extern "C" int WINAPI TERNCreateStreamCommThread(DWORD hostThread, UINT message,
                                                 TERNHANDLE* handle) {
    return create(handle, Notifier::toThread(hostThread, message), Role::Comm);
}

extern "C" int WINAPI TERNStreamConnectToPort(TERNHANDLE handle, const char* host, int port) {
    return withStream(handle, [&](TernStreamSocket& s) {
        if (port < 1 || port > 65535) return refuseWith(s);
        return s.connectTo(host, htons(static_cast<unsigned short>(port)));
    });
}

extern "C" int WINAPI TERNStreamConnectToService(TERNHANDLE handle, const char* host,
                                                 const char* service) {
    return withStream(handle, [&](TernStreamSocket& s) {
        unsigned short portNet = 0;
        const int e = resolveService(service, "tcp", &portNet);
        if (e) return refuseWith(s, e);
        return s.connectTo(host, portNet);
    });
}

extern "C" int WINAPI TERNStreamWrite(TERNHANDLE handle, const void* data, int length) {
    return withStream(handle, [&](TernStreamSocket& s) { return s.write(data, length); });
}

extern "C" int WINAPI TERNStreamRead(TERNHANDLE handle, void* buffer, int length) {
    return withStream(handle, [&](TernStreamSocket& s) {
        if (!buffer && length > 0) return refuseWith(s);
        return s.takeReceived(static_cast<char*>(buffer), length, nullptr) < 0 ? -2 : 0;
    });
}

extern "C" int WINAPI TERNSetStreamBufferSize(TERNHANDLE handle, int size) {
    return withStream(handle, [&](TernStreamSocket& s) { return s.growBuffer(size) ? 0 : -2; });
}

extern "C" int WINAPI TERNStreamAccept(TERNHANDLE server, TERNHANDLE comm) {
    if (!library()) return -1;
    TernStreamSocket* s = lookup<TernStreamSocket>(server, HandleKind::StreamSocket);
    TernStreamSocket* c = lookup<TernStreamSocket>(comm, HandleKind::StreamSocket);
    if (!s || !c) return -4;
    return s->accept(*c);
}

extern "C" int WINAPI TERNStreamGetClientIP(TERNHANDLE handle, char* text) {
    return withStream(handle, [&](TernStreamSocket& s) {
        if (!text) return refuseWith(s);
        return s.clientIP(text);
    });
}

extern "C" int WINAPI TERNLastStreamWinSockError(TERNHANDLE handle, int* code, char* text) {
    return withStream(handle,
                      [&](TernStreamSocket& s) { return lastErrorOut(s.lastError(), code, text); });
}

extern "C" int WINAPI TERNCloseStream(TERNHANDLE handle) {
    return closeSocketObject<TernStreamSocket>(handle, HandleKind::StreamSocket);
}
