// Reading the log file for display: portable so it is tested natively.
#pragma once
#include <string>

namespace lx {

constexpr char kLogFileName[] = "Lorvex.Log";
// The log is read in blocks of this size and each block appended to the shown text.
constexpr size_t kLogBlockSize = 511;

// Opens the log for reading without sharing and appends every block to `text` until a read
// returns nothing. False (text untouched) when the file cannot be opened.
bool ReadLogForView(const std::string& path, std::string& text);

} // namespace lx
