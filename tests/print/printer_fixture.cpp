#include "tests/print/printer_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
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

// The folder the engine's PDFs land in, as a Windows path.
std::string OutFolder() {
    const char* out = std::getenv("LX_PRINT_OUT");
    return std::string(out && *out == '/' ? "Z:" : "") + (out ? out : "");
}

// Names of the PDFs in the folder.
std::vector<std::string> Pdfs() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = ::FindFirstFileA((OutFolder() + "\\*.pdf").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (::FindNextFileA(h, &found));
    ::FindClose(h);
    return names;
}

// cups-pdf writes the file in one go; a complete PDF ends with its trailer.
bool Complete(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream data;
    data << in.rdbuf();
    const std::string& text = data.str();
    return text.find("%%EOF", text.size() > 64 ? text.size() - 64 : 0) != std::string::npos;
}

// Waits (up to a minute) for the job's one PDF, complete, and renames it to `name`.
bool TakePdf(const std::string& name, int* count) {
    for (int i = 0; i < 600; ++i) {
        const auto pdfs = Pdfs();
        std::vector<std::string> fresh;
        for (const auto& p : pdfs)
            if (p.rfind("job_", 0) == 0) fresh.push_back(p);
        if (!fresh.empty()) {
            const std::string path = OutFolder() + "\\" + fresh.front();
            // cups-pdf writes the file in one go; a complete PDF ends with its trailer.
            if (Complete(path)) {
                *count = static_cast<int>(fresh.size());
                return ::MoveFileExA(path.c_str(), (OutFolder() + "\\" + name).c_str(),
                                     MOVEFILE_REPLACE_EXISTING) != 0;
            }
        }
        ::Sleep(100); // the poll interval of a bounded wait for the finished PDF
    }
    return false;
}

void ClearPdfs() {
    for (const auto& p : Pdfs()) ::DeleteFileA((OutFolder() + "\\" + p).c_str());
}

void WriteOutFile(const std::string& name, const std::string& text) {
    std::ofstream out(OutFolder() + "\\" + name, std::ios::binary);
    out << text;
}

} // namespace lx::print::test
