#include "tests/print/printer_fixture.h"

#include <vector>

namespace lx::print::test {

namespace {
DialogAnswer* g_answer = nullptr;
}

std::string DefaultPrinter() {
    char name[256];
    DWORD size = sizeof name;
    return ::GetDefaultPrinterA(name, &size) ? std::string(name) : std::string();
}

void SetDialogAnswer(DialogAnswer* answer) { g_answer = answer; }

BOOL AnswerPrintDialog(PRINTDLGA* data) {
    if (!g_answer) return FALSE;
    ++g_answer->calls;
    g_answer->flagsSeen = data->Flags;
    if (g_answer->cancel) return FALSE;
    std::string printer = DefaultPrinter();
    HANDLE handle = nullptr;
    if (printer.empty() || !::OpenPrinterA(printer.data(), &handle, nullptr)) return FALSE;
    const LONG size = ::DocumentPropertiesA(nullptr, handle, printer.data(), nullptr, nullptr, 0);
    std::vector<char> image(size > 0 ? size : sizeof(DEVMODEA));
    auto* mode = reinterpret_cast<DEVMODEA*>(image.data());
    ::DocumentPropertiesA(nullptr, handle, printer.data(), mode, nullptr, DM_OUT_BUFFER);
    ::ClosePrinter(handle);
    mode->dmFields |= DM_PAPERSIZE;
    mode->dmPaperSize = g_answer->paper;
    data->hDC = ::CreateDCA(nullptr, printer.c_str(), nullptr, mode);
    return data->hDC != nullptr;
}

OwnerWindow::OwnerWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "LxPrintTestOwner";
    ::RegisterClassA(&wc);
    wnd_ = ::CreateWindowA(wc.lpszClassName, "print test owner", WS_OVERLAPPEDWINDOW, 0, 0, 300,
                           200, nullptr, nullptr, wc.hInstance, this);
}

OwnerWindow::~OwnerWindow() {
    if (wnd_) ::DestroyWindow(wnd_);
}

LRESULT CALLBACK OwnerWindow::Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<OwnerWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<OwnerWindow*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (message == WM_APP && self) ++self->appMessages_;
    return ::DefWindowProcA(wnd, message, wParam, lParam);
}

} // namespace lx::print::test
