// PrintVant: the object, the printer choice, the job and its pages.
#include "printengine/prntvant.h"
#include "printengine/win/status.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

LONG PrintVant::RefCounter = 0;

namespace {
constexpr char kNoName[] = "QBT-PrintVant V1.0 [No Name]";
PrintVant::PrintDialogFn g_printDialog = nullptr;

void CopyError(char* error, const char* text) {
    if (error) std::strcpy(error, text);
}

// One logical unit is a hundredth of an inch on every printer, y growing down the page.
void SetPageMapping(HDC dc) {
    ::SetMapMode(dc, MM_ANISOTROPIC);
    ::SetWindowExtEx(dc, 100, 100, nullptr);
    ::SetViewportExtEx(dc, ::GetDeviceCaps(dc, LOGPIXELSX), ::GetDeviceCaps(dc, LOGPIXELSY),
                       nullptr);
}
} // namespace

void* PrintVant::operator new(std::size_t size) { return ::operator new(size); }
void* PrintVant::operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return ::operator new(size, std::nothrow);
}
void PrintVant::operator delete(void* block) { ::operator delete(block); }

void PrintVant::SetPrintDialog(PrintDialogFn dialog) { g_printDialog = dialog; }
HWND PrintVant::StatusWindow() { return lx::print::StatusWindowHandle(); }

PrintVant::PrintVant(HWND owner, const char* documentName) : owner_(owner) {
    const bool named = documentName && documentName[0] && std::strlen(documentName) < kNameSize;
    std::snprintf(documentName_, sizeof documentName_, "%s", named ? documentName : kNoName);
    if (RefCounter < 1) lx::print::ResetStatus();
    ::InterlockedIncrement(&RefCounter);
}

PrintVant::~PrintVant() {
    // A job the caller left running is abandoned, so the owner is never left disabled.
    if (jobStarted_) {
        ::AbortDoc(dc_.Get());
        jobStarted_ = 0;
    }
    if (initialised_) CloseStatus();
    ReleasePrinter();
    ::InterlockedDecrement(&RefCounter);
}

void PrintVant::ReleasePrinter() {
    dc_.Reset();
    devMode_.Reset();
    devNames_.Reset();
    printDialog_.hDevMode = printDialog_.hDevNames = nullptr;
}

void PrintVant::CloseStatus() {
    if (owner_) ::EnableWindow(owner_, TRUE);
    lx::print::CloseStatusWindow();
}

int PrintVant::InitPrintVant(int, int showDialog, char* error) {
    if (RefCounter >= 2 || initialised_) return 0;
    showStatus_ = 1;
    printDialog_ = PRINTDLGA{};
    printDialog_.lStructSize = sizeof printDialog_;
    printDialog_.hwndOwner = owner_;
    BOOL chosen = FALSE;
    if (showDialog) {
        printDialog_.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS |
                             PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE;
        chosen = g_printDialog ? g_printDialog(&printDialog_) : ::PrintDlgA(&printDialog_);
    } else {
        printDialog_.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
        chosen = ::PrintDlgA(&printDialog_);
    }
    devMode_.Reset(printDialog_.hDevMode);
    devNames_.Reset(printDialog_.hDevNames);
    dc_.Reset(chosen ? printDialog_.hDC : nullptr);
    if (!chosen || !dc_.Get()) {
        ReleasePrinter();
        return 0;
    }
    if (!lx::print::OpenStatusWindow(owner_, documentName_)) {
        ReleasePrinter();
        return 0;
    }
    if (owner_) ::EnableWindow(owner_, FALSE);
    if (::SetAbortProc(dc_.Get(), lx::print::AbortProcedure) <= 0) {
        CopyError(error, "Win32 API 'SetAbortProc' Failed");
        ReleasePrinter();
        CloseStatus();
        return 0;
    }

    HDC dc = dc_.Get();
    const int ppiX = ::GetDeviceCaps(dc, LOGPIXELSX), ppiY = ::GetDeviceCaps(dc, LOGPIXELSY);
    const int physW = ::GetDeviceCaps(dc, PHYSICALWIDTH),
              physH = ::GetDeviceCaps(dc, PHYSICALHEIGHT);
    const int offX = ::GetDeviceCaps(dc, PHYSICALOFFSETX),
              offY = ::GetDeviceCaps(dc, PHYSICALOFFSETY);
    int printW = physW - 2 * offX, printH = physH - 2 * offY;
    if (::GetDeviceCaps(dc, HORZRES) < printW) printW = ::GetDeviceCaps(dc, HORZRES);
    if (::GetDeviceCaps(dc, VERTRES) < printH) printH = ::GetDeviceCaps(dc, VERTRES);
    if (ppiX <= 0 || ppiY <= 0) {
        ReleasePrinter();
        CloseStatus();
        return 0;
    }
    // Whole inches, as the callers have always been given them.
    physicalWidth_ = static_cast<float>(physW / ppiX);
    physicalHeight_ = static_cast<float>(physH / ppiY);

    SetPageMapping(dc);
    POINT corners[2] = {{0, 0}, {printW, printH}};
    ::DPtoLP(dc, corners, 2);
    logicalPage_ = RECT{corners[0].x, corners[0].y, corners[1].x, std::abs(corners[1].y)};
    initialised_ = 1;
    return 1;
}

