// Letters and case of the spell checker's text: single-byte Windows-1252, the text of an ANSI
// edit control. Lexicon words are held in the same encoding.
#pragma once
#include <string>
#include <string_view>

namespace lx::spell {

bool IsLetter(unsigned char c);
bool IsDigit(unsigned char c);
// The straight apostrophe and the typographic one (0x92) that word processors paste.
bool IsApostrophe(unsigned char c);
unsigned char ToLower(unsigned char c);
unsigned char ToUpper(unsigned char c);
bool IsUpper(unsigned char c);

std::string Fold(std::string_view word);      // lower case
std::string Upper(std::string_view word);     // upper case
std::string Normalize(std::string_view word); // typographic apostrophes made straight

enum class CaseShape { Lower, Capitalised, AllCaps, Mixed };
// Lower: no capitals ("mail"); Capitalised: the first letter only ("Mail"); AllCaps: every
// letter ("MAIL", also a single capital "I"); Mixed: anything else ("McDonald", "iPod").
CaseShape ShapeOf(std::string_view word);

// Does the text word `word` match the lexicon word `entry` (same letters ignoring case)?
// A lower-case entry matches itself, its capitalised form at a sentence start and its all-caps
// form; an entry with capitals matches itself and its all-caps form.
bool CaseMatches(std::string_view entry, std::string_view word, bool sentenceStart);

// `suggestion` written in the case of the misspelled `word`: "Teh" gives "The", "TEH" "THE";
// a suggestion with capitals of its own keeps them unless the word was all caps.
std::string InCaseOf(std::string_view suggestion, std::string_view word);

} // namespace lx::spell
