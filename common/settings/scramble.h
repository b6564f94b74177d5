// Password scrambling: stored mail passwords are kept in a reversible scrambled form and turned back
// only when handed to the POP3 client or shown in a dialog.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lx {

constexpr int kScrambleEntries = 128;
constexpr std::size_t kScrambleMaxChars = 16;
constexpr std::uint8_t kScrambleOffset = 3;
// Stands in for the scrambled code that would otherwise be "|".
constexpr std::uint8_t kScrambleBarStandIn = 0xB7;
constexpr std::uint8_t kUnknownCode = 255;

class ScrambleTable {
public:
    ScrambleTable();

    // Entry i: plain code i and its scrambled code; kUnknownCode for codes outside 0..127.
    std::uint8_t ScrambledCode(std::uint8_t plain) const;
    // The plain code of the first entry whose scrambled code matches, kUnknownCode when none does.
    std::uint8_t PlainCode(std::uint8_t scrambled) const;

    // In place, on the text up to its NUL and at most 16 characters (and never past size bytes).
    void Scramble(char* text, std::size_t size) const;
    void Unscramble(char* text, std::size_t size) const;

private:
    struct Entry {
        std::uint8_t plain;
        std::uint8_t scrambled;
    };
    Entry entries_[kScrambleEntries];
};

// The program-wide table, built on first use.
const ScrambleTable& PasswordScrambleTable();

void Scramble(char* text, std::size_t size);
void Unscramble(char* text, std::size_t size);

// The same mapping over a whole text, however long: the form of a password longer than a
// record holds. Its first 16 characters scramble as Scramble does.
std::string ScrambledWhole(const std::string& plain);
std::string PlainWhole(const std::string& scrambled);

template <std::size_t N>
void Scramble(char (&text)[N]) {
    Scramble(text, N);
}
template <std::size_t N>
void Unscramble(char (&text)[N]) {
    Unscramble(text, N);
}

} // namespace lx
