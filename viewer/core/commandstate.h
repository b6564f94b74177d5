// Which of the viewer's commands are enabled: the message commands while the message page (or
// the simple view) shows the loaded message, the browser's commands from its navigation flags.
#pragma once

namespace lx::viewer {

// The browser control's navigation state, kept from its events.
struct NavigationFlags {
    bool away = false; // the control shows something other than the message page
    bool forward = false;
    bool back = false;
    bool stop = false; // a load is running
    bool reload = false;

    // The flags right after the control is created: a load running, history unknown (the
    // licensed HTML control offers Back and Forward until it reports, the WebBrowser does not).
    static NavigationFlags Initial(bool webBrowser);
    void DownloadBegin();
    // `locationUpper` is the location the control now shows, upper-cased.
    void DownloadComplete(const char* locationUpper, const char* homePathUpper);
    // Command 1 is Forward, command 2 is Back.
    void CommandStateChange(int command, bool enable);
    // Home, Back, Forward and Reload start a load that brings the control somewhere.
    void LoadStarted();
};

struct ViewerState {
    bool messageMode = false;   // a message number was given and the page could be made
    bool messageLoaded = false; // the loader has finished: the record may be read
    bool storeOpen = false;     // the viewer has its store connection
    bool browser = false;       // a browser control is shown (not the simple view)
    NavigationFlags nav;
};

struct CommandStates {
    bool addresses = false, reply = false; // need the loaded message
    bool remove = false, file = false;     // need the loaded message and the store
    bool favorites = false;
    bool home = false, forward = false, back = false, stop = false, reload = false;
};

CommandStates EnabledCommands(const ViewerState& state);

} // namespace lx::viewer
