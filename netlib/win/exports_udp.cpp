// The UDP-socket exports.
#include <cstring>

#include "netlib/win/exports_util.h"
#include "netlib/win/resolve.h"
#include "netlib/win/udpsocket.h"

using namespace lx::net;

namespace {

// Destination from host and port (network order); the Winsock error or 0.
int destination(const char* host, unsigned short portNet, sockaddr_in* to) {
    std::memset(to, 0, sizeof *to);
    to->sin_family = AF_INET;
    to->sin_port = portNet;
    return resolveHost(host, &to->sin_addr);
}

int writeTo(TernUdpSocket& s, const void* data, int length, const char* host,
            unsigned short portNet) {
    sockaddr_in to;
    const int e = destination(host, portNet, &to);
    if (e) return refuseWith(s, e);
    return s.queue(data, length, to);
}

int create(TERNHANDLE* handle, const Notifier& host, bool server, int port = 0) {
    return createSocketObject<TernUdpSocket>(handle, HandleKind::UdpSocket, host, server, port);
}

template <class Call>
int withUdp(TERNHANDLE h, Call&& call, int unknown = -4) {
    return withSocket<TernUdpSocket>(h, HandleKind::UdpSocket, std::forward<Call>(call), unknown);
}

} // namespace

extern "C" int WINAPI TERNCreateUDPServer1(int port, HWND hostWindow, UINT message,
                                           TERNHANDLE* handle) {
    return create(handle, Notifier::toWindow(hostWindow, message), true, port);
}
extern "C" int WINAPI TERNCreateUDPServer2(int port, DWORD hostThread, UINT message,
                                           TERNHANDLE* handle) {
    return create(handle, Notifier::toThread(hostThread, message), true, port);
}
extern "C" int WINAPI TERNCreateUDPClient1(HWND hostWindow, UINT message, TERNHANDLE* handle) {
    return create(handle, Notifier::toWindow(hostWindow, message), false);
}
extern "C" int WINAPI TERNCreateUDPClient2(DWORD hostThread, UINT message, TERNHANDLE* handle) {
    return create(handle, Notifier::toThread(hostThread, message), false);
}

extern "C" int WINAPI TERNUDPWriteToPort(TERNHANDLE handle, const void* data, int length,
                                         const char* host, int port) {
    // Unlike its siblings, this export answers -3 for an unknown handle.
    return withUdp(
        handle,
        [&](TernUdpSocket& s) {
            if (port < 1 || port > 65535) return refuseWith(s);
            return writeTo(s, data, length, host, htons(static_cast<unsigned short>(port)));
        },
        -3);
}

extern "C" int WINAPI TERNUDPWriteToService(TERNHANDLE handle, const void* data, int length,
                                            const char* host, const char* service) {
    return withUdp(handle, [&](TernUdpSocket& s) {
        unsigned short portNet = 0;
        const int e = resolveService(service, "udp", &portNet);
        if (e) return refuseWith(s, e);
        return writeTo(s, data, length, host, portNet);
    });
}

extern "C" int WINAPI TERNUDPRead(TERNHANDLE handle, void* buffer, int length, void* senderAddr) {
    return withUdp(handle, [&](TernUdpSocket& s) {
        if (!buffer && length > 0) return refuseWith(s);
        sockaddr_in from{};
        if (s.takeReceived(static_cast<char*>(buffer), length, &from) < 0) return -2;
        if (senderAddr) std::memcpy(senderAddr, &from, sizeof from);
        return 0;
    });
}

extern "C" int WINAPI TERNUDPReply(TERNHANDLE handle, const void* data, int length,
                                   const void* destAddr) {
    return withUdp(handle, [&](TernUdpSocket& s) {
        if (!s.isServer()) {
            s.setLastError(TERN_ERR_UDPNOTSERVER);
            return 0;
        }
        if (!destAddr) return refuseWith(s);
        sockaddr_in to;
        std::memcpy(&to, destAddr, sizeof to);
        return s.queue(data, length, to);
    });
}

extern "C" int WINAPI TERNUDPGetSocketInfo(TERNHANDLE handle, char* addressText, int* port) {
    return withUdp(handle, [&](TernUdpSocket& s) { return s.socketInfo(addressText, port); });
}

extern "C" int WINAPI TERNSetUDPBufferSize(TERNHANDLE handle, int size) {
    return withUdp(handle, [&](TernUdpSocket& s) { return s.growBuffer(size) ? 0 : -2; });
}

extern "C" int WINAPI TERNLastUDPWinSockError(TERNHANDLE handle, int* code, char* text) {
    return withUdp(handle,
                   [&](TernUdpSocket& s) { return lastErrorOut(s.lastError(), code, text); });
}

extern "C" int WINAPI TERNCloseUDP(TERNHANDLE handle) {
    return closeSocketObject<TernUdpSocket>(handle, HandleKind::UdpSocket);
}
