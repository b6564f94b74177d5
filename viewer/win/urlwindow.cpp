#include "viewer/win/urlwindow.h"

#include "viewer/core/navstate.h"
#include "viewer/res/resource.h"

#include <string>
#include <vector>

namespace lx {

namespace {

std::string ItemText(HWND combo, int index) {
    LRESULT length = ::SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string WindowText(HWND wnd) {
    int length = ::GetWindowTextLengthA(wnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(wnd, &text[0], length + 1)));
    return text;
}

void Go(HWND dialog) {
    HWND combo = ::GetDlgItem(dialog, IDC_URL_COMBO);
    std::vector<std::string> listed;
    int count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) listed.push_back(ItemText(combo, i));
    UrlGoAction action = UrlWindowGo(WindowText(combo), listed);
    if (!action.go) return;
    if (action.addToList)
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(action.url.c_str()));
    ::ShowWindow(dialog, SW_HIDE);
    ::SendMessageA(::GetParent(dialog), kNavigateToUrl, 0,
                   reinterpret_cast<LPARAM>(action.url.c_str()));
}

INT_PTR CALLBACK UrlWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_URL_GO:
    case IDOK: Go(dialog); return TRUE;
    case IDCANCEL: ::ShowWindow(dialog, SW_HIDE); return TRUE;
    default: return FALSE;
    }
}

} // namespace

HWND CreateUrlWindow(HWND frame) {
    return ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_URLWINDOW), frame,
                                &UrlWindowProc, 0);
}

void ShowUrlWindow(HWND urlWindow, bool show) {
    ::ShowWindow(urlWindow, show ? SW_SHOW : SW_HIDE);
    if (!show) return;
    HWND combo = ::GetDlgItem(urlWindow, IDC_URL_COMBO);
    ::SetFocus(combo);
    ::SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

int PlaceUrlWindow(HWND urlWindow, int top, int width) {
    RECT own{};
    ::GetWindowRect(urlWindow, &own);
    int height = own.bottom - own.top;
    ::MoveWindow(urlWindow, 0, top, width, height, TRUE);
    HWND combo = ::GetDlgItem(urlWindow, IDC_URL_COMBO);
    RECT client{}, box{}, dropped{};
    ::GetClientRect(urlWindow, &client);
    ::GetWindowRect(combo, &box);
    ::MapWindowPoints(nullptr, urlWindow, reinterpret_cast<POINT*>(&box), 2);
    // A combo box's height includes its list: keep the list's height as it is.
    ::SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    int right = client.right - 10;
    if (right > box.left)
        ::SetWindowPos(combo, nullptr, 0, 0, right - box.left, dropped.bottom - dropped.top,
                       SWP_NOMOVE | SWP_NOZORDER);
    return height;
}

} // namespace lx
