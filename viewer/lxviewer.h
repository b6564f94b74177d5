// The viewer program's start-up: install folder, catalogue, command line, the shared mutex and
// the frame window, then the message loop.
#pragma once
#include <windows.h>

namespace lx::viewer {

// Exit codes: 0 after a normal close, 1 when the viewer ended at start-up.
int RunViewer(const char* commandLine, int showState);

} // namespace lx::viewer
