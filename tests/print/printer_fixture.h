// The test printer for the engine's tests under Wine: the default printer (the CUPS queue of
// tools/setup/cups.sh), opened for a chosen paper size, and an answer to the print dialog.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <winspool.h>

#include <string>
#include <vector>

namespace lx::print::test {

// The default printer's name; empty when there is none.
std::string DefaultPrinter();

// Answers the print dialog like a user who picks the default printer on paper `paper`
// (DMPAPER_LETTER ...), or cancels it. Installed with PrintVant::SetPrintDialog.
struct DialogAnswer {
    bool cancel = false;
    short paper = DMPAPER_LETTER;
    DWORD flagsSeen = 0;
    int calls = 0;
};
// The answer the next dialog gives (process-wide for the engine's plain-function hook).
void SetDialogAnswer(DialogAnswer* answer);
BOOL AnswerPrintDialog(PRINTDLGA* data);

// A top-level window to own the job; counts WM_APP messages dispatched to it.
class OwnerWindow {
public:
    OwnerWindow();
    ~OwnerWindow();
    HWND Handle() const { return wnd_; }
    int AppMessages() const { return appMessages_; }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND wnd_ = nullptr;
    int appMessages_ = 0;
};

// The folder the printer's PDFs land in (LX_PRINT_OUT), as a Windows path.
std::string OutFolder();
std::vector<std::string> Pdfs();
bool Complete(const std::string& path);
// Waits (up to a minute) for the job's one PDF, complete, and renames it to `name`; `count` gets
// how many job PDFs there were.
bool TakePdf(const std::string& name, int* count);
void ClearPdfs();
// Writes `text` to the file `name` in the PDF folder (for the checks that read the PDF back).
void WriteOutFile(const std::string& name, const std::string& text);

} // namespace lx::print::test
