#include "mailer/ui/printchoice.h"

#include "common/win/uiseam.h"

namespace lx {

bool PrinterChoice::RunSetup(HWND owner) {
    PRINTDLGA setup{};
    setup.lStructSize = sizeof setup;
    setup.hwndOwner = owner;
    setup.Flags = PD_PRINTSETUP;
    setup.hDevMode = devMode_.Get();
    setup.hDevNames = devNames_.Get();
    const bool ok = ui::PrintSetup(&setup) != FALSE;
    // The dialog may hand back new blocks in place of the ones it was given, whatever the answer;
    // Reset frees a replaced block and keeps one that came back unchanged.
    devMode_.Reset(setup.hDevMode);
    devNames_.Reset(setup.hDevNames);
    return ok;
}

std::string PrinterChoice::DeviceName() const {
    if (!devNames_.Get()) return std::string();
    const auto* names = static_cast<const DEVNAMES*>(::GlobalLock(devNames_.Get()));
    if (!names) return std::string();
    const std::string device = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
    ::GlobalUnlock(devNames_.Get());
    return device;
}

} // namespace lx
