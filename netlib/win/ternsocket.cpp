// Common behaviour of every socket object: creation bookkeeping, the receive queue, closing.
#include "netlib/win/ternsocket.h"

#include <cstring>
#include <new>
#include <utility>

#include "netlib/core/codes.h"
#include "netlib/win/library.h"

namespace lx::net {

namespace {
constexpr int kDefaultBufferSize = 1024;
}

TernSocket::TernSocket(const Notifier& target, bool server, int port)
    : target_(target), server_(server), port_(port) {
    try {
        buffer_.resize(kDefaultBufferSize);
    } catch (const std::bad_alloc&) {
        buffer_.clear();
    }
}

TernSocket::~TernSocket() { close(); }

bool TernSocket::growBuffer(int size) {
    if (size <= bufferSize()) return true;
    try {
        std::vector<char> bigger(static_cast<size_t>(size));
        buffer_.swap(bigger);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void TernSocket::close() {
    if (registered_) unregisterSocket(this);
    registered_ = false;
    closeSocketLater(sock_);
    sock_ = INVALID_SOCKET;
    sendQueue_.clear();
    recvQueue_.clear();
}

int TernSocket::takeReceived(char* buf, int len, sockaddr_in* from) {
    if (recvQueue_.empty()) {
        lastError_ = TERN_ERR_BADVALUE;
        return -1;
    }
    QueueEntry& e = recvQueue_.front();
    const int n =
        len < 0 ? 0
                : (static_cast<int>(e.data.size()) < len ? static_cast<int>(e.data.size()) : len);
    if (n > 0) std::memcpy(buf, e.data.data(), static_cast<size_t>(n));
    if (from) *from = e.addr;
    recvQueue_.pop_front();
    return n;
}

TernSocket::Queued TernSocket::enqueue(const void* data, int length, const sockaddr_in& to) {
    if (!library() || !library()->dispatch) {
        lastError_ = TERN_ERR_NOWINDOW;
        return Queued::Refused;
    }
    if (!hasBuffer()) {
        lastError_ = TERN_ERR_NOMEMORY;
        return Queued::Refused;
    }
    if (!data || length < 0) {
        lastError_ = TERN_ERR_BADVALUE;
        return Queued::Refused;
    }
    const int n = length < bufferSize() ? length : bufferSize();
    try {
        QueueEntry e;
        e.data.assign(static_cast<const char*>(data), static_cast<const char*>(data) + n);
        e.addr = to;
        sendQueue_.push_back(std::move(e));
    } catch (const std::bad_alloc&) {
        lastError_ = TERN_ERR_NOMEMORY;
        return Queued::NoMemory;
    }
    return Queued::Yes;
}

bool TernSocket::activate(long events) {
    TernLibrary* lib = library();
    if (!lib || !lib->dispatch) {
        failPlatform(TERN_ERR_NOWINDOW);
        return false;
    }
    // Lingering off: closing never waits for unsent data.
    BOOL dontLinger = TRUE;
    if (setsockopt(sock_, SOL_SOCKET, SO_DONTLINGER, reinterpret_cast<const char*>(&dontLinger),
                   sizeof dontLinger) == SOCKET_ERROR) {
        failPlatform(WSAGetLastError());
        return false;
    }
    if (WSAAsyncSelect(sock_, lib->dispatch, TERN_DISPATCH_MSG, events) == SOCKET_ERROR) {
        failPlatform(WSAGetLastError());
        return false;
    }
    if (!registered_) registerSocket(this);
    registered_ = true;
    return true;
}

int TernSocket::failPlatform(int error) {
    lastError_ = error;
    closeSocketLater(sock_);
    sock_ = INVALID_SOCKET;
    return -2;
}

} // namespace lx::net
