// Recorded server conversations replayed whole, with every reply cut at each byte offset, and
// with every reply fed one byte at a time: the commands, the statuses (progress aside), their
// texts and the spool file are the same each time.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "netlib/core/pop3session.h"
#include "netlib/core/popcpwsession.h"
#include "netlib/core/smtpsession.h"
#include "tests/netlib/fakeport.h"
#include "tests/netlib/spoolmaker.h"

namespace lx::net::test {
namespace {

// How the replies reach the session.
enum class Cut { Whole, AtOffset, Bytes };

// What a run leaves that must not depend on the cutting.
struct Outcome {
    std::vector<std::string> writes;
    std::vector<int> codes; // without the progress code, which comes once per chunk
    std::vector<std::string> texts;
    std::vector<std::string> tlsStarts;
    bool socketClosed = false;
    std::string spool;
    bool operator==(const Outcome& o) const {
        return writes == o.writes && codes == o.codes && texts == o.texts &&
               tlsStarts == o.tlsStarts && socketClosed == o.socketClosed && spool == o.spool;
    }
};

// Plays the script against a started session: each reply whole, cut once after `offset` bytes,
// or byte by byte; write completions follow every chunk.
template <class Session>
Outcome Play(FakePort& port, Session& s, const Script& script, Cut cut, std::size_t offset,
             int progressCode, const char* spoolPath) {
    Driver<Session> d(port, s);
    d.pump();
    for (const ServerStep& step : script) {
        if (step.event) {
            d.event(step.event);
        } else if (cut == Cut::Bytes) {
            for (char c : step.reply) d.chunk(std::string(1, c));
        } else {
            d.reply(step.reply, cut == Cut::AtOffset ? offset : 0);
        }
    }
    Outcome o{port.writes, {}, {}, port.tlsStarts, port.socketClosed, {}};
    for (const Posted& p : port.posts) {
        if (p.code == progressCode) continue;
        o.codes.push_back(p.code);
        if (!p.text.empty()) o.texts.push_back(p.text);
    }
    if (spoolPath && port.files.count(spoolPath)) o.spool = port.files[spoolPath];
    return o;
}

// The same conversation whole, cut at every offset up to its longest reply, and byte by byte.
void ExpectSameEveryCut(const std::function<Outcome(Cut, std::size_t)>& run, const Script& script) {
    const Outcome whole = run(Cut::Whole, 0);
    for (std::size_t offset = 1; offset < longestReply(script); ++offset) {
        SCOPED_TRACE("every reply cut after byte " + std::to_string(offset));
        const Outcome cut = run(Cut::AtOffset, offset);
        ASSERT_EQ(cut.writes, whole.writes);
        ASSERT_EQ(cut.codes, whole.codes);
        ASSERT_EQ(cut.texts, whole.texts);
        ASSERT_EQ(cut.spool, whole.spool);
        ASSERT_TRUE(cut == whole);
    }
    SCOPED_TRACE("every reply fed one byte at a time");
    const Outcome bytes = run(Cut::Bytes, 0);
    EXPECT_EQ(bytes.writes, whole.writes);
    EXPECT_EQ(bytes.codes, whole.codes);
    EXPECT_EQ(bytes.texts, whole.texts);
    EXPECT_EQ(bytes.spool, whole.spool);
    EXPECT_TRUE(bytes == whole);
}

ServerStep Event(int code) { return {"", code}; }

// ---- POP3: Dovecot 2.3 of the test peers, APOP login and the RETR of a message with dotted
// lines ----

const std::string kDovecotGreeting =
    "+OK Lorvex lx-netlib-pop3 POP3 ready. <6c92.2.6b1ab45e.y0ZMwHrPgmog8gfY+c5NkA==@vm>\r\n";
const std::string kDovecotMessage =
    "From: Ann Lee <ann@example.org>\r\nTo: joe@example.org\r\nSubject: Lunch on Friday\r\n"
    "Date: Thu, 10 Dec 2026 12:00:00 +0000\r\nMIME-Version: 1.0\r\nContent-Type: text/plain\r\n"
    "\r\nHello Joe,\r\n\r\n..a line that starts with a full stop\r\n..\r\n...\r\nSee you then.\r\n"
    "-- \r\nAnn\r\n.\r\n";

struct Pop3Case {
    const char* name;
    bool apop, deleteAfter;
    Script script;
    std::vector<int> codes; // what the whole conversation posts, progress aside
};

const Pop3Case kPop3Cases[] = {
    {"ApopLoginRetrievesTheMessage",
     true,
     false,
     {{kDovecotGreeting},
      {"+OK Logged in.\r\n"},
      {"+OK\r\n"},
      {"+OK 1 250\r\n"},
      {"+OK 1 1.lorvex\r\n"},
      {"+OK 250 octets\r\n" + kDovecotMessage},
      {"+OK Logging out.\r\n"}},
     {TERN_POP3_CONNECTED, TERN_POP3_COUNT, TERN_POP3_STORED, TERN_POP3_OK, TERN_POP3_DONE}},
    {"UserLoginRetrievesAndDeletes",
     false,
     true,
     {{kDovecotGreeting},
      {"+OK\r\n"},
      {"+OK Logged in.\r\n"},
      {"+OK\r\n"},
      {"+OK 1 250\r\n"},
      {"+OK 1 1.lorvex\r\n"},
      {"+OK 250 octets\r\n" + kDovecotMessage},
      {"+OK Marked to be deleted.\r\n"},
      {"+OK Logging out, messages deleted.\r\n"}},
     {TERN_POP3_CONNECTED, TERN_POP3_COUNT, TERN_POP3_STORED, TERN_POP3_OK, TERN_POP3_DONE}},
    {"RefusedLoginSaysWhy",
     false,
     false,
     {{kDovecotGreeting},
      {"+OK\r\n"},
      {"-ERR [AUTH] Authentication failed.\r\n"},
      {"+OK Logging out.\r\n"}},
     {TERN_POP3_CONNECTED, TERN_POP3_REFUSED, TERN_POP3_DONE}},
};

TEST(SplitReplies, Pop3ConversationsOfDovecot) {
    for (const Pop3Case& c : kPop3Cases) {
        SCOPED_TRACE(c.name);
        auto run = [&](Cut cut, std::size_t offset) {
            FakePort port({TERN_POP3_REFUSED});
            Pop3Session s(port, "TernPop3.Txt");
            EXPECT_EQ(s.start("127.0.0.2", "joe", "secret", c.deleteAfter, c.apop, false), 0);
            Script script = c.script;
            script.insert(script.begin(), Event(TERN_STREAM_CONNECT));
            return Play(port, s, script, cut, offset, TERN_POP3_PROGRESS, "TernPop3.Txt");
        };
        const Outcome whole = run(Cut::Whole, 0);
        EXPECT_EQ(whole.codes, c.codes);
        if (c.codes[2] == TERN_POP3_STORED) {
            // The message is stored as the server sent it, between the marker lines.
            EXPECT_EQ(whole.spool, "Letters : 1\r\nBEGIN MESSAGE\r\n+OK 250 octets\r\n" +
                                       kDovecotMessage + "END MESSAGE\r\n");
        }
        ExpectSameEveryCut(run, c.script);
    }
}

// ---- SMTP: aiosmtpd 1.4 of the test peers; its multi-line EHLO, in clear and (as the secured
// test peer offers it) with STARTTLS and AUTH ----

const std::string kAiosmtpdEhlo = "250-localhost\r\n250-8BITMIME\r\n250-SMTPUTF8\r\n250 HELP\r\n";
const std::string kSecureEhlo = "250-localhost\r\n250-8BITMIME\r\n250-SMTPUTF8\r\n250-STARTTLS\r\n"
                                "250 HELP\r\n";
const std::string kSecuredEhlo = "250-localhost\r\n250-8BITMIME\r\n250-SMTPUTF8\r\n"
                                 "250-AUTH LOGIN PLAIN\r\n250 HELP\r\n";
const Script kDelivery = {{"250 OK\r\n"},
                          {"250 OK\r\n"},
                          {"354 End data with <CR><LF>.<CR><LF>\r\n"},
                          {"250 Message accepted for delivery\r\n"},
                          {"221 Bye\r\n"}};

Script operator+(Script a, const Script& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct SmtpCase {
    const char* name;
    SecurityMode mode;
    bool login;
    Script script;
    std::vector<int> codes;
};

const SmtpCase kSmtpCases[] = {
    {"ClearTextDelivery",
     SecurityMode::None,
     false,
     Script{{"220 localhost Python SMTP 1.4.3\r\n"}, {"250 localhost\r\n"}} + kDelivery,
     {TERN_SMTP_CONNECTED, TERN_SMTP_SENT, TERN_SMTP_OK, TERN_SMTP_DONE}},
    {"LoginWithoutAnOfferSaysWhy",
     SecurityMode::None,
     true,
     {{"220 localhost Python SMTP 1.4.3\r\n"}, {kAiosmtpdEhlo}, {"221 Bye\r\n"}},
     {TERN_SMTP_CONNECTED, TERN_SMTP_AUTHFAIL, TERN_SMTP_DONE}},
    {"StartTlsThenLoginThenDelivery",
     SecurityMode::Upgrade,
     true,
     Script{{"220 localhost Python SMTP 1.4.3\r\n"},
            {kSecureEhlo},
            {"220 Ready to start TLS\r\n"},
            Event(TERN_STREAM_SECURED),
            {kSecuredEhlo},
            {"235 2.7.0 Authentication successful\r\n"}} +
         kDelivery,
     {TERN_SMTP_CONNECTED, TERN_SMTP_SECURED, TERN_SMTP_SENT, TERN_SMTP_OK, TERN_SMTP_DONE}},
};

TEST(SplitReplies, SmtpConversationsOfAiosmtpd) {
    const std::string spool =
        makeSpool({{"joe@example.org", {"ann@example.org"}, {"Subject: hi", "", "hello"}}});
    for (const SmtpCase& c : kSmtpCases) {
        SCOPED_TRACE(c.name);
        auto run = [&](Cut cut, std::size_t offset) {
            FakePort port({TERN_SMTP_REFUSED, TERN_SMTP_AUTHFAIL, TERN_SMTP_INSECURE});
            port.files["TernSmtp.Txt"] = spool;
            SmtpSession s(port, "TernSmtp.Txt");
            s.setSecurity(c.mode, 0);
            if (c.login) s.setLogin("joe", "secret");
            EXPECT_EQ(s.sendMail("127.0.0.3"), 0);
            Script script = c.script;
            script.insert(script.begin(), Event(TERN_STREAM_CONNECT));
            return Play(port, s, script, cut, offset, TERN_SMTP_PROGRESS, nullptr);
        };
        EXPECT_EQ(run(Cut::Whole, 0).codes, c.codes);
        ExpectSameEveryCut(run, c.script);
    }
}

// ---- Password change: the test peers' password service ----

TEST(SplitReplies, PasswordChangeConversations) {
    const Script changed = {{"200 password service ready\r\n"},
                            {"200 ok\r\n"},
                            {"200 ok\r\n"},
                            {"200 ok\r\n"},
                            {"200 bye\r\n"}};
    const Script refused = {{"200 password service ready\r\n"},
                            {"200 ok\r\n"},
                            {"200 ok\r\n"},
                            {"500 new password refused: too short\r\n"},
                            {"200 bye\r\n"}};
    const struct {
        const char* name;
        Script script;
        std::vector<int> codes;
    } cases[] = {
        {"Changed", changed, {TERN_CPW_CHANGED, TERN_CPW_DONE}},
        {"NewPasswordRefused", refused, {TERN_CPW_REFUSED, TERN_CPW_DONE}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto run = [&](Cut cut, std::size_t offset) {
            FakePort port({TERN_CPW_REFUSED});
            PopCpwSession s(port);
            EXPECT_EQ(s.changeNow("127.0.0.18", "joe", "old", "new"), 0);
            return Play(port, s, c.script, cut, offset, -1, nullptr);
        };
        EXPECT_EQ(run(Cut::Whole, 0).codes, c.codes);
        ExpectSameEveryCut(run, c.script);
    }
}

} // namespace
} // namespace lx::net::test
