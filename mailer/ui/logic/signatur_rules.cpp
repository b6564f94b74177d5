#include "mailer/ui/logic/signatur_rules.h"

#include <algorithm>

namespace lx {

namespace {

constexpr std::int64_t kLastBlockAt = SignatureBlockOffset(kSignatureSlots - 1);

// Whether a block at `offset` for `slot` lies past the index, within the file's slots, and
// clear of the block of every other signature in use.
bool BlockFree(const SignatureIndex& index, int slot, std::int64_t offset) {
    if (offset < static_cast<std::int64_t>(kSignatureIndexSize) || offset > kLastBlockAt)
        return false;
    for (int i = 0; i < index.count; ++i) {
        if (i == slot || index.deleted[i]) continue;
        const std::int64_t other = index.offsets[i];
        if (offset < other + static_cast<std::int64_t>(kSignatureTextSize) &&
            other < offset + static_cast<std::int64_t>(kSignatureTextSize))
            return false;
    }
    return true;
}

// Where the slot's text goes: its recorded place, or else its own place, when nothing else is
// kept there. A damaged index can point a slot into the index, at another signature's text or
// far past the file's end; the text then goes after the last block in use instead.
std::int32_t BlockPlace(const SignatureIndex& index, int slot) {
    for (const std::int64_t offset : {static_cast<std::int64_t>(index.offsets[slot]),
                                      static_cast<std::int64_t>(SignatureBlockOffset(slot))}) {
        if (BlockFree(index, slot, offset)) return static_cast<std::int32_t>(offset);
    }
    std::int64_t end = kSignatureIndexSize;
    for (int i = 0; i < index.count; ++i) {
        const std::int64_t other = index.offsets[i];
        if (i != slot && !index.deleted[i] && other >= 0 && other <= kLastBlockAt)
            end = std::max(end, other + static_cast<std::int64_t>(kSignatureTextSize));
    }
    return static_cast<std::int32_t>(end);
}

} // namespace

SignatureLoad SignatureBook::Load() {
    std::uint8_t bytes[kSignatureIndexSize];
    const std::size_t got = storage_.ReadAt(0, bytes, sizeof bytes);
    if (got == 0) {
        // A file created and never written holds no signatures yet; it gets its index now so
        // that the next opening and the readers find a whole one.
        index_ = SignatureIndex{};
        return WriteIndex(index_) ? SignatureLoad::Ready : SignatureLoad::WriteFailed;
    }
    return ParseSignatureIndex(bytes, got, &index_) ? SignatureLoad::Ready : SignatureLoad::Damaged;
}

bool SignatureBook::StartFromOldSignature(const std::string& text, const std::string& name) {
    index_ = SignatureIndex{};
    return Save(-1, name, text, nullptr) == SignatureSave::Saved;
}

std::vector<std::string> SignatureBook::Names() const {
    std::vector<std::string> names;
    for (int i = 0; i < index_.count; ++i)
        if (!index_.deleted[i]) names.push_back(index_.names[i]);
    return names;
}

std::string SignatureBook::TextOf(int slot) const {
    if (slot < 0 || slot >= index_.count || !SignatureBlockPlace(index_.offsets[slot]))
        return std::string();
    std::uint8_t block[kSignatureTextSize];
    const std::size_t got = storage_.ReadAt(index_.offsets[slot], block, sizeof block);
    return SignatureBlockText(block, got);
}

int SignatureBook::FreeSlot() const {
    for (int i = 0; i < index_.count; ++i)
        if (index_.deleted[i]) return i;
    return index_.count < kSignatureSlots ? index_.count : -1;
}

SignatureSave SignatureBook::Save(int slot, const std::string& name, const std::string& text,
                                  int* saved) {
    const std::string cut = name.substr(0, kSignatureNameMax);
    if (cut.empty()) return SignatureSave::EmptyName;
    const int holder = FindSignature(index_, cut);
    if (holder >= 0 && holder != slot) return SignatureSave::NameTaken;
    SignatureIndex changed = index_;
    if (slot < 0 || slot >= index_.count || index_.deleted[slot]) {
        slot = FreeSlot();
        if (slot < 0) return SignatureSave::Full;
        if (slot == changed.count) {
            changed.offsets[slot] = SignatureBlockOffset(slot);
            ++changed.count;
        }
    }
    changed.names[slot] = cut;
    changed.offsets[slot] = BlockPlace(changed, slot);
    changed.deleted[slot] = false;
    // The block goes first: the index never names a slot whose text is not there yet.
    std::uint8_t block[kSignatureTextSize];
    WriteSignatureBlock(text, block);
    if (!storage_.WriteAt(changed.offsets[slot], block, sizeof block) || !WriteIndex(changed))
        return SignatureSave::WriteFailed;
    index_ = changed;
    if (saved) *saved = slot;
    return SignatureSave::Saved;
}

bool SignatureBook::Remove(int slot) {
    if (slot < 0 || slot >= index_.count || index_.deleted[slot]) return false;
    SignatureIndex changed = index_;
    changed.deleted[slot] = true;
    if (!WriteIndex(changed)) return false;
    index_ = changed;
    return true;
}

bool SignatureBook::WriteIndex(const SignatureIndex& index) {
    std::uint8_t bytes[kSignatureIndexSize];
    WriteSignatureIndex(index, bytes);
    return storage_.WriteAt(0, bytes, sizeof bytes);
}

} // namespace lx
