// UDP sockets: datagrams queued out to their addresses and queued in with their senders.
#pragma once

#include "netlib/win/ternsocket.h"

namespace lx::net {

class TernUdpSocket : public TernSocket {
public:
    TernUdpSocket(const Notifier& target, bool server, int port)
        : TernSocket(target, server, port) {}

    int open();
    // Queues a datagram to an address; 0, or the failure result of the calling export.
    int queue(const void* data, int length, const sockaddr_in& to);
    int socketInfo(char* addressText, int* port);

    void onEvent(SOCKET s, unsigned long word) override;

private:
    void pump();
    void receive();
};

} // namespace lx::net
