#include "mailer/ui/mainfrm.h"
#include "mailer/ui/viewlog.h"
#include "mailer/res/resource.h"
#include "common/win/uiseam.h"

namespace lx {

CMainFrame::CMainFrame(const MainFrameContext& context) : context_(context) {
    Map().On(WM_CLOSE, [this](WPARAM, LPARAM) -> LRESULT {
        ::DestroyWindow(Handle());
        return 0;
    });
    Map().On(WM_DESTROY, [this](WPARAM, LPARAM) -> LRESULT {
        ::KillTimer(Handle(), IDT_MAILCHECK);
        SavePlacement();
        ::PostQuitMessage(0);
        return 0;
    });
    // The countdown and the automatic run arrive with the mail check.
    Map().On(WM_TIMER, [](WPARAM, LPARAM) -> LRESULT { return 0; });
    Map().On(WM_LX_COMMAND_LINE, [this](WPARAM, LPARAM lParam) -> LRESULT {
        if (lParam) commandLine_ = reinterpret_cast<const char*>(lParam);
        return 0;
    });
    Map().OnCommand(ID_APP_EXIT, [this](int, HWND) { ::PostMessageA(Handle(), WM_CLOSE, 0, 0); });
    Map().OnCommand(ID_VIEW_LOGFILE, [this](int, HWND) { OnViewLog(); });
}

bool CMainFrame::CreateFrame() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    HICON icon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (!RegisterClass(kMainFrameClass, CS_DBLCLKS, icon,
                       reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1)))
        return false;
    char title[64] = "";
    if (::LoadStringA(instance, IDR_MAINFRAME, title, sizeof title) <= 0) return false;
    HMENU menu = ::LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    accel_ = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (!Create(kMainFrameClass, title, WS_OVERLAPPEDWINDOW, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu)) {
        if (menu) ::DestroyMenu(menu);
        return false;
    }
    return true;
}

void CMainFrame::ApplyPlacement(const MainWindowPlacement& placement) {
    placement_ = placement;
    if (IsMaximisedPlacement(placement.frame)) {
        ::ShowWindow(Handle(), SW_MAXIMIZE);
        return;
    }
    const Rect32& r = placement.frame;
    ::MoveWindow(Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    ::UpdateWindow(Handle());
}

void CMainFrame::ArmMailCheck(int intervalSeconds) {
    ::KillTimer(Handle(), IDT_MAILCHECK);
    if (intervalSeconds >= 1) ::SetTimer(Handle(), IDT_MAILCHECK, 1000, nullptr);
}

// Until the panes exist the frame keeps Lorvex.WND itself: the window rectangle by the
// maximised/minimised rule, and the column cells as they were read.
void CMainFrame::SavePlacement() {
    RECT actual{};
    if (!::GetWindowRect(Handle(), &actual)) return;
    const Rect32 rect{actual.left, actual.top, actual.right, actual.bottom};
    MainWindowPlacement out = placement_;
    out.frame = MainWindowRectToStore(rect, ::IsZoomed(Handle()) != FALSE,
                                      ::IsIconic(Handle()) != FALSE);
    WriteMainWindowFile(context_.installPath, out);
}

void CMainFrame::OnViewLog() {
    ViewLogData data{context_.installPath, context_.catalog, false};
    ShowViewLogDialog(Handle(), &data);
}

} // namespace lx
