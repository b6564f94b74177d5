// libFuzzer target: a signature file SIGNING.SIG of any bytes, read by the composer's and the
// sending's reader and edited through the "Signature Files" rules (save, change, delete) as the
// input's tail asks. A save keeps what it saved and leaves every other signature as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "fuzz/common/fuzzutil.h"
#include "mailer/transfer/logic/signatureindex.h"
#include "mailer/ui/logic/signatur_rules.h"

namespace {

// The file in memory, as the dialog holds it open.
class MemoryStorage : public lx::SignatureStorage {
public:
    explicit MemoryStorage(std::string bytes) : bytes_(std::move(bytes)) {}
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t size) override {
        if (offset < 0 || static_cast<std::uint64_t>(offset) >= bytes_.size()) return 0;
        const std::size_t n = std::min(size, bytes_.size() - static_cast<std::size_t>(offset));
        std::memcpy(buffer, bytes_.data() + offset, n);
        return n;
    }
    bool WriteAt(std::int64_t offset, const void* data, std::size_t size) override {
        // The file holds its index and at most one block per slot: nothing is written elsewhere.
        FUZZ_CHECK(offset >= 0);
        FUZZ_CHECK(static_cast<std::uint64_t>(offset) + size <= kMostBytes ||
                   static_cast<std::uint64_t>(offset) + size <= bytes_.size());
        const std::size_t end = static_cast<std::size_t>(offset) + size;
        if (bytes_.size() < end) bytes_.resize(end, '\0');
        std::memcpy(&bytes_[static_cast<std::size_t>(offset)], data, size);
        return true;
    }
    const std::string& Bytes() const { return bytes_; }

    // The index and the 32 blocks, and one more for a text moved out of a damaged index's way.
    static constexpr std::uint64_t kMostBytes =
        lx::kSignatureIndexSize + lx::kSignatureTextSize * (lx::kSignatureSlots + 1);

private:
    std::string bytes_;
};

// What a text reads back as once saved: cut to its block, up to a zero byte.
std::string AsStored(const std::string& text) {
    std::string cut = text.substr(0, lx::kSignatureTextMax);
    return cut.substr(0, cut.find('\0'));
}

std::map<int, std::string> InUse(const lx::SignatureBook& book) {
    std::map<int, std::string> texts;
    for (int i = 0; i < book.Index().count; ++i)
        if (!book.Index().deleted[i]) texts[i] = book.TextOf(i);
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string file = in.ConsumeRandomLengthString(32 * 1024);

    // The readers of the composer and the sending.
    const lxfuzz::ScratchFolder& folder = lxfuzz::Scratch();
    folder.Write(lx::kSignatureFile, file.data(), file.size());
    lx::SignatureFile reader;
    const bool readable = reader.Open(folder.File(lx::kSignatureFile));
    FUZZ_CHECK(readable == (file.size() >= lx::kSignatureIndexSize));

    MemoryStorage storage(file);
    lx::SignatureBook book(storage);
    const lx::SignatureLoad load = book.Load();
    if (load != lx::SignatureLoad::Ready) {
        FUZZ_CHECK(load == lx::SignatureLoad::Damaged && !readable);
        return 0;
    }
    const lx::SignatureIndex& index = book.Index();
    FUZZ_CHECK(index.count >= 0 && index.count <= lx::kSignatureSlots);
    for (const std::string& name : book.Names()) {
        FUZZ_CHECK(name.size() <= lx::kSignatureNameSize);
        FUZZ_CHECK(name.find('\0') == std::string::npos);
        const int slot = book.SlotOf(name);
        if (name.empty()) {
            FUZZ_CHECK(slot == -1);
            continue;
        }
        FUZZ_CHECK(slot >= 0 && !index.deleted[slot]);
        const std::string text = book.TextOf(slot);
        FUZZ_CHECK(text.size() <= lx::kSignatureTextSize);
        if (readable) FUZZ_CHECK(reader.TextOf(name) == text);
    }

    // Edits as the dialog makes them.
    for (int step = 0; step < 6 && in.remaining_bytes() > 0; ++step) {
        const int op = in.ConsumeIntegralInRange(0, 2);
        const int slot = in.ConsumeIntegralInRange(-1, lx::kSignatureSlots);
        const std::string name = in.ConsumeRandomLengthString(40);
        const std::string text = in.ConsumeRandomLengthString(600);
        const std::map<int, std::string> before = InUse(book);
        if (op == 2) {
            const bool removed = book.Remove(slot);
            FUZZ_CHECK(removed == (before.count(slot) == 1));
            if (removed) FUZZ_CHECK(book.SlotOf(index.names[slot]) != slot);
            continue;
        }
        int saved = -1;
        const lx::SignatureSave result = book.Save(op == 0 ? -1 : slot, name, text, &saved);
        if (result != lx::SignatureSave::Saved) {
            FUZZ_CHECK(InUse(book) == before);
            continue;
        }
        FUZZ_CHECK(saved >= 0 && saved < book.Index().count);
        FUZZ_CHECK(book.TextOf(saved) == AsStored(text));
        FUZZ_CHECK(book.SlotOf(name.substr(0, lx::kSignatureNameMax)) == saved);
        // Every other signature keeps its text.
        const std::map<int, std::string> after = InUse(book);
        for (const auto& [other, was] : before)
            if (other != saved) FUZZ_CHECK(after.count(other) && after.at(other) == was);
        // The index on the file is the one in memory.
        lx::SignatureIndex stored;
        FUZZ_CHECK(
            lx::ParseSignatureIndex(reinterpret_cast<const std::uint8_t*>(storage.Bytes().data()),
                                    storage.Bytes().size(), &stored));
        FUZZ_CHECK(stored.count == book.Index().count);
        FUZZ_CHECK(stored.offsets == book.Index().offsets);
    }
    return 0;
}
