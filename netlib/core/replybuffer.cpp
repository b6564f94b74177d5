#include "netlib/core/replybuffer.h"

#include <cstring>

namespace lx::net {

void ReplyBuffer::clear() {
    len_ = 0;
    lineStart_ = 0;
    complete_ = false;
    buf_[0] = '\0';
}

namespace {

// Whether the line starting at p (n bytes kept) ends a reply under the rule.
bool isLastLine(ReplyRule rule, const char* p, std::size_t n) {
    if (rule == ReplyRule::SingleLine) return true;
    std::size_t i = 0;
    while (i < n && p[i] == ' ') ++i;
    // A line too short to carry a fourth character cannot continue the reply.
    return !(i + 3 < n && p[i + 3] == '-');
}

} // namespace

bool ReplyBuffer::add(const char* data, std::size_t len) {
    if (complete_) clear();
    for (std::size_t i = 0; i < len; ++i) {
        const char c = data[i];
        if (len_ < kCapacity) buf_[len_++] = c;
        if (c != '\n') continue;
        // A line ends here; if its bytes were dropped (buffer full) the reply ends with it too,
        // so an endless reply can never keep the session collecting.
        const bool kept = lineStart_ < len_ && buf_[len_ - 1] == '\n';
        if (!kept || isLastLine(rule_, buf_ + lineStart_, len_ - lineStart_)) {
            complete_ = true;
            break;
        }
        lineStart_ = len_;
    }
    buf_[len_] = '\0';
    return complete_;
}

void ReplyBuffer::setText(const char* text) {
    std::size_t n = strnlen(text, kCapacity);
    std::memcpy(buf_, text, n);
    buf_[n] = '\0';
    len_ = n;
    lineStart_ = 0;
    complete_ = true;
}

} // namespace lx::net
