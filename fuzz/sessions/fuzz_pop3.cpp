// libFuzzer target: the POP3 session against a server that says anything, in any chunks. The
// first input bytes choose the run (check only, retrieve, delete after retrieval, deletions left
// to the host, APOP, the security mode and the TLS layer's outcome); the rest is the server's.
// Beyond the common checks: a message is deleted only once it is stored, and with the deletions
// left to the host nothing commits them (QUIT) before the host has said so.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/sessions/sessiondrive.h"
#include "netlib/core/pop3session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using lx::net::Pop3State;
    FuzzedDataProvider in(data, size);
    const std::uint8_t opts = in.ConsumeIntegral<std::uint8_t>();
    const bool checkOnly = opts & 1, deleteAfter = opts & 2, apop = opts & 4, byHost = opts & 8;
    const bool hostKeeps = opts & 16;
    lxfuzz::DriveRules rules;
    rules.doneCode = TERN_POP3_DONE;
    rules.peerClosedCode = TERN_POP3_PEERCLOSED;
    rules.tlsState = static_cast<int>(Pop3State::TlsHandshake);
    rules.mode = lxfuzz::ModeOf(opts >> 5);
    rules.refuseTls = (opts >> 7) & 1;
    rules.secrets = {"USER ", "PASS ", "APOP "};

    lxfuzz::FakePort port({TERN_POP3_REFUSED, TERN_POP3_PROGRESS, TERN_POP3_INSECURE});
    lx::net::Pop3Session s(port, "TernPop3.Txt");
    s.setSecurity(rules.mode, 0);
    if (s.start("pop.example.org", "joe", "secret", deleteAfter, apop, checkOnly, byHost) != 0)
        std::abort();

    bool hostSaidDelete = false;
    std::size_t seen = 0;
    std::size_t lastDele = 0, lastRsetAfterDele = 0; // write numbers, 1-based
    auto afterStep = [&] {
        // The host's word when the session waits for it.
        if (s.pop3State() == Pop3State::AwaitHost && !s.runOver()) {
            hostSaidDelete = !hostKeeps;
            FUZZ_CHECK(s.finish(hostSaidDelete) == 0);
        }
        for (; seen < port.writes.size(); ++seen) {
            const std::string& w = port.writes[seen];
            if (lxfuzz::StartsWith(w, "DELE ")) {
                FUZZ_CHECK(deleteAfter && !checkOnly);
                // Only a message already stored is deleted.
                const long n = std::strtol(w.c_str() + 5, nullptr, 10);
                bool stored = false;
                for (const auto& p : port.posts)
                    stored = stored || (p.code == TERN_POP3_STORED && p.value == n);
                FUZZ_CHECK(stored);
                lastDele = seen + 1;
            }
            if (lxfuzz::StartsWith(w, "RSET") && lastDele) lastRsetAfterDele = seen + 1;
            // QUIT commits the deletions: with the host to decide, only its yes (or a reset
            // asked by its no) lets QUIT go out.
            if (lxfuzz::StartsWith(w, "QUIT") && byHost && lastDele)
                FUZZ_CHECK(hostSaidDelete || lastRsetAfterDele > lastDele);
        }
        if (!checkOnly) FUZZ_CHECK(s.current() >= 1);
    };
    lxfuzz::Drive(in, port, s, rules, afterStep);

    // The spool holds no more stored messages than the server announced.
    long stored = 0;
    for (const auto& p : port.posts) stored += p.code == TERN_POP3_STORED;
    FUZZ_CHECK(stored <= std::max(s.messageCount(), 0));
    return 0;
}
