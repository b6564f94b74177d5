// The one place where commands whose dialogs live outside the main window plug in (send, retrieve,
// address book, composer ...). A command nobody has plugged in shows nothing and changes
// nothing. Portable: handlers get the owner window as an opaque pointer.
#pragma once
#include <functional>
#include <map>
#include <string>

namespace lx {

// What a plugged command answers: the dialog's result (IDOK = 1, IDCANCEL = 2, ...).
constexpr int kPlugOk = 1;
constexpr int kPlugCancel = 2;
// Actions that are not menu commands.
constexpr int kPlugAutoMailRun = 1994; // the automatic mail run of the mail check

// The argument of the open-message command (ID_MESSAGE_READ): which message, the list's flag
// (1 only for Ctrl+Alt+Enter), and whether the message search asks (it waits less for the viewer
// and leaves the message's new mark).
struct OpenMessageRequest {
    long mesgNum = -1;
    int flag = 0;
    bool fromSearch = false;
};
std::string OpenMessageArgument(const OpenMessageRequest& request);
// False (and `request` untouched) for a text OpenMessageArgument did not make.
bool ParseOpenMessageArgument(const char* argument, OpenMessageRequest* request);

using PluggedCommand = std::function<int(void* owner, const char* argument)>;

// The commands plugged into one main window. The frame owns it and hands it to whoever plugs a
// command in; nothing of it is shared across the process.
class CommandPlugs {
public:
    // Installs (or with an empty handler removes) the handler of a command id.
    void Plug(int id, PluggedCommand handler);
    bool IsPlugged(int id) const;
    // Runs the handler; false (and `result` untouched) when none is plugged in.
    bool Run(int id, void* owner, const char* argument, int* result) const;

private:
    std::map<int, PluggedCommand> plugs_;
};

} // namespace lx
