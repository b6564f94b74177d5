// The stream-socket exports.
#include "netlib/win/exports_util.h"
#include "netlib/win/resolve.h"
#include "netlib/win/streamsocket.h"

using namespace lx::net;

namespace {

using Role = TernStreamSocket::Role;

TernStreamSocket* stream(TERNHANDLE h) {
    return lookup<TernStreamSocket>(h, HandleKind::StreamSocket);
}

} // namespace

extern "C" int WINAPI TERNCreateStreamClientWindow(HWND hostWindow, UINT message,
                                                   TERNHANDLE* handle) {
    return createSocketObject<TernStreamSocket>(
        handle, HandleKind::StreamSocket, Notifier::toWindow(hostWindow, message), Role::Client, 0);
}
extern "C" int WINAPI TERNCreateStreamClientThread(DWORD hostThread, UINT message,
                                                   TERNHANDLE* handle) {
    return createSocketObject<TernStreamSocket>(
        handle, HandleKind::StreamSocket, Notifier::toThread(hostThread, message), Role::Client, 0);
}
extern "C" int WINAPI TERNCreateStreamServerWindow(int port, HWND hostWindow, UINT message,
                                                   TERNHANDLE* handle) {
    return createSocketObject<TernStreamSocket>(handle, HandleKind::StreamSocket,
                                                Notifier::toWindow(hostWindow, message),
                                                Role::Server, port);
}
extern "C" int WINAPI TERNCreateStreamServerThread(int port, DWORD hostThread, UINT message,
                                                   TERNHANDLE* handle) {
    return createSocketObject<TernStreamSocket>(handle, HandleKind::StreamSocket,
                                                Notifier::toThread(hostThread, message),
                                                Role::Server, port);
}
extern "C" int WINAPI TERNCreateStreamCommWindow(HWND hostWindow, UINT message,
                                                 TERNHANDLE* handle) {
    return createSocketObject<TernStreamSocket>(
        handle, HandleKind::StreamSocket, Notifier::toWindow(hostWindow, message), Role::Comm, 0);
}
extern "C" int WINAPI TERNCreateStreamCommThread(DWORD hostThread, UINT message,
                                                 TERNHANDLE* handle) {
    return createSocketObject<TernStreamSocket>(
        handle, HandleKind::StreamSocket, Notifier::toThread(hostThread, message), Role::Comm, 0);
}

extern "C" int WINAPI TERNStreamConnectToPort(TERNHANDLE handle, const char* host, int port) {
    if (!library()) return -1;
    TernStreamSocket* s = stream(handle);
    if (!s) return -4;
    if (port < 1 || port > 65535) {
        s->setLastError(TERN_ERR_BADVALUE);
        return -2;
    }
    return s->connectTo(host, htons(static_cast<unsigned short>(port)));
}

extern "C" int WINAPI TERNStreamConnectToService(TERNHANDLE handle, const char* host,
                                                 const char* service) {
    if (!library()) return -1;
    TernStreamSocket* s = stream(handle);
    if (!s) return -4;
    unsigned short portNet = 0;
    const int e = resolveService(service, "tcp", &portNet);
    if (e) {
        s->setLastError(e);
        return -2;
    }
    return s->connectTo(host, portNet);
}

extern "C" int WINAPI TERNStreamWrite(TERNHANDLE handle, const void* data, int length) {
    if (!library()) return -1;
    TernStreamSocket* s = stream(handle);
    if (!s) return -4;
    return s->write(data, length);
}

extern "C" int WINAPI TERNStreamRead(TERNHANDLE handle, void* buffer, int length) {
    if (!library()) return -1;
    TernStreamSocket* s = stream(handle);
    if (!s) return -4;
    if (!buffer && length > 0) {
        s->setLastError(TERN_ERR_BADVALUE);
        return -2;
    }
    return s->takeReceived(static_cast<char*>(buffer), length, nullptr) < 0 ? -2 : 0;
}

extern "C" int WINAPI TERNSetStreamBufferSize(TERNHANDLE handle, int size) {
    if (!library()) return -1;
    TernStreamSocket* s = stream(handle);
    if (!s) return -4;
    return s->growBuffer(size) ? 0 : -2;
}

extern "C" int WINAPI TERNStreamAccept(TERNHANDLE server, TERNHANDLE comm) {
    if (!library()) return -1;
    TernStreamSocket* s = stream(server);
    TernStreamSocket* c = stream(comm);
    if (!s || !c) return -4;
    return s->accept(*c);
}

extern "C" int WINAPI TERNStreamGetClientIP(TERNHANDLE handle, char* text) {
    if (!library()) return -1;
    TernStreamSocket* s = stream(handle);
    if (!s) return -4;
    if (!text) {
        s->setLastError(TERN_ERR_BADVALUE);
        return -2;
    }
    return s->clientIP(text);
}

extern "C" int WINAPI TERNLastStreamWinSockError(TERNHANDLE handle, int* code, char* text) {
    if (!library()) return -1;
    TernStreamSocket* s = stream(handle);
    if (!s) return -4;
    lastErrorOut(s->lastError(), code, text);
    return 0;
}

extern "C" int WINAPI TERNCloseStream(TERNHANDLE handle) {
    // After the library has ended the object is still freed, so a host that closes late leaks nothing.
    auto* s = static_cast<TernStreamSocket*>(handles().remove(handle, HandleKind::StreamSocket));
    delete s;
    if (!library()) return -1;
    return s ? 0 : -4;
}
