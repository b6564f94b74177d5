// libFuzzer target: encoded words of header values. Decoding never grows a value and leaves a
// value without "=?" as it is.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "netlib/mime/hdrdecode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string in(reinterpret_cast<const char*>(data), size);
    const std::string out = lx::mime::decodeHeaderWords(in);
    if (out.size() > in.size()) abort();
    if (in.find("=?") == std::string::npos && out != in) abort();
    return 0;
}
