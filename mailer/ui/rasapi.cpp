#include "mailer/ui/rasapi.h"

#include <vector>

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

namespace lx {

std::string RasErrorText(const RasEntryPoints& ras, unsigned error, DWORD size) {
    if (!ras.getErrorString || size == 0) return {};
    std::vector<char> text(size, '\0');
    if (ras.getErrorString(error, text.data(), size) != 0) return {};
    text.back() = '\0';
    return text.data();
}

} // namespace lx
