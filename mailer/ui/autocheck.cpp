#include "mailer/ui/autocheck.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "common/catalog/msgcatalog.h"
#include "common/log/logwriter.h"
#include "common/settings/fixed_text.h"
#include "common/settings/install_path.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/logic/transfermarks.h"
#include "mailer/ui/logic/cmdgate.h"
#include "mailer/ui/logic/logtext.h"
#include "mailer/ui/logic/mainfrm_rules.h"
#include "mailer/ui/mainfrm.h"

namespace lx {

namespace {

constexpr DWORD kErrorTextSize = 256;
constexpr DWORD kStopWaitMillis = 20000;
constexpr char kDiallingKey[] = "MAINFRM_CPP_23";
constexpr char kFoundConnectionKey[] = "MAINFRM_CPP_24";
constexpr char kHungUpAfterErrorKey[] = "MAINFRM_CPP_26";
constexpr char kLocalRunKey[] = "MAINFRM_CPP_42";
constexpr char kNoDialLibraryKey[] = "MAINFRM_CPP_51";
constexpr char kNoEntryConnectionKey[] = "MAINFRM_CPP_52";
constexpr char kNoMonitorKey[] = "MAINFRM_CPP_53";
constexpr char kConnectedWindowTitle[] = "Connected to %s";
constexpr char kDialogClass[] = "#32770";

// The dial's notification routine: the monitor thread reads the states itself.
VOID WINAPI IgnoreDialNotice(UINT, DWORD, DWORD) {}

} // namespace

// The monitor thread's view of the dial-up library and the frame.
class AutoCheck::Line : public DialLine {
public:
    explicit Line(AutoCheck& check) : check_(check), ras_(check.context_.ras->Entry()) {}

