// Drives a protocol session with server bytes of the fuzzer's choosing, cut into chunks of the
// fuzzer's choosing, and with socket events (write completions early or late, the peer closing,
// failures, the TLS layer's outcome) where the input puts them. Checks what holds for every
// session whatever the server says: commands are single lines, nothing secret goes out before a
// connection that must be secured is, and every run ends once, with its closing status last.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/common/fuzzutil.h"
#include "netlib/core/codes.h"
#include "netlib/core/security.h"
#include "tests/netlib/fakeport.h"

namespace lxfuzz {

using lx::net::test::FakePort;

inline bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

struct DriveRules {
    int doneCode = 0;
    int peerClosedCode = 0;
    int tlsState = -1; // the session's state while the TLS layer works
    lx::net::SecurityMode mode = lx::net::SecurityMode::None;
    bool refuseTls = false;           // the TLS layer fails instead of securing
    std::vector<const char*> secrets; // command prefixes that must wait for a secured link
};

// What the drive saw, for the protocol's own checks.
struct DriveLog {
    long securedAtWrite = -1; // number of writes when the connection was secured
};

// One step after another until the input ends, then the peer closes. `afterStep` runs after
// every step (the protocol's checks and host actions).
template <class Session, class AfterStep>
DriveLog Drive(FuzzedDataProvider& in, FakePort& port, Session& s, const DriveRules& rules,
               AfterStep afterStep) {
    DriveLog log;
    std::size_t acked = 0;
    std::size_t checked = 0;
    auto ack = [&](std::size_t upTo) {
        while (acked < upTo && acked < port.writes.size()) {
            const std::size_t n = port.writes[acked++].size();
            s.onEvent(TERN_STREAM_SENT, static_cast<std::intptr_t>(n));
        }
    };
    auto checkWrites = [&] {
        for (; checked < port.writes.size(); ++checked) {
            const std::string& w = port.writes[checked];
            // One line per write, ended by CR LF: no server byte ever makes a second command.
            FUZZ_CHECK(w.size() >= 2 && w.compare(w.size() - 2, 2, "\r\n") == 0);
            FUZZ_CHECK(w.find_first_of("\r\n") == w.size() - 2);
            if (rules.mode == lx::net::SecurityMode::None) continue;
            for (const char* secret : rules.secrets) {
                if (StartsWith(w, secret))
                    FUZZ_CHECK(log.securedAtWrite >= 0 &&
                               checked >= static_cast<std::size_t>(log.securedAtWrite));
            }
        }
    };
    std::size_t tlsAnswered = 0;
    s.onEvent(TERN_STREAM_CONNECT, 0);
    checkWrites();
    for (int guard = 0; guard < 4096 && in.remaining_bytes() > 0 && !s.runOver(); ++guard) {
        // The TLS layer answers each request to secure the link.
        if (port.tlsStarts.size() > tlsAnswered && s.state() == rules.tlsState) {
            tlsAnswered = port.tlsStarts.size();
            if (rules.refuseTls) {
                s.onEvent(TERN_STREAM_INSECURE, 0);
            } else {
                log.securedAtWrite = static_cast<long>(port.writes.size());
                s.onEvent(TERN_STREAM_SECURED, 0);
            }
            checkWrites();
            afterStep();
            continue;
        }
        const std::uint8_t op = in.ConsumeIntegral<std::uint8_t>();
        switch (op) {
        case 250: s.onEvent(TERN_STREAM_CLOSE, 0); break;
        case 251: s.onEvent(TERN_STREAM_RECVFAIL, 0); break;
        case 252: s.onEvent(TERN_STREAM_SENDFAIL, 0); break;
        case 253: port.pending = !port.pending; break;
        case 254: ack(acked + 1); break;
        case 255:
            // Nobody asked for it: the session must not take the link for secured.
            if (s.state() != rules.tlsState) s.onEvent(TERN_STREAM_SECURED, 0);
            break;
        default: {
            // A chunk of 1 to 128 bytes (or up to 1024 for the larger operation codes).
            const std::size_t most = op >= 128 ? 1024 : 128;
            const std::size_t len = 1 + in.ConsumeIntegralInRange<std::size_t>(0, most - 1);
            std::string chunk = in.ConsumeBytesAsString(len);
            if (chunk.empty()) break;
            port.inbox.push_back(chunk);
            s.onEvent(TERN_STREAM_DATA, static_cast<std::intptr_t>(chunk.size()));
            // Even codes: the completions of what was written arrive now; odd: later.
            if ((op & 1) == 0) ack(port.writes.size());
            break;
        }
        }
        checkWrites();
        afterStep();
    }
    ack(port.writes.size());
    checkWrites();
    // The peer goes away: the run is over, whatever state it was in.
    s.onEvent(TERN_STREAM_CLOSE, 0);
    checkWrites();
    afterStep();
    FUZZ_CHECK(s.runOver());
    // One closing status, last (a close that arrives after the end is still reported).
    std::size_t done = 0, doneAt = 0;
    for (std::size_t i = 0; i < port.posts.size(); ++i) {
        if (port.posts[i].code == rules.doneCode) {
            ++done;
            doneAt = i;
        }
    }
    FUZZ_CHECK(done == 1);
    for (std::size_t i = doneAt + 1; i < port.posts.size(); ++i)
        FUZZ_CHECK(port.posts[i].code == rules.peerClosedCode);
    return log;
}

// The security mode from a byte of the input.
inline lx::net::SecurityMode ModeOf(std::uint8_t b) {
    return static_cast<lx::net::SecurityMode>(b % 3);
}

} // namespace lxfuzz
