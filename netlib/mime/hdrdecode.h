// Encoded words of incoming header values (RFC 2047), decoded into Windows-1252: the program's
// character set. B and Q encodings; the charsets US-ASCII, ISO-8859-1, Windows-1252 and UTF-8.
#pragma once

#include <cstdint>
#include <string>

namespace lx::mime {

// The value with every encoded word it holds decoded. Characters Windows-1252 cannot show
// become "?". Whitespace between two encoded words is dropped (the words join); an encoded word
// of an unknown charset or encoding, or whose text does not decode, stays as it stands.
std::string decodeHeaderWords(const std::string& value);

// The Windows-1252 byte of a Unicode code point, or '?' when it has none.
char toWindows1252(std::uint32_t codePoint);

} // namespace lx::mime
