// The POP3 session against Dovecot and against scripted servers, under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include "netlib/tern32.h"
#include "tests/netlib/win/hostqueue.h"
#include "tests/netlib/win/peers.h"

namespace lx::net::test {
namespace {

constexpr UINT kMsg = WM_USER + 63;
const std::set<int> kTextCodes = {TERN_POP3_REFUSED, TERN_POP3_PROGRESS};
// A whole run over the three messages of the mailbox, progress aside.
const std::vector<int> kThreeStored = {TERN_POP3_CONNECTED, TERN_POP3_COUNT,  TERN_POP3_STORED,
                                       TERN_POP3_STORED,    TERN_POP3_STORED, TERN_POP3_OK,
                                       TERN_POP3_DONE};

// Messages as stored in the maildir (LF line ends) and as a RETR reply carries them.
const std::vector<std::string> kMaildir = {
    "From: a@example.org\nSubject: one\n\nFirst body.\n.leading dot\n..two dots\n",
    "From: b@example.org\nSubject: two\n\n" + std::string(70, 'x') + "\n",
    "From: c@example.org\nSubject: three\n\nbig\n",
};

std::string crlf(const std::string& lf) {
    std::string s;
    for (char c : lf) {
        if (c == '\n') s += '\r';
        s += c;
    }
    return s;
}

std::string retrReply(const std::string& lf) {
    const std::string body = crlf(lf);
    std::string out = "+OK " + std::to_string(body.size()) + " octets\r\n";
    std::size_t start = 0;
    while (start < body.size()) {
        const std::size_t end = body.find("\r\n", start);
        const std::string line = body.substr(start, end - start);
        out += (line.rfind('.', 0) == 0 ? "." : "") + line + "\r\n";
        start = end + 2;
    }
    return out + ".\r\n";
}

std::string expectedSpool(const std::vector<std::string>& msgs) {
    std::string s = "Letters : " + std::to_string(msgs.size()) + "\r\n";
    for (const auto& m : msgs) s += "BEGIN MESSAGE\r\n" + retrReply(m) + "END MESSAGE\r\n";
    return s;
}

std::string mailDir() { return peersDir() + "/mail/joe"; }

int countMaildir() { return test::countMaildir(mailDir()); }
void fillMaildir(const std::vector<std::string>& msgs) { test::fillMaildir(mailDir(), msgs); }

class Pop3Peer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TERNStartWinSock(257), 1);
        spool = peersDir() + "/TernPop3.Txt";
        DeleteFileA(spool.c_str());
    }
    void TearDown() override {
        if (session) TERNPOP3Close(session);
        TERNEndWinSock();
    }
    // Runs one retrieval against server and waits for the end of the run (status 0).
    void pull(HostQueue& host, const char* server, const char* user, const char* pass, bool del,
              bool apop) {
        ASSERT_EQ(TERNPOP3StartWindow(host.window(), kMsg, spool.c_str(), &session), 0);
        ASSERT_EQ(TERNPOP3PullMail(session, server, user, pass, del, apop), 0);
        ASSERT_TRUE(host.waitForCode(TERN_POP3_DONE, 20000)) << "run did not end";
    }
    std::string spool;
    TERNHANDLE session = 0;
};

TEST_F(Pop3Peer, DovecotUserPassKeepsTheMessagesOnTheServer) {
    std::vector<std::string> msgs = kMaildir;
    msgs[2] += std::string(5000, 'y') + "\n"; // spans several chunks
    fillMaildir(msgs);
    HostQueue host(kMsg, kTextCodes);
    pull(host, "127.0.0.2", "joe", "secret", false, false);
    EXPECT_EQ(host.codesWithout(TERN_POP3_PROGRESS), kThreeStored);
    EXPECT_EQ(host.events[1].value, 3);
    EXPECT_EQ(readFile(spool), expectedSpool(msgs));
    EXPECT_EQ(countMaildir(), 3);
    int n = 0;
    EXPECT_EQ(TERNPOP3NumMail(session, &n), 0);
    EXPECT_EQ(n, 3);
}

