// "About Lorvex": the program's name, version and a line about it.
#pragma once
#include <windows.h>
#include <string>

namespace lx {
class MessageCatalog;

struct AboutData {
    MessageCatalog* catalog = nullptr; // caption and texts; the resource's own texts without it
    std::string shownVersion;          // out: the version line as shown
};

INT_PTR ShowAboutDialog(HWND owner, AboutData* data);

} // namespace lx
