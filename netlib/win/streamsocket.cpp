#include "netlib/win/streamsocket.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "netlib/core/codes.h"
#include "netlib/win/library.h"
#include "netlib/win/resolve.h"

namespace lx::net {
namespace {
constexpr long kClientEvents = FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE;
constexpr long kServerEvents = FD_READ | FD_WRITE | FD_ACCEPT | FD_CLOSE;
constexpr int kBacklog = 3;
// One platform read or send moves up to this much (or one transfer buffer, when that is larger):
// a busy connection needs fewer events, and a large transfer buffer does not make the staging
// buffers grow with it.
constexpr std::size_t kStageBytes = 64 * 1024;

// Writes go out as they are queued: the pump already gathers what is waiting into one send, and
// holding a short last write back for the peer's acknowledgement would stall every
// command-and-reply exchange.
void noDelay(SOCKET s) {
    BOOL on = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}
} // namespace

TernStreamSocket::TernStreamSocket(const Notifier& target, Role role, int port)
    : TernSocket(target, role != Role::Client, port), role_(role) {}

int TernStreamSocket::open() {
    if (role_ == Role::Comm) {
        // Waits for TERNStreamAccept; registered at once so the library knows it.
        registerSocket(this);
        registered_ = true;
        return 0;
    }
    if (role_ == Role::Server && port_ < 1) {
        lastError_ = TERN_ERR_BADVALUE;
        return 0;
    }
    sock_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (sock_ == INVALID_SOCKET) return failPlatform(WSAGetLastError());
    noDelay(sock_);
    if (role_ == Role::Server) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        local.sin_port = htons(static_cast<unsigned short>(port_));
        if (bind(sock_, reinterpret_cast<sockaddr*>(&local), sizeof local) == SOCKET_ERROR ||
            listen(sock_, kBacklog) == SOCKET_ERROR)
            return failPlatform(WSAGetLastError());
    }
    return activate(role_ == Role::Server ? kServerEvents : kClientEvents) ? 0 : -2;
}

