#include "mailer/transfer/logic/signatureindex.h"

#include <cstring>
#include <fstream>
#include <vector>

namespace lx {
namespace {

constexpr std::size_t kNamesAt = 4;
constexpr std::size_t kOffsetsAt = kNamesAt + kSignatureSlots * kSignatureNameSize; // 1028
constexpr std::size_t kDeletedAt = kOffsetsAt + kSignatureSlots * 4;                // 1156

std::int32_t Int32At(const std::uint8_t* p) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
}

void PutInt32(std::uint8_t* p, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A name field without its zero byte is read to the end of its 32 bytes.
std::string NameAt(const std::uint8_t* p) { return SignatureBlockText(p, kSignatureNameSize); }

} // namespace

bool ParseSignatureIndex(const std::uint8_t* bytes, std::size_t size, SignatureIndex* index) {
    if (!bytes || !index || size < kSignatureIndexSize) return false;
    SignatureIndex parsed;
    const std::int32_t count = Int32At(bytes);
    parsed.count = count < 0 ? 0 : (count > kSignatureSlots ? kSignatureSlots : count);
    for (int i = 0; i < kSignatureSlots; ++i) {
        parsed.names[i] = NameAt(bytes + kNamesAt + i * kSignatureNameSize);
        parsed.offsets[i] = Int32At(bytes + kOffsetsAt + i * 4);
        parsed.deleted[i] = Int32At(bytes + kDeletedAt + i * 4) == 1;
    }
    *index = parsed;
    return true;
}

void WriteSignatureIndex(const SignatureIndex& index, std::uint8_t (&bytes)[kSignatureIndexSize]) {
    std::memset(bytes, 0, sizeof bytes);
    PutInt32(bytes, index.count);
    for (int i = 0; i < kSignatureSlots; ++i) {
        const std::string& name = index.names[i];
        std::memcpy(bytes + kNamesAt + i * kSignatureNameSize, name.data(),
                    name.size() < kSignatureNameMax ? name.size() : kSignatureNameMax);
        PutInt32(bytes + kOffsetsAt + i * 4, index.offsets[i]);
        PutInt32(bytes + kDeletedAt + i * 4, index.deleted[i] ? 1 : 0);
    }
}

void WriteSignatureBlock(const std::string& text, std::uint8_t (&block)[kSignatureTextSize]) {
    std::memset(block, 0, sizeof block);
    std::memcpy(block, text.data(),
                text.size() < kSignatureTextMax ? text.size() : kSignatureTextMax);
}

std::string SignatureBlockText(const std::uint8_t* block, std::size_t size) {
    const void* zero = std::memchr(block, 0, size);
    return std::string(
        reinterpret_cast<const char*>(block),
        zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - block) : size);
}

int FindSignature(const SignatureIndex& index, const std::string& name) {
    if (name.empty()) return -1;
    for (int i = 0; i < index.count; ++i)
        if (!index.deleted[i] && index.names[i] == name) return i;
    return -1;
}

bool SignatureFile::Open(const std::string& path) {
    open_ = false;
    path_ = path;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::vector<std::uint8_t> bytes(kSignatureIndexSize);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    open_ = ParseSignatureIndex(bytes.data(), static_cast<std::size_t>(in.gcount()), &index_);
    return open_;
}

std::string SignatureFile::TextOf(const std::string& name) const {
    if (!open_) return std::string();
    const int slot = FindSignature(index_, name);
    if (slot < 0 || !SignatureBlockPlace(index_.offsets[slot])) return std::string();
    std::ifstream in(path_, std::ios::binary);
    if (!in || !in.seekg(index_.offsets[slot])) return std::string();
    std::uint8_t block[kSignatureTextSize];
    in.read(reinterpret_cast<char*>(block), sizeof block);
    return SignatureBlockText(block, static_cast<std::size_t>(in.gcount()));
}

} // namespace lx
