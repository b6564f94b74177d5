// The automatic mail check of the main window: the one-second countdown, and at zero either the
// mail run at once (local network) or a dial of the configured phone-book entry first, with the
// dial-up monitor thread that runs the mail when the line is up and hangs up afterwards.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "common/settings/dialer_settings.h"
#include "common/win/handles.h"
#include "mailer/ui/logic/autocheck_rules.h"
#include "mailer/ui/rasapi.h"

namespace lx {
class LogWriter;
class MessageCatalog;
struct TransferMarks;

struct AutoCheckContext {
    MessageCatalog* catalog = nullptr;
    std::string installPath; // Lorvex.Log lies here
    const RasApi* ras = nullptr;
    DialerSettings* settings = nullptr;
    const TransferMarks* transfers = nullptr; // which transfer dialogs are open; null: none
    LogWriter* log = nullptr;
    unsigned waitMillis = 3000; // the dial-up library's pauses (status readings, hang-ups)
    // Shows a countdown in seconds, or kCountdownOff / kCountdownChecking.
    std::function<void(int)> show;
};

class AutoCheck {
public:
    explicit AutoCheck(AutoCheckContext context) : context_(std::move(context)) {}
    ~AutoCheck();
    AutoCheck(const AutoCheck&) = delete;
    AutoCheck& operator=(const AutoCheck&) = delete;

    void Attach(HWND frame) { frame_ = frame; }
    // Restarts the timer: from the settings' interval and countdown (start-up, Dialer Setup),
    // or with the countdown where it is (the end of a cycle). An interval below 1 second shows
    // that checking is off and sets no timer.
    void Restart(bool fromSettings);
    // One second of the countdown; at zero a check cycle starts.
    void Tick();
    // The automatic mail run (sent by the tick or by the monitor thread): runs `run` with the
    // run-in-progress mark set, then asks the frame to show _IN again.
    void RunNow(const std::function<void()>& run);
    // The window goes: no timer, the monitor thread ended, a connection this program dialled
    // hung up.
    void Stop();

    bool TimerRunning() const { return timerRunning_; }
    bool Dialling() const { return dialling_; }
    bool RunInProgress() const { return runInProgress_; }
    RasConnHandle Connection() const { return connection_; }

private:
    class Line;
    static DWORD WINAPI MonitorThread(void* self);

    std::string LogPath() const;
    void StartTimer();
    void StopTimer();
    // The end of a cycle on the interface thread: the gate opens and the countdown goes on.
    void EndCycle(bool closeLog);
    void OpenCycleLog(const char* key);
    void Dial();
    void TakeOpenConnection();
    void DialFailed(DWORD result);
    void StartMonitor();
    void Monitor();
    void HangUpHeld();

    AutoCheckContext context_;
    HWND frame_ = nullptr;
    CheckCountdown countdown_;
    bool timerRunning_ = false;
    // Shared with the monitor thread in a fixed hand-over: set before it starts, cleared by
    // it before it posts its last message.
    std::atomic<bool> dialling_{false};
    std::atomic<bool> runInProgress_{false};
    std::atomic<bool> ownConnection_{true};
    std::atomic<bool> stopping_{false};
    std::atomic<RasConnHandle> connection_{nullptr};
    UniqueHandle stopEvent_;
    UniqueHandle monitor_;
};

} // namespace lx
