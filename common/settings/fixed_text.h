// Fixed-size text fields: NUL-terminated text held in a char array of the record's size.
#pragma once

#include <cstddef>
#include <string>

namespace lx {

// Copies text into a field of `size` bytes, cutting it to size-1 characters and zero-filling the rest.
void CopyText(char* field, std::size_t size, const char* text);

template <std::size_t N>
void CopyText(char (&field)[N], const char* text) {
    CopyText(field, N, text);
}

// The first `chars` characters of text (all of it when shorter).
std::string CutTo(const std::string& text, std::size_t chars);

// The text of a field, never reading past its size even when the NUL is missing.
std::string TextOf(const char* field, std::size_t size);

template <std::size_t N>
std::string TextOf(const char (&field)[N]) {
    return TextOf(field, N);
}

} // namespace lx
