// Stream (TCP) sockets: clients, listening servers and the comm sockets that take accepted
// connections. Writes are queued and pumped out; received data is queued in chunks.
#pragma once

#include "netlib/win/ternsocket.h"

namespace lx::net {

class TernStreamSocket : public TernSocket {
public:
    enum class Role { Client, Server, Comm };

    TernStreamSocket(const Notifier& target, Role role, int port);

    // Opens the platform socket for the role: 0, or -2 with the error stored.
    int open();
    int connectTo(const char* host, unsigned short portNet);
    int write(const void* data, int length);
    int accept(TernStreamSocket& comm);
    int clientIP(char* text);

    void onEvent(SOCKET s, unsigned long word) override;
    // Runs the send pump at once (an in-library owner that batches its writes).
    void pumpNow() { pump(); }

private:
    void handleEvent(unsigned long word);
    void pump();
    void pumpQueue();
    // Receives one chunk; true when bytes were queued.
    bool receive();

    Role role_;
    sockaddr_in peer_{};
    int peerLen_ = 0;
    std::size_t sentOfEntry_ = 0; // bytes of the oldest entry already sent
    bool pumping_ = false;
    std::vector<char> stage_;     // platform reads, before they are cut into chunks
    std::vector<char> sendStage_; // queued entries gathered for one platform send
};

} // namespace lx::net
