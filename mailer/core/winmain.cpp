// Entry point of Lorvex.exe.
#include "mailer/core/newmail.h"
#include <windows.h>
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int showState) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    lx::LorvexApp app;
    int code = 0;
    if (app.InitInstance(commandLine, showState)) code = app.Run();
    const int exitCode = app.ExitInstance();
    return code != 0 ? code : exitCode;
}
