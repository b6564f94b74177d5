// PrntVant.dll: the print engine. One PrintVant object wraps one printer job: the printer chosen
// in the print dialog, a modeless status window with Cancel, the job and its pages, and text,
// lines and rectangles drawn in hundredths of an inch with y growing down the page. Every member
// returns 1 for success and 0 for failure or a call in the wrong state unless it says otherwise.
// Only one object prints at a time: while two or more exist, InitPrintVant fails.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include "common/win/handles.h"

#include <cstddef>
#include <new>

#ifdef LX_BUILDING_PRNTVANT
#define PRNTVANT_API __declspec(dllexport)
#else
#define PRNTVANT_API __declspec(dllimport)
#endif

class PRNTVANT_API PrintVant {
public:
    // Shows the print dialog (PD_RETURNDC); TRUE with data->hDC set, FALSE when cancelled.
    using PrintDialogFn = BOOL (*)(PRINTDLGA* data);
    static constexpr int kStatusTemplate = 101;
    static constexpr int kStatusText = 1000;
    static constexpr int kNameSize = 32;

    PrintVant(HWND owner, const char* documentName);
    ~PrintVant();
    PrintVant(const PrintVant&) = delete;
    PrintVant& operator=(const PrintVant&) = delete;
    // The class's own allocation, so objects are made and freed by the library's heap.
    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* block);

    // Chooses the printer (the print dialog when showDialog != 0, else the default printer),
    // opens the status window, disables the owner and sets up the page. `unused` is ignored.
    int InitPrintVant(int unused, int showDialog, char* error);
    int StartPrintJob(char* error);
    int StartNewPage(char* error);
    // The system's EndPage result; 0 or less once the user has cancelled the job.
    int EndNewPage();
    int EndPrintJob();
    int ShowPageStatus(const char* text);

    int GetLogPageSize(RECT* page) const;
    int GetPhyPageSize(float* width, float* height) const;
    int PixelsPerInch(SIZE* size) const;
    int DeviceCaps(int index, int* value);

    int PrintText(const char* text, int length, HFONT font, const RECT* rect, UINT format);
    int PrintLines(POINT from, POINT to, int width);
    int PrintLines(POINT from, POINT to, HPEN pen);
    int PrintRect(const RECT* rect, int rounded);
    int PrintRect(const RECT* rect, HBRUSH brush, int rounded);
    int PrintRect(const RECT* rect, HBRUSH brush, HPEN pen, int corner, int rounded);
    int PrintRect(const RECT* rect, COLORREF colour, int rounded);
    int PrintRect(const RECT* rect, COLORREF colour, HPEN pen, int corner, int rounded);

    // Measures `text` in `font`: the rectangle keeps left and top and gets the measured right
    // and bottom. wrap != 0 breaks lines at words within the rectangle's width.
    int GetTextSize(const char* text, int length, HFONT font, RECT* rect, int wrap);
    // Rectangles of `rect`'s size the text needs; 0 for a rectangle with no height.
    int CalcNumRects(const char* text, int length, HFONT font, const RECT* rect, int* count);
    // Copies into `buffer` (*size bytes) the piece of source[*position, length) that fills
    // `rect`; advances *position and sets *size to the piece's length.
    int GetTextForPage(const char* source, int length, int* position, const RECT* rect, HFONT font,
                       char* buffer, int* size);

    // How the print dialog is shown: the program routes it through its user-interface seam and
    // tests answer it. nullptr restores the system's dialog.
    static void SetPrintDialog(PrintDialogFn dialog);
    // The status window of the printing object, or nullptr.
    static HWND StatusWindow();

    // Live PrintVant objects.
    static LONG RefCounter;

private:
    int Ready() const { return initialised_ && jobStarted_ && pageOpen_; }
    void ReleasePrinter();
    void CloseStatus();

    int initialised_ = 0;
    int jobStarted_ = 0;
    lx::DeviceContext dc_;
    HWND owner_ = nullptr;
    int showStatus_ = 0;
    float physicalWidth_ = 0;
    float physicalHeight_ = 0;
    RECT logicalPage_{};
    int pageOpen_ = 0;
    PRINTDLGA printDialog_{};
    lx::GlobalMemory devMode_; // the printer setting memory the dialog hands back
    lx::GlobalMemory devNames_;
    DOCINFOA document_{};
    char documentName_[kNameSize] = "";
};
