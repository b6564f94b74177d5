// Messages the browser test double's window answers, for the tests that drive the host over it.
#pragma once
#include <windows.h>

namespace lxtest {

// wParam: buffer size, lParam: char buffer. Copies the calls the double received, one a line
// ("Navigate URL", "Cancelled URL", "Stop", "GoBack", "GoForward", "Refresh", "DoVerb",
// "Close"), and returns the length of the whole log.
constexpr UINT kDoubleGetCalls = WM_APP + 2;
// Posted by the double to itself: the pending page has arrived (wParam: load number).
constexpr UINT kDoubleLoadDone = WM_APP + 1;
constexpr const char* kDoubleWindowClass = "LxBrowserDouble";
// Environment variable naming a file the double appends each call to, one a line.
constexpr const char* kDoubleLogVariable = "LX_BROWSER_DOUBLE_LOG";

} // namespace lxtest
