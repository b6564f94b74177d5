// The text sources of the lexicons: word lists (one word a line, UTF-8, as the system's
// dictionaries ship them) and correction tables ("misspelling correction" a line).
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lx::spell {

// A UTF-8 text in Windows-1252; false when it holds a character that encoding lacks.
bool Utf8ToAnsi(std::string_view utf8, std::string* ansi);

// The words of a word list in Windows-1252, in file order. Words the encoding cannot hold
// are counted in `skipped`. False (with `error`) when the file cannot be read.
bool ReadWordList(const std::string& path, std::vector<std::string>* words, size_t* skipped,
                  std::string* error);

// Pairs of a correction table: a misspelling, then its correction (the rest of the line, which
// may hold two words: "alot a lot"). Blank lines and lines starting with '#' are passed over.
// False (with `error` naming the line) for a line without a correction.
bool ReadCorrections(const std::string& path,
                     std::vector<std::pair<std::string, std::string>>* pairs, std::string* error);

} // namespace lx::spell
