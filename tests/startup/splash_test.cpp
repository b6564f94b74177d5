// The splash window: bitmap 102, centred, removed by its one-shot timer.
#include "mailer/core/splash.h"
#include "common/win/handles.h"

#include <gtest/gtest.h>

namespace {

// Dispatches messages until the window is gone or `limit` ms have passed; the time it took.
DWORD PumpUntilGone(HWND wnd, DWORD limit) {
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (::IsWindow(wnd) && ::GetTickCount() - start < limit) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return ::GetTickCount() - start;
}

TEST(Splash, ShowsTheBitmapCentredAndRemovesItselfAfterThreeSeconds) {
    lx::SplashWindow splash;
    ASSERT_TRUE(splash.Show());
    HWND wnd = splash.Handle();
    ASSERT_NE(nullptr, wnd);
    EXPECT_TRUE(::IsWindowVisible(wnd));
    RECT r{};
    ::GetWindowRect(wnd, &r);
    EXPECT_EQ(400, r.right - r.left);
    EXPECT_EQ(250, r.bottom - r.top);
    RECT area{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR((area.left + area.right) / 2, (r.left + r.right) / 2, 1);
    EXPECT_NEAR((area.top + area.bottom) / 2, (r.top + r.bottom) / 2, 1);
    // The top-left corner shows the bitmap's background, not the class brush.
    const COLORREF corner = ::GetPixel(lx::WindowDC(wnd).Get(), 2, 2);
    EXPECT_EQ(RGB(20, 40, 90), corner);

    // The splash goes when its 3000 ms timer fires: not before, and not much after.
    const DWORD shown = PumpUntilGone(wnd, 15000);
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_GE(shown, 2900u);
    EXPECT_LT(shown, 10000u);
    EXPECT_EQ(nullptr, splash.Handle());
}

} // namespace
