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
    // The encoder writes lines of at most 76 characters ended by CR LF; a soft break ("=" at the
    // end) joins its line to the next. Decoded line by line, they give back every byte.
    std::string enc;
    lx::mime::qpEncode(data, size, enc);
    std::string back;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = enc.find("\r\n", start);
        const std::size_t stop = end == std::string::npos ? enc.size() : end;
        if (stop - start > lx::mime::kQpLineChars) abort();
        if (enc.find_first_of("\r\n", start) < stop) abort(); // no lone CR or LF is written
        std::string dec(stop - start + 1, '\0');
        dec.resize(lx::mime::qpDecodeLine(enc.data() + start, stop - start, &dec[0], &soft));
        back += dec;
        if (end == std::string::npos) break;
        if (!soft) back += "\r\n";
        start = end + 2;
    }
    if (soft) abort(); // the text never ends in a soft break
    if (back != std::string(reinterpret_cast<const char*>(data), size)) abort();
    return 0;
}
