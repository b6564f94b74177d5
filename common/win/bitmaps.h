// Bitmap resources of a module, owned by the caller.
#pragma once
#include "common/win/handles.h"
#include <windows.h>

namespace lx {

// Bitmap resource `id` of `module` (the program itself when null); empty when it is missing.
Bitmap LoadBitmapResource(int id, HINSTANCE module = nullptr);

} // namespace lx
