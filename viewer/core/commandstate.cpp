#include "viewer/core/commandstate.h"

namespace lx::viewer {

CommandStates EnabledCommands(const ViewerState& state) {
    CommandStates c;
    // The record is read only once the loader has let go of it.
    const bool browser = state.nav.Kind() != BrowserKind::SimpleView;
    const bool showsMessage = state.messageMode && state.messageLoaded &&
                              (!browser || state.nav.MessageCommandsEnabled());
    c.addresses = c.reply = showsMessage;
    c.remove = c.file = showsMessage && state.storeOpen;
    c.favorites = browser;
    // The navigation state keeps every command off with the simple view.
    c.home = state.nav.Enabled(NavCommand::Home);
    c.forward = state.nav.Enabled(NavCommand::Forward);
    c.back = state.nav.Enabled(NavCommand::Back);
    c.stop = state.nav.Enabled(NavCommand::StopLoad);
    c.reload = state.nav.Enabled(NavCommand::Reload);
    return c;
}

} // namespace lx::viewer
