// Layout of a message catalogue file (DGROUP.VSF, LXVTEXT.VSF) and the codec of its header.
// All integers are little-endian; the header is read and written field by field.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace lx {

constexpr size_t kCatalogMagicSize = 68;
constexpr size_t kCatalogModuleSlots = 128;
constexpr size_t kCatalogModuleNameSize = 32;
constexpr size_t kCatalogNamesAt = 68;
constexpr size_t kCatalogOffsetsAt =
    kCatalogNamesAt + kCatalogModuleSlots * kCatalogModuleNameSize;              // 4164
constexpr size_t kCatalogCountsAt = kCatalogOffsetsAt + kCatalogModuleSlots * 4; // 4676
constexpr size_t kCatalogSpareAt = kCatalogCountsAt + kCatalogModuleSlots * 2;   // 4932
constexpr size_t kCatalogSpareSize = 12;
constexpr size_t kCatalogHeaderSize = kCatalogSpareAt + kCatalogSpareSize; // 4944
// Longest message line, not counting the line end; the reader's buffer adds the NUL.
constexpr size_t kCatalogMaxLine = 1023;
constexpr const char* kCatalogMagic = "Vellumstack v1.0";

// The header as raw fixed fields; text fields keep their bytes exactly as stored
// (a damaged file may leave out the terminating NUL).
struct CatalogHeader {
    std::array<char, kCatalogMagicSize> magic{};
    std::array<std::array<char, kCatalogModuleNameSize>, kCatalogModuleSlots> names{};
    std::array<int32_t, kCatalogModuleSlots> offsets{};
    std::array<int16_t, kCatalogModuleSlots> counts{};
    std::array<uint8_t, kCatalogSpareSize> spare{};
};

void DecodeCatalogHeader(const uint8_t* bytes, CatalogHeader& header); // bytes: kCatalogHeaderSize
void EncodeCatalogHeader(const CatalogHeader& header, uint8_t* bytes); // bytes: kCatalogHeaderSize

// Text of a fixed field up to its first NUL; false when the field holds no NUL.
bool FixedFieldText(const char* field, size_t size, std::string& text);

// Little-endian helpers shared by the catalogue reader, builder and tests.
int32_t ReadLE32(const uint8_t* p);
int16_t ReadLE16(const uint8_t* p);
void WriteLE32(uint8_t* p, int32_t value);
void WriteLE16(uint8_t* p, int16_t value);

} // namespace lx
