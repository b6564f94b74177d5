// Collects a server reply from received chunks, bounded by the receive buffer.
#pragma once

#include <cstddef>

namespace lx::net {

enum class ReplyRule {
    SingleLine, // complete with the first line end (POP3, password change)
    Smtp,       // complete with a line whose fourth character is not "-"
};

class ReplyBuffer {
public:
    static constexpr std::size_t kCapacity = 1024;

    explicit ReplyBuffer(ReplyRule rule) : rule_(rule) { clear(); }

    void clear();
    // Adds received bytes; true once the reply is complete. Bytes beyond the capacity are dropped
    // (the reply keeps its first kCapacity - 1 bytes), so an over-long reply still completes at its
    // line end.
    bool add(const char* data, std::size_t len);
    bool complete() const { return complete_; }
    // The reply text, NUL-terminated (an embedded NUL byte shortens what a host sees, nothing more).
    const char* text() const { return buf_; }
    char* data() { return buf_; }
    std::size_t size() const { return len_; }
    // Puts a text of the library's own (an error text) in place of the reply.
    void setText(const char* text);

private:
    bool scanForEnd();

    ReplyRule rule_;
    char buf_[kCapacity + 1];
    std::size_t len_ = 0;
    std::size_t lineStart_ = 0; // start of the line being collected
    bool complete_ = false;
    bool overflow_ = false; // bytes were dropped; the current line ends at the next LF
    bool firstOfOverflowLine_ = false;
};

} // namespace lx::net
