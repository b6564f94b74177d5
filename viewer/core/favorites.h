// Favourites: Internet shortcut files in the Favorites folder under the Windows folder.
#pragma once

#include <string>
#include <string_view>

namespace lx::viewer {

// At most this much of a shortcut file is read for its URL.
constexpr std::size_t kShortcutReadSize = 520;

// "[InternetShortcut]\r\nURL=" + url + "\r\n".
std::string InternetShortcutText(std::string_view url);
// The value behind the first "URL=", up to the next CR (or the end of the text); empty when the
// text has no "URL=".
std::string ShortcutUrl(std::string_view fileText);
// The shortcut's file name for a page: the page's name (with the WebBrowser control the part of
// its location name after the last backslash) with the characters a file name cannot hold
// turned into "_", cut to kShortcutNameMax characters, then ".URL". A page without a name is saved
// as "Page.URL"; a name Windows keeps for a device ("CON", "NUL", "COM1" ...) gets a leading "_".
constexpr std::size_t kShortcutNameMax = 200;
std::string ShortcutFileName(std::string_view pageName, bool webBrowser);

} // namespace lx::viewer
