// The splash window: bitmap 102 in a borderless pop-up centred on the screen; it removes
// itself after three seconds while start-up goes on.
#pragma once
#include "common/win/handles.h"
#include "common/win/window.h"

namespace lx {

class SplashWindow : public Window {
public:
    SplashWindow();
    bool Show();
    // Puts the splash back on top once the main window has been shown under it.
    void Raise(HWND mainWindow);

private:
    Bitmap bitmap_;
};

} // namespace lx
