// Load and unload of TERN32.dll: keeps the module instance the hidden windows register against.
#include <windows.h>

#include "netlib/win/library.h"
#include "netlib/win/netbrowse_tls.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        lx::net::setModuleInstance(instance);
        lx::net::netBrowseTlsAlloc();
        break;
    case DLL_PROCESS_DETACH: lx::net::netBrowseTlsFree(); break;
    default: break;
    }
    return TRUE;
}
