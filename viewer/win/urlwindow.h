// The URL window (dialog 103): a drop-down combo box of addresses and "Go", a child of the frame
// that sends the frame the address to go to.
#pragma once
#include <windows.h>

namespace lx {

// Sent to the frame by "Go": lParam points to the URL text (valid during the call).
constexpr UINT kNavigateToUrl = WM_USER + 100;

// Creates the window hidden; nullptr when the dialog resource is missing. The frame's message
// loop passes the window's messages through IsDialogMessage so Enter presses "Go".
HWND CreateUrlWindow(HWND frame);

// "URL Window" in the View menu: shows the window with the caret in its combo box, or hides it.
// The menu item is checked while IsWindowVisible(urlWindow).
void ShowUrlWindow(HWND urlWindow, bool show);

// Places the window at `top` across the frame's full `width` at its own height, with the combo
// box reaching to 10 pixels from its right edge. Returns that height.
int PlaceUrlWindow(HWND urlWindow, int top, int width);

} // namespace lx
