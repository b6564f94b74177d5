// libFuzzer target: base64 line decoding, and encode-then-decode of any bytes.
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
    return 0;
}
