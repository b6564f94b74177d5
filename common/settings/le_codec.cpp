#include "common/settings/le_codec.h"

#include <cstring>
#include <stdexcept>

#include "common/settings/fixed_text.h"

namespace lx {

std::int16_t GetI16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

std::int32_t GetI32(const std::uint8_t* p) {
    std::uint32_t v = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                      (static_cast<std::uint32_t>(p[2]) << 16) |
                      (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<std::int32_t>(v);
}

void PutI16(std::uint8_t* p, std::int16_t v) {
    std::uint16_t u = static_cast<std::uint16_t>(v);
    p[0] = static_cast<std::uint8_t>(u);
    p[1] = static_cast<std::uint8_t>(u >> 8);
}

void PutI32(std::uint8_t* p, std::int32_t v) {
    std::uint32_t u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(u >> (8 * i));
}

// A layout that runs past its image is a programming error in a codec, not a data error: the
// images are always allocated at the record's size before decoding.
const std::uint8_t* LeReader::Take(std::size_t n) {
    if (n > size_ - pos_) throw std::out_of_range("LeReader: field past the end of the record");
    const std::uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
}

std::int16_t LeReader::I16() { return GetI16(Take(2)); }
std::int32_t LeReader::I32() { return GetI32(Take(4)); }
std::uint8_t LeReader::U8() { return *Take(1); }

void LeReader::Text(char* out, std::size_t n) {
    const std::uint8_t* p = Take(n);
    if (n == 0) return;
    std::memcpy(out, p, n);
    out[n - 1] = '\0';
}

void LeReader::Bytes(std::uint8_t* out, std::size_t n) {
    const std::uint8_t* p = Take(n);
    if (n != 0) std::memcpy(out, p, n);
}

void LeReader::Skip(std::size_t n) { Take(n); }

std::uint8_t* LeWriter::Take(std::size_t n) {
    if (n > size_ - pos_) throw std::out_of_range("LeWriter: field past the end of the record");
    std::uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
}

void LeWriter::I16(std::int16_t v) { PutI16(Take(2), v); }
void LeWriter::I32(std::int32_t v) { PutI32(Take(4), v); }
void LeWriter::U8(std::uint8_t v) { *Take(1) = v; }

void LeWriter::Text(const char* field, std::size_t n) {
    CopyText(reinterpret_cast<char*>(Take(n)), n, field ? TextOf(field, n).c_str() : "");
}

void LeWriter::Bytes(const std::uint8_t* in, std::size_t n) {
    std::uint8_t* p = Take(n);
    if (n != 0) std::memcpy(p, in, n);
}

void LeWriter::Zeros(std::size_t n) {
    std::uint8_t* p = Take(n);
    if (n != 0) std::memset(p, 0, n);
}

} // namespace lx
