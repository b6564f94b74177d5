#include "netlib/core/sessionbase.h"

#include "netlib/core/codes.h"
#include "netlib/core/errortext.h"

#include <cstring>

namespace lx::net {

void SessionBase::onEvent(int code, std::intptr_t) {
    if (runOver_) {
        if (code == TERN_STREAM_CLOSE) post(codes_.peerClosed);
        return;
    }
    switch (code) {
    case TERN_STREAM_DATA: onData(); break;
    case TERN_STREAM_SENT: onSent(); break;
    case TERN_STREAM_SENDFAIL: quitAfter(codes_.sendFail); break;
    case TERN_STREAM_RECVFAIL: quitAfter(codes_.recvFail); break;
    case TERN_STREAM_CONNECT:
        post(codes_.connected, 0, codes_.connectedTransient);
        onConnected();
        break;
    case TERN_STREAM_SECURED:
        if (tlsState_ < 0 || state_ != tlsState_) break; // nobody asked for it
        secured_ = true;
        post(codes_.secured, 0, true);
        onSecured();
        break;
    case TERN_STREAM_INSECURE: failTls(port_.tlsFailure()); break;
    case TERN_STREAM_CLOSE:
        // Nothing more can arrive: the run ends now (a spool keeps what is complete) rather than
        // leaving the host to wait for a time-out.
        post(codes_.peerClosed);
        endRun();
        break;
    case TERN_SOCKET_ERROR:
        // A refused or failed connection ends the run with the platform's reason.
        reply_.setText(errorText(port_.socketError()).c_str());
        postText(codes_.refused, reply_.text());
        endRun();
        break;
    default: break;
    }
}

void SessionBase::quitAfter(int code, const char* text) {
    report(code, text);
    // Already saying goodbye: a second QUIT over a failing socket would only repeat the failure.
    if (state_ == codes_.quitState || state_ == codes_.quitState + 1 || !send(codes_.quit)) {
        endRun();
        return;
    }
    state_ = codes_.quitState;
}

bool SessionBase::sendCommand(const std::string& command, int nextState) {
    if (!send(command)) {
        quitAfter(codes_.sendFail);
        return false;
    }
    state_ = nextState;
    return true;
}

int SessionBase::readChunk(char* buf, std::size_t capacity) {
    const int n = port_.read(buf, capacity);
    if (n < 0) post(codes_.noBuffer);
    return n;
}

int SessionBase::connectTo(const std::string& server, int port, const char* service) {
    secured_ = false;
    if (!port_.createSocket()) return failStart(codes_.noSocket);
    if (!(service && port_.connectToService(server, service)) &&
        !port_.connectToPort(server, port)) {
        port_.closeSocket();
        return failStart(codes_.noConnect);
    }
    return 0;
}

void SessionBase::beginTls(const std::string& serverName, int tlsState) {
    reply_.clear();
    state_ = tlsState;
    tlsState_ = tlsState;
    if (!port_.startTls(serverName)) failTls(port_.tlsFailure());
}

void SessionBase::failTls(const std::string& reason) { dropAfter(codes_.insecure, reason.c_str()); }

std::string SessionBase::withReply(const char* why, const char* reply) {
    std::string text = why;
    std::size_t n = reply ? std::strlen(reply) : 0;
    while (n > 0 && (reply[n - 1] == '\r' || reply[n - 1] == '\n')) --n;
    text.append(reply ? reply : "", n);
    return text;
}

void SessionBase::quitAnswered(bool ok, const char* text) {
    if (!ok) {
        postText(codes_.refused, text);
        send(codes_.quit);
    }
    endRun();
}

int SessionBase::failStart(int code) {
    post(code);
    endRun();
    return -2;
}

void SessionBase::endRun() {
    if (runOver_) return;
    runOver_ = true;
    onRunEnd();
    if (codes_.ok != 0 && status_ == 0) post(codes_.ok);
    post(codes_.done);
}

} // namespace lx::net
