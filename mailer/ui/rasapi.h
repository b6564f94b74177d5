// The dial-up networking library, loaded by name at run time: machines without dial-up
// networking run the program all the same, with every entry point unset.
#pragma once
#include "common/win/handles.h"

#include <windows.h>
#include <ras.h>

namespace lx {

constexpr char kRasLibrary[] = "RASAPI32.DLL";

// The seven entry points with their documented signatures (ras.h), as the program calls them.
struct RasEntryPoints {
    using Dial = DWORD(WINAPI*)(LPRASDIALEXTENSIONS, LPCSTR, LPRASDIALPARAMSA, DWORD, LPVOID,
                                LPHRASCONN);
    using EnumConnections = DWORD(WINAPI*)(LPRASCONNA, LPDWORD, LPDWORD);
    using GetErrorString = DWORD(WINAPI*)(UINT, LPSTR, DWORD);
    using EnumEntries = DWORD(WINAPI*)(LPCSTR, LPCSTR, LPRASENTRYNAMEA, LPDWORD, LPDWORD);
    using GetEntryDialParams = DWORD(WINAPI*)(LPCSTR, LPRASDIALPARAMSA, LPBOOL);
    using GetConnectStatus = DWORD(WINAPI*)(HRASCONN, LPRASCONNSTATUSA);
    using HangUp = DWORD(WINAPI*)(HRASCONN);

    Dial dial = nullptr;                             // RasDialA
    EnumConnections enumConnections = nullptr;       // RasEnumConnectionsA
    GetErrorString getErrorString = nullptr;         // RasGetErrorStringA
    EnumEntries enumEntries = nullptr;               // RasEnumEntriesA
    GetEntryDialParams getEntryDialParams = nullptr; // RasGetEntryDialParamsA
    GetConnectStatus getConnectStatus = nullptr;     // RasGetConnectStatusA
    HangUp hangUp = nullptr;                         // RasHangUpA
};

class RasApi {
public:
    // Loads `library` (normally RASAPI32.DLL) and looks up the seven entry points. When the
    // library cannot be loaded every entry point stays unset; false then.
    bool Load(const char* library = kRasLibrary);
    // Unsets every entry point, then frees the library.
    void Unload();
    bool Loaded() const { return static_cast<bool>(module_); }
    const RasEntryPoints& Entry() const { return entry_; }

private:
    // The table is declared after the module, so it goes before the library does.
    Module module_;
    RasEntryPoints entry_;
};

} // namespace lx
