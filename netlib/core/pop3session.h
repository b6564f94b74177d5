// The POP3 receiver: counts the waiting messages or pulls them all into the incoming spool file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "netlib/core/codes.h"
#include "netlib/core/replybuffer.h"
#include "netlib/core/sessionbase.h"

namespace lx::net {

// The session's states. Each command has a sending state (left when the write has gone out)
// followed by the state that awaits its reply.
enum class Pop3State : int {
    Greeting = 0,
    SendingUser = 1,
    AwaitUser = 2,
    SendingPass = 3,
    AwaitPass = 4,
    SendingApop = 5,
    AwaitApop = 6,
    SendingRset = 7,
    AwaitRset = 8,
    SendingUidl = 9,
    AwaitUidl = 10,
    SendingStat = 11,
    AwaitStat = 12,
    SendingRetr = 13,
    AwaitRetr = 14, // the first chunk of the RETR reply, with its status line
    RetrBody = 15,  // further chunks of the RETR reply
    SendingDele = 16,
    AwaitDele = 17,
    SendingQuit = 18,
    AwaitQuit = 19,
    AwaitHost = 20,   // every message spooled and marked for deletion: the host decides
    SendingKeep = 21, // RSET: the host keeps the messages on the server
    AwaitKeep = 22,
    TlsHandshake = 23, // the TLS layer is securing the connection
    SendingStls = 24,
    AwaitStls = 25,
};

class Pop3Session : public SessionBase {
public:
    Pop3Session(SessionPort& port, const char* spoolPath);

    // Starts a check-only run (checkOnly) or a retrieval run; 0 or -2 as the exports return.
    // With deleteAfter and commitByHost the session waits after the last message (posting
    // TERN_POP3_SPOOLED) until finish() says whether the deletions stand.
    int start(const char* server, const char* user, const char* password, bool deleteAfter,
              bool apop, bool checkOnly, bool commitByHost = false);
    // The host's word after TERN_POP3_SPOOLED: 0, or -1 when the session is not waiting for it.
    int finish(bool deleteMessages);

    int messageCount() const { return count_; }
    int current() const { return current_; }
    Pop3State pop3State() const { return static_cast<Pop3State>(state_); }

private:
    void onData() override;
    void onSent() override;
    void onRunEnd() override { closeSpool(); }
    void onConnected() override;
    void onSecured() override;
    void quitAfter(int code, const char* text = nullptr) override;
    void onReply();
    void onRetrChunk(const char* data, std::size_t len);
    bool writeSpool(const char* data, std::size_t len);
    void nextMessage();
    void sendLogin();
    void closeSpool() { spool_.reset(); }

    std::unique_ptr<SpoolFile> spool_;
    std::string server_;
    std::string spoolPath_; // later holds the APOP time stamp
    std::string user_;
    std::string password_;
    std::string greeting_; // the server's greeting, which holds the APOP time stamp
    bool deleteAfter_ = false;
    bool commitByHost_ = false;
    bool marked_ = false;           // a DELE has gone out in this session
    bool deletionsAllowed_ = false; // the host has said the marked messages may go
    bool checkOnly_ = false;
    bool apop_ = false;
    int count_ = 0;
    int current_ = 1;
    std::int64_t size_ = 0;
    std::int64_t received_ = 0;
    std::string progress_;
    char tail_[4]; // last bytes of the RETR reply so far, to find a split terminator
    std::size_t tailLen_ = 0;
    std::string retrHead_; // start of a RETR reply whose status line is still incomplete
    char chunk_[ReplyBuffer::kCapacity + 3];
};

} // namespace lx::net
