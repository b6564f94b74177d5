// libFuzzer target: the SMTP session against a server that says anything, in any chunks, sending
// one of a few outgoing spool files. The first input bytes choose the spool, the security mode,
// the login and the TLS layer's outcome; the rest is the server's. Beyond the common checks: a
// password never crosses a link in clear (AUTH PLAIN and LOGIN only once secured), each message
// is reported sent at most once and in order, and only after its data was ended.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/sessions/sessiondrive.h"
#include "netlib/core/smtpsession.h"
#include "tests/netlib/spoolmaker.h"

namespace {

using lx::net::test::Msg;

std::string Spool(int which) {
    switch (which % 4) {
    case 0: return lx::net::test::makeSpool({{"me@a.example", {"you@b.example"}, {"Hi", "there"}}});
    case 1:
        return lx::net::test::makeSpool(
            {{"me@a.example", {"x@b.example", "y@c.example"}, {"Subject: t", "", ".dot", "."}},
             {"me@a.example", {}, {"no recipient"}},
             {"me@a.example", {"z@d.example"}, {"broken"}, 3},
             {"me@a.example", {"w@e.example"}, {std::string(300, 'w')}}});
    case 2: return lx::net::test::makeSpool({}, 1);
    default:
        return lx::net::test::makeSpool({{"me@a.example", {"you@b.example"}, {"one"}},
                                         {"me@a.example", {"you@b.example"}, {"two"}}});
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using lx::net::SmtpSession;
    FuzzedDataProvider in(data, size);
    const std::uint8_t opts = in.ConsumeIntegral<std::uint8_t>();
    lxfuzz::DriveRules rules;
    rules.doneCode = TERN_SMTP_DONE;
    rules.peerClosedCode = TERN_SMTP_PEERCLOSED;
    rules.tlsState = SmtpSession::TlsHandshake;
    rules.mode = lxfuzz::ModeOf(opts >> 2);
    rules.refuseTls = (opts >> 7) & 1;
    rules.secrets = {"AUTH ", "MAIL ", "RCPT ", "DATA"};
    const bool login = (opts >> 4) & 1;

    lxfuzz::FakePort port(
        {TERN_SMTP_REFUSED, TERN_SMTP_PROGRESS, TERN_SMTP_INSECURE, TERN_SMTP_AUTHFAIL});
    port.files["TernSmtp.Txt"] = Spool(opts & 3);
    SmtpSession s(port, "TernSmtp.Txt");
    s.setSecurity(rules.mode, 0);
    if (login) s.setLogin("joe@a.example", "s3cret pass");
    if (s.sendMail("smtp.example.org") != 0) return 0; // a spool without messages

    std::size_t seen = 0;
    bool inData = false; // between the DATA reply and the end of the data
    long dataEnded = 0;  // messages whose data was ended with "."
    long lastSent = 0;
    std::size_t postsSeen = 0;
    bool securedSeen = false;
    auto afterStep = [&] {
        for (; postsSeen < port.posts.size(); ++postsSeen) {
            const auto& p = port.posts[postsSeen];
            if (p.code == TERN_SMTP_SECURED) securedSeen = true;
            if (p.code != TERN_SMTP_SENT) continue;
            // In order, once each, and never before its data was ended.
            FUZZ_CHECK(p.value > lastSent && p.value <= s.messageCount());
            FUZZ_CHECK(dataEnded >= 1);
            lastSent = p.value;
        }
        for (; seen < port.writes.size(); ++seen) {
            const std::string& w = port.writes[seen];
            if (w == ".\r\n") {
                inData = false;
                ++dataEnded;
            }
            if (inData) continue;
            // The password goes out only over a secured link.
            if (lxfuzz::StartsWith(w, "AUTH PLAIN") || lxfuzz::StartsWith(w, "AUTH LOGIN"))
                FUZZ_CHECK(login && securedSeen);
            if (lxfuzz::StartsWith(w, "AUTH")) FUZZ_CHECK(login);
            if (lxfuzz::StartsWith(w, "DATA")) inData = true;
        }
    };
    lxfuzz::Drive(in, port, s, rules, afterStep);
    return 0;
}
