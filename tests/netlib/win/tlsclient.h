// A blocking test client over a TLS channel, for the OpenSSL echo servers of the tests (each line
// comes back reversed): the handshake and one line there and back.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>

#include "common/win/handles.h"
#include "netlib/win/tlschannel.h"

namespace lx::net::test {

constexpr unsigned short kTlsPeerPort = 10465;

struct SocketRelease {
    using Type = SOCKET;
    static bool Valid(SOCKET s) { return s != 0 && s != INVALID_SOCKET; }
    static void Free(SOCKET s) { closesocket(s); }
};

// A blocking client over a TLS channel, bounded by receive time-outs.
class Client {
public:
    bool connect(const char* address) {
        sock_.Reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        DWORD timeout = 10000;
        setsockopt(sock_.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                   sizeof timeout);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(kTlsPeerPort);
        to.sin_addr.s_addr = inet_addr(address);
        return ::connect(sock_.Get(), reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    }
    bool send(const std::string& bytes) {
        std::size_t at = 0;
        while (at < bytes.size()) {
            const int n =
                ::send(sock_.Get(), bytes.data() + at, static_cast<int>(bytes.size() - at), 0);
            if (n <= 0) return false;
            at += static_cast<std::size_t>(n);
        }
        return true;
    }
    // What arrives next; empty when the server closed or said nothing in time.
    std::string receive() {
        char buf[16384];
        const int n = recv(sock_.Get(), buf, sizeof buf, 0);
        return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
    }

private:
    UniqueOwner<SocketRelease> sock_;
};

// Secures the connection: "" when the channel is secured, else its failure text.
inline std::string secure(TlsChannel& tls, Client& c) {
    std::string out;
    if (!tls.begin(out)) return tls.failure();
    if (!c.send(out)) return "the hello could not be sent";
    for (int round = 0; round < 50; ++round) {
        const std::string in = c.receive();
        if (in.empty()) return "the server closed the connection";
        out.clear();
        const TlsChannel::Step step = tls.handshake(in.data(), in.size(), out);
        if (!out.empty() && !c.send(out)) return "an answer could not be sent";
        if (step == TlsChannel::Step::Done) return "";
        if (step == TlsChannel::Step::Failed) return tls.failure();
    }
    return "the handshake did not end";
}

// Sends a line and reads the server's answer (the line reversed) through the channel.
inline std::string echo(TlsChannel& tls, Client& c, const std::string& line) {
    std::string record, plain, out;
    if (!tls.encrypt(line.data(), line.size(), record) || !c.send(record)) return tls.failure();
    for (int round = 0; round < 50 && plain.find('\n') == std::string::npos; ++round) {
        const std::string in = c.receive();
        if (in.empty()) break;
        bool closed = false;
        if (!tls.decrypt(in.data(), in.size(), plain, out, closed)) return tls.failure();
        if (!out.empty()) c.send(out);
    }
    return plain;
}

} // namespace lx::net::test
