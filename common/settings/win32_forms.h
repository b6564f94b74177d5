// Windows forms of the settings records, for the shell: LOGFONTA for font files, RECT for window
// placement files. Windows build only.
#pragma once

#include <windows.h>

#include "common/settings/font_desc.h"
#include "common/settings/window_file.h"

namespace lx {

LOGFONTA ToLogFont(const FontDesc& f);
FontDesc FromLogFont(const LOGFONTA& lf);

RECT ToRect(const Rect32& r);
Rect32 FromRect(const RECT& r);

} // namespace lx
