// Which of the viewer's commands are enabled: the message commands while the message page (or
// the simple view) shows the loaded message, the browser's commands from its navigation flags.
#pragma once
#include "viewer/core/navstate.h"

namespace lx::viewer {

struct ViewerState {
    bool messageMode = false;   // a message number was given and the page could be made
    bool messageLoaded = false; // the loader has finished: the record may be read
    bool storeOpen = false;     // the viewer has its store connection
    // The browser control's navigation; its kind is SimpleView when no control is shown.
    NavigationState nav{BrowserKind::SimpleView, ""};
};

struct CommandStates {
    bool addresses = false, reply = false; // need the loaded message
    bool remove = false, file = false;     // need the loaded message and the store
    bool favorites = false;
    bool home = false, forward = false, back = false, stop = false, reload = false;
};

CommandStates EnabledCommands(const ViewerState& state);

} // namespace lx::viewer
