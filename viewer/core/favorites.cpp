#include "viewer/core/favorites.h"

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
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
    if (name.empty()) name = "Page";
    return name + ".URL";
}

} // namespace lx::viewer
