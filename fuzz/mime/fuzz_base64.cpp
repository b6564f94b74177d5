// libFuzzer target: base64 line and stream decoding, and encode-then-decode of any bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "netlib/mime/codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out(size * 3 / 4 + 1);
    long n = lx::mime::base64DecodeLine(reinterpret_cast<const char*>(data), size, out.data());
    if (n > static_cast<long>(size * 3 / 4)) abort();
    std::string enc;
    lx::mime::base64Encode(data, size, enc);
    if (enc.size() != (size + 2) / 3 * 4) abort();
    std::vector<std::uint8_t> back(enc.size());
    long m = lx::mime::base64DecodeLine(enc.data(), enc.size(), back.data());
    if (m != static_cast<long>(size) || (size && std::memcmp(back.data(), data, size) != 0))
        abort();
    // The stream decoder: any input cut anywhere decodes as it does whole, within its bound.
    const char* text = reinterpret_cast<const char*>(data);
    const std::size_t cut = size ? data[0] % (size + 1) : 0;
    std::string whole, pieces;
    lx::mime::Base64Stream a, b;
    a.add(text, size, whole);
    a.finish(whole);
    b.add(text, cut, pieces);
    b.add(text + cut, size - cut, pieces);
    b.finish(pieces);
    if (whole != pieces || whole.size() > size * 3 / 4 + 2) abort();
    std::string again;
    lx::mime::Base64Stream c;
    c.add(enc.data(), enc.size(), again);
    c.finish(again);
    if (again != std::string(text, size)) abort();
    return 0;
}
