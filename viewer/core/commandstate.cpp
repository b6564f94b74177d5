#include "viewer/core/commandstate.h"

#include <cstring>

namespace lx::viewer {

NavigationFlags NavigationFlags::Initial(bool webBrowser) {
    NavigationFlags f;
    f.stop = true;
    f.forward = f.back = !webBrowser;
    return f;
}

void NavigationFlags::DownloadBegin() {
    stop = true;
    reload = false;
    away = false;
}

void NavigationFlags::DownloadComplete(const char* locationUpper, const char* homePathUpper) {
    stop = false;
    reload = true;
    away = std::strstr(locationUpper ? locationUpper : "", homePathUpper ? homePathUpper : "") ==
           nullptr;
}

void NavigationFlags::CommandStateChange(int command, bool enable) {
    if (command == 1) forward = enable;
    if (command == 2) back = enable;
}

void NavigationFlags::LoadStarted() {
    reload = false;
    away = false;
    stop = true;
}

CommandStates EnabledCommands(const ViewerState& state) {
    CommandStates c;
    // The record is read only once the loader has let go of it.
    const bool showsMessage =
        state.messageMode && state.messageLoaded && (!state.browser || !state.nav.away);
    c.addresses = c.reply = showsMessage;
    c.remove = c.file = showsMessage && state.storeOpen;
    c.favorites = state.browser;
    if (state.browser) {
        c.home = state.nav.away;
        c.forward = state.nav.forward;
        c.back = state.nav.back;
        c.stop = state.nav.stop;
        c.reload = state.nav.reload;
    }
    return c;
}

} // namespace lx::viewer
