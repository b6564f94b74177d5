// The printer chosen in Printer Setup: its DEVMODE and DEVNAMES, kept by the main frame for
// the whole run so that printing uses the chosen printer and the next set-up starts from it.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include "common/win/handles.h"
#include <string>

namespace lx {

class PrinterChoice {
public:
    // Runs the print set-up dialog through the UI seam, starting from the kept choice; on OK
    // the dialog's DEVMODE and DEVNAMES are kept. True on OK.
    bool RunSetup(HWND owner);
    bool Chosen() const { return devNames_.Get() != nullptr; }
    HGLOBAL DevMode() const { return devMode_.Get(); }
    HGLOBAL DevNames() const { return devNames_.Get(); }
    // The chosen printer's device name ("" before a choice).
    std::string DeviceName() const;

private:
    GlobalMemory devMode_;
    GlobalMemory devNames_;
};

} // namespace lx