TEST_F(Pop3Peer, DovecotApopWithDeleteEmptiesTheMailbox) {
    fillMaildir(kMaildir);
    HostQueue host(kMsg, kTextCodes);
    pull(host, "127.0.0.2", "joe", "secret", true, true);
    EXPECT_EQ(host.codesWithout(TERN_POP3_PROGRESS), kThreeStored);
    EXPECT_EQ(readFile(spool), expectedSpool(kMaildir));
    host.idle(300);
    EXPECT_EQ(countMaildir(), 0);
}

TEST_F(Pop3Peer, DovecotCheckOnlyInThreadMode) {
    fillMaildir(kMaildir);
    HostQueue host(kMsg, kTextCodes, false);
    ASSERT_EQ(TERNPOP3StartThread(host.thread(), kMsg, spool.c_str(), &session), 0);
    ASSERT_EQ(TERNPOP3IsThereMail(session, "127.0.0.2", "joe", "secret", 1), 0);
    ASSERT_TRUE(host.waitForCode(TERN_POP3_DONE, 20000));
    host.idle(200); // the server's close after QUIT follows as 13
    EXPECT_EQ(host.codes(), (std::vector<int>{TERN_POP3_CONNECTED, TERN_POP3_COUNT, TERN_POP3_DONE,
                                              TERN_POP3_PEERCLOSED}));
    EXPECT_EQ(host.events[1].value, 3);
    EXPECT_FALSE(fileExists(spool));
    EXPECT_EQ(countMaildir(), 3);
}

TEST_F(Pop3Peer, DovecotWrongPasswordIsReportedWithTheServersText) {
    fillMaildir(kMaildir);
    HostQueue host(kMsg, kTextCodes);
    pull(host, "127.0.0.2", "joe", "wrong", false, false);
    ASSERT_EQ(host.codes(),
              (std::vector<int>{TERN_POP3_CONNECTED, TERN_POP3_REFUSED, TERN_POP3_DONE}));
    EXPECT_EQ(host.events[1].text.rfind("-ERR", 0), 0u);
    EXPECT_EQ(countMaildir(), 3);
}

TEST_F(Pop3Peer, ErrGreeting) {
    HostQueue host(kMsg, kTextCodes);
    pull(host, "127.0.0.13", "joe", "secret", false, false);
    ASSERT_EQ(host.codes(),
              (std::vector<int>{TERN_POP3_CONNECTED, TERN_POP3_REFUSED, TERN_POP3_DONE}));
    EXPECT_EQ(host.events[1].text, "-ERR server busy\r\n");
}

TEST_F(Pop3Peer, EmptyMailboxLeavesAnEmptySpool) {
    HostQueue host(kMsg, kTextCodes);
    pull(host, "127.0.0.14", "joe", "secret", false, false);
    EXPECT_EQ(host.codes(),
              (std::vector<int>{TERN_POP3_CONNECTED, TERN_POP3_EMPTY, TERN_POP3_DONE}));
    EXPECT_TRUE(fileExists(spool));
    EXPECT_EQ(readFile(spool), "");
}

TEST_F(Pop3Peer, TerminatorSplitAcrossChunksAtEveryPosition) {
    const std::string msg =
        "From: a@example.org\r\nSubject: first\r\n\r\nHello.\r\n.leading dot\r\n";
    std::string reply = "+OK " + std::to_string(msg.size()) + " octets\r\n";
    reply += "From: a@example.org\r\nSubject: first\r\n\r\nHello.\r\n..leading dot\r\n.\r\n";
    // The server splits its k-th RETR reply k bytes before the end, k = 1..8.
    for (int k = 1; k <= 8; ++k) {
        HostQueue host(kMsg, kTextCodes);
        pull(host, "127.0.0.15", "joe", "secret", false, false);
        EXPECT_EQ(host.codesWithout(TERN_POP3_PROGRESS),
                  (std::vector<int>{TERN_POP3_CONNECTED, TERN_POP3_COUNT, TERN_POP3_STORED,
                                    TERN_POP3_OK, TERN_POP3_DONE}))
            << "split " << k;
        EXPECT_EQ(readFile(spool), "Letters : 1\r\nBEGIN MESSAGE\r\n" + reply + "END MESSAGE\r\n")
            << "split " << k;
        TERNPOP3Close(session);
        session = 0;
    }
}

