// The POP3 session on scripted transcripts.
#include <gtest/gtest.h>

#include "netlib/core/md5.h"
#include "netlib/core/pop3session.h"
#include "tests/netlib/fakeport.h"

namespace lx::net::test {
namespace {

const std::string kMsg1 = "+OK 38 octets\r\nSubject: one\r\n\r\nbody\r\n..dotted\r\n.\r\n";
const std::string kMsg2 = "+OK 20 octets\r\nSubject: two\r\n\r\nx\r\n.\r\n";

class Pop3Test : public ::testing::Test {
protected:
    Pop3Test() : port({TERN_POP3_REFUSED, TERN_POP3_PROGRESS}) {}
    // Logs in with USER/PASS and gets through RSET.
    void login() {
        d.event(TERN_STREAM_CONNECT);
        d.chunk("+OK ready\r\n");
        EXPECT_EQ(d.lastWrite(), "USER joe\r\n");
        d.chunk("+OK\r\n");
        EXPECT_EQ(d.lastWrite(), "PASS secret\r\n");
        d.chunk("+OK logged in\r\n");
        EXPECT_EQ(d.lastWrite(), "RSET\r\n");
        d.chunk("+OK\r\n");
        EXPECT_EQ(d.lastWrite(), "STAT\r\n");
    }
    const std::string& spool() { return port.files["pop.txt"]; }
    FakePort port;
    Pop3Session s{port, "pop.txt"};
    Driver<Pop3Session> d{port, s};
};

TEST_F(Pop3Test, RetrievesEveryMessageIntoTheSpoolFile) {
    ASSERT_EQ(s.start("pop.example.org", "joe", "secret", false, false, false), 0);
    EXPECT_EQ(port.connects, std::vector<std::string>{"pop.example.org:110"});
    login();
    d.chunk("+OK 2 58\r\n");
    EXPECT_EQ(d.lastWrite(), "UIDL 1\r\n");
    d.chunk("+OK 1 uid-a\r\n");
    EXPECT_EQ(d.lastWrite(), "RETR 1\r\n");
    d.chunk(kMsg1);
    EXPECT_EQ(d.lastWrite(), "UIDL 2\r\n");
    d.chunk("+OK 2 uid-b\r\n");
    EXPECT_EQ(d.lastWrite(), "RETR 2\r\n");
    d.chunk(kMsg2.substr(0, 10));
    d.chunk(kMsg2.substr(10));
    EXPECT_EQ(d.lastWrite(), "QUIT\r\n");
    d.chunk("+OK bye\r\n");
    EXPECT_EQ(spool(), "Letters : 2\r\nBEGIN MESSAGE\r\n" + kMsg1 +
                           "END MESSAGE\r\nBEGIN MESSAGE\r\n" + kMsg2 + "END MESSAGE\r\n");
    EXPECT_EQ(port.codesWithout(TERN_POP3_PROGRESS), (std::vector<int>{17, 18, 16, 16, 19, 0}));
    std::vector<std::intptr_t> stored;
    for (const auto& p : port.posts)
        if (p.code == TERN_POP3_STORED) stored.push_back(p.value);
    EXPECT_EQ(stored, (std::vector<std::intptr_t>{1, 2}));
    EXPECT_EQ(port.posts[1].value, 2); // 18 carries the count
    EXPECT_EQ(std::count(port.writes.begin(), port.writes.end(), "DELE 1\r\n"), 0);
    int n = 0;
    EXPECT_EQ(s.messageCount(), 2);
    (void)n;
}

TEST_F(Pop3Test, DeleteFlagSendsDeleAfterEachMessageWithoutTestingTheReply) {
    ASSERT_EQ(s.start("h", "joe", "secret", true, false, false), 0);
    login();
    d.chunk("+OK 2 58\r\n");
    d.chunk("+OK 1 a\r\n");
    d.chunk(kMsg1);
    EXPECT_EQ(d.lastWrite(), "DELE 1\r\n");
    d.chunk("-ERR whatever\r\n");
    EXPECT_EQ(d.lastWrite(), "UIDL 2\r\n");
    d.chunk("+OK 2 b\r\n");
    d.chunk(kMsg2);
    EXPECT_EQ(d.lastWrite(), "DELE 2\r\n");
    d.chunk("+OK\r\n");
    EXPECT_EQ(d.lastWrite(), "QUIT\r\n");
    d.chunk("+OK\r\n");
    EXPECT_EQ(port.codesWithout(TERN_POP3_PROGRESS), (std::vector<int>{17, 18, 16, 16, 19, 0}));
}

TEST_F(Pop3Test, ApopDigestFollowsRfc1939) {
    EXPECT_EQ(md5Hex("<1896.697170952@dbc.mtview.ca.us>tanstaaf"),
              "c4c9334bac560ecc979e58001b3e22fb");
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5Hex(std::string(1000, 'a')), "cabe45dcc9ae5b66ba86600cca6b8ba8");
    FakePort p({TERN_POP3_REFUSED});
    Pop3Session x(p, "pop.txt");
    Driver<Pop3Session> dx(p, x);
    ASSERT_EQ(x.start("h", "mrose", "tanstaaf", false, true, false), 0);
    dx.chunk("+OK POP3 server ready <1896.697170952@dbc.mtview.ca.us>\r\n");
    EXPECT_EQ(dx.lastWrite(), "APOP mrose c4c9334bac560ecc979e58001b3e22fb\r\n");
    dx.chunk("+OK maildrop has 1 message\r\n");
    EXPECT_EQ(dx.lastWrite(), "RSET\r\n");
}

TEST_F(Pop3Test, ApopWithoutTimeStampIsRefused) {
    ASSERT_EQ(s.start("h", "joe", "secret", false, true, false), 0);
    d.chunk("+OK ready\r\n");
    EXPECT_EQ(d.lastWrite(), "QUIT\r\n");
    d.chunk("+OK\r\n");
    ASSERT_EQ(port.codes(), (std::vector<int>{5, 0}));
    EXPECT_NE(port.posts[0].text.find("time stamp"), std::string::npos);
}

TEST_F(Pop3Test, ErrGreetingGives5ThenQuitThen0) {
    ASSERT_EQ(s.start("h", "joe", "secret", false, false, false), 0);
    d.chunk("-ERR busy\r\n");
    EXPECT_EQ(d.lastWrite(), "QUIT\r\n");
    d.chunk("+OK\r\n");
    ASSERT_EQ(port.codes(), (std::vector<int>{5, 0}));
    EXPECT_EQ(port.posts[0].text, "-ERR busy\r\n");
}

TEST_F(Pop3Test, EmptyMailboxGives9QuitAnd0AndAnEmptySpool) {
    ASSERT_EQ(s.start("h", "joe", "secret", false, false, false), 0);
    login();
    d.chunk("+OK 0 0\r\n");
    EXPECT_EQ(d.lastWrite(), "QUIT\r\n");
    d.chunk("+OK\r\n");
    EXPECT_EQ(port.codes(), (std::vector<int>{17, 9, 0}));
    ASSERT_TRUE(port.files.count("pop.txt"));
    EXPECT_EQ(spool(), "");
}

TEST_F(Pop3Test, CheckOnlyGives18WithTheCountAndTouchesNoSpool) {
    ASSERT_EQ(s.start("h", "joe", "secret", false, false, true), 0);
    login();
    d.chunk("+OK 2 640\r\n");
    EXPECT_EQ(d.lastWrite(), "QUIT\r\n");
    d.chunk("+OK\r\n");
    EXPECT_EQ(port.codes(), (std::vector<int>{17, 18, 0}));
    EXPECT_EQ(port.posts[1].value, 2);
    EXPECT_EQ(port.files.count("pop.txt"), 0u);
    EXPECT_EQ(s.messageCount(), 2);
}

TEST_F(Pop3Test, StatWithoutSecondBlankCountsZero) {
    ASSERT_EQ(s.start("h", "joe", "secret", false, false, false), 0);
    login();
    d.chunk("+OK 3\r\n");
    EXPECT_EQ(port.codes(), (std::vector<int>{17, 9}));
}

// The terminating line split at every position across two chunks still ends the message once.
TEST(Pop3Split, TerminatorSplitAtEveryPosition) {
    const std::string reply = "+OK 30 octets\r\nSubject: s\r\n\r\nline.\r\n.x\r\n.\r\n";
    for (std::size_t cut = 1; cut < reply.size(); ++cut) {
        FakePort p({TERN_POP3_REFUSED, TERN_POP3_PROGRESS});
        Pop3Session x(p, "pop.txt");
        Driver<Pop3Session> dx(p, x);
        ASSERT_EQ(x.start("h", "u", "p", false, false, false), 0);
        for (const char* r :
             {"+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK 1 30\r\n", "+OK 1 u\r\n"})
            dx.chunk(r);
        ASSERT_EQ(dx.lastWrite(), "RETR 1\r\n");
        dx.chunk(reply.substr(0, cut));
        EXPECT_EQ(dx.lastWrite(), "RETR 1\r\n") << "cut " << cut;
        dx.chunk(reply.substr(cut));
        EXPECT_EQ(dx.lastWrite(), "QUIT\r\n") << "cut " << cut;
        EXPECT_EQ(p.files["pop.txt"],
                  "Letters : 1\r\nBEGIN MESSAGE\r\n" + reply + "END MESSAGE\r\n")
            << "cut " << cut;
    }
    // Three pieces: ".", "\r", "\n".
    FakePort p({});
    Pop3Session x(p, "pop.txt");
    Driver<Pop3Session> dx(p, x);
    ASSERT_EQ(x.start("h", "u", "p", false, false, false), 0);
    for (const char* r :
         {"+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK 1 30\r\n", "+OK 1 u\r\n"})
        dx.chunk(r);
    dx.chunk("+OK\r\nabc\r\n");
    dx.chunk(".");
    dx.chunk("\r");
    EXPECT_EQ(dx.lastWrite(), "RETR 1\r\n");
    dx.chunk("\n");
    EXPECT_EQ(dx.lastWrite(), "QUIT\r\n");
}

TEST_F(Pop3Test, ADotInsideALineDoesNotEndTheMessage) {
    ASSERT_EQ(s.start("h", "joe", "secret", false, false, false), 0);
    login();
    d.chunk("+OK 1 9\r\n");
    d.chunk("+OK 1 u\r\n");
    d.chunk("+OK 9 octets\r\nabc\r\nx.\r\n");
    EXPECT_EQ(d.lastWrite(), "RETR 1\r\n");
    d.chunk("..\r\n.\r\n");
    EXPECT_EQ(d.lastWrite(), "QUIT\r\n");
}

TEST_F(Pop3Test, ProgressUsesTheSizeOfTheStatusLineAndShows000WithoutOne) {
    ASSERT_EQ(s.start("h", "joe", "secret", false, false, false), 0);
    login();
    d.chunk("+OK 1 100\r\n");
    d.chunk("+OK 1 u\r\n");
    d.chunk("+OK 100 octets\r\nDate: 2026\r\n"); // 28 bytes; digits in the body are not the size
    d.chunk("x\r\n.\r\n");
    std::vector<std::string> pct;
    for (const auto& p : port.posts)
        if (p.code == TERN_POP3_PROGRESS) pct.push_back(p.text);
    EXPECT_EQ(pct, (std::vector<std::string>{"28.00", "34.00"}));

    FakePort p2({TERN_POP3_PROGRESS});
    Pop3Session x(p2, "pop.txt");
    Driver<Pop3Session> dx(p2, x);
    ASSERT_EQ(x.start("h", "u", "p", false, false, false), 0);
    for (const char* r : {"+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK 1 3\r\n", "+OK 1 u\r\n"})
        dx.chunk(r);
    dx.chunk("+OK\r\nx\r\n.\r\n");
    ASSERT_EQ(p2.posts[1].code, TERN_POP3_PROGRESS);
    EXPECT_EQ(p2.posts[1].text, "0.00");
}

TEST_F(Pop3Test, ServerClosingMidRetrKeepsCompleteMessagesAndEndsTheRun) {
    ASSERT_EQ(s.start("h", "joe", "secret", false, false, false), 0);
    login();
    d.chunk("+OK 2 58\r\n");
    d.chunk("+OK 1 a\r\n");
    d.chunk(kMsg1);
    d.chunk("+OK 2 b\r\n");
    d.chunk("+OK 20 octets\r\nSubj");
    d.event(TERN_STREAM_CLOSE);
    EXPECT_EQ(spool(), "Letters : 2\r\nBEGIN MESSAGE\r\n" + kMsg1 +
                           "END MESSAGE\r\nBEGIN MESSAGE\r\n+OK 20 octets\r\nSubj");
    EXPECT_EQ(port.codesWithout(TERN_POP3_PROGRESS), (std::vector<int>{17, 18, 16, 13, 0}));
    d.chunk("late data\r\n");
    EXPECT_EQ(port.codesWithout(TERN_POP3_PROGRESS), (std::vector<int>{17, 18, 16, 13, 0}));
}

TEST_F(Pop3Test, StartChecksInOrder) {
    auto codesFor = [](auto setup, const char* server, const char* user, const char* pass) {
        FakePort p({});
        setup(p);
        Pop3Session x(p, "pop.txt");
        EXPECT_EQ(x.start(server, user, pass, false, false, false), -2);
        return p.codes();
    };
    auto none = [](FakePort&) {};
    EXPECT_EQ(codesFor([](FakePort& p) { p.window = false; }, "h", "u", "p"),
              (std::vector<int>{10, 0}));
    EXPECT_EQ(codesFor(none, "", "u", "p"), (std::vector<int>{11, 0}));
    EXPECT_EQ(codesFor(none, "h", "", "p"), (std::vector<int>{14, 0}));
    EXPECT_EQ(codesFor(none, "h", "u", "0123456789abcdef"), (std::vector<int>{15, 0}));
    EXPECT_EQ(codesFor(none, "h", std::string(64, 'u').c_str(), "p"), (std::vector<int>{14, 0}));
    EXPECT_EQ(codesFor([](FakePort& p) { p.failCreate = true; }, "h", "u", "p"),
              (std::vector<int>{6, 0}));
    EXPECT_EQ(codesFor([](FakePort& p) { p.createOk = false; }, "h", "u", "p"),
              (std::vector<int>{12, 0}));
    EXPECT_EQ(codesFor([](FakePort& p) { p.connectOk = false; }, "h", "u", "p"),
              (std::vector<int>{4, 0}));
    // A 15-character password is still taken.
    FakePort p({});
    Pop3Session x(p, "pop.txt");
    EXPECT_EQ(x.start("h", "u", "0123456789abcde", false, false, false), 0);
}

TEST_F(Pop3Test, SpoolWriteFailureQuits) {
    port.failFileWrites = true;
    ASSERT_EQ(s.start("h", "joe", "secret", false, false, false), 0);
    login();
    d.chunk("+OK 1 5\r\n");
    EXPECT_EQ(d.lastWrite(), "QUIT\r\n");
    d.chunk("+OK\r\n");
    EXPECT_EQ(port.codes(), (std::vector<int>{17, 18, 8, 0}));
}

TEST_F(Pop3Test, ChunksAlreadyWaitingReportProgressOnceAndAReplyMayOvertakeItsCompletion) {
    ASSERT_EQ(s.start("h", "joe", "secret", false, false, false), 0);
    // The greeting's reply arrives; USER is written but its completion is still queued when the
    // server's answer comes in: the answer is taken as the reply to USER.
    port.inbox.push_back("+OK ready\r\n");
    s.onEvent(TERN_STREAM_DATA, 11);
    EXPECT_EQ(port.writes.back(), "USER joe\r\n");
    port.inbox.push_back("+OK\r\n");
    s.onEvent(TERN_STREAM_DATA, 5);
    EXPECT_EQ(port.writes.back(), "PASS secret\r\n");
    s.onEvent(TERN_STREAM_SENT, 6); // the late completion of USER changes nothing
    EXPECT_EQ(port.writes.size(), 2u);
    d.pump();
    d.chunk("+OK\r\n");
    d.chunk("+OK\r\n");
    d.chunk("+OK 1 40\r\n");
    d.chunk("+OK 1 u\r\n");
    const std::size_t before = port.posts.size();
    port.pending = true;
    d.chunk("+OK 40 octets\r\n0123456789");
    d.chunk("0123456789");
    EXPECT_EQ(port.posts.size(), before);
    port.pending = false;
    d.chunk("0123\r\n.\r\n");
    ASSERT_EQ(port.posts.size(), before + 2);
    EXPECT_EQ(port.posts[before].code, TERN_POP3_PROGRESS);
    EXPECT_EQ(port.posts[before].text, "100.00");
    EXPECT_EQ(port.posts[before + 1].code, TERN_POP3_STORED);
}

TEST_F(Pop3Test, PlatformErrorGives5WithTheErrorTextAnd0) {
    ASSERT_EQ(s.start("h", "joe", "secret", false, false, false), 0);
    port.lastError = 10061;
    d.event(TERN_SOCKET_ERROR);
    ASSERT_EQ(port.codes(), (std::vector<int>{5, 0}));
    EXPECT_EQ(port.posts[0].text, "WinSock error 10061: Connection refused");
}

} // namespace
} // namespace lx::net::test
