// The signature file SIGNING.SIG: its index (count, 32 names, 32 text offsets, 32 deleted flags)
// and its 512-byte text blocks, read and written as bytes. SignatureFile reads: the file is
// opened, read and closed in one go, so that the "Signature Files" dialog, which holds it
// exclusively while it is open, only costs a reader its signatures for that time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace lx {

constexpr char kSignatureFile[] = "SIGNING.SIG";
constexpr int kSignatureSlots = 32;
constexpr std::size_t kSignatureNameSize = 32;       // bytes per name, zero-terminated
constexpr std::size_t kSignatureIndexSize = 1296;    // count, names, offsets, flags, reserved
constexpr std::size_t kSignatureTextSize = 512;      // bytes per text block
constexpr char kOldSignatureFile[] = "SIGNATUR.SIG"; // one text block and nothing else
// What fits with the terminating zero: the longest name and text.
constexpr std::size_t kSignatureNameMax = kSignatureNameSize - 1;
constexpr std::size_t kSignatureTextMax = kSignatureTextSize - 1;

// Where slot `slot` keeps its text block once it is written.
constexpr std::int32_t SignatureBlockOffset(int slot) {
    return static_cast<std::int32_t>(kSignatureIndexSize + kSignatureTextSize * slot);
}

struct SignatureIndex {
    int count = 0; // slots 0 .. count-1 are meaningful
    std::array<std::string, kSignatureSlots> names;
    std::array<std::int32_t, kSignatureSlots> offsets{};
    std::array<bool, kSignatureSlots> deleted{};
};

// The index from the first kSignatureIndexSize bytes of the file. False when fewer bytes are
// given; a count outside 0..32 is brought into that range.
bool ParseSignatureIndex(const std::uint8_t* bytes, std::size_t size, SignatureIndex* index);

// The index as the file holds it: little-endian, names cut to kSignatureNameMax and
// zero-padded, the reserved bytes zero.
void WriteSignatureIndex(const SignatureIndex& index, std::uint8_t (&bytes)[kSignatureIndexSize]);
// A text as its block: cut to kSignatureTextMax characters, zero-padded.
void WriteSignatureBlock(const std::string& text, std::uint8_t (&block)[kSignatureTextSize]);
// The text of a block read from the file: up to its first zero byte, or all `size` bytes.
std::string SignatureBlockText(const std::uint8_t* block, std::size_t size);

// Whether a text block can stand at the offset: past the index. An offset into the index (or
// before the file) comes from a damaged file; the bytes there are no signature's text.
constexpr bool SignatureBlockPlace(std::int32_t offset) {
    return offset >= static_cast<std::int32_t>(kSignatureIndexSize);
}

// The slot of the first signature in use whose name equals `name` exactly; -1 when none (an
// empty name finds nothing). Deleted slots keep their names and are never found.
int FindSignature(const SignatureIndex& index, const std::string& name);

// A signature file read at a path.
class SignatureFile {
public:
    // Reads the index; false (and no signatures) when the file is missing, cannot be opened or
    // is shorter than its index.
    bool Open(const std::string& path);
    bool IsOpen() const { return open_; }
    const SignatureIndex& Index() const { return index_; }
    // The text of the signature named `name`: up to 512 bytes from its offset, to its first zero
    // byte. Empty when there is no such signature or its block cannot be read.
    std::string TextOf(const std::string& name) const;

private:
    std::string path_;
    SignatureIndex index_;
    bool open_ = false;
};

} // namespace lx
