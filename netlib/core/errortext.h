// The error-text table: the text a host shows for a library or Winsock error code.
#pragma once

#include <cstddef>
#include <string>

namespace lx::net {

// Longest text the table produces (a Winsock line with its prefix).
constexpr std::size_t kMaxErrorText = 72;

std::string errorText(int code);
// Writes the text into buf (size bytes, always terminated when size > 0).
void errorTextInto(int code, char* buf, std::size_t size);

} // namespace lx::net
