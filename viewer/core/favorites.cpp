#include "viewer/core/favorites.h"

#include <cctype>
#include <cstring>

namespace lx::viewer {

std::string InternetShortcutText(std::string_view url) {
    return "[InternetShortcut]\r\nURL=" + std::string(url) + "\r\n";
}

std::string ShortcutUrl(std::string_view fileText) {
    const std::size_t at = fileText.find("URL=");
    if (at == std::string_view::npos) return std::string();
    std::string_view value = fileText.substr(at + 4);
    return std::string(value.substr(0, value.find('\r')));
}

namespace {

// Windows takes these names for devices whatever extension follows ("CON.URL" is the console).
bool IsDeviceName(const std::string& fileName) {
    std::string base = fileName.substr(0, fileName.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

void DropTrailingDotsAndBlanks(std::string& name) {
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
}

} // namespace

std::string ShortcutFileName(std::string_view pageName, bool webBrowser) {
    if (webBrowser) {
        const std::size_t slash = pageName.rfind('\\');
        if (slash != std::string_view::npos) pageName = pageName.substr(slash + 1);
    }
    std::string name;
    for (char c : pageName) {
        const bool unfit = static_cast<unsigned char>(c) < 32 || std::strchr("\\/:*?\"<>|", c);
        name += unfit ? '_' : c;
    }
    // A page title can be longer than a file name may be.
    if (name.size() > kShortcutNameMax) name.resize(kShortcutNameMax);
    DropTrailingDotsAndBlanks(name);
    if (name.empty()) name = "Page";
    // A page named like a device would be written to the device, not saved.
    if (IsDeviceName(name)) name.insert(0, "_");
    return name + ".URL";
}

} // namespace lx::viewer
