#include "common/settings/scramble.h"

namespace lx {

namespace {
constexpr std::uint8_t kBar = '|';

template <typename Map>
void MapText(char* text, std::size_t size, Map map) {
    if (text == nullptr) return;
    std::size_t limit = size < kScrambleMaxChars ? size : kScrambleMaxChars;
    for (std::size_t i = 0; i < limit && text[i] != '\0'; ++i) {
        text[i] = static_cast<char>(map(static_cast<std::uint8_t>(text[i])));
    }
}
} // namespace

ScrambleTable::ScrambleTable() {
    for (int i = 0; i < kScrambleEntries; ++i) {
        std::uint8_t code = static_cast<std::uint8_t>(i + kScrambleOffset);
        entries_[i].plain = static_cast<std::uint8_t>(i);
        entries_[i].scrambled = code == kBar ? kScrambleBarStandIn : code;
    }
}

std::uint8_t ScrambleTable::ScrambledCode(std::uint8_t plain) const {
    // Only 7-bit codes have an entry; anything else cannot come back and is marked as unknown.
    return plain < kScrambleEntries ? entries_[plain].scrambled : kUnknownCode;
}

std::uint8_t ScrambleTable::PlainCode(std::uint8_t scrambled) const {
    for (const Entry& e : entries_) {
        if (e.scrambled == scrambled) return e.plain;
    }
    return kUnknownCode;
}

void ScrambleTable::Scramble(char* text, std::size_t size) const {
    MapText(text, size, [this](std::uint8_t c) { return ScrambledCode(c); });
}

void ScrambleTable::Unscramble(char* text, std::size_t size) const {
    MapText(text, size, [this](std::uint8_t c) { return PlainCode(c); });
}

const ScrambleTable& PasswordScrambleTable() {
    static const ScrambleTable table;
    return table;
}

std::string ScrambledWhole(const std::string& plain) {
    std::string out = plain;
    for (char& c : out)
        c = static_cast<char>(PasswordScrambleTable().ScrambledCode(static_cast<std::uint8_t>(c)));
    return out;
}

std::string PlainWhole(const std::string& scrambled) {
    std::string out = scrambled;
    for (char& c : out)
        c = static_cast<char>(PasswordScrambleTable().PlainCode(static_cast<std::uint8_t>(c)));
    return out;
}

void Scramble(char* text, std::size_t size) { PasswordScrambleTable().Scramble(text, size); }
void Unscramble(char* text, std::size_t size) { PasswordScrambleTable().Unscramble(text, size); }

} // namespace lx
