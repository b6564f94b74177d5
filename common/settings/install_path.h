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

// The help file LORVEX.HLP in the installation folder with the pop-up window's name, as the help
// call takes it: "<folder>\LORVEX.HLP>lxpopup" (a Windows path on every build).
constexpr char kHelpFile[] = "LORVEX.HLP";
constexpr char kHelpWindow[] = "lxpopup";
std::string HelpFileSpec(const std::string& installPath);

} // namespace lx
