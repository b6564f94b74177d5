// The class-wide state of the engine (one object prints at a time) and its status window:
// modeless, with Cancel; the abort procedure keeps the caller's thread dispatching messages
// while the job spools.
#pragma once
#include <windows.h>

namespace lx::print {

// The library's module, kept at load time: the status window's template lives in it.
void SetEngineModule(HMODULE module);
// Forgets the status window and clears the abort flag (the first object of a run).
void ResetStatus();
// Creates the status window owned by `owner`, titled `title`; nullptr on failure.
HWND OpenStatusWindow(HWND owner, const char* title);
void CloseStatusWindow();
HWND StatusWindowHandle();
bool Aborted();
// The abort procedure: dispatches waiting messages (the status window's through its dialog
// handling) until the queue is empty or the user cancelled; FALSE once cancelled.
BOOL CALLBACK AbortProcedure(HDC dc, int error);

} // namespace lx::print
