// Small text helpers of the scanner.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace lx::mime {

// The first c in [p, p + n), or null. On Windows the C runtime's memchr scans byte by byte, so a
// word-at-a-time search is used there; elsewhere the library's is the faster one.
inline const char* findByte(const char* p, std::size_t n, char c) {
#ifdef _WIN32
    const std::uint64_t ones = 0x0101010101010101ull;
    const std::uint64_t pattern = ones * static_cast<unsigned char>(c);
    while (n >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        const std::uint64_t x = w ^ pattern;
        if ((x - ones) & ~x & 0x8080808080808080ull) break; // a matching byte in this word
        p += 8;
        n -= 8;
    }
    for (; n > 0; ++p, --n)
        if (*p == c) return p;
    return nullptr;
#else
    return static_cast<const char*>(std::memchr(p, c, n));
#endif
}

inline char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

inline std::string upperCopy(std::string_view s) {
    std::string u(s);
    for (char& c : u) c = upperAscii(c);
    return u;
}

inline std::size_t skipBlanks(std::string_view s, std::size_t i) {
    while (i < s.size() && isBlank(s[i])) ++i;
    return i;
}

// Copies s into a zero-terminated field of n bytes, cut to fit.
inline void copyField(char* field, std::size_t n, const std::string& s) {
    std::size_t len = s.size() < n - 1 ? s.size() : n - 1;
    std::memcpy(field, s.data(), len);
    field[len] = '\0';
}

// Content-Transfer-Encoding lines are recognised by their shape: "C" and ":" as the 26th character.
inline bool isTransferEncodingLine(const std::string& line) {
    return line.size() > 25 && upperAscii(line[0]) == 'C' && line[25] == ':';
}

// 0 7bit, 1 base64, 2 quoted-printable, 3 anything else: the first letter of the value decides.
inline int encodingOf(const std::string& line) {
    std::size_t i = skipBlanks(line, 26);
    if (i >= line.size()) return 3;
    switch (line[i]) {
    case 'b':
    case 'B': return 1;
    case '7': return 0;
    case 'q':
    case 'Q': return 2;
    default: return 3;
    }
}

} // namespace lx::mime
