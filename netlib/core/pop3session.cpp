#include "netlib/core/pop3session.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "netlib/core/fields.h"
#include "netlib/core/md5.h"

namespace lx::net {
namespace {

const SessionCodes kCodes = {TERN_POP3_SENDFAIL,   TERN_POP3_RECVFAIL,
                             TERN_POP3_CONNECTED,  true,
                             TERN_POP3_PEERCLOSED, TERN_POP3_REFUSED,
                             TERN_POP3_OK,         TERN_POP3_DONE,
                             "QUIT\r\n",           static_cast<int>(Pop3State::SendingQuit),
                             TERN_POP3_NOBUFFER,   TERN_POP3_NOSOCKET,
                             TERN_POP3_NOCONNECT,  TERN_POP3_SECURED,
                             TERN_POP3_INSECURE};
const char kNoStls[] =
    "The server does not offer STLS, and this mailbox reads mail only over a secured connection. "
    "The server said: ";
const char kNoTimeStamp[] = "APOP refused: the server's greeting carries no time stamp";

bool positive(const char* p, std::size_t n) {
    return n >= 3 && p[0] == '+' && (p[1] == 'O' || p[1] == 'o') && (p[2] == 'K' || p[2] == 'k');
}

// STAT count: after "+OK" skip to the first blank, take the text up to the next blank.
int statCount(const char* reply) {
    const char* first = std::strchr(reply, ' ');
    if (!first) return 0;
    const char* second = std::strchr(first + 1, ' ');
    if (!second) return 0;
    return static_cast<int>(std::strtol(std::string(first + 1, second).c_str(), nullptr, 10));
}

// The size announced on the RETR status line: its last run of digits ("+OK 20480 octets").
std::int64_t retrSize(const char* p, std::size_t n) {
    std::size_t end = 0;
    while (end < n && p[end] != '\n') ++end;
    std::size_t i = end;
    while (i > 0 && !(p[i - 1] >= '0' && p[i - 1] <= '9')) --i;
    std::size_t j = i;
    while (j > 0 && p[j - 1] >= '0' && p[j - 1] <= '9') --j;
    if (i == j || i - j > 15) return 0;
    return std::strtoll(std::string(p + j, p + i).c_str(), nullptr, 10);
}

std::string withNumber(const char* verb, int n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s %d\r\n", verb, n);
    return buf;
}

} // namespace

Pop3Session::Pop3Session(SessionPort& port, const char* spoolPath)
    : SessionBase(port, kCodes, ReplyRule::SingleLine) {
    assignBounded(spoolPath_, spoolPath, kPathSize);
    chunk_[0] = '\0';
}

int Pop3Session::start(const char* server, const char* user, const char* password, bool deleteAfter,
                       bool apop, bool checkOnly, bool commitByHost) {
    deleteAfter_ = checkOnly ? false : deleteAfter;
    commitByHost_ = deleteAfter_ && commitByHost;
    marked_ = false;
    deletionsAllowed_ = false;
    apop_ = apop;
    checkOnly_ = checkOnly;
    assignBounded(server_, server, kServerSize);
    assignBounded(user_, user, kUserSize);
    assignBounded(password_, password, kPasswordSize);
    if (!port_.hasWindow()) return failStart(TERN_POP3_NOWINDOW);
    if (server_.empty()) return failStart(TERN_POP3_NOSERVER);
    if (user_.empty()) return failStart(TERN_POP3_NOUSER);
    if (password_.empty()) return failStart(TERN_POP3_NOPASSWORD);
    if (!checkOnly_) {
        spool_ = spoolPath_.empty() ? nullptr : port_.createFile(spoolPath_);
        if (!spool_) return failStart(TERN_POP3_NOSPOOL);
    }
    greeting_.clear();
    const int started = connectTo(server_, serverPort(MailProtocol::Pop3));
    // With TLS from the first byte, the greeting comes only once the connection is secured.
    if (started == 0 && mode_ == SecurityMode::Implicit)
        state_ = static_cast<int>(Pop3State::TlsHandshake);
    return started;
}

void Pop3Session::onConnected() {
    if (mode_ == SecurityMode::Implicit && pop3State() == Pop3State::TlsHandshake)
        beginTls(server_, Pop3State::TlsHandshake);
}

void Pop3Session::onSecured() {
    if (mode_ == SecurityMode::Implicit) {
        state_ = static_cast<int>(Pop3State::Greeting);
        return;
    }
    // After STLS the server sends no new greeting: the login goes on from the first one.
    sendLogin();
}

bool Pop3Session::writeSpool(const char* data, std::size_t len) {
    if (spool_ && spool_->write(data, len)) return true;
    quitAfter(TERN_POP3_WRITEFAIL);
    return false;
}

void Pop3Session::onSent() {
    switch (pop3State()) {
    case Pop3State::SendingUser:
    case Pop3State::SendingPass:
    case Pop3State::SendingApop:
    case Pop3State::SendingRset:
    case Pop3State::SendingUidl:
    case Pop3State::SendingStat:
    case Pop3State::SendingRetr:
    case Pop3State::SendingDele:
    case Pop3State::SendingKeep:
    case Pop3State::SendingStls:
    case Pop3State::SendingQuit: ++state_; break; // on to the state awaiting the reply
    default: break;
    }
}

void Pop3Session::onData() {
    const int n = readChunk(chunk_, ReplyBuffer::kCapacity);
    if (n < 0) return;
    chunk_[n] = '\0';
    // A reply can only follow a command that has gone out, even if its completion is still queued.
    onSent();
    if (pop3State() == Pop3State::AwaitRetr || pop3State() == Pop3State::RetrBody) {
        onRetrChunk(chunk_, static_cast<std::size_t>(n));
        return;
    }
    if (reply_.add(chunk_, static_cast<std::size_t>(n))) onReply();
}

void Pop3Session::sendLogin() {
    if (!apop_) {
        sendCommand("USER " + user_ + kCrLf, Pop3State::SendingUser);
        return;
    }
    const char* text = greeting_.c_str();
    const char* open = std::strchr(text, '<');
    const char* close = open ? std::strchr(open, '>') : nullptr;
    // Without a time stamp there is nothing to prove the password against: refuse to log in.
    if (!close || static_cast<std::size_t>(close - open + 1) >= kPathSize) {
        reply_.setText(kNoTimeStamp);
        refuse(reply_.text());
        return;
    }
    spoolPath_.assign(open, close + 1);
    sendCommand("APOP " + user_ + " " + md5Hex(spoolPath_ + password_) + kCrLf,
                Pop3State::SendingApop);
}

void Pop3Session::onReply() {
    const char* text = reply_.text();
    const bool ok = positive(text, reply_.size());
    switch (pop3State()) {
    case Pop3State::Greeting:
        if (!ok) return refuse(text);
        greeting_ = text;
        if (mode_ == SecurityMode::Upgrade && !secured_)
            sendCommand(std::string("STLS") + kCrLf, Pop3State::SendingStls);
        else
            sendLogin();
        break;
    case Pop3State::AwaitStls:
        if (!ok) return refuseInsecure(kNoStls, text);
        beginTls(server_, Pop3State::TlsHandshake);
        break;
    case Pop3State::AwaitUser:
        if (!ok) return refuse(text);
        sendCommand("PASS " + password_ + kCrLf, Pop3State::SendingPass);
        break;
    case Pop3State::AwaitPass:
    case Pop3State::AwaitApop:
        if (!ok) return refuse(text);
        sendCommand(std::string("RSET") + kCrLf, Pop3State::SendingRset);
        break;
    case Pop3State::AwaitRset:
        if (!ok) return refuse(text);
        sendCommand(std::string("STAT") + kCrLf, Pop3State::SendingStat);
        break;
    case Pop3State::AwaitUidl:
        sendCommand(withNumber("RETR", current_), Pop3State::SendingRetr);
        break;
    case Pop3State::AwaitStat: {
        if (!ok) return refuse(text);
        count_ = statCount(text);
        if (checkOnly_) {
            post(TERN_POP3_COUNT, count_);
            sendCommand(std::string("QUIT") + kCrLf, Pop3State::SendingQuit);
        } else if (count_ < 1) {
            post(TERN_POP3_EMPTY);
            sendCommand(std::string("QUIT") + kCrLf, Pop3State::SendingQuit);
        } else {
            post(TERN_POP3_COUNT, count_, true);
            char line[48];
            const int n =
                std::snprintf(line, sizeof line, "Letters : %d\r\nBEGIN MESSAGE\r\n", count_);
            if (!writeSpool(line, static_cast<std::size_t>(n))) return;
            sendCommand(withNumber("UIDL", current_), Pop3State::SendingUidl);
        }
        break;
    }
    case Pop3State::AwaitDele: nextMessage(); break;
    case Pop3State::AwaitKeep:
        if (ok) {
            sendCommand(std::string("QUIT") + kCrLf, Pop3State::SendingQuit);
            break;
        }
        // QUIT now would commit the deletions: the connection is dropped instead, which the
        // server must treat as a session without deletions.
        refuse(text);
        break;
    case Pop3State::AwaitQuit:
        closeSpool();
        quitAnswered(ok, text);
        break;
    default: break;
    }
}

void Pop3Session::onRetrChunk(const char* data, std::size_t len) {
    if (pop3State() == Pop3State::AwaitRetr) {
        // The status line decides; until it is complete (or fills the buffer) its bytes are held.
        retrHead_.append(data, len);
        if (retrHead_.find('\n') == std::string::npos && retrHead_.size() < ReplyBuffer::kCapacity)
            return;
        data = retrHead_.c_str();
        len = retrHead_.size();
        if (!positive(data, len)) {
            reply_.setText(data);
            retrHead_.clear();
            return refuse(reply_.text());
        }
        size_ = retrSize(data, len);
        received_ = 0;
        tailLen_ = 0;
        state_ = static_cast<int>(Pop3State::RetrBody);
    }
    received_ += static_cast<std::int64_t>(len);
    if (received_ > size_) received_ = size_;

    // The reply ends with a line holding a single full stop; that line may be split across chunks
    // anywhere, so the last bytes of the previous chunk are looked at too.
    char window[4 + 5];
    std::memcpy(window, tail_, tailLen_);
    std::size_t w = tailLen_;
    const std::size_t fromChunk = len < 5 ? len : 5;
    std::memcpy(window + w, data + len - fromChunk, fromChunk);
    w += fromChunk;
    const bool ended = w >= 4 && std::memcmp(window + w - 4, "\n.\r\n", 4) == 0;
    // Keep the last four bytes for the next chunk.
    const std::size_t keep = w < 4 ? w : 4;
    std::memmove(tail_, window + w - keep, keep);
    tailLen_ = keep;

    // When further chunks are already waiting, the last of them reports the progress.
    if (ended || !port_.hasPendingEvents()) {
        progress_ = percentText(received_, size_);
        postProgress(TERN_POP3_PROGRESS, progress_);
    }
    const bool written = writeSpool(data, len);
    retrHead_.clear();
    if (!written || !ended) return;

    const char endLine[] = "END MESSAGE\r\n";
    if (!writeSpool(endLine, sizeof endLine - 1)) return;
    // A stored message is on disk before the host hears of it.
    if (!spool_->flush()) return quitAfter(TERN_POP3_WRITEFAIL);
    post(TERN_POP3_STORED, current_, true);
    if (deleteAfter_) {
        marked_ = true;
        sendCommand(withNumber("DELE", current_), Pop3State::SendingDele);
    } else
        nextMessage();
}

void Pop3Session::nextMessage() {
    ++current_;
    if (current_ > count_) {
        if (!commitByHost_) {
            sendCommand(std::string("QUIT") + kCrLf, Pop3State::SendingQuit);
            return;
        }
        // The server deletes only at QUIT: the host stores the spool first.
        closeSpool();
        state_ = static_cast<int>(Pop3State::AwaitHost);
        post(TERN_POP3_SPOOLED, count_, true);
        return;
    }
    const char begin[] = "BEGIN MESSAGE\r\n";
    if (!writeSpool(begin, sizeof begin - 1)) return;
    sendCommand(withNumber("UIDL", current_), Pop3State::SendingUidl);
}

// A failure while messages are marked and the host has not stored them: QUIT would commit the
// deletions, so the connection is dropped instead and the server keeps every message.
void Pop3Session::quitAfter(int code, const char* text) {
    if (!commitByHost_ || !marked_ || deletionsAllowed_) return SessionBase::quitAfter(code, text);
    dropAfter(code, text);
}

int Pop3Session::finish(bool deleteMessages) {
    if (runOver_ || pop3State() != Pop3State::AwaitHost) return -1;
    deletionsAllowed_ = deleteMessages;
    if (deleteMessages)
        sendCommand(std::string("QUIT") + kCrLf, Pop3State::SendingQuit);
    else
        sendCommand(std::string("RSET") + kCrLf, Pop3State::SendingKeep);
    return 0;
}

} // namespace lx::net
