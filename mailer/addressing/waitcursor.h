// The wait cursor, with the mouse captured by a window, while a store operation runs.
#pragma once
#include <windows.h>

namespace lx {

class WaitCursor {
public:
    explicit WaitCursor(HWND window) : previous_(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {
        ::SetCapture(window);
    }
    ~WaitCursor() {
        ::ReleaseCapture();
        ::SetCursor(previous_);
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

} // namespace lx
