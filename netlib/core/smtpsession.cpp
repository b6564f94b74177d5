#include "netlib/core/smtpsession.h"

#include <cstdlib>
#include <cstring>

#include "netlib/core/codes.h"
#include "netlib/core/fields.h"
#include "netlib/core/sasl.h"

namespace lx::net {
namespace {

constexpr std::size_t kHeloMax = 30;
const SessionCodes kCodes = {
    TERN_SMTP_SENDFAIL,   TERN_SMTP_RECVFAIL,    TERN_SMTP_CONNECTED, true,
    TERN_SMTP_PEERCLOSED, TERN_SMTP_REFUSED,     TERN_SMTP_OK,        TERN_SMTP_DONE,
    "QUIT \r\n",          SmtpSession::QuitSent, TERN_SMTP_NOBUFFER,  TERN_SMTP_NOSOCKET,
    TERN_SMTP_NOCONNECT,  TERN_SMTP_SECURED,     TERN_SMTP_INSECURE};
const char kNoStartTls[] =
    "The server does not offer STARTTLS, and this mailbox sends only over a secured connection. "
    "The server said: ";
const char kStartTlsRefused[] = "The server refused to secure the connection (STARTTLS): ";
const char kNoSecretLogin[] =
    "The server offers no login that keeps the password secret over a connection in clear "
    "text; choose a secured connection for this mailbox. The server said: ";
const char kNoKnownLogin[] =
    "The server offers no way to log in that this program knows (PLAIN, LOGIN, CRAM-MD5). The "
    "server said: ";
const char kLoginRefused[] = "The server refused the login: ";

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

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

// A state that waits for its command's send completion.
bool awaitsCompletion(int state) {
    switch (state) {
    case SmtpSession::HeloSent:
    case SmtpSession::MailSent:
    case SmtpSession::RcptSent:
    case SmtpSession::DataSent:
    case SmtpSession::RsetSent:
    case SmtpSession::QuitSent:
    case SmtpSession::EhloSent:
    case SmtpSession::StartTlsSent:
    case SmtpSession::AuthSent: return true;
    default: return false;
    }
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
    const int started = connectTo(server_, serverPort(MailProtocol::Smtp));
    if (started == 0) {
        index_ = 1;
        // With TLS from the first byte, the greeting comes only once the connection is secured.
        if (mode_ == SecurityMode::Implicit) state_ = TlsHandshake;
    }
    return started;
}

void SmtpSession::setLogin(const char* user, const char* password) {
    assignBounded(authUser_, user, kLoginFieldSize);
    assignBounded(authPassword_, password, kLoginFieldSize);
}

void SmtpSession::onConnected() {
    if (mode_ == SecurityMode::Implicit && state_ == TlsHandshake) beginTls(server_, TlsHandshake);
}

void SmtpSession::onSecured() {
    if (mode_ == SecurityMode::Implicit) {
        state_ = AwaitGreeting;
        return;
    }
    // What the server offered in clear no longer counts: it is asked again (RFC 3207).
    sendCommand("EHLO " + heloName(sender_) + kCrLf, EhloSent);
}

void SmtpSession::afterEhlo() {
    const EhloOffer offer = parseEhlo(reply_.text());
    if (mode_ == SecurityMode::Upgrade && !secured_) {
        if (!offer.startTls) return refuseInsecure(kNoStartTls, reply_.text());
        sendCommand(std::string("STARTTLS") + kCrLf, StartTlsSent);
        return;
    }
    if (authUser_.empty()) return startNextMessage();
    const SaslMechanism mechanism = chooseMechanism(offer.auth, secured_);
    if (mechanism == SaslMechanism::None) {
        const bool moreIfSecured = !secured_ && chooseMechanism(offer.auth, true) != mechanism;
        return quitAfter(
            TERN_SMTP_AUTHFAIL,
            withReply(moreIfSecured ? kNoSecretLogin : kNoKnownLogin, reply_.text()).c_str());
    }
    sasl_ = SaslClient(mechanism, authUser_, authPassword_);
    sendCommand(sasl_.command() + kCrLf, AuthSent);
}

void SmtpSession::onAuthReply() {
    const char* text = reply_.text();
    if (text[0] == '2') return startNextMessage();
    std::string response;
    if (std::strncmp(text, "334", 3) == 0) {
        // The challenge: the text after "334 ", up to the line end.
        std::string challenge(text + (text[3] == ' ' ? 4 : 3));
        challenge.erase(challenge.find_last_not_of("\r\n") + 1);
        if (sasl_.answer(challenge, response)) {
            sendCommand(response + kCrLf, AuthSent);
            return;
        }
        // The server waits for an answer, and would read a QUIT as one: the connection goes.
        return dropAfter(TERN_SMTP_AUTHFAIL, withReply(kLoginRefused, text).c_str());
    }
    quitAfter(TERN_SMTP_AUTHFAIL, withReply(kLoginRefused, text).c_str());
}

void SmtpSession::quitAfter(int code, const char* text) {
    if (state_ == SendingData) {
        // In the middle of the data a QUIT would only be taken for more data and never answered:
        // the connection is dropped instead, and the server discards the unfinished message.
        report(code, text);
        post(TERN_SMTP_MSGFAILED, index_);
        port_.closeSocket();
        endRun();
        return;
    }
    SessionBase::quitAfter(code, text);
}

void SmtpSession::onData() {
    const int n = readChunk(chunk_, sizeof chunk_);
    if (n < 0) return;
    if (!reply_.add(chunk_, static_cast<std::size_t>(n))) return;
    onReply();
}

void SmtpSession::onSent() {
    if (awaitsCompletion(state_)) {
        ++state_;
    } else if ((state_ == SendingData || state_ == AwaitEndOfData) && !inFlight_.empty()) {
        dataLineSent();
    }
}

void SmtpSession::dataLineSent() {
    dataSent_ += inFlight_.front();
    inFlightBytes_ -= inFlight_.front();
    inFlight_.pop_front();
    if (dataSent_ > message_.dataTotal) dataSent_ = message_.dataTotal;
    // When further completions are already waiting, the last of them reports the progress.
    if (inFlight_.empty() || !port_.hasPendingEvents()) {
        progress_ = percentText(dataSent_, message_.dataTotal);
        postProgress(TERN_SMTP_PROGRESS, progress_);
    }
    if (state_ == SendingData) fillWindow();
}

void SmtpSession::fillWindow() {
    while (state_ == SendingData && inFlightBytes_ < kDataWindow) {
        if (dataLeft_ == 0) {
            // The data count has been read out: the message ends here, whatever its lines say.
            reader_.seek(message_.endAt);
            sendCommand(std::string(".") + kCrLf, AwaitEndOfData);
            return;
        }
        if (!sendDataLine()) return;
    }
}

void SmtpSession::onReply() {
    // A reply can only follow a command that has gone out, even if its completion is still queued.
    if (awaitsCompletion(state_)) ++state_;
    const char cls = reply_.text()[0];
    switch (state_) {
    case AwaitGreeting:
        if (cls != '2') return refuse(reply_.text());
        // A session that secures its connection or logs in needs the server's extensions.
        if (mode_ != SecurityMode::None || !authUser_.empty())
            sendCommand("EHLO " + heloName(sender_) + kCrLf, EhloSent);
        else
            sendCommand("HELO " + heloName(sender_) + kCrLf, HeloSent);
        break;
    case AwaitEhlo:
        if (cls != '2') return refuse(reply_.text());
        afterEhlo();
        break;
    case AwaitStartTls:
        if (cls != '2') return refuseInsecure(kStartTlsRefused, reply_.text());
        beginTls(server_, TlsHandshake);
        break;
    case AwaitAuth: onAuthReply(); break;
    case AwaitHelo:
        if (cls != '2') return refuse(reply_.text());
        startNextMessage();
        break;
    case AwaitMail:
        if (cls != '2') return messageRefused(reply_.text());
        sendRecipient();
        break;
    case AwaitRcpt:
        if (cls != '2') return messageRefused(reply_.text());
        if (recipient_ < message_.recipientLines.size())
            sendRecipient();
        else
            sendCommand(std::string("DATA ") + kCrLf, DataSent);
        break;
    case AwaitData:
        if (cls != '3') return messageRefused(reply_.text());
        startData();
        break;
    case AwaitEndOfData:
        if (cls != '2') return messageRefused(reply_.text());
        post(TERN_SMTP_SENT, index_, true);
        afterMessage();
        break;
    case AwaitRset:
        if (cls != '2') return refuse(reply_.text());
        afterMessage();
        break;
    case AwaitQuit:
        // QUIT refused: it is said once more and the run ends; the server decides the rest.
        quitAnswered(cls == '2', reply_.text());
        break;
    default: break;
    }
}

void SmtpSession::messageRefused(const char* reply) {
    postText(TERN_SMTP_REFUSED, reply);
    post(TERN_SMTP_MSGFAILED, index_);
    reader_.seek(message_.endAt);
    sendCommand(std::string("RSET ") + kCrLf, RsetSent);
}

void SmtpSession::afterMessage() {
    ++index_;
    startNextMessage();
}

void SmtpSession::startNextMessage() {
    // A message that does not hold together, or has no recipient, is reported failed before
    // anything of it goes out; the run goes on with the next one.
    for (; index_ <= count_; ++index_) {
        const SectionRead r = readSection(reader_, message_);
        if (r == SectionRead::NoMore) return quitAfter(TERN_SMTP_BADSPOOL);
        if (r == SectionRead::Whole && !message_.recipientLines.empty()) {
            recipient_ = 0;
            sendCommand("MAIL " + message_.senderLine + kCrLf, MailSent);
            return;
        }
        post(TERN_SMTP_BADSPOOL);
        post(TERN_SMTP_MSGFAILED, index_);
    }
    sendCommand(std::string("QUIT ") + kCrLf, QuitSent);
}

void SmtpSession::sendRecipient() {
    sendCommand("RCPT " + message_.recipientLines[recipient_++] + kCrLf, RcptSent);
}

void SmtpSession::startData() {
    if (!reader_.seek(message_.dataAt)) return quitAfter(TERN_SMTP_BADSPOOL);
    dataLeft_ = message_.dataTotal;
    dataSent_ = 0;
    inFlight_.clear();
    inFlightBytes_ = 0;
    state_ = SendingData;
    fillWindow();
}

bool SmtpSession::sendDataLine() {
    std::string line;
    if (reader_.readData(line, dataLeft_) != SpoolReader::Read::Line) {
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
