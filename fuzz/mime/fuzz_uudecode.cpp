// libFuzzer target: uudecoding of one line never writes past its 63-byte maximum.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "netlib/mime/codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint8_t out[63];
    std::size_t n = lx::mime::uudecodeLine(reinterpret_cast<const char*>(data), size, out);
    if (n > 63) abort();
    if (size > 0 && n > ((static_cast<unsigned>(data[0]) - 32u) & 63u)) abort();
    return 0;
}
