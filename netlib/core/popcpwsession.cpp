#include "netlib/core/popcpwsession.h"

#include "netlib/core/codes.h"
#include "netlib/core/fields.h"

namespace lx::net {
namespace {

bool positive(const char* p, std::size_t n) {
    return n >= 3 && p[0] == '2' && p[1] == '0' && p[2] == '0';
}

const SessionCodes kCodes = {TERN_CPW_SENDFAIL, TERN_CPW_RECVFAIL, TERN_CPW_CONNECTED, false,
                             TERN_CPW_PEERCLOSED, TERN_CPW_REFUSED, 0, TERN_CPW_DONE, "QUIT\r\n",
                             static_cast<int>(CpwState::SendingQuit), TERN_CPW_NOBUFFER,
                             TERN_CPW_NOSOCKET, TERN_CPW_NOCONNECT,
                             // The password service is reached in clear only; never posted.
                             TERN_CPW_CONNECTED, TERN_CPW_REFUSED};

} // namespace

PopCpwSession::PopCpwSession(SessionPort& port)
    : SessionBase(port, kCodes, ReplyRule::SingleLine) {}

int PopCpwSession::changeNow(const char* server, const char* user, const char* oldPassword,
                             const char* newPassword) {
    assignBounded(server_, server, kServerSize);
    assignBounded(user_, user, kUserSize);
    assignBounded(oldPassword_, oldPassword, kPasswordSize);
    assignBounded(newPassword_, newPassword, kPasswordSize);
    if (!port_.hasWindow()) return failStart(TERN_CPW_NOWINDOW);
    if (server_.empty()) return failStart(TERN_CPW_NOSERVER);
    if (user_.empty()) return failStart(TERN_CPW_NOUSER);
    if (oldPassword_.empty()) return failStart(TERN_CPW_NOOLDPASS);
    if (newPassword_.empty()) return failStart(TERN_CPW_NONEWPASS);
    return connectTo(server_, kPort, kService);
}

void PopCpwSession::onSent() {
    switch (cpwState()) {
    case CpwState::SendingUser:
    case CpwState::SendingPass:
    case CpwState::SendingNewPass:
    case CpwState::SendingQuit: ++state_; break; // on to the state awaiting the reply
    default: break;
    }
}

void PopCpwSession::onData() {
    const int n = readChunk(chunk_, sizeof chunk_);
    if (n < 0) return;
    // A reply can only follow a command that has gone out, even if its completion is still queued.
    onSent();
    if (reply_.add(chunk_, static_cast<std::size_t>(n))) onReply();
}

void PopCpwSession::onReply() {
    const char* text = reply_.text();
    const bool ok = positive(text, reply_.size());
    switch (cpwState()) {
    case CpwState::Greeting:
        if (!ok) return refuse(text);
        sendCommand("USER " + user_ + kCrLf, CpwState::SendingUser);
        break;
    case CpwState::AwaitUser:
        if (!ok) return refuse(text);
        sendCommand("PASS " + oldPassword_ + kCrLf, CpwState::SendingPass);
        break;
    case CpwState::AwaitPass:
        if (!ok) return refuse(text);
        sendCommand("NEWPASS " + newPassword_ + kCrLf, CpwState::SendingNewPass);
        break;
    case CpwState::AwaitNewPass:
        if (!ok) return refuse(text);
        post(TERN_CPW_CHANGED);
        sendCommand(std::string("QUIT") + kCrLf, CpwState::SendingQuit);
        break;
    case CpwState::AwaitQuit: quitAnswered(ok, text); break;
    default: break;
    }
}

} // namespace lx::net
