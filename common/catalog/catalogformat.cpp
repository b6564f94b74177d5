#include "common/catalog/catalogformat.h"

#include <cstring>

namespace lx {

int32_t ReadLE32(const uint8_t* p) {
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    return static_cast<int32_t>(v);
}

int16_t ReadLE16(const uint8_t* p) {
    uint16_t v = static_cast<uint16_t>(p[0] | p[1] << 8);
    return static_cast<int16_t>(v);
}

void WriteLE32(uint8_t* p, int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void WriteLE16(uint8_t* p, int16_t value) {
    uint16_t v = static_cast<uint16_t>(value);
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void DecodeCatalogHeader(const uint8_t* bytes, CatalogHeader& header) {
    std::memcpy(header.magic.data(), bytes, kCatalogMagicSize);
    for (size_t i = 0; i < kCatalogModuleSlots; ++i) {
        std::memcpy(header.names[i].data(), bytes + kCatalogNamesAt + i * kCatalogModuleNameSize,
                    kCatalogModuleNameSize);
        header.offsets[i] = ReadLE32(bytes + kCatalogOffsetsAt + i * 4);
        header.counts[i] = ReadLE16(bytes + kCatalogCountsAt + i * 2);
    }
    std::memcpy(header.spare.data(), bytes + kCatalogSpareAt, kCatalogSpareSize);
}

void EncodeCatalogHeader(const CatalogHeader& header, uint8_t* bytes) {
    std::memcpy(bytes, header.magic.data(), kCatalogMagicSize);
    for (size_t i = 0; i < kCatalogModuleSlots; ++i) {
        std::memcpy(bytes + kCatalogNamesAt + i * kCatalogModuleNameSize, header.names[i].data(),
                    kCatalogModuleNameSize);
        WriteLE32(bytes + kCatalogOffsetsAt + i * 4, header.offsets[i]);
        WriteLE16(bytes + kCatalogCountsAt + i * 2, header.counts[i]);
    }
    std::memcpy(bytes + kCatalogSpareAt, header.spare.data(), kCatalogSpareSize);
}

bool FixedFieldText(const char* field, size_t size, std::string& text) {
    const void* nul = std::memchr(field, '\0', size);
    if (!nul) return false;
    text.assign(field, static_cast<const char*>(nul));
    return true;
}

} // namespace lx
