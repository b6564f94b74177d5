// The viewer's About box: who the program is and that it is not meant to be run by hand.
#pragma once
#include <windows.h>

namespace lx::viewer {

INT_PTR ShowAboutDialog(HWND owner);

} // namespace lx::viewer
