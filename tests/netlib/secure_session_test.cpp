// The SMTP and POP3 sessions that secure their connection and log in, on scripted servers: every
// reply is also delivered cut in two at each of its bytes, and the conversation must not change.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "netlib/core/md5.h"
#include "netlib/core/pop3session.h"
#include "netlib/core/smtpsession.h"
#include "tests/netlib/fakeport.h"
#include "tests/netlib/spoolmaker.h"

namespace lx::net::test {
namespace {

using Mode = SecurityMode;
using Lines = std::vector<std::string>;

ServerStep ev(int code) { return {"", code}; }
const ServerStep kConnect = ev(TERN_STREAM_CONNECT);
const ServerStep kSecured = ev(TERN_STREAM_SECURED);
const ServerStep kTlsFailed = ev(TERN_STREAM_INSECURE);

Script operator+(Script a, const Script& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// What a conversation must show: its writes and statuses, a fragment of each text posted, and
// whether it was secured for the server and dropped.
struct Expect {
    Lines writes;
    std::vector<int> codes;
    Lines textHas;
    bool tls;
    bool dropped;
};

void check(const Conversation& c, const Expect& e, int progressCode) {
    EXPECT_EQ(c.writes, e.writes);
    std::vector<int> codes = c.codes;
    codes.erase(std::remove(codes.begin(), codes.end(), progressCode), codes.end());
    EXPECT_EQ(codes, e.codes);
    ASSERT_EQ(c.texts.size(), e.textHas.size());
    for (std::size_t i = 0; i < e.textHas.size(); ++i)
        EXPECT_NE(c.texts[i].find(e.textHas[i]), std::string::npos) << c.texts[i];
    EXPECT_EQ(c.tlsStarts, e.tls ? Lines{"mail.example.org"} : Lines{});
    EXPECT_EQ(c.socketClosed, e.dropped);
}

// Runs the conversation whole, checks it, then with every reply cut at each byte in turn.
void checkEverySplit(const std::function<Conversation(std::size_t)>& run, const Script& script,
                     const Expect& e, int progressCode) {
    const Conversation whole = run(0);
    check(whole, e, progressCode);
    for (std::size_t split = 1; split < longestReply(script); ++split) {
        SCOPED_TRACE("replies cut after byte " + std::to_string(split));
        const Conversation cut = run(split);
        EXPECT_EQ(cut.writes, whole.writes);
        EXPECT_EQ(cut.codes, whole.codes);
        EXPECT_EQ(cut.texts, whole.texts);
        if (!(cut == whole)) break; // one failing cut says enough
    }
}

// ---- SMTP ----

const Msg kLetter = {"joe@example.org", {"ann@example.org"}, {"Subject: hi", "", "hello"}};
const Lines kLetterWrites = {"MAIL FROM:<joe@example.org>\r\n",
                             "RCPT TO:<ann@example.org>\r\n",
                             "DATA \r\n",
                             "Subject: hi\r\n",
                             "\r\n",
                             "hello\r\n",
                             ".\r\n",
                             "QUIT \r\n"};
const Script kLetterReplies = {{"250 sender ok\r\n"},
                               {"250 recipient ok\r\n"},
                               {"354 go ahead\r\n"},
                               {"250 queued as 17\r\n"},
                               {"221 bye\r\n"}};
const std::vector<int> kLetterSent = {TERN_SMTP_CONNECTED, TERN_SMTP_SENT, TERN_SMTP_OK,
                                      TERN_SMTP_DONE};
const std::vector<int> kSecuredLetterSent = {TERN_SMTP_CONNECTED, TERN_SMTP_SECURED, TERN_SMTP_SENT,
                                             TERN_SMTP_OK, TERN_SMTP_DONE};

const Script kUpgrade = {kConnect,
                         {"220 mx.example.org ESMTP\r\n"},
                         // Offered in clear; only what is offered once secured counts.
                         {"250-mx.example.org\r\n250-STARTTLS\r\n250 AUTH CRAM-MD5\r\n"},
                         {"220 2.0.0 ready to start TLS\r\n"},
                         kSecured};
const Lines kUpgradeWrites = {"EHLO joe\r\n", "STARTTLS\r\n", "EHLO joe\r\n"};
const char kPlain[] = "AUTH PLAIN AGpvZUBleGFtcGxlLm9yZwBzM2NyZXQgcGFzcw==\r\n";

struct SmtpCase {
    const char* name;
    Mode mode;
    bool login;
    Script script;
    Expect expect;
};

const SmtpCase kSmtpCases[] = {
    {"ClearTextWithoutLoginKeepsToHelo",
     Mode::None,
     false,
     Script{kConnect, {"220 mx\r\n"}, {"250 hello\r\n"}} + kLetterReplies,
     {Lines{"HELO joe\r\n"} + kLetterWrites, kLetterSent, {}, false, false}},
    {"UpgradesAsksAgainAndLogsInWithPlain",
     Mode::Upgrade,
     true,
     kUpgrade +
         Script{{"250-mx.example.org\r\n250-AUTH LOGIN PLAIN\r\n250 8BITMIME\r\n"},
                {"235 2.7.0 accepted\r\n"}} +
         kLetterReplies,
     {kUpgradeWrites + Lines{kPlain} + kLetterWrites, kSecuredLetterSent, {}, true, false}},
    {"LogsInWithLoginWhenPlainIsNotOffered",
     Mode::Upgrade,
     true,
     kUpgrade +
         Script{{"250-mx\r\n250 AUTH LOGIN\r\n"},
                {"334 VXNlcm5hbWU6\r\n"},
                {"334 UGFzc3dvcmQ6\r\n"},
                {"235 accepted\r\n"}} +
         kLetterReplies,
     {kUpgradeWrites + Lines{"AUTH LOGIN\r\n", "am9lQGV4YW1wbGUub3Jn\r\n", "czNjcmV0IHBhc3M=\r\n"} +
          kLetterWrites,
      kSecuredLetterSent,
      {},
      true,
      false}},
    {"SecuredWithoutLoginSendsAtOnce",
     Mode::Upgrade,
     false,
     // Bytes after the reply to STARTTLS were not sent through TLS: they must not count.
     Script{kConnect,
            {"220 mx\r\n"},
            {"250-mx\r\n250 STARTTLS\r\n"},
            {"220 go ahead\r\n250 injected\r\n"},
            kSecured,
            {"250 mx\r\n"}} +
         kLetterReplies,
     {kUpgradeWrites + kLetterWrites, kSecuredLetterSent, {}, true, false}},
    {"ImplicitTlsAwaitsTheGreetingOnceSecured",
     Mode::Implicit,
     false,
     Script{kConnect, kSecured, {"220 mx\r\n"}, {"250-mx\r\n250 AUTH PLAIN\r\n"}} + kLetterReplies,
     {Lines{"EHLO joe\r\n"} + kLetterWrites, kSecuredLetterSent, {}, true, false}},
    {"CramMd5LogsInOverClearText",
     Mode::None,
     true,
     Script{kConnect,
            {"220 mx\r\n"},
            {"250-mx\r\n250 AUTH PLAIN LOGIN CRAM-MD5\r\n"},
            {"334 PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+\r\n"},
            {"235 accepted\r\n"}} +
         kLetterReplies,
     {Lines{"EHLO joe\r\n", "AUTH CRAM-MD5\r\n",
            "am9lQGV4YW1wbGUub3JnIDM5NTM5NDhhOGVlMmU5MzllMjg1NWE0Y2YyNDQxYzll\r\n"} +
          kLetterWrites,
      kLetterSent,
      {},
      false,
      false}},
    {"NeverSendsThePasswordInClearText",
     Mode::None,
     true,
     {kConnect, {"220 mx\r\n"}, {"250-mx\r\n250 AUTH PLAIN LOGIN\r\n"}, {"221 bye\r\n"}},
     {{"EHLO joe\r\n", "QUIT \r\n"},
      {TERN_SMTP_CONNECTED, TERN_SMTP_AUTHFAIL, TERN_SMTP_DONE},
      {"choose a secured connection"},
      false,
      false}},
    {"ServerWithoutStartTlsIsRefused",
     Mode::Upgrade,
     true,
     {kConnect, {"220 mx\r\n"}, {"250-mx\r\n250 AUTH PLAIN\r\n"}, {"221 bye\r\n"}},
     {{"EHLO joe\r\n", "QUIT \r\n"},
      {TERN_SMTP_CONNECTED, TERN_SMTP_INSECURE, TERN_SMTP_DONE},
      {"secured connection. The server said: 250-mx\r\n250 AUTH PLAIN"},
      false,
      false}},
    {"RefusedStartTlsCarriesTheReply",
     Mode::Upgrade,
     true,
     {kConnect,
      {"220 mx\r\n"},
      {"250-mx\r\n250 STARTTLS\r\n"},
      {"454 4.7.0 TLS not available\r\n"},
      {"221 bye\r\n"}},
     {{"EHLO joe\r\n", "STARTTLS\r\n", "QUIT \r\n"},
      {TERN_SMTP_CONNECTED, TERN_SMTP_INSECURE, TERN_SMTP_DONE},
      {"(STARTTLS): 454 4.7.0 TLS not available"},
      false,
      false}},
    {"FailedHandshakeDropsTheConnection",
     Mode::Upgrade,
     true,
     {kConnect, {"220 mx\r\n"}, {"250-mx\r\n250 STARTTLS\r\n"}, {"220 go\r\n"}, kTlsFailed},
     {{"EHLO joe\r\n", "STARTTLS\r\n"},
      {TERN_SMTP_CONNECTED, TERN_SMTP_INSECURE, TERN_SMTP_DONE},
      {"the certificate has expired"},
      true,
      true}},
    {"NoKnownLoginIsRefused",
     Mode::Upgrade,
     true,
     kUpgrade + Script{{"250 AUTH PLAIN\r\n"}, // a one-line reply names only the server
                       {"221 bye\r\n"}},
     {kUpgradeWrites + Lines{"QUIT \r\n"},
      {TERN_SMTP_CONNECTED, TERN_SMTP_SECURED, TERN_SMTP_AUTHFAIL, TERN_SMTP_DONE},
      {"no way to log in that this program knows"},
      true,
      false}},
    {"WrongPasswordCarriesTheReply",
     Mode::Upgrade,
     true,
     kUpgrade + Script{{"250-mx\r\n250 AUTH PLAIN\r\n"},
                       {"535 5.7.8 authentication failed\r\n"},
                       {"221 bye\r\n"}},
     {kUpgradeWrites + Lines{kPlain, "QUIT \r\n"},
      {TERN_SMTP_CONNECTED, TERN_SMTP_SECURED, TERN_SMTP_AUTHFAIL, TERN_SMTP_DONE},
      {"refused the login: 535 5.7.8 authentication failed"},
      true,
      false}},
    {"UnanswerableChallengeDropsTheConnection",
     Mode::None,
     true,
     {kConnect, {"220 mx\r\n"}, {"250-mx\r\n250 AUTH CRAM-MD5\r\n"}, {"334 *not*base64*\r\n"}},
     {{"EHLO joe\r\n", "AUTH CRAM-MD5\r\n"},
      {TERN_SMTP_CONNECTED, TERN_SMTP_AUTHFAIL, TERN_SMTP_DONE},
      {"334 *not*base64*"},
      false,
      true}},
};

Conversation smtpRun(const SmtpCase& c, std::size_t split) {
    FakePort port({TERN_SMTP_REFUSED, TERN_SMTP_INSECURE, TERN_SMTP_AUTHFAIL});
    port.files["spool.txt"] = makeSpool({kLetter});
    SmtpSession s(port, "spool.txt");
    s.setSecurity(c.mode, 0);
    if (c.login) s.setLogin("joe@example.org", "s3cret pass");
    EXPECT_EQ(s.sendMail("mail.example.org"), 0);
    Conversation conv = play(port, s, c.script, split);
    EXPECT_TRUE(s.runOver());
    return conv;
}

TEST(SecureSmtp, Conversations) {
    for (const SmtpCase& c : kSmtpCases) {
        SCOPED_TRACE(c.name);
        checkEverySplit([&](std::size_t split) { return smtpRun(c, split); }, c.script, c.expect,
                        TERN_SMTP_PROGRESS);
    }
}

// ---- POP3 ----

const Script kCheck = {{"+OK\r\n"}, {"+OK\r\n"}, {"+OK 2 640\r\n"}, {"+OK bye\r\n"}};
const Lines kCheckWrites = {"RSET\r\n", "STAT\r\n", "QUIT\r\n"};
const std::vector<int> kSecuredCount = {TERN_POP3_CONNECTED, TERN_POP3_SECURED, TERN_POP3_COUNT,
                                        TERN_POP3_DONE};

struct Pop3Case {
    const char* name;
    Mode mode;
    bool apop;
    Script script;
    Expect expect;
};

const Pop3Case kPop3Cases[] = {
    {"StlsBeforeTheLogin",
     Mode::Upgrade,
     false,
     Script{kConnect, {"+OK ready\r\n"}, {"+OK begin TLS\r\n"}, kSecured, {"+OK\r\n"}} + kCheck,
     {Lines{"STLS\r\n", "USER joe\r\n", "PASS secret\r\n"} + kCheckWrites,
      kSecuredCount,
      {},
      true,
      false}},
    {"ApopAfterStlsUsesTheFirstGreeting",
     Mode::Upgrade,
     true,
     Script{kConnect,
            {"+OK POP3 <1896.697170952@dbc.mtview.ca.us>\r\n"},
            {"+OK begin TLS\r\n"},
            kSecured} +
         kCheck,
     {Lines{"STLS\r\n", "APOP joe " + md5Hex("<1896.697170952@dbc.mtview.ca.us>secret") + "\r\n"} +
          kCheckWrites,
      kSecuredCount,
      {},
      true,
      false}},
    {"ImplicitTlsAwaitsTheGreetingOnceSecured",
     Mode::Implicit,
     false,
     Script{kConnect, kSecured, {"+OK ready\r\n"}, {"+OK\r\n"}} + kCheck,
     {Lines{"USER joe\r\n", "PASS secret\r\n"} + kCheckWrites, kSecuredCount, {}, true, false}},
    {"ServerWithoutStlsIsRefused",
     Mode::Upgrade,
     false,
     {kConnect, {"+OK ready\r\n"}, {"-ERR unknown command\r\n"}, {"+OK bye\r\n"}},
     {{"STLS\r\n", "QUIT\r\n"},
      {TERN_POP3_CONNECTED, TERN_POP3_INSECURE, TERN_POP3_DONE},
      {"does not offer STLS, and this mailbox reads mail only over a secured connection. The "
       "server said: -ERR unknown command"},
      false,
      false}},
    {"FailedHandshakeDropsTheConnection",
     Mode::Upgrade,
     false,
     {kConnect, {"+OK ready\r\n"}, {"+OK begin TLS\r\n"}, kTlsFailed},
     {{"STLS\r\n"},
      {TERN_POP3_CONNECTED, TERN_POP3_INSECURE, TERN_POP3_DONE},
      {"the certificate has expired"},
      true,
      true}},
};

Conversation pop3Run(const Pop3Case& c, std::size_t split) {
    FakePort port({TERN_POP3_REFUSED, TERN_POP3_INSECURE});
    Pop3Session s(port, "pop.txt");
    s.setSecurity(c.mode, 0);
    EXPECT_EQ(s.start("mail.example.org", "joe", "secret", false, c.apop, true), 0);
    Conversation conv = play(port, s, c.script, split);
    EXPECT_TRUE(s.runOver());
    return conv;
}

TEST(SecurePop3, Conversations) {
    for (const Pop3Case& c : kPop3Cases) {
        SCOPED_TRACE(c.name);
        checkEverySplit([&](std::size_t split) { return pop3Run(c, split); }, c.script, c.expect,
                        TERN_POP3_PROGRESS);
    }
}

// ---- both ----

TEST(SecureSessions, PortFollowsTheModeUnlessGiven) {
    struct Case {
        Mode mode;
        int port;
        std::string smtp, pop3;
    };
    const Case cases[] = {
        {Mode::None, 0, "h:25", "h:110"},
        {Mode::Upgrade, 0, "h:587", "h:110"},
        {Mode::Implicit, 0, "h:465", "h:995"},
        {Mode::Implicit, 2465, "h:2465", "h:2465"},
    };
    for (const Case& c : cases) {
        FakePort sp({});
        sp.files["s"] = makeSpool({kLetter});
        SmtpSession smtp(sp, "s");
        smtp.setSecurity(c.mode, c.port);
        ASSERT_EQ(smtp.sendMail("h"), 0);
        EXPECT_EQ(sp.connects, Lines{c.smtp});
        FakePort pp({});
        Pop3Session pop3(pp, "p");
        pop3.setSecurity(c.mode, c.port);
        ASSERT_EQ(pop3.start("h", "u", "p", false, false, true), 0);
        EXPECT_EQ(pp.connects, Lines{c.pop3});
    }
}

TEST(SecureSessions, TlsLayerThatCannotStartEndsTheRunWithItsReason) {
    FakePort port({TERN_POP3_INSECURE});
    port.tlsOk = false;
    port.tlsReason = "no TLS here";
    Pop3Session s(port, "p");
    s.setSecurity(Mode::Implicit, 0);
    ASSERT_EQ(s.start("mail.example.org", "joe", "secret", false, false, true), 0);
    const Conversation c = play(port, s, {kConnect, {"+OK plain greeting\r\n"}}, 0);
    EXPECT_EQ(c.codes, (std::vector<int>{TERN_POP3_CONNECTED, TERN_POP3_INSECURE, TERN_POP3_DONE}));
    EXPECT_EQ(c.texts, Lines{"no TLS here"});
    EXPECT_TRUE(c.writes.empty());
    EXPECT_TRUE(c.socketClosed);
}

TEST(SecureSessions, SecuredEventNobodyAskedForChangesNothing) {
    FakePort port({});
    Pop3Session s(port, "p");
    ASSERT_EQ(s.start("mail.example.org", "joe", "secret", false, false, true), 0);
    const Conversation c = play(port, s, {kConnect, kSecured, {"+OK ready\r\n"}}, 0);
    EXPECT_FALSE(s.secured());
    EXPECT_EQ(c.codes, std::vector<int>{TERN_POP3_CONNECTED});
    EXPECT_EQ(c.writes, Lines{"USER joe\r\n"});
}

} // namespace
} // namespace lx::net::test
