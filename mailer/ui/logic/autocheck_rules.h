// The automatic mail check's rules that need no window: the one-second countdown, what a tick
// that reaches zero does, how a dial's result is taken, and the dial-up monitor's loop over the
// connection's states. Portable, so each rule is tested natively against scripted states.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace lx {

class LogWriter;
class MessageCatalog;

// The countdown shown in status pane 2 and the interval it starts from, in seconds.
class CheckCountdown {
public:
    // A new interval (and the countdown to show). False when the interval is below 1 second:
    // checking is off and no timer may run.
    bool Restart(int interval, int countdown);
    // Restart with the countdown kept: what the end of a cycle and the settings' OK do.
    bool Restart() { return Restart(interval_, countdown_); }
    bool On() const { return interval_ >= 1; }
    int Interval() const { return interval_; }
    int Seconds() const { return countdown_; }
    // One second: true when the countdown has reached 0, which starts it again from the
    // interval; false while it is still running.
    bool Tick();

private:
    int interval_ = 0;
    int countdown_ = 0;
};

// What a tick at zero goes on with, once the gate has been tried.
enum class CheckStart {
    Busy,          // a user command, a composer or a transfer dialog is running: busy line
    LocalRun,      // local network: run now
    Dial,          // dial the configured entry first
    NoDialLibrary, // dialling is needed but the dial-up library or an entry point is missing
    DialUnderWay,  // the monitor of an earlier dial still watches its connection
};

struct CheckSituation {
    bool gateClosed = false;      // the check closed the gate (nothing held it)
    bool localNetwork = false;    // the settings' local-network flag
    bool dialling = false;        // an automatic dial is under way
    bool transferOpen = false;    // a retrieval or a sending dialog exists
    bool dialEntryPoints = false; // RasDialA, RasEnumConnectionsA, RasGetErrorStringA found
};
CheckStart PlanCheck(const CheckSituation& s);

// Dial-up results and states the check knows by number.
constexpr unsigned kRasPortAlreadyOpen = 602;
constexpr unsigned kRasBufferTooSmall = 603;
constexpr unsigned kRasPending = 600;
constexpr unsigned kRasConnected = 0x2000;
constexpr unsigned kRasDisconnected = 0x2001;

enum class DialOutcome { Monitor, PortOpen, Failed };
DialOutcome ClassifyDial(unsigned result);

// One enumerated connection: its handle (opaque here) and its entry name.
struct ActiveConnection {
    void* handle = nullptr;
    std::string entry;
};
// The connection of the configured entry (exact name), or null when none is up.
void* FindEntryConnection(const std::vector<ActiveConnection>& connections,
                          const std::string& entry);

// The state of a watched connection as the dial-up library reports it.
struct DialStatus {
    unsigned state = kRasDisconnected;
    unsigned error = 0;
};

// What the monitor works with: the dial-up library on the held connection, the clock and the
// frame. The Windows side calls RasGetConnectStatusA, RasHangUpA, Sleep and SendMessage.
class DialLine {
public:
    virtual ~DialLine() = default;
    virtual DialStatus Status() = 0;
    virtual void HangUp() = 0;
    // The library's text for an error; empty when it has none.
    virtual std::string ErrorText(unsigned error) = 0;
    virtual void Wait(unsigned millis) = 0;
    // Runs the automatic mail run on the interface thread; returns when it has finished.
    virtual void RunMail() = 0;
    virtual bool RunInProgress() = 0;
    // Minimises the system's "Connected to" window of the entry; true once one was found.
    virtual bool MinimiseConnectedWindow(const std::string&) { return true; }
};

struct MonitorSettings {
    std::string entry;         // the configured phone-book entry
    bool ownConnection = true; // this program dialled the connection
    bool minimiseConnectedWindow = false;
    unsigned waitMillis = 3000; // between two readings of the status, and after a hang-up
    // How long a connection may take to come up; one that never does is given up rather than
    // watched for ever with the gate closed.
    unsigned connectMillis = 120000;
};

enum class MonitorEnd {
    Finished, // the run happened
    Broken,   // the connection ended (or failed) before the run was done
    NeverConnected,
};

// The dial-up monitor's loop, from its first reading to its last log line. It holds the
// connection until the loop ends and hangs up only a connection this program dialled.
MonitorEnd WatchDialConnection(DialLine& line, const MonitorSettings& settings, LogWriter& log,
                               MessageCatalog& catalog);

// A dial error's log lines: the library's text, or the numbered fallback.
void LogDialError(LogWriter& log, MessageCatalog& catalog, const std::string& text, unsigned error);

} // namespace lx
