// Reader type 3: the WebBrowser control, placed through the viewer's own OLE container.
#pragma once
#include "viewer/win/browserhost.h"

namespace lx {

// Control id of the browser's window in the frame.
constexpr int kBrowserControlId = 1965;

// nullptr when the control cannot be created or activated.
std::unique_ptr<BrowserHost> CreateWebBrowserHost(HWND parent, BrowserEvents events);

} // namespace lx
