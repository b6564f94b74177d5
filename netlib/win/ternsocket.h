// The socket objects of the library: common part of stream and UDP sockets.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstddef>
#include <deque>
#include <vector>

#include "netlib/win/notifier.h"

namespace lx::net {

// One queued chunk: its bytes and the IPv4 address it came from or goes to.
struct QueueEntry {
    std::vector<char> data;
    sockaddr_in addr{};
};

class TernSocket {
public:
    TernSocket(const Notifier& target, bool server, int port);
    virtual ~TernSocket();
    TernSocket(const TernSocket&) = delete;
    TernSocket& operator=(const TernSocket&) = delete;

    // Handles a socket event: low word the network event, high word the platform error.
    virtual void onEvent(SOCKET s, unsigned long word) = 0;

    SOCKET handle() const { return sock_; }
    int lastError() const { return lastError_; }
    void setLastError(int e) { lastError_ = e; }
    bool isServer() const { return server_; }
    bool hasBuffer() const { return !buffer_.empty(); }
    int bufferSize() const { return static_cast<int>(buffer_.size()); }
    // Grows only; false when the new buffer could not be allocated.
    bool growBuffer(int size);
    // The library ended: the socket is no longer in its registry.
    void detachFromLibrary() { registered_ = false; }
    // Unregisters, closes the platform socket and drops queued data.
    void close();

    // How a write fared: queued, refused by a check (the last error says which), or out of memory.
    enum class Queued { Yes, Refused, NoMemory };

    // Takes the oldest received chunk into buf (at most len bytes, the rest of the chunk is dropped).
    // Returns the byte count, or -1 with last error 3 when nothing is queued.
    int takeReceived(char* buf, int len, sockaddr_in* from);

protected:
    // Non-lingering, asynchronous selection to the dispatch window, registry entry.
    bool activate(long events);
    void notify(int code, LPARAM value) const { target_.post(code, value); }
    // Checks a write and queues its bytes for `to`; one write never carries more than the transfer
    // buffer holds. A failure leaves its reason in the last error.
    Queued enqueue(const void* data, int length, const sockaddr_in& to);
    // Stores the platform error, closes the socket and marks it invalid.
    int failPlatform(int error);

    SOCKET sock_ = INVALID_SOCKET;
    Notifier target_;
    bool server_;
    int port_;
    int lastError_ = 0;
    bool registered_ = false;
    std::deque<QueueEntry> sendQueue_;
    std::deque<QueueEntry> recvQueue_;
    std::vector<char> buffer_;
};

} // namespace lx::net
