// The flag suffix every stored Subject carries: "&&", a read-state letter ("N" unread, blank once
// opened), "&" and an attachment letter ("F" with attached files, blank without).
#pragma once

#include <cstddef>
#include <string>

namespace lx {

constexpr size_t kSubjectTextMax = 250; // subject text kept before the suffix
constexpr size_t kSubjectSuffixLen = 5; // "&&N&F"

// The value to store: the text cut at 250 characters, then the suffix (never over 255).
std::string ComposeSubject(const std::string& text, bool unread, bool hasFiles);
// The same into a caller's buffer; the result is cut to fit and always NUL-terminated.
// Returns the length written.
size_t ComposeSubject(const char* text, bool unread, bool hasFiles, char* out, size_t outSize);

struct SubjectParts {
    std::string shown;      // everything before the suffix
    bool hasSuffix = false; // a suffix (or at least a "&&") was found
    bool unread = false;    // read-state letter "N"
    bool hasFiles = false;  // attachment letter "F"
};

// The suffix is the last five characters of the value ("&&", letter, "&", letter); the shown
// subject is everything before it, so a subject that itself contains "&&" is shown whole with its
// real flags. A value without a well-formed suffix at its end is read up to its first "&&", the
// letters at the 3rd and 5th positions from there.
SubjectParts ParseSubject(const std::string& stored);

// Opening a message: rewrites its read-state letter to a blank. Only the suffix's letter changes,
// never a character of the subject text. Returns true when the value changed.
bool MarkSubjectRead(std::string& stored);
bool MarkSubjectRead(char* stored, size_t size);

} // namespace lx
