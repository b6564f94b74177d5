// The file-open dialog through the UI seam, with its title and filter from catalogue texts.
#pragma once
#include <windows.h>

#include <string>

namespace lx {

// A catalogue filter ("Text|*.txt|All|*.*||") in the form the file dialog takes.
std::string DialogFilter(std::string filter);

// The file-open dialog for an existing file; the chosen path, empty on cancel.
std::string ChooseFileToOpen(HWND owner, const std::string& title, const std::string& filter);

} // namespace lx
