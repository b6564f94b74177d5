#include "viewer/win/browserhost.h"

#include "common/win/handles.h"
#include "viewer/win/webbrowserhost.h"

namespace lx {

namespace {

// The licensed HTML control ships as its vendor's OLE control file; without it the viewer shows
// the simple view.
constexpr const char* kHtmlControlLibrary = "HTML.OCX";

std::unique_ptr<BrowserHost> CreateHtmlControlHost(HWND) {
    Module control(kHtmlControlLibrary);
    if (!control) return nullptr;
    // The control's load, stop, history and state members are its vendor's: it is hosted only
    // where that interface is at hand, and here it is not.
    return nullptr;
}

} // namespace

std::unique_ptr<BrowserHost> CreateBrowserHost(HWND parent, int readerType, BrowserEvents events) {
    switch (readerType) {
    case 2: return CreateHtmlControlHost(parent);
    case 3: return CreateWebBrowserHost(parent, std::move(events));
    default: return nullptr;
    }
}

} // namespace lx
