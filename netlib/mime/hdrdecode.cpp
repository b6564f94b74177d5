#include "netlib/mime/hdrdecode.h"

#include <algorithm>
#include <cstring>

#include "netlib/mime/codecs.h"
#include "netlib/mime/scanutil.h"

namespace lx::mime {

namespace {

// Code points of the Windows-1252 bytes 0x80..0x9F; 0 where the byte is not defined.
constexpr std::uint16_t kHigh1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

enum class Charset { Unknown, Ascii, Latin1, Windows1252, Utf8 };

bool equalsNoCase(const std::string& a, const char* b) {
    const std::size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (lowerAscii(a[i]) != b[i]) return false;
    return true;
}

Charset charsetOf(std::string name) {
    const std::size_t star = name.find('*'); // an RFC 2231 language suffix
    if (star != std::string::npos) name.resize(star);
    static const struct {
        const char* name;
        Charset cs;
    } kNames[] = {
        {"us-ascii", Charset::Ascii},
        {"ascii", Charset::Ascii},
        {"iso-8859-1", Charset::Latin1},
        {"iso8859-1", Charset::Latin1},
        {"iso_8859-1", Charset::Latin1},
        {"latin1", Charset::Latin1},
        {"latin-1", Charset::Latin1},
        {"l1", Charset::Latin1},
        {"windows-1252", Charset::Windows1252},
        {"cp1252", Charset::Windows1252},
        {"utf-8", Charset::Utf8},
        {"utf8", Charset::Utf8},
    };
    for (const auto& n : kNames)
        if (equalsNoCase(name, n.name)) return n.cs;
    return Charset::Unknown;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Q encoding: "_" is a blank, "=" and two hexadecimal digits a byte, anything else itself.
std::string decodeQ(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '_') {
            out.push_back(' ');
        } else if (c == '=' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
                   hexValue(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// B encoding: the base64 alphabet only; missing padding is tolerated, a lone last character not.
bool decodeB(const std::string& text, std::string& out) {
    std::size_t len = text.size();
    while (len > 0 && text[len - 1] == '=') --len;
    if (len % 4 == 1) return false;
    for (std::size_t i = 0; i < len; ++i)
        if (!std::strchr(kBase64Alphabet, text[i]) || text[i] == '\0') return false;
    Base64Stream b64;
    b64.add(text.data(), len, out);
    b64.finish(out);
    return true;
}

// Appends the Windows-1252 form of bytes in the given charset; invalid bytes become "?".
void appendAs1252(const std::string& bytes, Charset cs, std::string& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        switch (cs) {
        case Charset::Latin1: out.push_back(toWindows1252(c)); break;
        case Charset::Windows1252:
            out.push_back(c >= 0xA0 || kHigh1252[c - 0x80] ? static_cast<char>(c) : '?');
            break;
        case Charset::Utf8: {
            // The sequence's length from its first byte; overlong forms and surrogates are invalid.
            int more = c >= 0xF0 && c <= 0xF4 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 && c < 0xE0 ? 1 : -1;
            if (c > 0xF4) more = -1;
            std::uint32_t cp = more == 3 ? c & 0x07u : more == 2 ? c & 0x0Fu : c & 0x1Fu;
            int k = 0;
            while (more > 0 && k < more && i + 1 + k < n && (p[i + 1 + k] & 0xC0) == 0x80)
                cp = (cp << 6) | (p[i + 1 + k++] & 0x3Fu);
            const bool ok = more > 0 && k == more &&
                            !(more == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) &&
                            !(more == 3 && (cp < 0x10000 || cp > 0x10FFFF));
            out.push_back(ok ? toWindows1252(cp) : '?');
            i += static_cast<std::size_t>(k);
            break;
        }
        default: out.push_back('?'); break; // US-ASCII holds no such byte
        }
    }
}

// Parses the encoded word starting at value[at] ("=?"); on success sets end (one past "?=")
// and appends the decoded text.
bool decodeWord(const std::string& value, std::size_t at, std::size_t& end, std::string& out) {
    // Bounded searches: a value full of "=?" costs time in proportion to its length only.
    constexpr std::size_t kMaxCharsetName = 64, kMaxEncodedText = 4096;
    const std::size_t q1 = value.find('?', at + 2);
    if (q1 == std::string::npos || q1 - at - 2 > kMaxCharsetName || q1 + 3 >= value.size() ||
        value[q1 + 2] != '?')
        return false;
    const char enc = upperAscii(value[q1 + 1]);
    if (enc != 'B' && enc != 'Q') return false;
    const std::size_t stop = std::min(value.size(), q1 + 3 + kMaxEncodedText + 2);
    std::size_t close = std::string::npos;
    for (std::size_t k = q1 + 3; k + 1 < stop && close == std::string::npos; ++k)
        if (value[k] == '?' && value[k + 1] == '=') close = k;
    if (close == std::string::npos) return false;
    const Charset cs = charsetOf(value.substr(at + 2, q1 - at - 2));
    if (cs == Charset::Unknown) return false;
    const std::string text = value.substr(q1 + 3, close - q1 - 3);
    std::string bytes;
    if (enc == 'Q')
        bytes = decodeQ(text);
    else if (!decodeB(text, bytes))
        return false;
    appendAs1252(bytes, cs, out);
    end = close + 2;
    return true;
}

} // namespace

char toWindows1252(std::uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh1252[i] == cp && cp != 0) return static_cast<char>(0x80 + i);
    return '?';
}

std::string decodeHeaderWords(const std::string& value) {
    if (value.find("=?") == std::string::npos) return value;
    std::string out;
    std::size_t i = 0;
    std::size_t lastWordEnd = std::string::npos; // where the last decoded word ended in value
    while (i < value.size()) {
        const std::size_t at = value.find("=?", i);
        if (at == std::string::npos) break;
        std::size_t end = 0;
        std::string decoded;
        if (!decodeWord(value, at, end, decoded)) {
            out.append(value, i, at + 2 - i);
            i = at + 2;
            lastWordEnd = std::string::npos;
            continue;
        }
        // Only whitespace since the previous encoded word: the two words join.
        bool onlyBlanks = lastWordEnd == i;
        for (std::size_t k = i; onlyBlanks && k < at; ++k) onlyBlanks = isBlank(value[k]);
        if (!onlyBlanks) out.append(value, i, at - i);
        out += decoded;
        i = end;
        lastWordEnd = end;
    }
    out.append(value, i, std::string::npos);
    return out;
}

} // namespace lx::mime
