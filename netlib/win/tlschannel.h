// One TLS client connection through the system's Schannel (SSPI): the handshake, the checks of
// the server's certificate, and the records of the secured connection. It moves bytes only;
// the caller carries them over its socket.
#pragma once

#define SECURITY_WIN32
#include <windows.h>
#include <security.h>
#include <sspi.h>

#include <cstddef>
#include <string>
#include <vector>

#include "netlib/core/sha256.h"

namespace lx::net {

class TlsChannel {
public:
    enum class Step { More, Done, Failed };

    // serverName is the host name the certificate must carry (and the name sent to the server);
    // with a pin, the certificate must instead be exactly the pinned one.
    TlsChannel(std::string serverName, const Sha256Digest* pin);
    ~TlsChannel();
    TlsChannel(const TlsChannel&) = delete;
    TlsChannel& operator=(const TlsChannel&) = delete;

    // Opens the handshake: out gets the first message for the server. False: failure().
    bool begin(std::string& out);
    // Bytes from the server while the handshake runs; out gets what to send back. Done means the
    // connection is secured and the certificate passed every check.
    Step handshake(const char* data, std::size_t len, std::string& out);
    // One write of the caller, as a record to send. False: failure().
    bool encrypt(const char* data, std::size_t len, std::string& out);
    // Bytes from the server once secured: plain gets what they complete, out anything the
    // channel has to answer. False: failure(). closed: the server ended the TLS session.
    bool decrypt(const char* data, std::size_t len, std::string& plain, std::string& out,
                 bool& closed);
    // The largest write encrypt() takes in one record.
    std::size_t maxWrite() const { return maxMessage_; }
    const std::string& failure() const { return failure_; }

private:
    Step drive(std::string& out);
    bool verifyServer();
    bool fail(SECURITY_STATUS status);
    bool fail(const std::string& text);

    std::string server_;
    std::wstring serverWide_;
    bool pinned_ = false;
    Sha256Digest pin_{};
    CredHandle cred_{};
    CtxtHandle ctx_{};
    bool haveCred_ = false;
    bool haveCtx_ = false;
    std::size_t header_ = 0, trailer_ = 0, maxMessage_ = 0;
    std::vector<char> in_; // received bytes not yet consumed
    std::string failure_;
};

} // namespace lx::net
