#include "spellcheck/core/lexicon.h"
#include "spellcheck/core/textchars.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace lx::spell {

namespace {

constexpr char kMagic[8] = {'L', 'X', 'S', 'P', 'E', 'L', 'L', '1'};
constexpr size_t kLengthSlots = kMaxWordLength + 2;
constexpr size_t kHeaderSize = 8 + 4 * 4 + 4 * kLengthSlots;

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

bool IsLittleEndian() {
    const uint32_t one = 1;
    uint8_t first;
    std::memcpy(&first, &one, 1);
    return first == 1;
}

uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

} // namespace

uint32_t FoldedHash(std::string_view word) {
    uint32_t h = 2166136261u;
    for (unsigned char c : word) {
        h ^= ToLower(c);
        h *= 16777619u;
    }
    return h ^ (h >> 15);
}

uint32_t LetterMask(std::string_view word) {
    uint32_t mask = 0;
    for (unsigned char c : word) {
        const unsigned char l = ToLower(c);
        if (l >= 'a' && l <= 'z')
            mask |= 1u << (l - 'a');
        else if (l == '\'')
            mask |= 1u << 26;
        else
            mask |= 1u << 27;
    }
    return mask;
}

std::vector<uint8_t> BuildLexicon(LexiconKind kind,
                                  std::vector<std::pair<std::string, std::string>> entries) {
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const auto& e) {
                                     return e.first.empty() || e.first.size() > kMaxWordLength ||
                                            e.second.size() > 255;
                                 }),
                  entries.end());
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.first.size() != b.first.size() ? a.first.size() < b.first.size() : a < b;
    });
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const auto& a, const auto& b) { return a.first == b.first; }),
                  entries.end());

    std::vector<uint8_t> blob;
    std::vector<uint32_t> offsets;
    std::vector<uint32_t> byLength(kLengthSlots, 0);
    for (const auto& [word, correction] : entries) {
        offsets.push_back(static_cast<uint32_t>(blob.size()));
        blob.push_back(static_cast<uint8_t>(word.size()));
        blob.insert(blob.end(), word.begin(), word.end());
        if (kind == LexiconKind::Corrections) {
            blob.push_back(static_cast<uint8_t>(correction.size()));
            blob.insert(blob.end(), correction.begin(), correction.end());
        }
    }
    // byLength[n]: index of the first entry of length >= n.
    size_t index = 0;
    for (size_t n = 0; n < kLengthSlots; ++n) {
        while (index < entries.size() && entries[index].first.size() < n) ++index;
        byLength[n] = static_cast<uint32_t>(index);
    }
    // A table at most half full keeps probe runs short.
    size_t slotCount = 16;
    while (slotCount < entries.size() * 2) slotCount *= 2;
    std::vector<uint32_t> slots(slotCount, 0);
    for (size_t i = 0; i < entries.size(); ++i) {
        uint32_t s = FoldedHash(entries[i].first) & (slotCount - 1);
        while (slots[s] != 0) s = (s + 1) & (slotCount - 1);
        slots[s] = offsets[i] + 1;
    }

    std::vector<uint8_t> out(kMagic, kMagic + 8);
    Put32(out, static_cast<uint32_t>(kind));
    Put32(out, static_cast<uint32_t>(entries.size()));
    Put32(out, static_cast<uint32_t>(slotCount));
    Put32(out, static_cast<uint32_t>(blob.size()));
    for (uint32_t v : byLength) Put32(out, v);
    for (uint32_t v : slots) Put32(out, v);
    out.insert(out.end(), blob.begin(), blob.end());
    return out;
}

bool Lexicon::Load(const std::string& path, std::string* error) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        *error = "cannot open " + path;
        return false;
    }
    std::vector<uint8_t> bytes;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        const long size = std::ftell(f);
        if (size > 0) {
            bytes.resize(static_cast<size_t>(size));
            std::fseek(f, 0, SEEK_SET);
            if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) bytes.clear();
        }
    }
    std::fclose(f);
    if (!Assign(std::move(bytes), error)) {
        *error = path + ": " + *error;
        return false;
    }
    return true;
}

