#include "viewer/win/browserhost.h"

namespace lx {

// Until the browser controls are hosted, every reader type shows the simple view.
std::unique_ptr<BrowserHost> CreateBrowserHost(HWND, int, BrowserEvents) { return nullptr; }

} // namespace lx
