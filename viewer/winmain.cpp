// Entry point of LXVIEWER.EXE.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "viewer/lxviewer.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int showState) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The browser controls are OLE controls hosted on this thread.
    const bool ole = SUCCEEDED(::OleInitialize(nullptr));
    const int code = lx::viewer::RunViewer(commandLine, showState);
    if (ole) ::OleUninitialize();
    return code;
}
