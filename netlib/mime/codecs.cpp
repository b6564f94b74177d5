#include "netlib/mime/codecs.h"

#include <cstring>

namespace lx::mime {

namespace {

constexpr const char kHex[] = "0123456789ABCDEF";

constexpr const lx::net::Base64Table& kB64 = lx::net::kBase64Values;

// The alphabet's values shifted to their place in a decoded group of four characters (18, 12,
// 6, 0 bits); a character outside the alphabet gives kGroupBad, which no OR of values reaches.
constexpr std::uint32_t kGroupBad = 0x80000000u;
struct Base64GroupTable {
    std::uint32_t at[4][256];
    constexpr Base64GroupTable() : at() {
        for (int k = 0; k < 4; ++k)
            for (int c = 0; c < 256; ++c)
                at[k][c] = kB64.v[c] < 0 ? kGroupBad
                                         : static_cast<std::uint32_t>(kB64.v[c]) << (18 - 6 * k);
    }
};
constexpr Base64GroupTable kGroup;

// Value of a hexadecimal digit (either case), or -1.
int qpDigit(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

std::size_t Base64Stream::add(const char* p, std::size_t n, char* out) {
    const unsigned char* u = reinterpret_cast<const unsigned char*>(p);
    char* o = out;
    std::size_t i = 0;
    sawPadding_ = false;
    while (i < n) {
        // Whole groups of four alphabet characters, the common case, without the carry: four
        // look-ups of pre-shifted values and one test for a character outside the alphabet. Two
        // groups at a time give six bytes, stored as one eight-byte word (the room has the two
        // bytes of slack; what lies past the six is overwritten or beyond the count).
        if (have_ == 0) {
            while (i + 8 <= n) {
                const std::uint32_t g1 = kGroup.at[0][u[i]] | kGroup.at[1][u[i + 1]] |
                                         kGroup.at[2][u[i + 2]] | kGroup.at[3][u[i + 3]];
                const std::uint32_t g2 = kGroup.at[0][u[i + 4]] | kGroup.at[1][u[i + 5]] |
                                         kGroup.at[2][u[i + 6]] | kGroup.at[3][u[i + 7]];
                if ((g1 | g2) & kGroupBad) break;
                const std::uint64_t word =
                    __builtin_bswap64(((std::uint64_t(g1) << 24) | g2) << 16); // first byte first
                std::memcpy(o, &word, 8);
                o += 6;
                i += 8;
            }
            while (i + 4 <= n) {
                const std::uint32_t g = kGroup.at[0][u[i]] | kGroup.at[1][u[i + 1]] |
                                        kGroup.at[2][u[i + 2]] | kGroup.at[3][u[i + 3]];
                if (g & kGroupBad) break;
                o[0] = static_cast<char>(g >> 16);
                o[1] = static_cast<char>(g >> 8);
                o[2] = static_cast<char>(g);
                o += 3;
                i += 4;
            }
            if (i >= n) break;
        }
        const unsigned char ch = u[i++];
        if (ch == '=') { // padding ends the group
            sawPadding_ = true;
            if (have_ == 2) {
                *o++ = static_cast<char>(acc_ >> 4);
            } else if (have_ == 3) {
                *o++ = static_cast<char>(acc_ >> 10);
                *o++ = static_cast<char>(acc_ >> 2);
            }
            have_ = 0;
            continue;
        }
        const int v = kB64.v[ch];
        if (v < 0) continue; // line ends, blanks and stray characters carry no data
        acc_ = (acc_ << 6) | static_cast<std::uint32_t>(v);
        if (++have_ == 4) {
            *o++ = static_cast<char>(acc_ >> 16);
            *o++ = static_cast<char>(acc_ >> 8);
            *o++ = static_cast<char>(acc_);
            have_ = 0;
        }
    }
    return static_cast<std::size_t>(o - out);
}

void Base64Stream::add(const char* p, std::size_t n, std::string& out) {
    const std::size_t base = out.size();
    out.resize(base + maxDecoded(n));
    out.resize(base + add(p, n, &out[base]));
}

void Base64Stream::finish(std::string& out) {
    if (have_ == 2) {
        out.push_back(static_cast<char>(acc_ >> 4));
    } else if (have_ == 3) {
        const char bytes[2] = {static_cast<char>(acc_ >> 10), static_cast<char>(acc_ >> 2)};
        out.append(bytes, 2);
    }
    have_ = 0;
}

void QpEncoder::put(const char* token, std::size_t len, std::string& out) {
    // Room for the "=" of a soft break is kept, so a token never straddles two lines.
    if (column_ + len > kQpLineChars - 1) {
        out += "=\r\n";
        column_ = 0;
    }
    out.append(token, len);
    column_ += len;
}

void QpEncoder::add(const std::uint8_t* in, std::size_t n, std::string& out) {
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t c = in[i];
        if (pendingCR_) {
            pendingCR_ = false;
            if (c == '\n') {
                out += "\r\n";
                column_ = 0;
                continue;
            }
            put("=0D", 3, out);
        }
        if (c == '\r') {
            pendingCR_ = true;
        } else if ((c >= 33 && c <= 60) || (c >= 62 && c <= 126)) {
            const char ch = static_cast<char>(c);
            put(&ch, 1, out);
        } else {
            const char e[3] = {'=', kHex[c >> 4], kHex[c & 15]};
            put(e, 3, out);
        }
    }
}

void QpEncoder::finish(std::string& out) {
    if (pendingCR_) put("=0D", 3, out);
    pendingCR_ = false;
    column_ = 0;
}

void qpEncode(const std::uint8_t* in, std::size_t n, std::string& out) {
    QpEncoder e;
    e.add(in, n, out);
    e.finish(out);
}

std::size_t qpDecodeLine(const char* line, std::size_t len, char* out, bool* softBreak) {
    std::size_t o = 0;
    bool soft = false;
    for (std::size_t i = 0; i < len; ++i) {
        char c = line[i];
        if (c != '=') {
            out[o++] = c;
            continue;
        }
        if (i + 1 >= len) { // a lone "=" at the end: soft line break
            soft = true;
            break;
        }
        if (i + 2 >= len) { // "=" with a single character after it: copied as it stands
            out[o++] = c;
            continue;
        }
        int hi = qpDigit(static_cast<unsigned char>(line[i + 1]));
        int lo = qpDigit(static_cast<unsigned char>(line[i + 2]));
        if (hi < 0 || lo < 0) { // no escape (a sender that did not encode "="): kept as written
            out[o++] = c;
            continue;
        }
        out[o++] = static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    if (softBreak) *softBreak = soft;
    return o;
}

std::size_t uudecodeLine(const char* line, std::size_t len, std::uint8_t* out) {
    if (len == 0) return 0;
    auto val = [](char ch) {
        return static_cast<unsigned>((static_cast<unsigned char>(ch) - 32) & 63);
    };
    std::size_t want = val(line[0]);
    std::size_t o = 0;
    for (std::size_t i = 1; o < want && i + 1 < len; i += 4) {
        unsigned a = val(line[i]), b = val(line[i + 1]);
        unsigned c = i + 2 < len ? val(line[i + 2]) : 0;
        unsigned d = i + 3 < len ? val(line[i + 3]) : 0;
        std::uint8_t bytes[3] = {static_cast<std::uint8_t>((a << 2) | (b >> 4)),
                                 static_cast<std::uint8_t>(((b & 15) << 4) | (c >> 2)),
                                 static_cast<std::uint8_t>(((c & 3) << 6) | d)};
        for (int k = 0; k < 3 && o < want; ++k) out[o++] = bytes[k];
    }
    return o;
}

} // namespace lx::mime
