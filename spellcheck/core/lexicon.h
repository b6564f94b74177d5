// A lexicon file: a word list, or a correction table of common misspellings, in a compact
// binary form written at build time and used straight from the bytes read: one read, a check
// of its structure, and it answers look-ups through its hash table.
//
// Layout (little-endian): "LXSPELL1", kind, count, slot count (a power of two), entry bytes,
// the first entry index of each word length 0..kMaxWordLength+1; then the slots (entry offset
// + 1, 0 for an empty slot; hashed on the lower-case word, linear probing); then the entries,
// ordered by length: length byte and word bytes, for a correction table followed by the
// length byte and bytes of the correction.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lx::spell {

enum class LexiconKind : uint32_t { Words = 0, Corrections = 1 };

constexpr size_t kMaxWordLength = 64;

// The file bytes of a lexicon of `entries` (word, correction; the correction empty for a word
// list). Empty words, words longer than kMaxWordLength and repeated entries are left out.
std::vector<uint8_t> BuildLexicon(LexiconKind kind,
                                  std::vector<std::pair<std::string, std::string>> entries);

uint32_t FoldedHash(std::string_view word); // hash of the lower-case word

class Lexicon {
public:
    struct Entry {
        std::string_view word;
        std::string_view correction; // empty in a word list
    };

    Lexicon() = default;
    Lexicon(Lexicon&&) = default; // the entry pointer stays valid: a moved vector keeps its bytes
    Lexicon& operator=(Lexicon&&) = default;
    Lexicon(const Lexicon&) = delete;
    Lexicon& operator=(const Lexicon&) = delete;

    // Reads and checks a lexicon file; on failure `error` says why and nothing is held.
    bool Load(const std::string& path, std::string* error);
    bool Assign(std::vector<uint8_t> bytes, std::string* error);

    LexiconKind Kind() const { return kind_; }
    size_t Count() const { return offsets_.size(); }
    Entry At(size_t index) const { return EntryAt(offsets_[index]); }
    // Bitmask of the letters of entry `index` (see LetterMask).
    uint32_t Mask(size_t index) const { return masks_[index]; }
    // Entry indices of the words of `length` bytes: [first, last).
    std::pair<size_t, size_t> WithLength(size_t length) const;

    // Calls fn(Entry) for every entry whose word is `folded` ignoring case; stops when fn
    // returns true and returns true then.
    template <typename Fn>
    bool ForEachFolded(std::string_view folded, Fn fn) const {
        if (slots_.empty()) return false;
        const uint32_t mask = static_cast<uint32_t>(slots_.size() - 1);
        for (uint32_t i = FoldedHash(folded) & mask;; i = (i + 1) & mask) {
            const uint32_t slot = slots_[i];
            if (slot == 0) return false;
            const Entry e = EntryAt(slot - 1);
            if (SameFolded(e.word, folded) && fn(e)) return true;
        }
    }

private:
    Entry EntryAt(uint32_t offset) const;
    static bool SameFolded(std::string_view word, std::string_view folded);

    LexiconKind kind_ = LexiconKind::Words;
    std::vector<uint8_t> bytes_;
    std::vector<uint32_t> slots_;
    const uint8_t* entries_ = nullptr;
    std::vector<uint32_t> offsets_;  // entry index -> offset
    std::vector<uint32_t> masks_;    // entry index -> letter mask
    std::vector<uint32_t> byLength_; // length -> first entry index
};

// One bit per letter a-z (case ignored), one for the apostrophe, one for every other byte.
uint32_t LetterMask(std::string_view word);

} // namespace lx::spell
