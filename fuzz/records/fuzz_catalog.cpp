// libFuzzer target: a message catalogue file of any bytes, opened under both magic rules, every
// key of its modules looked up and each text used as a format, as message boxes and the log do.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/catalog/catalogformat.h"
#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "fuzz/common/fuzzutil.h"

namespace {

// A text of the catalogue: one line of at most 1023 characters, cut before any "##".
void CheckText(const char* text) {
    const std::size_t n = std::strlen(text);
    FUZZ_CHECK(n <= lx::kCatalogMaxLine);
    FUZZ_CHECK(std::strstr(text, "##") == nullptr);
    FUZZ_CHECK(std::strchr(text, '\n') == nullptr);
}

void UseAsFormat(const char* text) {
    std::string out;
    // The log's stamps pass six numbers, the dialogs a number or a text.
    lx::FormatText(text, {12, 10, 2026, 14, 5, 9}, out);
    lx::FormatText(text, {"mailbox"}, out);
    FUZZ_CHECK(out.size() <= 100 * std::strlen(text) + 16);
    lx::FormatText(text, {7L}, out);
    // Widths and precisions have at most two digits: the text cannot grow without bound.
    FUZZ_CHECK(out.size() <= 100 * std::strlen(text) + 16);
    const std::string other = lx::FormatTextOr(text, {"a", 1}, "fallback");
    FUZZ_CHECK(other.size() <= 100 * std::strlen(text) + 16);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const lxfuzz::ScratchFolder& folder = lxfuzz::Scratch();
    folder.Write("DGROUP.VSF", data, size);
    const std::string path = folder.File("DGROUP.VSF");
    for (lx::CatalogMagic rule : {lx::CatalogMagic::Exact, lx::CatalogMagic::ContainsVellumstack}) {
        lx::MessageCatalog catalog;
        const bool opened = catalog.Open(path.c_str(), rule);
        FUZZ_CHECK(opened == catalog.Loaded());
        if (!opened) {
            // The viewer's rule refuses only a short file or a magic without the word.
            if (rule == lx::CatalogMagic::ContainsVellumstack && size >= lx::kCatalogHeaderSize) {
                const char* magic = reinterpret_cast<const char*>(data);
                const std::string field(magic, strnlen(magic, lx::kCatalogMagicSize));
                FUZZ_CHECK(field.find("Vellumstack") == std::string::npos);
            }
            FUZZ_CHECK(catalog.Lookup("MAINFRM_CPP_1") == nullptr);
            continue;
        }
        lx::CatalogHeader header;
        lx::DecodeCatalogHeader(data, header);
        std::vector<std::string> seen;
        for (std::size_t slot = 0; slot < lx::kCatalogModuleSlots; ++slot) {
            std::string module;
            if (!lx::FixedFieldText(header.names[slot].data(), lx::kCatalogModuleNameSize, module))
                continue;
            // A module named twice is looked up in its first slot.
            if (std::find(seen.begin(), seen.end(), module) != seen.end()) continue;
            seen.push_back(module);
            // Every message of the module, its neighbours beyond and the number 0.
            const long last = std::min<long>(header.counts[slot], 64) + 1;
            for (long n = 0; n <= last; ++n) {
                const std::string key = module + "_" + std::to_string(n);
                const char* text = catalog.Lookup(key.c_str());
                if (n == 0 || n > header.counts[slot]) FUZZ_CHECK(text == nullptr);
                char small[8];
                catalog.LookupInto(key.c_str(), small, sizeof small);
                FUZZ_CHECK(std::strlen(small) < sizeof small);
                if (!text) {
                    FUZZ_CHECK(small[0] == '\0');
                    continue;
                }
                CheckText(text);
                FUZZ_CHECK(std::strncmp(small, text, sizeof small - 1) == 0);
                UseAsFormat(text);
            }
        }
        // Keys a caller could make up: without "_", without a number, a huge number.
        for (const char* key : {"", "_", "NOUNDERSCORE", "MAINFRM_CPP_", "MAINFRM_CPP_x",
                                "MAINFRM_CPP_99999999999999999999", "_1"}) {
            const char* text = catalog.Lookup(key);
            if (text) CheckText(text);
        }
        FUZZ_CHECK(catalog.Lookup(nullptr) == nullptr);
    }
    return 0;
}
