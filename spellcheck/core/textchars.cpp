#include "spellcheck/core/textchars.h"

namespace lx::spell {

namespace {
// Windows-1252 letters outside ASCII: the Latin-1 block (bar × and ÷) and Š Œ Ž š œ ž Ÿ.
bool IsHighLetter(unsigned char c) {
    if (c >= 0xC0) return c != 0xD7 && c != 0xF7;
    return c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A || c == 0x9C || c == 0x9E ||
           c == 0x9F || c == 0xAA || c == 0xB5 || c == 0xBA;
}
} // namespace

bool IsLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= 0x80 && IsHighLetter(c));
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool IsApostrophe(unsigned char c) { return c == '\'' || c == 0x92; }

unsigned char ToLower(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 16);
    if (c == 0x9F) return 0xFF;
    return c;
}

unsigned char ToUpper(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
    if (c == 0x9A || c == 0x9C || c == 0x9E) return static_cast<unsigned char>(c - 16);
    if (c == 0xFF) return 0x9F;
    return c;
}

bool IsUpper(unsigned char c) { return IsLetter(c) && ToLower(c) != c; }

std::string Fold(std::string_view word) {
    std::string out(word);
    for (char& c : out) c = static_cast<char>(ToLower(static_cast<unsigned char>(c)));
    return out;
}

std::string Upper(std::string_view word) {
    std::string out(word);
    for (char& c : out) c = static_cast<char>(ToUpper(static_cast<unsigned char>(c)));
    return out;
}

std::string Normalize(std::string_view word) {
    std::string out(word);
    for (char& c : out)
        if (static_cast<unsigned char>(c) == 0x92) c = '\'';
    return out;
}

CaseShape ShapeOf(std::string_view word) {
    size_t letters = 0, upper = 0;
    bool firstUpper = false;
    for (unsigned char c : word) {
        if (!IsLetter(c)) continue;
        if (IsUpper(c)) {
            if (letters == 0) firstUpper = true;
            ++upper;
        }
        ++letters;
    }
    if (upper == 0) return CaseShape::Lower;
    if (upper == letters) return CaseShape::AllCaps;
    if (upper == 1 && firstUpper) return CaseShape::Capitalised;
    return CaseShape::Mixed;
}

bool CaseMatches(std::string_view entry, std::string_view word, bool sentenceStart) {
    if (entry.size() != word.size()) return false;
    if (entry == word) return true;
    const CaseShape shape = ShapeOf(word);
    if (shape == CaseShape::AllCaps) return true; // the letters were compared folded
    if (ShapeOf(entry) != CaseShape::Lower) return false;
    return shape == CaseShape::Capitalised && sentenceStart;
}

std::string InCaseOf(std::string_view suggestion, std::string_view word) {
    switch (ShapeOf(word)) {
    case CaseShape::AllCaps: return word.size() > 1 ? Upper(suggestion) : std::string(suggestion);
    case CaseShape::Capitalised: {
        std::string out(suggestion);
        if (!out.empty()) out[0] = static_cast<char>(ToUpper(static_cast<unsigned char>(out[0])));
        return out;
    }
    default: return std::string(suggestion);
    }
}

} // namespace lx::spell
