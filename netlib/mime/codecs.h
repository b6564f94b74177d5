// Line codecs of the MIME preparer and scanner: base64, quoted-printable and uuencode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "netlib/core/base64.h"

namespace lx::mime {

// The base64 alphabet and the line codec are the network library's (the SASL logins use them too).
using lx::net::base64DecodeLine;
using lx::net::base64Encode;
using lx::net::kBase64Alphabet;

// Input bytes per outgoing base64 line and the characters they give.
constexpr std::size_t kBase64LineBytes = 51;
constexpr std::size_t kBase64LineChars = 68;

// Decodes base64 text handed over in pieces (the lines of a part): characters outside the
// alphabet are skipped and a group left incomplete at the end of one piece goes on in the next.
// "=" ends a group.
class Base64Stream {
public:
    // Room add() needs for n characters: their whole groups, a group carried in and a padded one.
    static constexpr std::size_t maxDecoded(std::size_t n) { return (n / 4 + 2) * 3; }
    // Writes the bytes the characters complete to out (room for maxDecoded(n) bytes); returns
    // their count. The scanner decodes straight into its output file's buffer with it.
    std::size_t add(const char* p, std::size_t n, char* out);
    // Appends the bytes the characters complete to out.
    void add(const char* p, std::size_t n, std::string& out);
    // Appends what an unpadded last group holds (two or three characters give one or two bytes).
    void finish(std::string& out);
    void reset() { have_ = 0; }
    // Whether the characters of the last add() held an "=" (padding ends a base64 part), so the
    // caller need not search them again.
    bool sawPadding() const { return sawPadding_; }

private:
    std::uint32_t acc_ = 0;
    int have_ = 0; // characters of the current group
    bool sawPadding_ = false;
};

// Quoted-printable of the outgoing text: bytes 33..60 and 62..126 unchanged, CR LF a line end,
// every other byte (a lone CR or LF too) as "=" and two upper-case hexadecimal digits. Lines are
// broken with soft breaks ("=" CR LF) so that no encoded line exceeds kQpLineChars characters.
// The text may come in pieces; they encode as if given whole.
constexpr std::size_t kQpLineChars = 76;

class QpEncoder {
public:
    void add(const std::uint8_t* in, std::size_t n, std::string& out);
    // Encodes a CR still waiting for its LF; the encoder is ready for a new text afterwards.
    void finish(std::string& out);

private:
    void put(const char* token, std::size_t len, std::string& out);
    std::size_t column_ = 0;
    bool pendingCR_ = false;
};

// One whole text through a QpEncoder.
void qpEncode(const std::uint8_t* in, std::size_t n, std::string& out);

// Decodes one quoted-printable line into out (room for len bytes). softBreak tells whether
// the line ended in a lone "=". Returns the decoded length.
std::size_t qpDecodeLine(const char* line, std::size_t len, char* out, bool* softBreak);

// Decodes one uuencoded line into out (room for 63 bytes); returns the byte count the line
// announces, at most what its characters carry.
std::size_t uudecodeLine(const char* line, std::size_t len, std::uint8_t* out);

} // namespace lx::mime
