#include "mailer/ui/rasapi.h"

namespace lx {

RasApi::~RasApi() { Unload(); }

bool RasApi::Load(const char* library) {
    Unload();
    module_ = ::LoadLibraryA(library);
    if (!module_) return false;
    dial = ::GetProcAddress(module_, "RasDialA");
    enumConnections = ::GetProcAddress(module_, "RasEnumConnectionsA");
    getErrorString = ::GetProcAddress(module_, "RasGetErrorStringA");
    enumEntries = ::GetProcAddress(module_, "RasEnumEntriesA");
    getEntryDialParams = ::GetProcAddress(module_, "RasGetEntryDialParamsA");
    getConnectStatus = ::GetProcAddress(module_, "RasGetConnectStatusA");
    hangUp = ::GetProcAddress(module_, "RasHangUpA");
    return true;
}

void RasApi::Unload() {
    Clear();
    if (module_) ::FreeLibrary(module_);
    module_ = nullptr;
}

void RasApi::Clear() {
    dial = enumConnections = getErrorString = enumEntries = nullptr;
    getEntryDialParams = getConnectStatus = hangUp = nullptr;
}

} // namespace lx
