// A scripted stand-in for the session's socket, host and files: the test feeds server chunks
// and acknowledges writes, and inspects what the session posted, wrote and stored.
#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "netlib/core/codes.h"
#include "netlib/core/sessionport.h"

namespace lx::net::test {

struct Posted {
    int code;
    std::intptr_t value;
    std::string text; // copied at once for codes whose lParam is a text pointer
};

class MemFile : public SpoolFile {
public:
    explicit MemFile(std::string& data) : data_(data) {}
    bool write(const void* p, std::size_t len) override {
        if (failWrites) return false;
        data_.replace(pos_, std::min(len, data_.size() - std::min(pos_, data_.size())),
                      static_cast<const char*>(p), len);
        pos_ += len;
        return true;
    }
    long read(void* p, std::size_t len) override {
        if (pos_ >= data_.size()) return 0;
        const std::size_t n = std::min(len, data_.size() - pos_);
        std::memcpy(p, data_.data() + pos_, n);
        pos_ += n;
        return static_cast<long>(n);
    }
    bool seek(std::int64_t pos) override {
        pos_ = static_cast<std::size_t>(pos);
        return true;
    }
    bool failWrites = false;

private:
    std::string& data_;
    std::size_t pos_ = 0;
};

class FakePort : public SessionPort {
public:
    explicit FakePort(std::set<int> textCodes) : textCodes_(std::move(textCodes)) {}

    void post(int status, std::intptr_t value) override {
        Posted p{status, value, {}};
        if (textCodes_.count(status) && value) p.text = reinterpret_cast<const char*>(value);
        posts.push_back(p);
    }
    bool hasWindow() const override { return window; }
    bool createSocket() override {
        socketCreated = createOk;
        return createOk;
    }
    bool connectToPort(const std::string& host, int port) override {
        connects.push_back(host + ":" + std::to_string(port));
        return connectOk;
    }
    bool connectToService(const std::string& host, const std::string& service) override {
        connects.push_back(host + ":" + service);
        return serviceOk;
    }
    void closeSocket() override { socketClosed = true; }
    bool write(const char* data, std::size_t len) override {
        if (failWrites) return false;
        writes.emplace_back(data, len);
        return true;
    }
    int read(char* buf, std::size_t cap) override {
        if (inbox.empty()) return -1;
        std::string c = inbox.front();
        inbox.pop_front();
        const std::size_t n = std::min(cap, c.size());
        std::memcpy(buf, c.data(), n);
        return static_cast<int>(n);
    }
    int socketError() const override { return lastError; }
    bool startTls(const std::string& serverName) override {
        tlsStarts.push_back(serverName);
        return tlsOk;
    }
    std::string tlsFailure() const override { return tlsReason; }
    bool hasPendingEvents() const override { return pending; }
    std::unique_ptr<SpoolFile> createFile(const std::string& path) override {
        if (failCreate) return nullptr;
        files[path].clear();
        auto f = std::make_unique<MemFile>(files[path]);
        f->failWrites = failFileWrites;
        return f;
    }
    std::unique_ptr<SpoolFile> openFile(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end()) return nullptr;
        return std::make_unique<MemFile>(it->second);
    }

    std::vector<int> codes() const {
        std::vector<int> c;
        for (const auto& p : posts) c.push_back(p.code);
        return c;
    }
    // Codes without the progress code (which repeats once per chunk or line).
    std::vector<int> codesWithout(int progress) const {
        std::vector<int> c;
        for (const auto& p : posts)
            if (p.code != progress) c.push_back(p.code);
        return c;
    }

    bool window = true, createOk = true, connectOk = true, serviceOk = true;
    bool failWrites = false, failCreate = false, failFileWrites = false;
    bool socketCreated = false, socketClosed = false;
    int lastError = 0;
    bool tlsOk = true;
    std::string tlsReason = "the certificate has expired";
    std::vector<std::string> tlsStarts; // the server names the TLS layer was asked to secure for
    bool pending = false;               // what hasPendingEvents reports
    std::vector<Posted> posts;
    std::vector<std::string> writes;
    std::vector<std::string> connects;
    std::deque<std::string> inbox;
    std::map<std::string, std::string> files;

private:
    std::set<int> textCodes_;
};

// Drives a session: server chunks in, write completions back, as the socket layer would.
template <class Session>
class Driver {
public:
    Driver(FakePort& port, Session& s) : port_(port), s_(s) {}
    // Acknowledges every write not yet acknowledged (each acknowledgement may cause a new write).
    void pump() {
        for (int guard = 0; guard < 1000000 && acked_ < port_.writes.size(); ++guard) {
            const std::size_t n = port_.writes[acked_++].size();
            s_.onEvent(TERN_STREAM_SENT, static_cast<std::intptr_t>(n));
        }
    }
    void chunk(const std::string& data) {
        port_.inbox.push_back(data);
        s_.onEvent(TERN_STREAM_DATA, static_cast<std::intptr_t>(data.size()));
        pump();
    }
    void event(int code) {
        s_.onEvent(code, 0);
        pump();
    }
    const std::string& lastWrite() const { return port_.writes.back(); }
    // A reply cut in two at `split` (0, or past its end: whole), as the network may deliver it.
    void reply(const std::string& data, std::size_t split) {
        if (split == 0 || split >= data.size()) return chunk(data);
        chunk(data.substr(0, split));
        chunk(data.substr(split));
    }

private:
    FakePort& port_;
    Session& s_;
    std::size_t acked_ = 0;
};

// One step of a scripted server: a reply, or (when event is set) a socket event.
struct ServerStep {
    std::string reply;
    int event = 0;
};
using Script = std::vector<ServerStep>;

// What a scripted conversation left behind: every write, the statuses with their texts, and what
// the socket layer was asked to do.
struct Conversation {
    std::vector<std::string> writes;
    std::vector<int> codes;
    std::vector<std::string> texts; // texts of the posts that carry one, in order
    std::vector<std::string> tlsStarts;
    bool socketClosed = false;
    bool operator==(const Conversation& o) const {
        return writes == o.writes && codes == o.codes && texts == o.texts &&
               tlsStarts == o.tlsStarts && socketClosed == o.socketClosed;
    }
};

// Plays a script against a started session, each reply cut at `split` (0: whole).
template <class Session>
Conversation play(FakePort& port, Session& s, const Script& script, std::size_t split) {
    Driver<Session> d(port, s);
    d.pump();
    for (const ServerStep& step : script) {
        if (step.event)
            d.event(step.event);
        else
            d.reply(step.reply, split);
    }
    Conversation c{port.writes, port.codes(), {}, port.tlsStarts, port.socketClosed};
    for (const Posted& p : port.posts)
        if (!p.text.empty()) c.texts.push_back(p.text);
    return c;
}

// The longest reply of a script: every cut up to it is worth trying.
inline std::size_t longestReply(const Script& script) {
    std::size_t n = 0;
    for (const ServerStep& step : script) n = std::max(n, step.reply.size());
    return n;
}

} // namespace lx::net::test
