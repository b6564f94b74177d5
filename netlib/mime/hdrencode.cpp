#include "netlib/mime/hdrencode.h"

#include <cstdint>

#include "netlib/mime/codecs.h"
#include "netlib/mime/textintake.h"

namespace lx::mime {

namespace {

constexpr const char kHex[] = "0123456789ABCDEF";
constexpr const char* kCRLF = "\r\n";
constexpr const char* kFold = "\r\n ";

// Characters a "Q" word may carry as they are, in a display name as well as in a subject.
bool qLiteral(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '!' ||
           c == '*' || c == '+' || c == '-' || c == '/';
}

std::size_t qLength(unsigned char c) { return c == ' ' || qLiteral(c) ? 1 : 3; }

void appendQ(unsigned char c, std::string& out) {
    if (c == ' ') {
        out.push_back('_');
    } else if (qLiteral(c)) {
        out.push_back(static_cast<char>(c));
    } else {
        const char e[3] = {'=', kHex[c >> 4], kHex[c & 15]};
        out.append(e, 3);
    }
}

// "B" when it gives fewer characters than "Q": mostly 8-bit text triples in "Q".
bool preferBase64(const std::string& text) {
    std::size_t q = 0;
    for (unsigned char c : text) q += qLength(c);
    return (text.size() + 2) / 3 * 4 < q;
}

std::string trimmed(const std::string& s) {
    const std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return std::string();
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// A display name in double quotes without them and without its backslash escapes.
std::string unquoted(const std::string& s) {
    if (s.size() < 2 || s.front() != '"' || s.back() != '"') return s;
    std::string out;
    for (std::size_t i = 1; i + 1 < s.size(); ++i) {
        if (s[i] == '\\' && i + 2 < s.size()) ++i;
        out.push_back(s[i]);
    }
    return out;
}

// Characters on the last line of a header text built so far.
std::size_t lastLineLength(const std::string& s) {
    const std::size_t nl = s.rfind('\n');
    return nl == std::string::npos ? s.size() : s.size() - nl - 1;
}

// Splits "Display Name <address>" at its last "<"; false when the text has no such form.
bool splitMailbox(const std::string& mailbox, std::string& display, std::string& angleAddr) {
    const std::string m = trimmed(mailbox);
    const std::size_t open = m.rfind('<');
    if (m.empty() || m.back() != '>' || open == std::string::npos) return false;
    display = trimmed(m.substr(0, open));
    angleAddr = m.substr(open);
    return true;
}

} // namespace

bool needsEncodedWords(const std::string& text) {
    for (unsigned char c : text)
        if (c & 0x80) return true;
    const std::size_t start = text.find("=?");
    return start != std::string::npos && text.find("?=", start + 2) != std::string::npos;
}

std::string encodeWords(const std::string& text, std::size_t column) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(text.data());
    const std::size_t n = text.size();
    const bool b64 = preferBase64(text);
    const std::string head =
        std::string("=?") + eightBitCharset(hasWindowsByte(p, n)) + (b64 ? "?B?" : "?Q?");
    const std::size_t overhead = head.size() + 2;
    const std::size_t least = overhead + (b64 ? 4 : 3); // a word holds one character at least
    std::string out;
    std::size_t i = 0;
    while (i < n) {
        std::size_t room = kHeaderLineMax > column ? kHeaderLineMax - column : 0;
        if (room > kEncodedWordMax) room = kEncodedWordMax;
        if (room < least) {
            out += kFold;
            column = 1;
            continue;
        }
        std::string word = head;
        if (b64) {
            // Whole groups of three bytes: each character is one byte, so no character is split.
            std::size_t take = (room - overhead) / 4 * 3;
            if (take > n - i) take = n - i;
            base64Encode(p + i, take, word);
            i += take;
        } else {
            // An "=XX" triple is never split between two words.
            while (i < n && word.size() + qLength(p[i]) + 2 <= room) appendQ(p[i++], word);
        }
        word += "?=";
        out += word;
        column += word.size();
        if (i < n) {
            out += kFold;
            column = 1;
        }
    }
    return out;
}

std::string unstructuredHeader(const std::string& name, const std::string& text) {
    const std::string head = name + ": ";
    if (!needsEncodedWords(text)) return head + text + kCRLF;
    return head + encodeWords(text, head.size()) + kCRLF;
}

std::string addressHeader(const std::string& name, const std::string& mailbox) {
    const std::string head = name + ": ";
    std::string display, angleAddr;
    if (!splitMailbox(mailbox, display, angleAddr)) return head + mailbox + kCRLF;
    display = unquoted(display);
    if (!needsEncodedWords(display)) return head + mailbox + kCRLF;
    std::string out = head + encodeWords(display, head.size());
    out += lastLineLength(out) + 1 + angleAddr.size() > kHeaderLineMax ? kFold : " ";
    return out + angleAddr + kCRLF;
}

std::string envelopeAddress(const std::string& mailbox) {
    std::string display, angleAddr;
    if (!splitMailbox(mailbox, display, angleAddr)) return mailbox;
    return angleAddr.substr(1, angleAddr.size() - 2);
}

} // namespace lx::mime
