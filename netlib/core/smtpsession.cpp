#include "netlib/core/smtpsession.h"

#include <cstdlib>

#include "netlib/core/codes.h"
#include "netlib/core/fields.h"

namespace lx::net {
namespace {

constexpr std::size_t kServerSize = 48;
constexpr std::size_t kPathSize = 256;
constexpr std::size_t kHeloMax = 30;
const char kCrLf[] = "\r\n";
const SessionCodes kCodes = {
    TERN_SMTP_SENDFAIL, TERN_SMTP_RECVFAIL, TERN_SMTP_CONNECTED, true,        TERN_SMTP_PEERCLOSED,
    TERN_SMTP_REFUSED,  TERN_SMTP_OK,       TERN_SMTP_DONE,      "QUIT \r\n", 13};

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

bool isSenderLine(const std::string& s) { return s.size() >= 5 && s[0] == 'F' && s[4] == ':'; }

// The sender's local part for HELO: after "FROM:<" up to the "@" (or the closing ">").
std::string heloName(const std::string& sender) {
    std::size_t i = startsWith(sender, "FROM:<") ? 6 : 5;
    std::string name;
    for (; i < sender.size() && name.size() < kHeloMax; ++i) {
        if (sender[i] == '@' || sender[i] == '>') break;
        name.push_back(sender[i]);
    }
    return name;
}

} // namespace

SmtpSession::SmtpSession(SessionPort& port, const char* spoolPath)
    : SessionBase(port, kCodes, ReplyRule::Smtp) {
    assignBounded(spoolPath_, spoolPath, kPathSize);
}

int SmtpSession::sendMail(const char* server) {
    assignBounded(server_, server, kServerSize);
    if (!port_.hasWindow()) return failStart(TERN_SMTP_NOWINDOW);
    if (server_.empty()) return failStart(TERN_SMTP_NOSERVER);
    spool_ = spoolPath_.empty() ? nullptr : port_.openFile(spoolPath_);
    if (!spool_) return failStart(TERN_SMTP_NOSPOOL);
    reader_.attach(spool_.get());
    std::string line;
    count_ = -1;
    if (reader_.next(line) && line.size() >= 9 && line[0] == 'L' && line[8] == ':')
        count_ = static_cast<int>(std::strtol(line.c_str() + 9, nullptr, 10));
    if (count_ < 1) {
        reader_.attach(nullptr);
        spool_.reset();
        return failStart(TERN_SMTP_NOCOUNT);
    }
    if (!reader_.next(line) || !isSenderLine(line)) {
        reader_.attach(nullptr);
        spool_.reset();
        return failStart(TERN_SMTP_NOFROM);
    }
    sender_ = line;
    if (!port_.createSocket()) return failStart(TERN_SMTP_NOSOCKET);
    if (!port_.connectToPort(server_, kPort)) {
        port_.closeSocket();
        return failStart(TERN_SMTP_NOCONNECT);
    }
    index_ = 1;
    return 0;
}

void SmtpSession::quitAfter(int code, const char* text) {
    if (state_ == 9) {
        // In the middle of the data a QUIT would only be taken for more data and never answered:
        // the connection is dropped instead, and the server discards the unfinished message.
        if (text)
            postText(code, text);
        else
            post(code);
        port_.closeSocket();
        endRun();
        return;
    }
    SessionBase::quitAfter(code, text);
}

void SmtpSession::onData() {
    const int n = port_.read(chunk_, sizeof chunk_);
    if (n < 0) {
        post(TERN_SMTP_NOBUFFER);
        return;
    }
    if (!reply_.add(chunk_, static_cast<std::size_t>(n))) return;
    onReply();
}

void SmtpSession::onSent() {
    switch (state_) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 11:
    case 13: ++state_; break;
    case 9:
    case 10:
        if (!inFlight_.empty()) dataLineSent();
        break;
    default: break;
    }
}

void SmtpSession::dataLineSent() {
    dataSent_ += inFlight_.front();
    inFlightBytes_ -= inFlight_.front();
    inFlight_.pop_front();
    if (dataSent_ > dataTotal_) dataSent_ = dataTotal_;
    // When further completions are already waiting, the last of them reports the progress.
    if (inFlight_.empty() || !port_.hasPendingEvents()) {
        progress_ = percentText(dataSent_, dataTotal_);
        postProgress(TERN_SMTP_PROGRESS, progress_);
    }
    if (state_ == 9) fillWindow();
}

