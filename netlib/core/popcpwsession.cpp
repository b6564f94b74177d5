#include "netlib/core/popcpwsession.h"

#include "netlib/core/codes.h"
#include "netlib/core/fields.h"

namespace lx::net {
namespace {

constexpr std::size_t kServerSize = 48;
constexpr std::size_t kUserSize = 64;
constexpr std::size_t kPasswordSize = 16;
const char kCrLf[] = "\r\n";

bool positive(const char* p, std::size_t n) {
    return n >= 3 && p[0] == '2' && p[1] == '0' && p[2] == '0';
}

const SessionCodes kCodes = {TERN_CPW_SENDFAIL,
                             TERN_CPW_RECVFAIL,
                             TERN_CPW_CONNECTED,
                             false,
                             TERN_CPW_PEERCLOSED,
                             TERN_CPW_REFUSED,
                             0,
                             TERN_CPW_DONE,
                             "QUIT\r\n",
                             7};

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
    if (!port_.createSocket()) return failStart(TERN_CPW_NOSOCKET);
    if (!port_.connectToService(server_, kService) && !port_.connectToPort(server_, kPort)) {
        port_.closeSocket();
        return failStart(TERN_CPW_NOCONNECT);
    }
    return 0;
}

void PopCpwSession::onSent() {
    if (state_ == 1 || state_ == 3 || state_ == 5 || state_ == 7) ++state_;
}

void PopCpwSession::onData() {
    const int n = port_.read(chunk_, sizeof chunk_);
    if (n < 0) {
        post(TERN_CPW_NOBUFFER);
        return;
    }
    // A reply can only follow a command that has gone out, even if its completion is still queued.
    onSent();
    if (reply_.add(chunk_, static_cast<std::size_t>(n))) onReply();
}

void PopCpwSession::onReply() {
    const char* text = reply_.text();
    const bool ok = positive(text, reply_.size());
    switch (state_) {
    case 0:
        if (!ok) return refuse(text);
        sendCommand("USER " + user_ + kCrLf, 1);
        break;
    case 2:
        if (!ok) return refuse(text);
        sendCommand("PASS " + oldPassword_ + kCrLf, 3);
        break;
    case 4:
        if (!ok) return refuse(text);
        sendCommand("NEWPASS " + newPassword_ + kCrLf, 5);
        break;
    case 6:
        if (!ok) return refuse(text);
        post(TERN_CPW_CHANGED);
        sendCommand(std::string("QUIT") + kCrLf, 7);
        break;
    case 8: quitAnswered(ok, text); break;
    default: break;
    }
}

} // namespace lx::net
