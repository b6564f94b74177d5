#include "printengine/win/status.h"
#include "printengine/prntvant.h"

namespace lx::print {

namespace {
HMODULE g_module = nullptr;
HWND g_status = nullptr;
volatile bool g_abort = false;

INT_PTR CALLBACK StatusProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        RECT r;
        ::GetWindowRect(dialog, &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        ::SetWindowPos(dialog, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                       (::GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::SetFocus(::GetDlgItem(dialog, IDCANCEL));
        return FALSE; // the focus is set
    }
    case WM_COMMAND:
        // Cancel (or Escape): the system abandons the job at its next call of the abort
        // procedure, and the engine's next page call fails.
        g_abort = true;
        return TRUE;
    default: return FALSE;
    }
}
} // namespace

void SetEngineModule(HMODULE module) { g_module = module; }

void ResetStatus() {
    g_abort = false;
    g_status = nullptr;
}

HWND OpenStatusWindow(HWND owner, const char* title) {
    g_abort = false;
    g_status = ::CreateDialogParamA(g_module, MAKEINTRESOURCEA(PrintVant::kStatusTemplate), owner,
                                    StatusProc, 0);
    if (!g_status) return nullptr;
    ::SetWindowTextA(g_status, title);
    ::ShowWindow(g_status, SW_SHOWNORMAL);
    return g_status;
}

void CloseStatusWindow() {
    if (g_status) ::DestroyWindow(g_status);
    g_status = nullptr;
}

HWND StatusWindowHandle() { return g_status; }
bool Aborted() { return g_abort; }

BOOL CALLBACK AbortProcedure(HDC, int) {
    MSG msg;
    while (!g_abort && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The caller's loop must still see it; the job cannot go on without its window.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            g_abort = true;
            break;
        }
        if (!g_status || !::IsDialogMessageA(g_status, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return g_abort ? FALSE : TRUE;
}

} // namespace lx::print
