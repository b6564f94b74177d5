// The UDP-socket exports.
#include <cstring>

#include "netlib/win/exports_util.h"
#include "netlib/win/resolve.h"
#include "netlib/win/udpsocket.h"

using namespace lx::net;

namespace {

TernUdpSocket* udp(TERNHANDLE h) { return lookup<TernUdpSocket>(h, HandleKind::UdpSocket); }

// Destination from host and port (network order); the Winsock error or 0.
int destination(const char* host, unsigned short portNet, sockaddr_in* to) {
    std::memset(to, 0, sizeof *to);
    to->sin_family = AF_INET;
    to->sin_port = portNet;
    return resolveHost(host, &to->sin_addr);
}

int writeTo(TernUdpSocket* s, const void* data, int length, const char* host,
            unsigned short portNet) {
    sockaddr_in to;
    const int e = destination(host, portNet, &to);
    if (e) {
        s->setLastError(e);
        return -2;
    }
    return s->queue(data, length, to);
}

} // namespace

extern "C" int WINAPI TERNCreateUDPServer1(int port, HWND hostWindow, UINT message,
                                           TERNHANDLE* handle) {
    return createSocketObject<TernUdpSocket>(handle, HandleKind::UdpSocket,
                                             Notifier::toWindow(hostWindow, message), true, port);
}
extern "C" int WINAPI TERNCreateUDPServer2(int port, DWORD hostThread, UINT message,
                                           TERNHANDLE* handle) {
    return createSocketObject<TernUdpSocket>(handle, HandleKind::UdpSocket,
                                             Notifier::toThread(hostThread, message), true, port);
}
extern "C" int WINAPI TERNCreateUDPClient1(HWND hostWindow, UINT message, TERNHANDLE* handle) {
    return createSocketObject<TernUdpSocket>(handle, HandleKind::UdpSocket,
                                             Notifier::toWindow(hostWindow, message), false, 0);
}
extern "C" int WINAPI TERNCreateUDPClient2(DWORD hostThread, UINT message, TERNHANDLE* handle) {
    return createSocketObject<TernUdpSocket>(handle, HandleKind::UdpSocket,
                                             Notifier::toThread(hostThread, message), false, 0);
}

extern "C" int WINAPI TERNUDPWriteToPort(TERNHANDLE handle, const void* data, int length,
                                         const char* host, int port) {
    if (!library()) return -1;
    TernUdpSocket* s = udp(handle);
    if (!s) return -3;
    if (port < 1 || port > 65535) {
        s->setLastError(TERN_ERR_BADVALUE);
        return -2;
    }
    return writeTo(s, data, length, host, htons(static_cast<unsigned short>(port)));
}

extern "C" int WINAPI TERNUDPWriteToService(TERNHANDLE handle, const void* data, int length,
                                            const char* host, const char* service) {
    if (!library()) return -1;
    TernUdpSocket* s = udp(handle);
    if (!s) return -4;
    unsigned short portNet = 0;
    const int e = resolveService(service, "udp", &portNet);
    if (e) {
        s->setLastError(e);
        return -2;
    }
    return writeTo(s, data, length, host, portNet);
}

extern "C" int WINAPI TERNUDPRead(TERNHANDLE handle, void* buffer, int length, void* senderAddr) {
    if (!library()) return -1;
    TernUdpSocket* s = udp(handle);
    if (!s) return -4;
    if (!buffer && length > 0) {
        s->setLastError(TERN_ERR_BADVALUE);
        return -2;
    }
    sockaddr_in from{};
    if (s->takeReceived(static_cast<char*>(buffer), length, &from) < 0) return -2;
    if (senderAddr) std::memcpy(senderAddr, &from, sizeof from);
    return 0;
}

extern "C" int WINAPI TERNUDPReply(TERNHANDLE handle, const void* data, int length,
                                   const void* destAddr) {
    if (!library()) return -1;
    TernUdpSocket* s = udp(handle);
    if (!s) return -4;
    if (!s->isServer()) {
        s->setLastError(TERN_ERR_UDPNOTSERVER);
        return 0;
    }
    if (!destAddr) {
        s->setLastError(TERN_ERR_BADVALUE);
        return -2;
    }
    sockaddr_in to;
    std::memcpy(&to, destAddr, sizeof to);
    return s->queue(data, length, to);
}

extern "C" int WINAPI TERNUDPGetSocketInfo(TERNHANDLE handle, char* addressText, int* port) {
    if (!library()) return -1;
    TernUdpSocket* s = udp(handle);
    if (!s) return -4;
    return s->socketInfo(addressText, port);
}

extern "C" int WINAPI TERNSetUDPBufferSize(TERNHANDLE handle, int size) {
    if (!library()) return -1;
    TernUdpSocket* s = udp(handle);
    if (!s) return -4;
    return s->growBuffer(size) ? 0 : -2;
}

extern "C" int WINAPI TERNLastUDPWinSockError(TERNHANDLE handle, int* code, char* text) {
    if (!library()) return -1;
    TernUdpSocket* s = udp(handle);
    if (!s) return -4;
    lastErrorOut(s->lastError(), code, text);
    return 0;
}

extern "C" int WINAPI TERNCloseUDP(TERNHANDLE handle) {
    // After the library has ended the object is still freed, so a host that closes late leaks nothing.
    auto* s = static_cast<TernUdpSocket*>(handles().remove(handle, HandleKind::UdpSocket));
    delete s;
    if (!library()) return -1;
    return s ? 0 : -4;
}
