// The library's protocol sessions over plain POSIX sockets: the same port contract the Win32
// shell fulfils (1,024-byte chunks announced one by one, one write per command, completions in
// order), with poll() in place of the window messages. Lets the benchmark tell the sessions' own
// cost from the platform's.
#pragma once

#include <netinet/in.h>

#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "netlib/core/sessionport.h"

namespace lx::net::bench {

class PosixPort : public SessionPort {
public:
    static constexpr std::size_t kChunk = 1024;

    ~PosixPort() override { closeSocket(); }

    template <class Session>
    void attach(Session* s) {
        target_ = s;
        dispatch_ = [](void* t, int code, std::intptr_t value) {
            static_cast<Session*>(t)->onEvent(code, value);
        };
    }

    void post(int status, std::intptr_t value) override { posts.emplace_back(status, value); }
    bool hasWindow() const override { return true; }
    bool createSocket() override;
    bool connectToPort(const std::string& host, int port) override;
    bool connectToService(const std::string&, const std::string&) override { return false; }
    void closeSocket() override;
    bool write(const char* data, std::size_t len) override;
    int read(char* buf, std::size_t cap) override;
    int socketError() const override { return error_; }
    bool hasPendingEvents() const override { return !events_.empty(); }
    std::unique_ptr<SpoolFile> createFile(const std::string& path) override;
    std::unique_ptr<SpoolFile> openFile(const std::string& path) override;

    // Runs the socket until `over()` holds or the socket is gone; false after `limitSeconds`.
    template <class Over>
    bool run(Over over, double limitSeconds) {
        while (!over()) {
            if (!step(limitSeconds)) return false;
        }
        return true;
    }

    std::vector<std::pair<int, std::intptr_t>> posts;

private:
    bool step(double limitSeconds);
    void onReadable();
    void pump();
    void drain();

    int fd_ = -1;
    bool connecting_ = false;
    int error_ = 0;
    void* target_ = nullptr;
    void (*dispatch_)(void*, int, std::intptr_t) = nullptr;
    std::deque<std::pair<int, std::intptr_t>> events_;
    std::deque<std::string> sendQueue_;
    std::size_t sentOfFront_ = 0;
    std::deque<std::string> recvQueue_;
    std::vector<char> stage_;
    double started_ = -1;
};

} // namespace lx::net::bench
