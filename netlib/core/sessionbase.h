// What the three protocol sessions share: the host port, the recorded status, the stream events,
// the command/reply turn and the end of a run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "netlib/core/replybuffer.h"
#include "netlib/core/security.h"
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
    int secured;  // the connection has been secured (transient)
    int insecure; // it could not be secured: the reason goes with it
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

    // One socket event of the session's stream client (codes 15005 to 15014).
    void onEvent(int code, std::intptr_t value);

    // How the next run secures its connection, and the server's port (0: the usual port for the
    // protocol and mode). Sessions that are never told keep to clear text and the old ports.
    void setSecurity(SecurityMode mode, int serverPort) {
        mode_ = mode;
        serverPort_ = serverPort;
    }
    SecurityMode securityMode() const { return mode_; }
    bool secured() const { return secured_; }

protected:
    virtual void onData() = 0;
    virtual void onSent() = 0;
    // Reports a failure and says goodbye; a session already saying goodbye ends the run at once.
    virtual void quitAfter(int code, const char* text = nullptr);
    // Release what the run holds before its end is posted.
    virtual void onRunEnd() {}
    // The socket is connected (implicit TLS begins here).
    virtual void onConnected() {}
    // The TLS layer has secured the connection.
    virtual void onSecured() {}

    // The port this run connects to.
    int serverPort(MailProtocol protocol) const {
        return serverPort_ > 0 ? serverPort_ : defaultPort(protocol, mode_);
    }
    // Hands the connection to the TLS layer; the session waits in tlsState for the outcome. What
    // the server said before is forgotten: nothing read in clear may count once secured.
    void beginTls(const std::string& serverName, int tlsState);
    template <class State>
    void beginTls(const std::string& serverName, State tlsState) {
        beginTls(serverName, static_cast<int>(tlsState));
    }
    // Securing failed: reported with its reason, and the connection dropped, since nothing more
    // may cross it in clear and the TLS layer can no longer carry a goodbye.
    void failTls(const std::string& reason);
    // The server will not secure the connection: reported with its reply; the goodbye goes out in
    // clear, as it carries nothing secret.
    void refuseInsecure(const char* why, const char* reply) {
        quitAfter(codes_.insecure, withReply(why, reply).c_str());
    }
    // A reason of the library's followed by the server's reply (without its line end).
    static std::string withReply(const char* why, const char* reply);

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
    // Posts a status with its text, when there is one.
    void report(int code, const char* text) {
        if (text)
            postText(code, text);
        else
            post(code);
    }
    // Reports a failure and ends the run without a goodbye: the connection is dropped.
    void dropAfter(int code, const char* text = nullptr) {
        report(code, text);
        port_.closeSocket();
        endRun();
    }
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
    SecurityMode mode_ = SecurityMode::None;
    int serverPort_ = 0;
    bool secured_ = false;
    int tlsState_ = -1; // the state that waits for the TLS layer's outcome
};

} // namespace lx::net
