// Reading the signature file SIGNING.SIG: its index (count, 32 names, 32 text offsets, 32 deleted
// flags) and one signature's text. Read only: the file is opened, read and closed in one go, so
// that the "Signature Files" dialog, which holds it exclusively while it is open, only costs a
// reader its signatures for that time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace lx {

constexpr char kSignatureFile[] = "SIGNING.SIG";
constexpr int kSignatureSlots = 32;
constexpr std::size_t kSignatureNameSize = 32;    // bytes per name, zero-terminated
constexpr std::size_t kSignatureIndexSize = 1296; // count, names, offsets, flags, reserved
constexpr std::size_t kSignatureTextSize = 512;   // bytes per text block

struct SignatureIndex {
    int count = 0; // slots 0 .. count-1 are meaningful
    std::array<std::string, kSignatureSlots> names;
    std::array<std::int32_t, kSignatureSlots> offsets{};
    std::array<bool, kSignatureSlots> deleted{};
};

// The index from the first kSignatureIndexSize bytes of the file. False when fewer bytes are
// given; a count outside 0..32 is brought into that range.
bool ParseSignatureIndex(const std::uint8_t* bytes, std::size_t size, SignatureIndex* index);

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
