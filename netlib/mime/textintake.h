// Breaks the outgoing message text into lines: CR (with or without its LF) ends a line with
// CR LF; a line that reaches the limit breaks before its last blank, or hard at the limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lx::mime {

// 7-bit text goes out as it stands, so its lines are broken to stay within the SMTP line limit.
constexpr std::size_t kLineLimit7bit = 990;
// Only line ends are made CR LF: text sent quoted-printable is broken by soft breaks instead.
constexpr std::size_t kNoLineLimit = static_cast<std::size_t>(-1);

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
// True when any byte lies in 0x80..0x9F, where Windows-1252 has characters (the euro sign, for
// one) that ISO-8859-1 lacks.
bool hasWindowsByte(const std::uint8_t* p, std::size_t n);
// The charset 8-bit text of this program is labelled with: its own Windows-1252 when a byte
// needs it, else the ISO-8859-1 that Windows-1252 agrees with.
const char* eightBitCharset(bool windowsBytes);

} // namespace lx::mime
