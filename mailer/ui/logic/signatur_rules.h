// The signatures of the "Signature Files" dialog: the index of SIGNING.SIG in memory and the
// changes the dialog makes to it, each written to the file at once. The file itself is reached
// through SignatureStorage, so the dialog can hold it exclusively while these rules stay
// portable.
#pragma once

#include "mailer/transfer/logic/signatureindex.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lx {

// Byte access to the open signature file.
class SignatureStorage {
public:
    virtual ~SignatureStorage() = default;
    // Reads up to `size` bytes at `offset`; the number read (0 past the end or on an error).
    virtual std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t size) = 0;
    virtual bool WriteAt(std::int64_t offset, const void* data, std::size_t size) = 0;
};

enum class SignatureLoad {
    Ready,       // the index was read (an empty file got an empty index)
    Damaged,     // the file is shorter than its index
    WriteFailed, // an empty file could not be given its index
};

enum class SignatureSave {
    Saved,
    EmptyName,   // a signature needs a name
    NameTaken,   // another signature in use has this name
    Full,        // all 32 slots are in use
    WriteFailed, // the file refused the change; the index in memory is as before
};

class SignatureBook {
public:
    explicit SignatureBook(SignatureStorage& storage) : storage_(storage) {}

    // Reads the index of an existing file. An empty file is a new one: it gets an empty index.
    SignatureLoad Load();
    // A new file from the older single signature: slot 0 named `name` holds `text`.
    bool StartFromOldSignature(const std::string& text, const std::string& name);

    const SignatureIndex& Index() const { return index_; }
    // The names of the signatures in use, in slot order.
    std::vector<std::string> Names() const;
    // The slot of the signature in use named `name`; -1 when none.
    int SlotOf(const std::string& name) const { return FindSignature(index_, name); }
    // A slot's text read from its block; empty when it cannot be read.
    std::string TextOf(int slot) const;
    // Whether a new signature has a slot: a deleted one, or one not yet used.
    bool HasFreeSlot() const { return FreeSlot() >= 0; }

    // Saves a new signature (`slot` -1) or changes the one in `slot`; names are cut to 31
    // characters and texts to 511. A new signature takes the first deleted slot, else the next
    // unused one. `*saved` (optional) gets the slot written.
    SignatureSave Save(int slot, const std::string& name, const std::string& text, int* saved);
    // Marks the slot deleted; it keeps its name and block until a new signature reuses it.
    bool Remove(int slot);

private:
    int FreeSlot() const;
    bool WriteIndex(const SignatureIndex& index);

    SignatureStorage& storage_;
    SignatureIndex index_;
};

} // namespace lx
