// The dial-up networking library, loaded by name at run time: machines without dial-up
// networking run the program all the same, with every entry point unset.
#pragma once
#include <windows.h>

namespace lx {

constexpr char kRasLibrary[] = "RASAPI32.DLL";

// Entry points with their own argument lists; callers cast to the documented signatures
// (ras.h) where they use them.
using RasProc = FARPROC;

class RasApi {
public:
    RasApi() = default;
    ~RasApi();
    RasApi(const RasApi&) = delete;
    RasApi& operator=(const RasApi&) = delete;

    // Loads `library` (normally RASAPI32.DLL) and looks up the seven entry points. When the
    // library cannot be loaded every entry point stays unset; false then.
    bool Load(const char* library = kRasLibrary);
    void Unload();
    bool Loaded() const { return module_ != nullptr; }

    RasProc dial = nullptr;               // RasDialA
    RasProc enumConnections = nullptr;    // RasEnumConnectionsA
    RasProc getErrorString = nullptr;     // RasGetErrorStringA
    RasProc enumEntries = nullptr;        // RasEnumEntriesA
    RasProc getEntryDialParams = nullptr; // RasGetEntryDialParamsA
    RasProc getConnectStatus = nullptr;   // RasGetConnectStatusA
    RasProc hangUp = nullptr;             // RasHangUpA

private:
    void Clear();
    HMODULE module_ = nullptr;
};

} // namespace lx