bool Lexicon::Assign(std::vector<uint8_t> bytes, std::string* error) {
    *this = Lexicon();
    auto refuse = [&](const char* why) {
        *this = Lexicon();
        *error = why;
        return false;
    };
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, 8) != 0)
        return refuse("not a lexicon file");
    const uint8_t* p = bytes.data() + 8;
    const uint32_t kind = Get32(p), count = Get32(p + 4), slotCount = Get32(p + 8),
                   blobSize = Get32(p + 12);
    if (kind > 1) return refuse("unknown lexicon kind");
    if (slotCount == 0 || (slotCount & (slotCount - 1)) != 0 || slotCount <= count)
        return refuse("damaged hash table");
    const uint64_t size = kHeaderSize + uint64_t(slotCount) * 4 + blobSize;
    if (size != bytes.size()) return refuse("truncated or damaged");

    kind_ = static_cast<LexiconKind>(kind);
    byLength_.resize(kLengthSlots);
    for (size_t n = 0; n < kLengthSlots; ++n) byLength_[n] = Get32(p + 16 + 4 * n);
    slots_.resize(slotCount);
    const uint8_t* s = bytes.data() + kHeaderSize;
    if (IsLittleEndian())
        std::memcpy(slots_.data(), s, size_t(slotCount) * 4);
    else
        for (uint32_t i = 0; i < slotCount; ++i) slots_[i] = Get32(s + 4 * i);
    const size_t blobStart = kHeaderSize + size_t(slotCount) * 4;

    // Walk the entries once: their bounds, order by length, and the offsets the slots name.
    offsets_.reserve(count);
    masks_.reserve(count);
    const uint8_t* blob = bytes.data() + blobStart;
    size_t at = 0, lastLength = 0;
    while (at < blobSize) {
        const size_t length = blob[at];
        size_t end = at + 1 + length;
        if (kind_ == LexiconKind::Corrections) end = end < blobSize ? end + 1 + blob[end] : end + 1;
        if (length == 0 || length > kMaxWordLength || end > blobSize || length < lastLength)
            return refuse("damaged entry");
        if (offsets_.size() >= count) return refuse("damaged entry count");
        lastLength = length;
        offsets_.push_back(static_cast<uint32_t>(at));
        masks_.push_back(LetterMask({reinterpret_cast<const char*>(blob + at + 1), length}));
        at = end;
    }
    if (offsets_.size() != count) return refuse("damaged entry count");
    for (size_t n = 0; n < kLengthSlots; ++n) {
        const uint32_t first = byLength_[n];
        if (first > count || (n > 0 && first < byLength_[n - 1])) return refuse("damaged index");
        if (first < count && blob[offsets_[first]] < n) return refuse("damaged index");
    }
    // Each entry named by exactly one slot.
    std::vector<uint8_t> named(blobSize, 0);
    for (uint32_t offset : offsets_) named[offset] = 1;
    size_t used = 0;
    for (uint32_t slot : slots_) {
        if (slot == 0) continue;
        ++used;
        if (slot - 1 >= blobSize || named[slot - 1] != 1) return refuse("damaged hash table");
        named[slot - 1] = 2;
    }
    if (used != count) return refuse("damaged hash table");
    bytes_ = std::move(bytes);
    entries_ = bytes_.data() + blobStart;
    return true;
}

Lexicon::Entry Lexicon::EntryAt(uint32_t offset) const {
    const uint8_t* e = entries_ + offset;
    Entry entry;
    entry.word = {reinterpret_cast<const char*>(e + 1), e[0]};
    if (kind_ == LexiconKind::Corrections) {
        const uint8_t* c = e + 1 + e[0];
        entry.correction = {reinterpret_cast<const char*>(c + 1), c[0]};
    }
    return entry;
}

std::pair<size_t, size_t> Lexicon::WithLength(size_t length) const {
    if (byLength_.empty() || length == 0 || length > kMaxWordLength) return {0, 0};
    return {byLength_[length], byLength_[length + 1]};
}

bool Lexicon::SameFolded(std::string_view word, std::string_view folded) {
    if (word.size() != folded.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (ToLower(static_cast<unsigned char>(word[i])) != static_cast<unsigned char>(folded[i]))
            return false;
    return true;
}

} // namespace lx::spell
