#include "mailer/ui/rasapi.h"

namespace lx {

bool RasApi::Load(const char* library) {
    Unload();
    if (!module_.Load(library)) return false;
    module_.Bind(entry_.dial, "RasDialA");
    module_.Bind(entry_.enumConnections, "RasEnumConnectionsA");
    module_.Bind(entry_.getErrorString, "RasGetErrorStringA");
    module_.Bind(entry_.enumEntries, "RasEnumEntriesA");
    module_.Bind(entry_.getEntryDialParams, "RasGetEntryDialParamsA");
    module_.Bind(entry_.getConnectStatus, "RasGetConnectStatusA");
    module_.Bind(entry_.hangUp, "RasHangUpA");
    return true;
}

void RasApi::Unload() {
    entry_ = RasEntryPoints{};
    module_.Reset();
}

} // namespace lx
