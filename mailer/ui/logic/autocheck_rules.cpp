#include "mailer/ui/logic/autocheck_rules.h"

#include <algorithm>

#include "common/catalog/msgcatalog.h"
#include "common/log/logwriter.h"

namespace lx {

namespace {
constexpr char kDialErrorKey[] = "MAINFRM_CPP_25";
constexpr char kHungUpAfterErrorKey[] = "MAINFRM_CPP_26";
constexpr char kConnectedKey[] = "MAINFRM_CPP_37";
constexpr char kBrokenKey[] = "MAINFRM_CPP_38";
constexpr char kOwnFinishedKey[] = "MAINFRM_CPP_39";
constexpr char kFoundFinishedKey[] = "MAINFRM_CPP_40";
constexpr char kNeverConnectedKey[] = "MAINFRM_CPP_50";
} // namespace

bool CheckCountdown::Restart(int interval, int countdown) {
    interval_ = interval;
    // A countdown that is not running yet starts from the whole interval.
    countdown_ = countdown >= 1 ? countdown : interval;
    return On();
}

bool CheckCountdown::Tick() {
    if (!On()) return false;
    if (--countdown_ > 0) return false;
    countdown_ = interval_;
    return true;
}

CheckStart PlanCheck(const CheckSituation& s) {
    if (s.localNetwork) return s.gateClosed ? CheckStart::LocalRun : CheckStart::Busy;
    if (s.dialling) return CheckStart::DialUnderWay;
    if (!s.gateClosed || s.transferOpen) return CheckStart::Busy;
    if (!s.dialEntryPoints) return CheckStart::NoDialLibrary;
    return CheckStart::Dial;
}

DialOutcome ClassifyDial(unsigned result) {
    if (result == 0) return DialOutcome::Monitor;
    if (result == kRasPortAlreadyOpen) return DialOutcome::PortOpen;
    return DialOutcome::Failed;
}

void* FindEntryConnection(const std::vector<ActiveConnection>& connections,
                          const std::string& entry) {
    for (const ActiveConnection& c : connections)
        if (c.handle && c.entry == entry) return c.handle;
    return nullptr;
}

void LogDialError(LogWriter& log, MessageCatalog& catalog, const std::string& text,
                  unsigned error) {
    if (!text.empty())
        log.WriteEntry(text);
    else
        log.WriteMessage(catalog, kDialErrorKey, {static_cast<int>(error)});
}

namespace {

// The monitor's view of the connection it watches.
class Watch {
public:
    Watch(DialLine& line, const MonitorSettings& settings)
        : line_(line), settings_(settings), windowFound_(!settings.minimiseConnectedWindow) {}

    // Lets go of the connection: a connection this program dialled is hung up (the line needs
    // a moment to drop); one that someone else made is left up.
    void Release() {
        if (held_ && settings_.ownConnection) {
            line_.HangUp();
            line_.Wait(settings_.waitMillis);
        }
        held_ = false;
    }
    DialStatus Read() {
        line_.Wait(settings_.waitMillis);
        return line_.Status();
    }
    bool Held() const { return held_; }
    void LookForConnectedWindow() {
        if (!windowFound_) windowFound_ = line_.MinimiseConnectedWindow(settings_.entry);
    }

private:
    DialLine& line_;
    const MonitorSettings& settings_;
    bool held_ = true;
    bool windowFound_;
};

} // namespace

MonitorEnd WatchDialConnection(DialLine& line, const MonitorSettings& settings, LogWriter& log,
                               MessageCatalog& catalog) {
    Watch watch(line, settings);
    bool triggered = false;
    bool runSent = false;
    bool done = false;
    bool neverConnected = false;
    unsigned readings = 0;
    const unsigned connectReadings =
        std::max(1u, settings.connectMillis / std::max(1u, settings.waitMillis));
    DialStatus status = watch.Read();
    while (status.state != kRasDisconnected) {
        if (status.error != 0 && status.error != kRasPending) {
            LogDialError(log, catalog, line.ErrorText(status.error), status.error);
            log.WriteMessage(catalog, kHungUpAfterErrorKey);
            watch.Release();
            break;
        }
        if (runSent && !line.RunInProgress()) {
            done = true;
            watch.Release();
            break;
        }
        if (watch.Held() && status.state == kRasConnected && !triggered) {
            triggered = true;
            log.WriteMessage(catalog, kConnectedKey, {settings.entry});
        }
        watch.LookForConnectedWindow();
        if (triggered && !runSent && !line.RunInProgress()) {
            runSent = true;
            line.RunMail();
        }
        if (!triggered && ++readings >= connectReadings) {
            neverConnected = true;
            log.WriteMessage(catalog, kNeverConnectedKey,
                             {static_cast<int>(settings.connectMillis / 1000)});
            break;
        }
        status = watch.Read();
    }
    // A run that was sent has finished even when the line dropped at its very end.
    if (!done && runSent && !line.RunInProgress()) done = true;
    if (!done) {
        watch.Release();
        log.WriteMessage(catalog, kBrokenKey);
        return neverConnected ? MonitorEnd::NeverConnected : MonitorEnd::Broken;
    }
    watch.Release();
    log.WriteMessage(catalog, settings.ownConnection ? kOwnFinishedKey : kFoundFinishedKey);
    return MonitorEnd::Finished;
}

} // namespace lx
