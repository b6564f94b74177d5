#include "common/win/window.h"

namespace lx {

void CenterOver(HWND wnd, HWND owner) {
    RECT self{};
    if (!::GetWindowRect(wnd, &self)) return;
    RECT area{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT over = area;
    if (owner && ::IsWindow(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &over);
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    int x = over.left + ((over.right - over.left) - width) / 2;
    int y = over.top + ((over.bottom - over.top) - height) / 2;
    if (x + width > area.right) x = area.right - width;
    if (y + height > area.bottom) y = area.bottom - height;
    if (x < area.left) x = area.left;
    if (y < area.top) y = area.top;
    ::SetWindowPos(wnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Window::~Window() {
    // The derived object is already gone: its handlers must not run for the last messages.
    map_ = MessageMap();
    Destroy();
}

bool Window::RegisterClass(const char* className, UINT style, HICON icon, HBRUSH background) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExA(instance, className, &existing)) return true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &Window::Proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return ::RegisterClassExA(&wc) != 0;
}

bool Window::Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x,
                    int y, int width, int height, HWND parent, HMENU menu) {
    if (hwnd_) return false;
    return ::CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu,
                             ::GetModuleHandleA(nullptr), this) != nullptr;
}

void Window::Destroy() {
    if (hwnd_ && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
}

Window* Window::FromHandle(HWND wnd) {
    if (!wnd) return nullptr;
    WNDPROC proc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(wnd, GWLP_WNDPROC));
    if (proc != &Window::Proc) return nullptr;
    return reinterpret_cast<Window*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
}

LRESULT CALLBACK Window::Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        self = static_cast<Window*>(cs->lpCreateParams);
        self->hwnd_ = wnd;
        ::SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcA(wnd, message, wParam, lParam);

    LRESULT result = 0;
    const bool handled = self->map_.Dispatch(message, wParam, lParam, &result);
    if (!handled) result = ::DefWindowProcA(wnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnFinalMessage();
    }
    return result;
}

} // namespace lx
