// The SMTP logins (AUTH, RFC 4954): what the server offers in its EHLO reply, which mechanism to
// use, and the client's side of each exchange.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace lx::net {

// What an EHLO reply says the server offers.
struct EhloOffer {
    bool startTls = false;
    std::vector<std::string> auth; // mechanism names, upper case, in the server's order
};

// Reads the keyword lines of a complete EHLO reply (the first line names the server).
EhloOffer parseEhlo(const char* reply);

enum class SaslMechanism { None, Plain, Login, CramMd5 };

// The mechanism to use: PLAIN, then LOGIN, then CRAM-MD5 on a secured connection; in clear text
// only CRAM-MD5, which never sends the password. None when nothing offered qualifies.
SaslMechanism chooseMechanism(const std::vector<std::string>& offered, bool secured);

// Bounds of the login fields (a user name is often a whole address; passwords are long today).
inline constexpr std::size_t kLoginFieldSize = 256;

class SaslClient {
public:
    SaslClient() = default;
    SaslClient(SaslMechanism mechanism, std::string user, std::string password)
        : mechanism_(mechanism), user_(std::move(user)), password_(std::move(password)) {}

    // The AUTH command line without its line end (PLAIN carries its answer in it).
    std::string command() const;
    // The answer to the server's challenge (the base64 text after "334 "), without line end;
    // false when the exchange cannot go on (a challenge that does not decode, one step too many).
    bool answer(const std::string& challenge, std::string& out);

private:
    SaslMechanism mechanism_ = SaslMechanism::None;
    std::string user_;
    std::string password_;
    int step_ = 0;
};

} // namespace lx::net
