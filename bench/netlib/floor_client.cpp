// The platform's floor for the network benchmark: the same command sequence as TERN32 over plain
// blocking Winsock calls, with no windows, no messages and no host notifications. Run under the
// same Wine as TERN32, it tells what any Win32 client pays for its sockets on this machine.
// usage: floor_client pop3 SPOOL SERVER USER PASSWORD   |   floor_client smtp SPOOL SERVER
// Prints "<seconds> <messages>"; exits 0 when every reply was positive.
#include <winsock2.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "netlib/core/md5.h"

namespace {

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
    bool say(const std::string& text) {
        for (std::size_t at = 0; at < text.size();) {
            const int n = send(s_, text.data() + at, static_cast<int>(text.size() - at), 0);
            if (n <= 0) return false;
            at += static_cast<std::size_t>(n);
        }
        return true;
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
            in_.append(buf, static_cast<std::size_t>(n));
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
    SOCKET s_ = INVALID_SOCKET;
    std::string in_;
};

bool positive(const std::string& reply) { return reply.compare(0, 3, "+OK") == 0; }

int pop3(const char* spool, const char* server, const char* user, const char* password) {
    Connection c;
    if (!c.open(server, 110)) return -1;
    const std::string greeting = c.until("\r\n");
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

int smtp(const char* spool, const char* server, double* seconds) {
    const std::vector<std::string> messages = spoolMessages(spool);
    const auto t0 = std::chrono::steady_clock::now();
    Connection c;
    if (!c.open(server, 25) || c.smtpReply() != '2' || !c.say("HELO sender\r\n") ||
        c.smtpReply() != '2')
        return -1;
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

} // namespace

int main(int argc, char** argv) {
    if (argc < 4 || (std::strcmp(argv[1], "pop3") == 0 && argc < 6)) {
        std::fprintf(stderr,
                     "usage: floor_client pop3 SPOOL SERVER USER PASSWORD | smtp SPOOL SERVER\n");
        return 2;
    }
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return 1;
    double secs = 0;
    int done;
    if (std::strcmp(argv[1], "pop3") == 0) {
        const auto t0 = std::chrono::steady_clock::now();
        done = pop3(argv[2], argv[3], argv[4], argv[5]);
        secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    } else {
        done = smtp(argv[2], argv[3], &secs);
    }
    WSACleanup();
    std::printf("%.3f %d\n", secs, done);
    return done > 0 ? 0 : 1;
}
