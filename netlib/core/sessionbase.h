// What the three protocol sessions share: the host port, the recorded status, the stream events,
// the command/reply turn and the end of a run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "netlib/core/replybuffer.h"
#include "netlib/core/sessionport.h"
#include "netlib/core/textring.h"

namespace lx::net {

// The status codes and QUIT form that tell one protocol's session from another's.
struct SessionCodes {
    int sendFail;
    int recvFail;
    int connected;
    bool connectedTransient; // recorded as 0 after posting, so it does not count as an error
    int peerClosed;
    int refused;
    int ok;           // posted at the end of a run without an outstanding error; 0: none
    int done;         // posted last in every run
    const char* quit; // the whole QUIT command line
    int quitState;    // the state after QUIT went out; the next one awaits its reply
    int noBuffer;     // a reply could not be read out of the stream
    int noSocket;     // start checks: no socket, no connection
    int noConnect;
};

class SessionBase {
public:
    SessionBase(SessionPort& port, const SessionCodes& codes, ReplyRule rule)
        : port_(port), codes_(codes), reply_(rule) {}
    virtual ~SessionBase() = default;
    SessionBase(const SessionBase&) = delete;
    SessionBase& operator=(const SessionBase&) = delete;

    int status() const { return status_; }
    bool runOver() const { return runOver_; }
    int state() const { return state_; }

    // One socket event of the session's stream client (codes 15005 to 15012).
    void onEvent(int code, std::intptr_t value);

protected:
    virtual void onData() = 0;
    virtual void onSent() = 0;
    // Reports a failure and says goodbye; a session already saying goodbye ends the run at once.
    virtual void quitAfter(int code, const char* text = nullptr);
    // Release what the run holds before its end is posted.
    virtual void onRunEnd() {}

    // Posts a status and records it; a transient status is recorded as 0 right after posting, so
    // the end of the run can tell whether an error is outstanding.
    void post(int code, std::intptr_t value = 0, bool transient = false) {
        status_ = code;
        port_.post(code, value);
        if (transient) status_ = 0;
    }
    // Posts a status whose lParam is a text (a reply or an error text, or a progress figure).
    void postText(int code, const char* text, bool transient = false) {
        post(code, reinterpret_cast<std::intptr_t>(replies_.keep(text)), transient);
    }
    void postProgress(int code, const std::string& text) {
        post(code, reinterpret_cast<std::intptr_t>(figures_.keep(text.c_str())), true);
    }
    // One command, one stream write.
    bool send(const std::string& command) { return port_.write(command.data(), command.size()); }
    // Sends a command and moves to nextState; a failed write quits the session instead.
    bool sendCommand(const std::string& command, int nextState);
    template <class State>
    bool sendCommand(const std::string& command, State nextState) {
        return sendCommand(command, static_cast<int>(nextState));
    }
    // Reads what has arrived into buf: its length, or -1 (reported) when it could not be read.
    int readChunk(char* buf, std::size_t capacity);
    // The last start step: opens the socket and connects to the service by name (when given, and
    // else) to the port. 0, or -2 with the run ended.
    int connectTo(const std::string& server, int port, const char* service = nullptr);
    void refuse(const char* text) { quitAfter(codes_.refused, text); }
    // The reply to QUIT ends the run; a refusal is reported and QUIT said once more.
    void quitAnswered(bool ok, const char* text);
    // A start check failed: the run ends before it began. Returns -2, as the exports do.
    int failStart(int code);
    void endRun();

    SessionPort& port_;
    const SessionCodes codes_;
    ReplyBuffer reply_;
    TextRing<8, ReplyBuffer::kCapacity + 1> replies_;
    TextRing<64, 16> figures_;
    int status_ = 0;
    int state_ = 0;
    bool runOver_ = false;
};

} // namespace lx::net
