// Breaks the outgoing message text into lines: CR (with or without its LF) ends a line with
// CR LF; a line that reaches the limit breaks before its last blank, or hard at the limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lx::mime {

constexpr std::size_t kLineLimit7bit = 990;
constexpr std::size_t kLineLimit8bit = 384;

class TextIntake {
public:
    // Appends the bytes; every completed line (with CR LF) is appended to out. The unfinished
    // line is kept so that a text handed over in several pieces breaks as if given whole.
    void add(const std::uint8_t* p, std::size_t n, std::size_t limit, std::string& out);
    // Hands over the unfinished line as it stands (no line end is added).
    void finish(std::string& out);
    void reset();

private:
    std::string line_;
    bool afterCR_ = false;
};

// True when any byte has its high bit set.
bool hasHighBit(const std::uint8_t* p, std::size_t n);

} // namespace lx::mime
