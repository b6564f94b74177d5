// The outgoing header lines that carry text: 8-bit text goes out as encoded words (RFC 2047),
// folded over lines of at most 78 characters (RFC 5322), so that no byte of it is cut to 7 bits.
#pragma once

#include <cstddef>
#include <string>

namespace lx::mime {

constexpr std::size_t kEncodedWordMax = 75;
constexpr std::size_t kHeaderLineMax = 78;

// Whether a header text has to travel as encoded words: it holds an 8-bit byte, or something a
// reader would take for an encoded word and decode.
bool needsEncodedWords(const std::string& text);

// The text as encoded words in the charset of eightBitCharset, each at most kEncodedWordMax
// characters; `column` characters already stand on the line. A word that does not fit on the
// line goes onto a folded line (CR LF and a blank) of its own.
std::string encodeWords(const std::string& text, std::size_t column);

// "Name: text" and CR LF for an unstructured field such as Subject: text that needs no encoding
// stands as it is.
std::string unstructuredHeader(const std::string& name, const std::string& text);

// "Name: mailbox" and CR LF for an address field: the display name of "Display Name <address>"
// (plain or in double quotes) becomes encoded words when it needs them; the address stays as is.
std::string addressHeader(const std::string& name, const std::string& mailbox);

// The address an SMTP envelope line carries: the part in angle brackets of
// "Display Name <address>", else the whole text.
std::string envelopeAddress(const std::string& mailbox);

} // namespace lx::mime