TEST_F(Pop3Peer, ServerClosingMidRetrKeepsTheCompleteMessages) {
    HostQueue host(kMsg, kTextCodes);
    pull(host, "127.0.0.17", "joe", "secret", false, false);
    EXPECT_EQ(host.codesWithout(TERN_POP3_PROGRESS),
              (std::vector<int>{TERN_POP3_CONNECTED, TERN_POP3_COUNT, TERN_POP3_STORED,
                                TERN_POP3_PEERCLOSED, TERN_POP3_DONE}));
    const std::string s = readFile(spool);
    const std::string first = "BEGIN MESSAGE\r\n+OK 61 octets\r\n";
    EXPECT_EQ(s.rfind("Letters : 2\r\n" + first, 0), 0u);
    EXPECT_EQ(s.find("END MESSAGE\r\n"), s.rfind("END MESSAGE\r\n")); // one complete message
    EXPECT_NE(s.find("END MESSAGE\r\nBEGIN MESSAGE\r\n+OK"), std::string::npos);
}

TEST_F(Pop3Peer, ServerThatNeverAnswersWaitsUntilClosed) {
    HostQueue host(kMsg, kTextCodes);
    ASSERT_EQ(TERNPOP3StartWindow(host.window(), kMsg, spool.c_str(), &session), 0);
    ASSERT_EQ(TERNPOP3PullMail(session, "127.0.0.16", "joe", "secret", 0, 0), 0);
    expectOnlyConnected(host, TERN_POP3_CONNECTED, [&] {
        const int r = TERNPOP3Close(session);
        session = 0;
        return r;
    });
}

TEST_F(Pop3Peer, RefusedConnectionEndsTheRun) {
    HostQueue host(kMsg, kTextCodes);
    pull(host, "127.0.0.21", "joe", "secret", false, false);
    ASSERT_EQ(host.codes(), (std::vector<int>{TERN_POP3_REFUSED, TERN_POP3_DONE}));
    EXPECT_EQ(host.events[0].text, "WinSock error 10061: Connection refused");
}

TEST_F(Pop3Peer, MissingForgedAndClosedHandles) {
    HostQueue host(kMsg, kTextCodes);
    EXPECT_EQ(TERNPOP3PullMail(0, "h", "u", "p", 0, 0), -4);
    EXPECT_EQ(TERNPOP3IsThereMail(0xABCD1234, "h", "u", "p", 0), -4);
    TERNHANDLE h = 0;
    ASSERT_EQ(TERNPOP3StartWindow(host.window(), kMsg, spool.c_str(), &h), 0);
    EXPECT_EQ(TERNSMTPSendMail(h, "h"), -4); // a POP3 handle is no SMTP handle
    EXPECT_EQ(TERNPOP3Close(h), 0);
    EXPECT_EQ(TERNPOP3Close(h), -2);
    int n;
    EXPECT_EQ(TERNPOP3NumMail(h, &n), -4);
    // Start checks post their status, then 0.
    ASSERT_EQ(TERNPOP3StartWindow(host.window(), kMsg, spool.c_str(), &session), 0);
    EXPECT_EQ(TERNPOP3PullMail(session, "127.0.0.2", "joe", "0123456789abcdef", 0, 0), -2);
    host.idle(100);
    EXPECT_EQ(host.codes(), (std::vector<int>{TERN_POP3_NOPASSWORD, TERN_POP3_DONE}));
}

} // namespace
} // namespace lx::net::test