    DialStatus Status() override {
        RasConnHandle held = check_.connection_;
        if (check_.stopping_ || !held || !ras_.getConnectStatus) return {};
        RasConnStatusRecord status{};
        status.dwSize = sizeof status;
        // A handle the library no longer knows is a line that is gone.
        if (ras_.getConnectStatus(held, &status) != 0) return {};
        return {status.rasconnstate, status.dwError};
    }
    void HangUp() override { check_.HangUpHeld(); }
    std::string ErrorText(unsigned error) override {
        return RasErrorText(ras_, error, kErrorTextSize);
    }
    void Wait(unsigned millis) override { ::WaitForSingleObject(check_.stopEvent_.Get(), millis); }
    void RunMail() override {
        if (!check_.stopping_) ::SendMessageA(check_.frame_, WM_LX_MAILRUN_NOW, 0, 0);
    }
    bool RunInProgress() override { return check_.runInProgress_; }
    bool MinimiseConnectedWindow(const std::string& entry) override {
        char title[300] = "";
        std::snprintf(title, sizeof title, kConnectedWindowTitle, entry.c_str());
        HWND window = ::FindWindowA(kDialogClass, title);
        if (!window) return false;
        ::ShowWindow(window, SW_MINIMIZE);
        return true;
    }

private:
    AutoCheck& check_;
    const RasEntryPoints& ras_;
};

AutoCheck::~AutoCheck() { Stop(); }

std::string AutoCheck::LogPath() const { return InstallFile(context_.installPath, kLogFileName); }

void AutoCheck::StartTimer() {
    timerRunning_ = frame_ && ::SetTimer(frame_, IDT_MAILCHECK, 1000, nullptr) != 0;
}

void AutoCheck::StopTimer() {
    if (frame_) ::KillTimer(frame_, IDT_MAILCHECK);
    timerRunning_ = false;
}

void AutoCheck::Restart(bool fromSettings) {
    StopTimer();
    const bool on = fromSettings && context_.settings
                        ? countdown_.Restart(context_.settings->checkInterval,
                                             context_.settings->checkCountdown)
                        : countdown_.Restart();
    if (context_.show) context_.show(on ? countdown_.Seconds() : kCountdownOff);
    if (on) StartTimer();
}

void AutoCheck::Tick() {
    if (!countdown_.On() || !context_.settings || !context_.catalog || !context_.log) return;
    // A tick that reaches the window while a run is under way (its dialogs pump messages) must
    // not start a second cycle inside it: the run's own end starts the countdown again.
    if (runInProgress_) {
        StopTimer();
        return;
    }
    if (!countdown_.Tick()) {
        if (context_.show) context_.show(countdown_.Seconds());
        return;
    }
    StopTimer();
    if (context_.show) context_.show(kCountdownChecking);
    CheckSituation s;
    s.gateClosed = CommandGate::Instance().CloseForCheck();
    s.localNetwork = context_.settings->localNetwork != 0;
    s.dialling = dialling_;
    s.transferOpen =
        context_.transfers && (context_.transfers->retrieving || context_.transfers->sending);
    const RasEntryPoints& ras = context_.ras ? context_.ras->Entry() : RasEntryPoints{};
    s.dialEntryPoints = ras.dial && ras.enumConnections && ras.getErrorString;
    LogWriter& log = *context_.log;
    MessageCatalog& catalog = *context_.catalog;
    switch (PlanCheck(s)) {
    case CheckStart::Busy:
        log.WriteBusyBlock(LogPath(), catalog, LocalTimeNow());
        // Only a gate this tick closed opens again: a command holding it keeps it.
        EndCycle(false);
        return;
    case CheckStart::LocalRun:
        OpenCycleLog(kLocalRunKey);
        ::SendMessageA(frame_, WM_LX_MAILRUN_NOW, 0, 0);
        EndCycle(true);
        return;
    case CheckStart::NoDialLibrary:
        // Nothing can be dialled: the cycle ends at once and says why, and the program goes on.
        OpenCycleLog(kNoDialLibraryKey);
        EndCycle(true);
        return;
    case CheckStart::DialUnderWay:
        // The monitor of that dial ends the cycle and starts the countdown again.
        return;
    case CheckStart::Dial: Dial(); return;
    }
}

// A cycle's log opens with the date stamp and what the cycle goes on with.
void AutoCheck::OpenCycleLog(const char* key) {
    context_.log->Open(LogPath());
    context_.log->WriteDateStamp(*context_.catalog, LocalTimeNow());
    context_.log->WriteMessage(*context_.catalog, key);
}

void AutoCheck::EndCycle(bool closeLog) {
    if (closeLog) context_.log->CloseRun(*context_.catalog, LocalTimeNow());
    CommandGate::Instance().Reopen();
    Restart(false);
}

void AutoCheck::Dial() {
    const RasEntryPoints& ras = context_.ras->Entry();
    dialling_ = true;
    ownConnection_ = true;
    OpenCycleLog(kDiallingKey);
    RasDialParamsRecord params{};
    params.dwSize = sizeof params;
    CopyText(params.szEntryName, context_.settings->phoneBookEntry);
    CopyText(params.szUserName, context_.settings->dialUser);
    CopyText(params.szPassword, context_.settings->dialPassword);
    CopyText(params.szCallbackNumber, "*");
    CopyText(params.szDomain, "*");
    RasConnHandle handle = nullptr;
    const DWORD result =
        ras.dial(nullptr, nullptr, &params, 0, reinterpret_cast<void*>(&IgnoreDialNotice), &handle);
    connection_ = handle;
    switch (ClassifyDial(result)) {
    case DialOutcome::Monitor: StartMonitor(); return;
    case DialOutcome::PortOpen: TakeOpenConnection(); return;
    case DialOutcome::Failed: DialFailed(result); return;
    }
}

// The port is open already: the configured entry may be connected by someone else, and that
// connection is used and left up.
void AutoCheck::TakeOpenConnection() {
    const RasEntryPoints& ras = context_.ras->Entry();
    // The refused dial's own handle is released; the found connection is not ours to end.
    HangUpHeld();
    DWORD error = 0;
    std::vector<RasConnRecord> up;
    try {
        up = RasListOf<RasConnRecord>(
            [&ras](RasConnRecord* r, DWORD* bytes, DWORD* count) {
                return ras.enumConnections(r, bytes, count);
            },
            &error);
    } catch (const std::bad_alloc&) {
        error = ERROR_NOT_ENOUGH_MEMORY;
    }
    std::vector<ActiveConnection> connections;
    for (const RasConnRecord& r : up) connections.push_back({r.hrasconn, TextOf(r.szEntryName)});
    void* found = error == 0
                      ? FindEntryConnection(connections, TextOf(context_.settings->phoneBookEntry))
                      : nullptr;
    if (!found) {
        context_.log->WriteMessage(*context_.catalog, kNoEntryConnectionKey,
                                   {TextOf(context_.settings->phoneBookEntry)});
        dialling_ = false;
        EndCycle(true);
        return;
    }
    connection_ = static_cast<RasConnHandle>(found);
    ownConnection_ = false;
    context_.log->WriteMessage(*context_.catalog, kFoundConnectionKey);
    StartMonitor();
}

void AutoCheck::DialFailed(DWORD result) {
    const RasEntryPoints& ras = context_.ras->Entry();
    MessageCatalog& catalog = *context_.catalog;
    LogWriter& log = *context_.log;
    RasConnStatusRecord status{};
    status.dwSize = sizeof status;
    if (connection_ && ras.getConnectStatus) ras.getConnectStatus(connection_, &status);
    log.WriteEntry("Connect Status : " + std::to_string(status.rasconnstate));
    LogDialError(log, catalog, RasErrorText(ras, result, kErrorTextSize), result);
    HangUpHeld();
    ::Sleep(context_.waitMillis);
    log.WriteMessage(catalog, kHungUpAfterErrorKey);
    dialling_ = false;
    EndCycle(true);
}

void AutoCheck::HangUpHeld() {
    RasConnHandle held = connection_.exchange(nullptr);
    if (held && context_.ras && context_.ras->Entry().hangUp) context_.ras->Entry().hangUp(held);
}

void AutoCheck::StartMonitor() {
    if (!stopEvent_) stopEvent_.Reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    monitor_.Reset(::CreateThread(nullptr, 0, &AutoCheck::MonitorThread, this, 0, nullptr));
    if (monitor_) return;
    // Nobody would watch the line: it is let go at once and the countdown goes on.
    context_.log->WriteMessage(*context_.catalog, kNoMonitorKey);
    if (ownConnection_) HangUpHeld();
    connection_ = nullptr;
    dialling_ = false;
    EndCycle(true);
}

DWORD WINAPI AutoCheck::MonitorThread(void* self) {
    static_cast<AutoCheck*>(self)->Monitor();
    return 0;
}

void AutoCheck::Monitor() {
    if (dialling_ && connection_) {
        Line line(*this);
        MonitorSettings s;
        s.entry = TextOf(context_.settings->phoneBookEntry);
        s.ownConnection = ownConnection_;
        // The system's "Connected to" window needs putting away on Windows 95 only.
        s.minimiseConnectedWindow = (::GetVersion() & 0x80000000u) != 0;
        s.waitMillis = context_.waitMillis;
        WatchDialConnection(line, s, *context_.log, *context_.catalog);
    }
    connection_ = nullptr;
    dialling_ = false;
    // At exit the window closes the run's log with its own notice.
    if (!stopping_) context_.log->CloseRun(*context_.catalog, LocalTimeNow());
    CommandGate::Instance().Reopen();
    ::PostMessageA(frame_, WM_LX_MAILRUN_DONE, kRestartCheckTimer, 0);
}

void AutoCheck::RunNow(const std::function<void()>& run) {
    if (stopping_ || runInProgress_) return;
    runInProgress_ = true;
    run();
    runInProgress_ = false;
    if (frame_) ::PostMessageA(frame_, WM_LX_MAILRUN_DONE, 0, 0);
}

void AutoCheck::Stop() {
    StopTimer();
    if (monitor_) {
        stopping_ = true;
        if (stopEvent_) ::SetEvent(stopEvent_.Get());
        // The monitor may be sending to this thread: sent messages are taken while waiting.
        const DWORD until = ::GetTickCount() + kStopWaitMillis;
        HANDLE thread = monitor_.Get();
        while (::MsgWaitForMultipleObjects(1, &thread, FALSE, kStopWaitMillis, QS_SENDMESSAGE) ==
                   WAIT_OBJECT_0 + 1 &&
               static_cast<LONG>(until - ::GetTickCount()) > 0) {
            MSG msg;
            ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        }
        monitor_.Reset();
    }
    if (connection_ && ownConnection_) {
        HangUpHeld();
        // The line needs a moment to drop before the program goes.
        ::Sleep(context_.waitMillis);
    }
}

} // namespace lx
