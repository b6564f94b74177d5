// Starting the viewer program for an incoming message and handing it the store: the main
// program releases Lorvex_Mutex, starts the viewer, and owns the mutex again once the viewer has
// read the message (the viewer holds the mutex until then).
#pragma once
#include "mailer/ui/composer.h"

#include <windows.h>

#include <functional>
#include <string>

class odbcvantConnection;

namespace lx {
class MessageCatalog;
struct OpenMessageRequest;
struct StoredMessage;

struct ViewerLaunchContext {
    std::string installPath;
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    HANDLE mutex = nullptr;            // Lorvex_Mutex, owned by the interface thread
    std::function<long()> trashFolder; // FolderNum of _TRASHCAN
};

enum class ViewerHandOver {
    NotStarted,    // the viewer could not be started (the user was told)
    MutexBack,     // the viewer released the mutex and the main program owns it again
    ViewerEnded,   // the viewer ended first; the mutex was taken back after it
    MutexElsewhere // the viewer ended and another process still holds the mutex
};

// Starts the viewer for `message` and waits for the hand-over; clears the message's new mark
// afterwards and, unless the search opened it, has `owner` (the message list pane) reload.
ViewerHandOver LaunchViewer(const ViewerLaunchContext& context, HWND owner,
                            const OpenMessageRequest& request, const StoredMessage& message);

// The viewer launch the composers' open-message command hands incoming messages to.
ViewerLaunch MakeViewerLaunch(ViewerLaunchContext context);

} // namespace lx
