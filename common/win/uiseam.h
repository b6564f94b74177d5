// The one place where the program meets the user with boxes and common dialogs.
// Every message box, common dialog and help call goes through here, so that tests can
// answer them: in-process through a UiHook, or for a whole program run through the
// environment variables LORVEX_UI_TRANSCRIPT (file that receives one line per box:
// "caption|text|flags") and LORVEX_UI_ANSWERS (comma-separated IDYES/IDNO/IDOK/...
// taken in order; IDOK once they run out). In such a run every dialog of the dialog layer is
// recorded and cancelled as soon as it opens.
#pragma once
#include <windows.h>
#include <commdlg.h>

// The seam's functions carry the plain names; the system's A/W macros would rename them
// (and every box is meant to go through the seam anyway).
#undef MessageBox
#undef GetOpenFileName
#undef GetSaveFileName
#undef ChooseFont

namespace lx {
class MessageCatalog;
}

namespace lx::ui {

enum class CommonDialog { Open, Save, Font, PrintSetup, Print };

class UiHook {
public:
    virtual ~UiHook() = default;
    // Answer of a message box (IDOK, IDYES, ...), instead of showing it.
    virtual int OnMessageBox(HWND owner, const char* text, const char* caption, UINT flags) = 0;
    // A dialog built on lx::Dialog has finished WM_INITDIALOG: set control texts, post
    // WM_COMMAND to press buttons.
    virtual void OnDialogInit(HWND dialog, int resourceId) {}
    // A common dialog: return its result (TRUE for OK after filling `data`, FALSE for cancel).
    virtual BOOL OnCommonDialog(CommonDialog kind, void* data) { return FALSE; }
    // A help request (file, context number).
    virtual void OnHelp(HWND owner, const char* file, UINT command, ULONG_PTR data) {}
    // A program the user asked to start (an attachment's program): TRUE as if it started.
    virtual BOOL OnRunProgram(HWND owner, const char* commandLine) { return TRUE; }
};

// Installs (or with nullptr removes) the hook. Not thread-safe: tests set it up front.
void SetHook(UiHook* hook);
UiHook* Hook();

// The caption the application's own boxes carry (its title); "Lorvex" unless set.
void SetAppTitle(const char* title);
const char* AppTitle();
// The catalogue the dialog layer takes its own messages from (may stay unset).
void SetCatalog(MessageCatalog* catalog);
MessageCatalog* Catalog();
// Owner for application boxes once the main window exists.
void SetMainWindow(HWND wnd);

int MessageBox(HWND owner, const char* text, const char* caption, UINT flags);
// The application's box: caption is the program's title, owner the main window.
int AppMessageBox(const char* text, UINT flags);
// Box whose text and caption are catalogue messages: the caption is copied out first,
// because every look-up overwrites the catalogue's line buffer.
int CatalogBox(HWND owner, MessageCatalog& catalog, const char* textKey, const char* captionKey,
               UINT flags);
// Application box with a catalogue text (caption: the program's title).
int CatalogAppBox(MessageCatalog& catalog, const char* textKey, UINT flags);

BOOL GetOpenFileName(OPENFILENAMEA* data);
BOOL GetSaveFileName(OPENFILENAMEA* data);
BOOL ChooseFont(CHOOSEFONTA* data);
// The font dialog over the screen fonts, starting from `font`; true (and `font` changed) on OK.
bool ChooseScreenFont(HWND owner, LOGFONTA* font);
BOOL PrintSetup(PRINTDLGA* data);
// The print dialog of a print job (the print engine shows it through here). A scripted run whose
// answer for it is DEFAULTPRINTER takes the default printer as a user pressing Print would.
BOOL PrintDialog(PRINTDLGA* data);
BOOL Help(HWND owner, const char* file, UINT command, ULONG_PTR data);
// Starts a program with a normal window (an attached file opened with its program) and waits up
// to `idleMillis` for it to be ready for input; FALSE when it could not be started. A scripted
// run records it ("run program|<command line>|0") instead of starting it.
BOOL RunProgram(HWND owner, const char* commandLine, DWORD idleMillis);

// Called by the dialog layer once a dialog is initialised. True when a scripted run answers
// the dialog itself: it is then recorded ("dialog|<resource id>|0") and cancelled at once.
bool NotifyDialogInit(HWND dialog, int resourceId);

} // namespace lx::ui