int TernStreamSocket::connectTo(const char* host, unsigned short portNet) {
    if (!hasBuffer()) {
        lastError_ = TERN_ERR_NOMEMORY;
        return -2;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = portNet;
    const int e = resolveHost(host, &to.sin_addr);
    if (e) {
        lastError_ = e;
        return -2;
    }
    peer_ = to;
    if (connect(sock_, reinterpret_cast<sockaddr*>(&to), sizeof to) == SOCKET_ERROR) {
        const int err = WSAGetLastError();
        // Non-blocking: the outcome arrives as an event (connected, or the platform's error).
        if (err != WSAEWOULDBLOCK) {
            lastError_ = err;
            return -2;
        }
    }
    lastError_ = 0;
    return 0;
}

int TernStreamSocket::write(const void* data, int length) {
    // An empty write would queue an entry that no send can ever complete: it is refused like any
    // other bad value, so the host never waits for a completion that cannot come.
    if (length == 0) {
        lastError_ = TERN_ERR_BADVALUE;
        return -2;
    }
    switch (enqueue(data, length, peer_)) {
    case Queued::Refused: return -2;
    case Queued::NoMemory: return TERN_ERR_NOMEMORY;
    case Queued::Yes: break;
    }
    // An in-library owner runs the pump itself once its event is handled.
    if (!target_.sink) postDispatch(sock_, FD_WRITE);
    // Queued: success, whatever an earlier, unrelated call left in the last error.
    return 0;
}

void TernStreamSocket::pump() {
    // A completion handled by an in-library owner may queue more and ask for the pump again: the
    // running pump picks that up itself.
    if (pumping_) return;
    pumping_ = true;
    pumpQueue();
    pumping_ = false;
}

void TernStreamSocket::pumpQueue() {
    // Sends queued entries until the queue is empty or the platform would block; a blocked
    // send resumes with the platform's next write event, which the platform signals only after a
    // send refused with would-block. So a send the platform takes only in part is followed by
    // another at once, never by a wait. Consecutive entries share one send (each entry is at most
    // a transfer buffer); each still completes with its own notification.
    const std::size_t room = std::max(buffer_.size(), kStageBytes);
    try {
        if (sendStage_.size() < room) sendStage_.resize(room);
    } catch (const std::bad_alloc&) {
        sendStage_.clear();
    }
    std::vector<char>& stage = sendStage_.empty() ? buffer_ : sendStage_;
    while (!sendQueue_.empty() && sock_ != INVALID_SOCKET && !stage.empty()) {
        std::size_t filled = 0;
        std::size_t skip = sentOfEntry_;
        for (const QueueEntry& e : sendQueue_) {
            const std::size_t free = stage.size() - filled;
            if (free == 0) break;
            const std::size_t take = std::min(free, e.data.size() - skip);
            std::memcpy(stage.data() + filled, e.data.data() + skip, take);
            filled += take;
            skip = 0;
        }
        if (filled == 0) return; // entries are never empty; nothing to send is nothing to wait for
        const int n = send(sock_, stage.data(), static_cast<int>(filled), 0);
        if (n == SOCKET_ERROR) {
            const int err = WSAGetLastError();
            if (err == WSAEWOULDBLOCK) {
                lastError_ = 0;
                return;
            }
            lastError_ = err;
            sentOfEntry_ = 0;
            sendQueue_.pop_front();
            notify(TERN_STREAM_SENDFAIL, 0);
            continue;
        }
        std::size_t done = static_cast<std::size_t>(n);
        while (done > 0 && !sendQueue_.empty()) {
            const std::size_t rest = sendQueue_.front().data.size() - sentOfEntry_;
            if (done < rest) {
                sentOfEntry_ += done;
                break;
            }
            done -= rest;
            sentOfEntry_ = 0;
            sendQueue_.pop_front();
            notify(TERN_STREAM_SENT, static_cast<LPARAM>(rest));
        }
    }
}

bool TernStreamSocket::receive() {
    if (!hasBuffer()) {
        lastError_ = TERN_ERR_NOMEMORY;
        notify(TERN_STREAM_RECVFAIL, 0);
        return false;
    }
    // One platform read takes up to several transfer buffers at once; what it got is queued in
    // chunks of at most the transfer-buffer size, each announced on its own.
    const std::size_t chunk = buffer_.size();
    const std::size_t want = std::max(chunk, kStageBytes);
    try {
        if (stage_.size() < want) stage_.resize(want);
    } catch (const std::bad_alloc&) {
        stage_.clear();
    }
    char* into = stage_.empty() ? buffer_.data() : stage_.data();
    const std::size_t room = stage_.empty() ? chunk : want;
    const int n = recv(sock_, into, static_cast<int>(room), 0);
    if (n == SOCKET_ERROR) {
        const int err = WSAGetLastError();
        if (err == WSAEWOULDBLOCK) {
            lastError_ = 0;
            return false;
        }
        lastError_ = err;
        notify(TERN_STREAM_RECVFAIL, 0);
        return false;
    }
    if (n == 0) return false; // the close event follows
    for (std::size_t at = 0; at < static_cast<std::size_t>(n); at += chunk) {
        const std::size_t len = std::min(chunk, static_cast<std::size_t>(n) - at);
        try {
            QueueEntry e;
            e.data.assign(into + at, into + at + len);
            e.addr = peer_;
            recvQueue_.push_back(std::move(e));
        } catch (const std::bad_alloc&) {
            lastError_ = TERN_ERR_NOMEMORY;
            notify(TERN_STREAM_RECVFAIL, 0);
            return false;
        }
        notify(TERN_STREAM_DATA, static_cast<LPARAM>(len));
    }
    // A read that filled its room suggests more is waiting.
    return static_cast<std::size_t>(n) == room;
}

void TernStreamSocket::onEvent(SOCKET s, unsigned long word) {
    handleEvent(word);
    if (target_.sink) target_.sink->flush();
}

void TernStreamSocket::handleEvent(unsigned long word) {
    const int event = WSAGETSELECTEVENT(word);
    const int error = WSAGETSELECTERROR(word);
    if (error) {
        lastError_ = error;
        notify(TERN_SOCKET_ERROR, 0);
        return;
    }
    switch (event) {
    case FD_READ:
        // Takes what has arrived, chunk by chunk, so a busy connection needs fewer read events.
        for (int reads = 0; reads < 8 && sock_ != INVALID_SOCKET && receive(); ++reads) {}
        break;
    case FD_WRITE: pump(); break;
    case FD_ACCEPT: notify(TERN_STREAM_ACCEPT, 0); break;
    case FD_CONNECT: notify(TERN_STREAM_CONNECT, 0); break;
    case FD_CLOSE: {
        // Data still buffered when the peer closes is delivered before the close itself.
        for (int guard = 0; guard < 4096 && sock_ != INVALID_SOCKET && receive(); ++guard) {}
        notify(TERN_STREAM_CLOSE, 0);
        break;
    }
    default: break;
    }
}

int TernStreamSocket::accept(TernStreamSocket& comm) {
    if (role_ != Role::Server || sock_ == INVALID_SOCKET) {
        lastError_ = TERN_ERR_NOTSERVER;
        return -2;
    }
    sockaddr_in from{};
    int len = sizeof from;
    SOCKET s = ::accept(sock_, reinterpret_cast<sockaddr*>(&from), &len);
    if (s == INVALID_SOCKET) {
        lastError_ = WSAGetLastError();
        return -2;
    }
    closeSocketLater(comm.sock_);
    comm.sock_ = s;
    noDelay(s);
    // The comm socket keeps both the peer's address and its length.
    comm.peer_ = from;
    comm.peerLen_ = len;
    if (!comm.activate(kClientEvents)) {
        lastError_ = comm.lastError_;
        return -2;
    }
    postDispatch(s, FD_CONNECT);
    return 0;
}

int TernStreamSocket::clientIP(char* text) {
    if (!server_) {
        lastError_ = TERN_ERR_NOTSERVER;
        return -2;
    }
    if (peerLen_ == 0) return -3;
    std::strcpy(text, "Not Available");
    const std::string d = dotted(peer_.sin_addr);
    std::memcpy(text, d.c_str(), d.size() + 1);
    return 0;
}

} // namespace lx::net