void SmtpSession::fillWindow() {
    std::string line;
    while (state_ == 9 && inFlightBytes_ < kDataWindow) {
        if (reader_.peek(line) && line == "END DATA") {
            sendCommand(std::string(".") + kCrLf, 10);
            return;
        }
        if (!sendDataLine()) return;
    }
}

void SmtpSession::onReply() {
    // A reply can only follow a command that has gone out, even if its completion is still queued.
    if (state_ == 1 || state_ == 3 || state_ == 5 || state_ == 7 || state_ == 11 || state_ == 13)
        ++state_;
    const char cls = reply_.text()[0];
    switch (state_) {
    case 0:
        if (cls != '2') return refuse(reply_.text());
        sendCommand("HELO " + heloName(sender_) + kCrLf, 1);
        break;
    case 2:
        if (cls != '2') return refuse(reply_.text());
        startNextMessage();
        break;
    case 4:
        if (cls != '2') return refuse(reply_.text());
        sendRecipient();
        break;
    case 6: {
        if (cls != '2') {
            postText(TERN_SMTP_REFUSED, reply_.text());
            post(TERN_SMTP_MSGFAILED, index_);
            sendCommand(std::string("RSET ") + kCrLf, 11);
            break;
        }
        std::string line;
        if (reader_.peek(line) && startsWith(line, "TO:<"))
            sendRecipient();
        else
            sendCommand(std::string("DATA ") + kCrLf, 7);
        break;
    }
    case 8: {
        if (cls != '3') return refuse(reply_.text());
        std::string line;
        bool found = false;
        while (readLine(line)) {
            if (line.size() == 23 && line[0] == 'B' && line[9] == 'A') {
                found = true;
                break;
            }
        }
        if (!found) return quitAfter(TERN_SMTP_BADSPOOL);
        dataTotal_ = std::strtoll(line.c_str() + 11, nullptr, 10);
        dataSent_ = 0;
        inFlight_.clear();
        inFlightBytes_ = 0;
        state_ = 9;
        fillWindow();
        break;
    }
    case 10:
        if (cls != '2') return refuse(reply_.text());
        post(TERN_SMTP_SENT, index_, true);
        afterMessage();
        break;
    case 12:
        if (cls != '2') return refuse(reply_.text());
        afterMessage();
        break;
    case 14:
        // QUIT refused: it is said once more and the run ends; the server decides the rest.
        quitAnswered(cls == '2', reply_.text());
        break;
    default: break;
    }
}

void SmtpSession::afterMessage() {
    ++index_;
    if (index_ > count_) {
        sendCommand(std::string("QUIT ") + kCrLf, 13);
        return;
    }
    startNextMessage();
}

void SmtpSession::startNextMessage() {
    std::string line;
    bool found = false;
    while (readLine(line)) {
        if (line == "BEGIN MESSAGE HEADER") {
            found = true;
            break;
        }
    }
    if (!found || !readLine(line) || !isSenderLine(line)) return quitAfter(TERN_SMTP_BADSPOOL);
    sender_ = line;
    sendCommand("MAIL " + sender_ + kCrLf, 3);
}

void SmtpSession::sendRecipient() {
    std::string line;
    if (!readLine(line) || !startsWith(line, "TO:<")) return quitAfter(TERN_SMTP_SENDFAIL);
    sendCommand("RCPT " + line + kCrLf, 5);
}

bool SmtpSession::sendDataLine() {
    std::string line;
    if (!readLine(line)) {
        quitAfter(TERN_SMTP_BADSPOOL);
        return false;
    }
    std::string out;
    out.reserve(line.size() + 3);
    // A leading full stop is doubled so the server does not take the line for the end of data.
    if (!line.empty() && line[0] == '.') out.push_back('.');
    for (char c : line) out.push_back(static_cast<char>(c & 0x7f));
    out += kCrLf;
    if (!send(out)) {
        quitAfter(TERN_SMTP_SENDFAIL);
        return false;
    }
    const std::int64_t counted = static_cast<std::int64_t>(line.size()) + 2;
    inFlight_.push_back(counted);
    inFlightBytes_ += counted;
    return true;
}

} // namespace lx::net