int PrintVant::StartPrintJob(char* error) {
    if (!initialised_ || jobStarted_) return 0;
    document_ = DOCINFOA{};
    document_.cbSize = sizeof document_;
    document_.lpszDocName = documentName_;
    if (::StartDocA(dc_.Get(), &document_) <= 0) {
        CopyError(error, "Win32 API 'StartDoc' Failed");
        return 0;
    }
    jobStarted_ = 1;
    return 1;
}

int PrintVant::StartNewPage(char* error) {
    if (!initialised_ || !jobStarted_) return 0;
    if (pageOpen_) EndNewPage();
    if (lx::print::Aborted()) {
        CopyError(error, "The print job was cancelled.");
        return 0;
    }
    if (::StartPage(dc_.Get()) <= 0) {
        CopyError(error, "Win32 API 'StartPage' Failed: the page could not be started.");
        return 0;
    }
    SetPageMapping(dc_.Get());
    pageOpen_ = 1;
    return 1;
}

int PrintVant::EndNewPage() {
    if (!initialised_ || !jobStarted_ || !pageOpen_) return 0;
    pageOpen_ = 0;
    int result = ::EndPage(dc_.Get());
    // Let the status window's Cancel through between pages as well as while spooling.
    lx::print::AbortProcedure(dc_.Get(), 0);
    if (lx::print::Aborted()) {
        ::AbortDoc(dc_.Get());
        result = 0;
    }
    return result;
}

int PrintVant::EndPrintJob() {
    if (!initialised_ || !jobStarted_) return 0;
    const bool aborted = lx::print::Aborted();
    if (pageOpen_ && !aborted) ::EndPage(dc_.Get());
    pageOpen_ = 0;
    jobStarted_ = 0;
    CloseStatus();
    if (aborted) return 0; // the document was abandoned already
    return ::EndDoc(dc_.Get());
}

int PrintVant::ShowPageStatus(const char* text) {
    HWND status = lx::print::StatusWindowHandle();
    if (!jobStarted_ || !status || !text) return 0;
    ::SetDlgItemTextA(status, kStatusText, text);
    ::RedrawWindow(status, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return 1;
}

int PrintVant::GetLogPageSize(RECT* page) const {
    if (!initialised_ || !page) return 0;
    *page = logicalPage_;
    return 1;
}

int PrintVant::GetPhyPageSize(float* width, float* height) const {
    if (!initialised_ || !width || !height) return 0;
    *width = physicalWidth_;
    *height = physicalHeight_;
    return 1;
}

int PrintVant::PixelsPerInch(SIZE* size) const {
    if (!initialised_ || !size) return 0;
    *size = SIZE{100, 100};
    return 1;
}

int PrintVant::DeviceCaps(int index, int* value) {
    if (!initialised_ || !value) return 0;
    *value = ::GetDeviceCaps(dc_.Get(), index);
    return 1;
}
