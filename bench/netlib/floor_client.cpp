// The platform's floor for the network benchmark: the same command sequence as TERN32 over plain
// blocking Winsock calls, with no windows, no messages and no host notifications. Run under the
// same Wine as TERN32, it tells what any Win32 client pays for its sockets on this machine, and
// secured, what it pays for the system's TLS provider (the library's own Schannel channel, fed by
// blocking reads).
// usage: floor_client pop3 SPOOL SERVER USER PASSWORD [SECURITY PORT PIN]
//        floor_client smtp SPOOL SERVER [SECURITY PORT PIN [USER PASSWORD]]
// The optional arguments are tern_bench's (SECURITY 1: STLS/STARTTLS, 2: TLS from the first
// byte; PORT 0: the usual one; PIN: the server certificate's SHA-256 fingerprint).
// Prints "<seconds> <messages>"; exits 0 when every reply was positive.
#include <winsock2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "netlib/core/base64.h"
#include "netlib/core/md5.h"
#include "netlib/core/security.h"
#include "netlib/core/sha256.h"
#include "netlib/win/tlschannel.h"

namespace {

using lx::net::SecurityMode;

// How to reach and secure the server, from the optional arguments.
struct Security {
    SecurityMode mode = SecurityMode::None;
    int port = 0;
    lx::net::Sha256Digest pin{};
    bool pinned = false;
};

class Connection {
public:
    bool open(const char* server, unsigned short port) {
        s_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (s_ == INVALID_SOCKET) return false;
        BOOL on = TRUE;
        setsockopt(s_, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = inet_addr(server);
        return connect(s_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    }
    ~Connection() {
        if (s_ != INVALID_SOCKET) closesocket(s_);
    }
    // The TLS handshake over the connected socket, as the library's sessions make it.
    bool secure(const char* server, const Security& sec) {
        tls_ = std::make_unique<lx::net::TlsChannel>(server, sec.pinned ? &sec.pin : nullptr);
        std::string out;
        if (!tls_->begin(out) || !sendAll(out)) return false;
        for (;;) {
            char buf[65536];
            const int n = recv(s_, buf, sizeof buf, 0);
            if (n <= 0) return false;
            out.clear();
            const auto step = tls_->handshake(buf, static_cast<std::size_t>(n), out);
            if (!out.empty() && !sendAll(out)) return false;
            if (step == lx::net::TlsChannel::Step::Failed) {
                std::fprintf(stderr, "%s\n", tls_->failure().c_str());
                return false;
            }
            if (step == lx::net::TlsChannel::Step::Done) return decrypt(nullptr, 0);
        }
    }
    bool say(const std::string& text) {
        if (!tls_) return sendAll(text);
        std::string records;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t len = std::min(tls_->maxWrite(), text.size() - at);
            if (!tls_->encrypt(text.data() + at, len, records)) return false;
            at += len;
        }
        return sendAll(records);
    }
    // Everything up to and including the first occurrence of `end`, or "" when the peer closed.
    std::string until(const char* end) {
        const std::size_t len = std::strlen(end);
        for (std::size_t from = 0;;) {
            const std::size_t at = in_.find(end, from);
            if (at != std::string::npos) {
                std::string out = in_.substr(0, at + len);
                in_.erase(0, at + len);
                return out;
            }
            from = in_.size() >= len ? in_.size() - len + 1 : 0;
            char buf[65536];
            const int n = recv(s_, buf, sizeof buf, 0);
            if (n <= 0) return std::string();
            if (!tls_) {
                in_.append(buf, static_cast<std::size_t>(n));
            } else if (!decrypt(buf, static_cast<std::size_t>(n))) {
                return std::string();
            }
        }
    }
    // One SMTP reply (its last line has a blank after the code); its first digit, or 0.
    char smtpReply() {
        for (;;) {
            const std::string line = until("\r\n");
            if (line.size() < 4) return 0;
            if (line[3] != '-') return line[0];
        }
    }

private:
    bool sendAll(const std::string& text) {
        for (std::size_t at = 0; at < text.size();) {
            const int n = send(s_, text.data() + at, static_cast<int>(text.size() - at), 0);
            if (n <= 0) return false;
            at += static_cast<std::size_t>(n);
        }
        return true;
    }
    bool decrypt(const char* data, std::size_t len) {
        std::string answer;
        bool closed = false;
        return tls_->decrypt(data, len, in_, answer, closed) && sendAll(answer) && !closed;
    }

    SOCKET s_ = INVALID_SOCKET;
    std::string in_;
    std::unique_ptr<lx::net::TlsChannel> tls_;
};

bool positive(const std::string& reply) { return reply.compare(0, 3, "+OK") == 0; }

int pop3(const char* spool, const char* server, const char* user, const char* password,
         const Security& sec) {
    Connection c;
    const bool implicit = sec.mode == SecurityMode::Implicit;
    if (!c.open(server, static_cast<unsigned short>(sec.port ? sec.port : implicit ? 995 : 110)))
        return -1;
    if (implicit && !c.secure(server, sec)) return -1;
    const std::string greeting = c.until("\r\n");
    if (sec.mode == SecurityMode::Upgrade &&
        (!c.say("STLS\r\n") || !positive(c.until("\r\n")) || !c.secure(server, sec)))
        return -1;
    const std::size_t open = greeting.find('<'), close = greeting.find('>', open);
    if (open == std::string::npos || close == std::string::npos) return -1;
    const std::string stamp = greeting.substr(open, close - open + 1);
    if (!c.say("APOP " + std::string(user) + " " + lx::net::md5Hex(stamp + password) + "\r\n") ||
        !positive(c.until("\r\n")) || !c.say("RSET\r\n") || !positive(c.until("\r\n")) ||
        !c.say("STAT\r\n"))
        return -1;
    const std::string stat = c.until("\r\n");
    if (!positive(stat)) return -1;
    const int count = std::atoi(stat.c_str() + 4);
    FILE* f = std::fopen(spool, "wb");
    if (!f) return -1;
    std::fprintf(f, "Letters : %d\r\n", count);
    int stored = 0;
    for (int i = 1; i <= count; ++i) {
        if (!c.say("UIDL " + std::to_string(i) + "\r\n") || c.until("\r\n").empty()) break;
        if (!c.say("RETR " + std::to_string(i) + "\r\n")) break;
        const std::string message = c.until("\n.\r\n");
        if (!positive(message)) break;
        std::fputs("BEGIN MESSAGE\r\n", f);
        std::fwrite(message.data(), 1, message.size(), f);
        std::fputs("END MESSAGE\r\n", f);
        std::fflush(f);
        ++stored;
    }
    std::fclose(f);
    c.say("QUIT\r\n");
    c.until("\r\n");
    return stored;
}

// The data of every message of an outgoing spool file, dot-stuffed and ready to send.
std::vector<std::string> spoolMessages(const char* path) {
    std::vector<std::string> out;
    FILE* f = std::fopen(path, "rb");
    if (!f) return out;
    std::string all;
    char buf[65536];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) all.append(buf, n);
    std::fclose(f);
    for (std::size_t at = all.find("BEGIN DATA"); at != std::string::npos;
         at = all.find("BEGIN DATA", at)) {
        std::size_t line = all.find("\r\n", at) + 2;
        const std::size_t end = all.find("\r\nEND DATA\r\n", line);
        if (end == std::string::npos) break;
        std::string data;
        while (line < end) {
            std::size_t next = all.find("\r\n", line);
            if (next > end) next = end;
            if (all[line] == '.') data.push_back('.');
            data.append(all, line, next - line);
            data += "\r\n";
            line = next + 2;
        }
        out.push_back(data + ".\r\n");
        at = end;
    }
    return out;
}

// Connects, secures the connection as asked and logs in when a user is given.
bool smtpOpen(Connection& c, const char* server, const Security& sec, const char* user,
              const char* password) {
    const int port =
        sec.port ? sec.port
                 : static_cast<int>(lx::net::defaultPort(lx::net::MailProtocol::Smtp, sec.mode));
    if (!c.open(server, static_cast<unsigned short>(port))) return false;
    if (sec.mode == SecurityMode::Implicit && !c.secure(server, sec)) return false;
    if (c.smtpReply() != '2') return false;
    if (sec.mode == SecurityMode::None && !user)
        return c.say("HELO sender\r\n") && c.smtpReply() == '2';
    if (!c.say("EHLO sender\r\n") || c.smtpReply() != '2') return false;
    if (sec.mode == SecurityMode::Upgrade &&
        (!c.say("STARTTLS\r\n") || c.smtpReply() != '2' || !c.secure(server, sec) ||
         !c.say("EHLO sender\r\n") || c.smtpReply() != '2'))
        return false;
    if (!user) return true;
    const std::string blob = std::string(1, '\0') + user + std::string(1, '\0') + password;
    return c.say("AUTH PLAIN " + lx::net::base64Encode(blob) + "\r\n") && c.smtpReply() == '2';
}

int smtp(const char* spool, const char* server, const Security& sec, const char* user,
         const char* password, double* seconds) {
    const std::vector<std::string> messages = spoolMessages(spool);
    const auto t0 = std::chrono::steady_clock::now();
    Connection c;
    if (!smtpOpen(c, server, sec, user, password)) return -1;
    int sent = 0;
    for (const std::string& m : messages) {
        if (!c.say("MAIL FROM:<sender@example.org>\r\n") || c.smtpReply() != '2' ||
            !c.say("RCPT TO:<rcpt@example.org>\r\n") || c.smtpReply() != '2' ||
            !c.say("DATA\r\n") || c.smtpReply() != '3' || !c.say(m) || c.smtpReply() != '2')
            break;
        ++sent;
    }
    c.say("QUIT\r\n");
    c.smtpReply();
    *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return sent;
}

// The optional security arguments from argv[at] on; false when they are incomplete.
bool securityFrom(int argc, char** argv, int at, Security& sec) {
    if (argc <= at) return true;
    if (argc < at + 3 || !lx::net::toSecurityMode(std::atoi(argv[at]), sec.mode)) return false;
    sec.port = std::atoi(argv[at + 1]);
    sec.pinned = std::strcmp(argv[at + 2], "-") != 0;
    return !sec.pinned || lx::net::parseFingerprint(argv[at + 2], sec.pin);
}

} // namespace

int main(int argc, char** argv) {
    const bool isPop3 = argc > 1 && std::strcmp(argv[1], "pop3") == 0;
    Security sec;
    if (argc < 4 || (isPop3 && argc < 6) || !securityFrom(argc, argv, isPop3 ? 6 : 4, sec)) {
        std::fprintf(stderr, "usage: floor_client pop3 SPOOL SERVER USER PASSWORD [SECURITY PORT "
                             "PIN] | smtp SPOOL SERVER [SECURITY PORT PIN [USER PASSWORD]]\n");
        return 2;
    }
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return 1;
    double secs = 0;
    int done;
    if (isPop3) {
        const auto t0 = std::chrono::steady_clock::now();
        done = pop3(argv[2], argv[3], argv[4], argv[5], sec);
        secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    } else {
        const bool login = argc >= 9;
        done = smtp(argv[2], argv[3], sec, login ? argv[7] : nullptr, login ? argv[8] : nullptr,
                    &secs);
    }
    WSACleanup();
    std::printf("%.3f %d\n", secs, done);
    return done > 0 ? 0 : 1;
}
