// The browser control in the viewer's client area, whichever control it is: one set of commands
// for the frame, and the control's events turned into calls the frame answers.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace lx {

// The frame's answers to the control's events; an empty function is not called.
struct BrowserEvents {
    // Before the control goes to `url`: true cancels the navigation (mail-to and attachment
    // links are handled by the frame instead).
    std::function<bool(const std::string& url)> beforeNavigate;
    std::function<void()> downloadBegin;
    std::function<void()> downloadComplete;
    // Command 1 is Forward, command 2 is Back.
    std::function<void(int command, bool enable)> commandStateChange;
    std::function<void(const std::string& text)> statusText;
};

class BrowserHost {
public:
    virtual ~BrowserHost() = default;
    virtual HWND Window() const = 0;
    virtual void Navigate(const std::string& url) = 0;
    virtual void Stop() = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void Refresh() = 0;
    virtual bool Busy() const = 0;
    virtual std::string LocationUrl() const = 0;
    virtual std::string LocationName() const = 0;
    // Places the control in the parent's client coordinates.
    virtual void Move(const RECT& area) = 0;
    // Keys the control handles itself (Tab, accelerators of the page); true when it took `msg`.
    virtual bool TranslateKey(MSG* msg) = 0;
    // Prints the page the control shows, with the control's own printing and default options.
    virtual void PrintPage() = 0;
};

// Creates the control of reader type 2 (the licensed HTML control) or 3 (the WebBrowser control)
// as a child of `parent` (control id 1965). nullptr when it cannot be created: the frame then
// shows the simple view. The calling thread has initialised OLE (OleInitialize); Navigate,
// GoBack and GoForward stop a load that is still running first.
std::unique_ptr<BrowserHost> CreateBrowserHost(HWND parent, int readerType, BrowserEvents events);

} // namespace lx
