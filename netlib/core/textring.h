// Texts handed to the host by pointer with a posted status. Each post gets a slot of its own, so
// a text stays intact while the host works through the messages posted before it, even when
// the session has moved on meanwhile; a slot is reused only after Slots later posts.
#pragma once

#include <cstddef>
#include <cstring>

namespace lx::net {

template <std::size_t Slots, std::size_t Size>
class TextRing {
public:
    // Copies text (up to len bytes, cut at Size - 1) into the next slot; the copy, terminated.
    const char* keep(const char* text, std::size_t len) {
        char* slot = slots_[next_];
        next_ = (next_ + 1) % Slots;
        const std::size_t n = len < Size - 1 ? len : Size - 1;
        std::memcpy(slot, text, n);
        slot[n] = '\0';
        return slot;
    }
    const char* keep(const char* text) { return keep(text, strnlen(text, Size - 1)); }

private:
    char slots_[Slots][Size] = {};
    std::size_t next_ = 0;
};

} // namespace lx::net
