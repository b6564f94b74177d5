#include "mailer/core/splash.h"
#include "mailer/res/resource.h"
#include "common/win/bitmaps.h"

namespace lx {
namespace {
constexpr char kSplashClass[] = "LorvexSplash";
constexpr UINT kSplashMillis = 3000;
} // namespace

SplashWindow::SplashWindow() {
    Map().On(WM_PAINT, [this](WPARAM, LPARAM) -> LRESULT {
        PaintDC paint(Handle());
        BITMAP info{};
        ::GetObjectA(bitmap_.Get(), sizeof info, &info);
        MemoryDC memory(paint.Get());
        SelectGuard select(memory.Get(), bitmap_.Get());
        ::BitBlt(paint.Get(), 0, 0, info.bmWidth, info.bmHeight, memory.Get(), 0, 0, SRCCOPY);
        return 0;
    });
    Map().On(WM_TIMER, [this](WPARAM id, LPARAM) -> LRESULT {
        if (id == IDT_SPLASH) {
            ::KillTimer(Handle(), IDT_SPLASH);
            ::DestroyWindow(Handle());
        }
        return 0;
    });
}

// Topmost, so the main window shown during start-up does not hide it.
bool SplashWindow::Show() {
    bitmap_ = LoadBitmapResource(IDB_SPLASH);
    if (!bitmap_) return false;
    BITMAP info{};
    ::GetObjectA(bitmap_.Get(), sizeof info, &info);
    if (!RegisterClass(kSplashClass, 0, nullptr, nullptr)) return false;
    if (!Create(kSplashClass, "", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0, info.bmWidth,
                info.bmHeight, nullptr, nullptr))
        return false;
    CenterOver(Handle(), nullptr);
    ::SetTimer(Handle(), IDT_SPLASH, kSplashMillis, nullptr);
    ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(Handle());
    ::GdiFlush();
    return true;
}

void SplashWindow::Raise(HWND mainWindow) {
    if (!Handle()) return;
    // An owned window always stays above its owner, with or without a window manager.
    ::SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(mainWindow));
    ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // Without a window manager a restack alone is not carried out: show it afresh.
    ::ShowWindow(Handle(), SW_HIDE);
    ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(Handle());
    ::GdiFlush();
}

} // namespace lx
