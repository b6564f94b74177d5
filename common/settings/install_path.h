// Every program file lives in the installation folder: folder + separator + file name.
#pragma once

#include <string>

namespace lx {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// The folder, a separator unless the folder already ends in one, and the name.
std::string InstallFile(const std::string& folder, const char* name);

} // namespace lx
