#include "common/win/bitmaps.h"

namespace lx {

Bitmap LoadBitmapResource(int id, HINSTANCE module) {
    if (!module) module = ::GetModuleHandleA(nullptr);
    return Bitmap(static_cast<HBITMAP>(
        ::LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
}

} // namespace lx
