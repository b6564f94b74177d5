#include "netlib/win/udpsocket.h"

#include <cstring>
#include <new>

#include "netlib/core/codes.h"
#include "netlib/win/library.h"
#include "netlib/win/resolve.h"

namespace lx::net {

int TernUdpSocket::open() {
    if (server_ && port_ < 1) {
        lastError_ = TERN_ERR_BADVALUE;
        return 0;
    }
    sock_ = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (sock_ == INVALID_SOCKET) return failPlatform(WSAGetLastError());
    if (server_) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        local.sin_port = htons(static_cast<unsigned short>(port_));
        if (bind(sock_, reinterpret_cast<sockaddr*>(&local), sizeof local) == SOCKET_ERROR)
            return failPlatform(WSAGetLastError());
    }
    return activate(FD_READ | FD_WRITE) ? 0 : -2;
}

int TernUdpSocket::queue(const void* data, int length, const sockaddr_in& to) {
    const Queued queued = enqueue(data, length, to);
    // Only a bad argument is refused with -2; other failures return 0 and leave their reason in the
    // last error.
    if (queued == Queued::Refused && lastError_ == TERN_ERR_BADVALUE) return -2;
    if (queued != Queued::Yes) return 0;
    postDispatch(sock_, FD_WRITE);
    return 0;
}

void TernUdpSocket::pump() {
    while (!sendQueue_.empty() && sock_ != INVALID_SOCKET) {
        QueueEntry& e = sendQueue_.front();
        const int n = sendto(sock_, e.data.data(), static_cast<int>(e.data.size()), 0,
                             reinterpret_cast<const sockaddr*>(&e.addr), sizeof e.addr);
        if (n == SOCKET_ERROR) {
            const int err = WSAGetLastError();
            if (err == WSAEWOULDBLOCK) return; // resumes with the next write event
            lastError_ = err;
            sendQueue_.pop_front();
            notify(TERN_UDP_SENDFAIL, 0);
            continue;
        }
        const bool whole = static_cast<std::size_t>(n) == e.data.size();
        sendQueue_.pop_front();
        if (whole)
            notify(TERN_UDP_SENT, n);
        else
            notify(TERN_UDP_SENDFAIL, 0);
    }
}

void TernUdpSocket::receive() {
    if (!hasBuffer()) {
        lastError_ = TERN_ERR_NOMEMORY;
        notify(TERN_UDP_RECVFAIL, 0);
        return;
    }
    sockaddr_in from{};
    int len = sizeof from;
    const int n =
        recvfrom(sock_, buffer_.data(), bufferSize(), 0, reinterpret_cast<sockaddr*>(&from), &len);
    if (n == SOCKET_ERROR) {
        const int err = WSAGetLastError();
        if (err == WSAEWOULDBLOCK) return;
        lastError_ = err;
        notify(TERN_UDP_RECVFAIL, 0);
        return;
    }
    try {
        QueueEntry e;
        e.data.assign(buffer_.data(), buffer_.data() + n);
        e.addr = from;
        recvQueue_.push_back(std::move(e));
    } catch (const std::bad_alloc&) {
        lastError_ = TERN_ERR_NOMEMORY;
        notify(TERN_UDP_RECVFAIL, 0);
        return;
    }
    notify(TERN_UDP_DATA, n);
}

void TernUdpSocket::onEvent(SOCKET, unsigned long word) {
    if (WSAGETSELECTERROR(word)) {
        lastError_ = WSAGETSELECTERROR(word);
        notify(TERN_SOCKET_ERROR, 0);
        return;
    }
    switch (WSAGETSELECTEVENT(word)) {
    case FD_READ: receive(); break;
    case FD_WRITE: pump(); break;
    default: break;
    }
}

int TernUdpSocket::socketInfo(char* addressText, int* port) {
    if (sock_ == INVALID_SOCKET) {
        lastError_ = TERN_ERR_NOSOCKET;
        return -2;
    }
    if (!addressText || !port) {
        lastError_ = TERN_ERR_BADVALUE;
        return -2;
    }
    sockaddr_in local{};
    int len = sizeof local;
    if (getsockname(sock_, reinterpret_cast<sockaddr*>(&local), &len) == SOCKET_ERROR) {
        lastError_ = WSAGetLastError();
        return -2;
    }
    const std::string d = dotted(local.sin_addr);
    std::memcpy(addressText, d.c_str(), d.size() + 1);
    *port = ntohs(local.sin_port);
    return 0;
}

} // namespace lx::net
