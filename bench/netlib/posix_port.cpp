#include "bench/netlib/posix_port.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "netlib/core/codes.h"

namespace lx::net::bench {
namespace {

constexpr std::size_t kStage = 64 * 1024;

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Buffered like the Win32 spool file: collected, handed over in large blocks and at flush().
class StdioFile : public SpoolFile {
public:
    explicit StdioFile(std::FILE* f) : f_(f) {}
    ~StdioFile() override { std::fclose(f_); }
    bool write(const void* data, std::size_t len) override {
        return std::fwrite(data, 1, len, f_) == len;
    }
    long read(void* data, std::size_t len) override {
        const std::size_t n = std::fread(data, 1, len, f_);
        return std::ferror(f_) ? -1 : static_cast<long>(n);
    }
    bool seek(std::int64_t pos) override {
        return std::fseek(f_, static_cast<long>(pos), SEEK_SET) == 0;
    }
    bool flush() override { return std::fflush(f_) == 0; }

private:
    std::FILE* f_;
};

std::unique_ptr<SpoolFile> openStdio(const std::string& path, const char* mode) {
    std::FILE* f = std::fopen(path.c_str(), mode);
    if (!f) return nullptr;
    std::setvbuf(f, nullptr, _IOFBF, kStage);
    return std::make_unique<StdioFile>(f);
}

} // namespace

bool PosixPort::createSocket() {
    closeSocket();
    fd_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (fd_ < 0) return false;
    fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) | O_NONBLOCK);
    int on = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    stage_.resize(kStage);
    return true;
}

bool PosixPort::connectToPort(const std::string& host, int port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<unsigned short>(port));
    if (inet_pton(AF_INET, host.c_str(), &to.sin_addr) != 1) return false;
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0 || errno == EINPROGRESS) {
        connecting_ = true;
        return true;
    }
    return false;
}

void PosixPort::closeSocket() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    events_.clear();
    sendQueue_.clear();
    recvQueue_.clear();
}

bool PosixPort::write(const char* data, std::size_t len) {
    if (fd_ < 0) return false;
    sendQueue_.emplace_back(data, std::min(len, kChunk));
    return true;
}

int PosixPort::read(char* buf, std::size_t cap) {
    if (recvQueue_.empty()) return -1;
    const std::string& c = recvQueue_.front();
    const std::size_t n = std::min(cap, c.size());
    std::memcpy(buf, c.data(), n);
    recvQueue_.pop_front();
    return static_cast<int>(n);
}

std::unique_ptr<SpoolFile> PosixPort::createFile(const std::string& path) {
    return openStdio(path, "w+b");
}
std::unique_ptr<SpoolFile> PosixPort::openFile(const std::string& path) {
    return openStdio(path, "r+b");
}

bool PosixPort::step(double limitSeconds) {
    if (started_ < 0) started_ = now();
    if (fd_ < 0 || now() - started_ > limitSeconds) return false;
    pollfd p{fd_, static_cast<short>(POLLIN | (connecting_ || !sendQueue_.empty() ? POLLOUT : 0)),
             0};
    if (::poll(&p, 1, 100) < 0 && errno != EINTR) return false;
    if (connecting_ && (p.revents & (POLLOUT | POLLERR | POLLHUP))) {
        connecting_ = false;
        socklen_t len = sizeof error_;
        getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error_, &len);
        events_.emplace_back(error_ ? TERN_SOCKET_ERROR : TERN_STREAM_CONNECT, 0);
    } else if (p.revents & (POLLIN | POLLHUP | POLLERR)) {
        onReadable();
    }
    drain();
    return true;
}

void PosixPort::onReadable() {
    const ssize_t n = ::recv(fd_, stage_.data(), stage_.size(), 0);
    if (n < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK) events_.emplace_back(TERN_STREAM_RECVFAIL, 0);
        return;
    }
    if (n == 0) {
        events_.emplace_back(TERN_STREAM_CLOSE, 0);
        return;
    }
    for (std::size_t at = 0; at < static_cast<std::size_t>(n); at += kChunk) {
        const std::size_t len = std::min(kChunk, static_cast<std::size_t>(n) - at);
        recvQueue_.emplace_back(stage_.data() + at, len);
        events_.emplace_back(TERN_STREAM_DATA, static_cast<std::intptr_t>(len));
    }
}

// Sends what is queued, gathered into as few sends as the stage allows; each entry completes with
// its own event.
void PosixPort::pump() {
    while (!sendQueue_.empty() && fd_ >= 0) {
        std::size_t filled = 0, skip = sentOfFront_;
        for (const std::string& e : sendQueue_) {
            const std::size_t take = std::min(stage_.size() - filled, e.size() - skip);
            std::memcpy(stage_.data() + filled, e.data() + skip, take);
            filled += take;
            skip = 0;
            if (filled == stage_.size()) break;
        }
        const ssize_t n = ::send(fd_, stage_.data(), filled, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK) return;
            sendQueue_.pop_front();
            sentOfFront_ = 0;
            events_.emplace_back(TERN_STREAM_SENDFAIL, 0);
            continue;
        }
        std::size_t done = static_cast<std::size_t>(n);
        while (done > 0 && !sendQueue_.empty()) {
            const std::size_t rest = sendQueue_.front().size() - sentOfFront_;
            if (done < rest) {
                sentOfFront_ += done;
                break;
            }
            done -= rest;
            sentOfFront_ = 0;
            sendQueue_.pop_front();
            events_.emplace_back(TERN_STREAM_SENT, static_cast<std::intptr_t>(rest));
        }
        if (static_cast<std::size_t>(n) < filled) return;
    }
}

void PosixPort::drain() {
    for (;;) {
        while (!events_.empty()) {
            const auto ev = events_.front();
            events_.pop_front();
            if (dispatch_) dispatch_(target_, ev.first, ev.second);
        }
        pump();
        if (events_.empty()) return;
    }
}

} // namespace lx::net::bench
