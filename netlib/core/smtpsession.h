// The SMTP sender: delivers every message of an outgoing spool file, driven by socket events.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "netlib/core/replybuffer.h"
#include "netlib/core/sasl.h"
#include "netlib/core/sessionbase.h"
#include "netlib/core/spoolmessage.h"
#include "netlib/core/spoolreader.h"

namespace lx::net {

class SmtpSession : public SessionBase {
public:
    // Data lines may be written ahead of their completions up to this many bytes, one line per
    // write; the socket then carries a whole ordinary message in one send.
    static constexpr std::int64_t kDataWindow = 65536;

    // The protocol states, by number. A "Sent" state waits for its command's send completion, the
    // "Await" state after it for the server's reply.
    enum State : int {
        AwaitGreeting = 0,
        HeloSent = 1,
        AwaitHelo = 2,
        MailSent = 3,
        AwaitMail = 4,
        RcptSent = 5,
        AwaitRcpt = 6,
        DataSent = 7,
        AwaitData = 8,
        SendingData = 9,
        AwaitEndOfData = 10,
        RsetSent = 11,
        AwaitRset = 12,
        QuitSent = 13,
        AwaitQuit = 14,
        TlsHandshake = 15, // the TLS layer is securing the connection
        EhloSent = 16,
        AwaitEhlo = 17,
        StartTlsSent = 18,
        AwaitStartTls = 19,
        AuthSent = 20, // the AUTH command or an answer to the server's challenge
        AwaitAuth = 21,
    };

    SmtpSession(SessionPort& port, const char* spoolPath);

    // Starts a run; 0 when the connection is being made, -2 when a start check failed.
    int sendMail(const char* server);
    // The login for the next run (RFC 4954); an empty user name: none.
    void setLogin(const char* user, const char* password);
    int messageCount() const { return count_; }
    int index() const { return index_; }

private:
    void onData() override;
    void onSent() override;
    void quitAfter(int code, const char* text = nullptr) override;
    void onConnected() override;
    void onSecured() override;
    void onReply();
    // The server's extensions are known: secure the connection, log in, or begin sending.
    void afterEhlo();
    void onAuthReply();
    void startNextMessage();
    void afterMessage();
    // The server refused part of the current message: it is reported failed and the
    // transaction reset, and the run goes on with the next message.
    void messageRefused(const char* reply);
    void sendRecipient();
    void startData();
    bool sendDataLine();
    void fillWindow();
    void dataLineSent();

    std::unique_ptr<SpoolFile> spool_;
    SpoolReader reader_;
    std::string authUser_;
    std::string authPassword_;
    SaslClient sasl_;
    std::string server_;
    std::string spoolPath_;
    std::string sender_; // the first-sender line, for HELO
    SpoolMessage message_;
    std::size_t recipient_ = 0; // the next recipient line of message_ to send
    std::string progress_;
    int count_ = -1;
    int index_ = 1;
    std::int64_t dataLeft_ = 0; // data bytes of message_ not yet read from the spool file
    std::int64_t dataSent_ = 0;
    // Data lines written but not yet reported sent (their lengths), and their byte total.
    std::deque<std::int64_t> inFlight_;
    std::int64_t inFlightBytes_ = 0;
    char chunk_[ReplyBuffer::kCapacity];
};

} // namespace lx::net
