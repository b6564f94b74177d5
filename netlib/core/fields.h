// Bounded text fields of the session records and small formatting helpers.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

namespace lx::net {

// The sizes of the session records' fields, as the exports' callers know them, and the line end
// that closes every command.
inline constexpr std::size_t kServerSize = 48;
inline constexpr std::size_t kPathSize = 256;
inline constexpr std::size_t kUserSize = 64;
inline constexpr std::size_t kPasswordSize = 16;
inline constexpr char kCrLf[] = "\r\n";

// A value is taken only when it is shorter than the field's size; otherwise the field keeps its
// earlier content. A null value is ignored likewise.
inline void assignBounded(std::string& field, const char* value, std::size_t size) {
    if (!value) return;
    const std::size_t n = strnlen(value, size);
    if (n < size) field.assign(value, n);
}

// "%.2f" of part/whole*100, with part capped at whole; a whole of 0 shows "0.00".
std::string percentText(long long part, long long whole);

} // namespace lx::net
