// Base of the program's own windows: the object is stored once per window (GWLP_USERDATA)
// when the window is created, and messages reach it through its message map.
#pragma once
#include "common/win/messagemap.h"
#include <windows.h>

namespace lx {

// Moves `wnd` so that it is centred over `owner`, or over the work area when there is none;
// the window is kept on the screen.
void CenterOver(HWND wnd, HWND owner);

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Registers a class whose windows dispatch to their Window object (once per class name).
    static bool RegisterClass(const char* className, UINT style, HICON icon, HBRUSH background);

    bool Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x, int y,
                int width, int height, HWND parent, HMENU menu);
    HWND Handle() const { return hwnd_; }
    void Destroy();

    // The Window object of a window created through Create, nullptr for any other window.
    static Window* FromHandle(HWND wnd);

protected:
    MessageMap& Map() { return map_; }
    // Called after the last message (WM_NCDESTROY); the handle is already gone.
    virtual void OnFinalMessage() {}

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    MessageMap map_;
};

} // namespace lx
