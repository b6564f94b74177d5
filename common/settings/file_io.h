// Whole-file reads and writes for the settings files: each file is opened, read or written in one
// go and closed at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lx {

// Reads at most `size` bytes from the start of the file. Returns the number of bytes read, or -1
// when the file cannot be opened.
long ReadFilePrefix(const std::string& path, std::uint8_t* buf, std::size_t size);

// Creates or replaces the file with exactly these bytes; true only when all were written and the
// file closed without error.
bool WriteFileBytes(const std::string& path, const std::uint8_t* data, std::size_t size);

// Reads the whole file into bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// Replaces the file with exactly these bytes by writing them to a temporary file beside it and
// renaming that over the file: a write that fails leaves the old file as it was.
bool ReplaceFileBytes(const std::string& path, const std::uint8_t* data, std::size_t size);

bool RemoveFile(const std::string& path);

// Gives the file the new name, replacing a file of that name; false when it stays as it was.
bool RenameFile(const std::string& from, const std::string& to);

// True when both files exist and `path` was written no earlier than `other`.
bool WrittenNoEarlier(const std::string& path, const std::string& other);

} // namespace lx
