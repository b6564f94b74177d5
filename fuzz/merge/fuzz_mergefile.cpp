// libFuzzer target: the merge file reader over any bytes. Every address it returns stands in the
// file and can be put on an envelope line; refused lines are named by line numbers in order.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "mailer/transfer/logic/mergefile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const lx::MergeList list = lx::ReadMergeList(bytes, size);
    for (const std::string& a : list.addresses) {
        if (a.empty() || a.size() > lx::kMergeAddressLimit) abort();
        for (char ch : a) {
            const unsigned char c = static_cast<unsigned char>(ch);
            if (c <= ' ' || c == 0x7f || c == '<' || c == '>') abort();
        }
    }
    int last = 0;
    for (const lx::MergeLineRefusal& r : list.refused) {
        if (r.line <= last || r.text.size() > lx::kMergeLineLimit) abort();
        last = r.line;
    }
    // No line is made up: there are no more entries than line ends and one.
    std::size_t breaks = 0;
    for (std::size_t i = 0; i < size; ++i) breaks += bytes[i] == '\r' || bytes[i] == '\n';
    if (list.addresses.size() + list.refused.size() > breaks + 1) abort();
    if (last > static_cast<int>(breaks + 1)) abort();
    const std::string all(bytes, size);
    for (const std::string& a : list.addresses)
        if (all.find(a) == std::string::npos) abort();
    return 0;
}
