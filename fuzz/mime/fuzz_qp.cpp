// libFuzzer target: quoted-printable line decoding, and encode-then-decode of any bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "netlib/mime/codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string out(size + 1, '\0');
    bool soft = false;
    std::size_t n =
        lx::mime::qpDecodeLine(reinterpret_cast<const char*>(data), size, &out[0], &soft);
    if (n > size) abort();
    // Every encoded line (split at the CR LF it keeps) decodes back to its bytes.
    std::string enc;
    lx::mime::qpEncode(data, size, enc);
    std::string back;
    std::size_t start = 0;
    while (start <= enc.size()) {
        std::size_t end = start;
        while (end < enc.size() && enc[end] != '\r' && enc[end] != '\n') ++end;
        std::string dec(end - start + 1, '\0');
        dec.resize(lx::mime::qpDecodeLine(enc.data() + start, end - start, &dec[0], &soft));
        if (soft) abort(); // the encoder never ends a line in "="
        back += dec;
        if (end < enc.size()) back += enc[end];
        start = end + 1;
    }
    if (back != std::string(reinterpret_cast<const char*>(data), size)) abort();
    return 0;
}
