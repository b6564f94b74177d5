#include "common/settings/install_path.h"

namespace lx {

static bool EndsInSeparator(const std::string& folder) {
    if (folder.empty()) return false;
    char last = folder.back();
#ifdef _WIN32
    return last == '\\';
#else
    // Natively a folder given in the Windows form is accepted as well.
    return last == '/' || last == '\\';
#endif
}

std::string InstallFile(const std::string& folder, const char* name) {
    std::string path = folder;
    if (!EndsInSeparator(folder)) path += kPathSeparator;
    if (name != nullptr) path += name;
    return path;
}

std::string HelpFileSpec(const std::string& installPath) {
    const bool hasSlash = !installPath.empty() && installPath.back() == '\\';
    return installPath + (hasSlash ? "" : "\\") + kHelpFile + ">" + kHelpWindow;
}

} // namespace lx
