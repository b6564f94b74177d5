// Base64 (RFC 4648): the MIME codecs and the SASL logins share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lx::net {

inline constexpr char kBase64Alphabet[65] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Each byte's value in the alphabet, or -1.
struct Base64Table {
    std::int8_t v[256];
    constexpr Base64Table() : v() {
        for (int i = 0; i < 256; ++i) v[i] = -1;
        for (int i = 0; i < 64; ++i)
            v[static_cast<unsigned char>(kBase64Alphabet[i])] = static_cast<std::int8_t>(i);
    }
};
inline constexpr Base64Table kBase64Values;

// Encodes n bytes and appends the characters, the last group padded with "=" or "==".
void base64Encode(const std::uint8_t* in, std::size_t n, std::string& out);
std::string base64Encode(const std::string& bytes);

// Decodes one base64 line of groups of four characters; "=" ends a group. The bytes go to out,
// which must hold len * 3 / 4 bytes. Returns the byte count, or -1 when the line does not decode
// (length not a multiple of four, a character outside the alphabet).
long base64DecodeLine(const char* line, std::size_t len, std::uint8_t* out);
// The same into a string; false when the text does not decode.
bool base64Decode(const std::string& text, std::string& out);

} // namespace lx::net
