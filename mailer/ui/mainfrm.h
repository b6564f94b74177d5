// CMainFrame: the main program's top-level window (menu bar, accelerators, client area).
#pragma once
#include "common/settings/window_file.h"
#include "common/win/window.h"
#include <windows.h>
#include <string>

namespace lx {
class MessageCatalog;

// Private messages of the frame.
constexpr UINT WM_LX_MAILRUN_DONE = WM_USER + 1993;   // automatic run ended / restart timer
constexpr UINT WM_LX_MAILRUN_NOW = WM_USER + 1994;    // run the automatic mail run now
constexpr UINT WM_LX_COMMAND_LINE = WM_USER + 1995;   // lParam: the program's command line

constexpr char kMainFrameClass[] = "CMainFrame";

struct MainFrameContext {
    const char* installPath;
    MessageCatalog* catalog;
};

class CMainFrame : public Window {
public:
    explicit CMainFrame(const MainFrameContext& context);

    // Creates the window from resource 128 (menu, icon, title); false when it cannot.
    bool CreateFrame();
    HACCEL Accelerators() const { return accel_; }

    // Placement read at start-up: maximise, or move to the stored rectangle.
    void ApplyPlacement(const MainWindowPlacement& placement);
    // The automatic check's timer (id 1993, 1000 ms) when `intervalSeconds` is 1 or more.
    void ArmMailCheck(int intervalSeconds);
    // The command line handed over at start-up (a mailto: request), kept for the composer.
    const std::string& PendingCommandLine() const { return commandLine_; }

private:
    void SavePlacement();
    void OnViewLog();

    MainFrameContext context_;
    HACCEL accel_ = nullptr;
    MainWindowPlacement placement_{};
    std::string commandLine_;
};

} // namespace lx
