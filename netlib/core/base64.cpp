#include "netlib/core/base64.h"

namespace lx::net {

void base64Encode(const std::uint8_t* in, std::size_t n, std::string& out) {
    std::size_t i = 0;
    for (; i + 3 <= n; i += 3) {
        std::uint32_t g =
            (std::uint32_t(in[i]) << 16) | (std::uint32_t(in[i + 1]) << 8) | in[i + 2];
        char q[4] = {kBase64Alphabet[(g >> 18) & 63], kBase64Alphabet[(g >> 12) & 63],
                     kBase64Alphabet[(g >> 6) & 63], kBase64Alphabet[g & 63]};
        out.append(q, 4);
    }
    if (n - i == 1) {
        std::uint32_t g = std::uint32_t(in[i]) << 16;
        char q[4] = {kBase64Alphabet[(g >> 18) & 63], kBase64Alphabet[(g >> 12) & 63], '=', '='};
        out.append(q, 4);
    } else if (n - i == 2) {
        std::uint32_t g = (std::uint32_t(in[i]) << 16) | (std::uint32_t(in[i + 1]) << 8);
        char q[4] = {kBase64Alphabet[(g >> 18) & 63], kBase64Alphabet[(g >> 12) & 63],
                     kBase64Alphabet[(g >> 6) & 63], '='};
        out.append(q, 4);
    }
}

std::string base64Encode(const std::string& bytes) {
    std::string out;
    base64Encode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), out);
    return out;
}

long base64DecodeLine(const char* line, std::size_t len, std::uint8_t* out) {
    if (len % 4 != 0) return -1;
    const std::int8_t* v = kBase64Values.v;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(line);
    std::size_t o = 0;
    for (std::size_t i = 0; i < len; i += 4) {
        int a = v[p[i]], b = v[p[i + 1]];
        if (a < 0 || b < 0) return -1;
        out[o++] = static_cast<std::uint8_t>((a << 2) | (b >> 4));
        if (p[i + 2] == '=') continue; // "=" ends the group
        int c = v[p[i + 2]];
        if (c < 0) return -1;
        out[o++] = static_cast<std::uint8_t>(((b & 15) << 4) | (c >> 2));
        if (p[i + 3] == '=') continue;
        int d = v[p[i + 3]];
        if (d < 0) return -1;
        out[o++] = static_cast<std::uint8_t>(((c & 3) << 6) | d);
    }
    return static_cast<long>(o);
}

bool base64Decode(const std::string& text, std::string& out) {
    out.assign(text.size() / 4 * 3, '\0');
    const long n =
        base64DecodeLine(text.data(), text.size(), reinterpret_cast<std::uint8_t*>(out.data()));
    if (n < 0) return false;
    out.resize(static_cast<std::size_t>(n));
    return true;
}

} // namespace lx::net
