// The POP3 session on scripted transcripts.
#include <gtest/gtest.h>

#include "netlib/core/md5.h"
#include "netlib/core/pop3session.h"
#include "tests/netlib/fakeport.h"

namespace lx::net::test {
namespace {

using S = Pop3State;

const std::string kMsg1 = "+OK 38 octets\r\nSubject: one\r\n\r\nbody\r\n..dotted\r\n.\r\n";
const std::string kMsg2 = "+OK 20 octets\r\nSubject: two\r\n\r\nx\r\n.\r\n";

// One turn of a transcript: what the server says, the command the session then writes last, and
// the state it is in once that command has gone out.
struct Turn {
    std::string server;
    std::string wrote;
    S state;
};
using Transcript = std::vector<Turn>;

Transcript operator+(Transcript a, const Transcript& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// USER/PASS login through RSET up to the STAT command.
const Transcript kLogin = {
    {"+OK ready\r\n", "USER joe\r\n", S::AwaitUser},
    {"+OK\r\n", "PASS secret\r\n", S::AwaitPass},
    {"+OK logged in\r\n", "RSET\r\n", S::AwaitRset},
    {"+OK\r\n", "STAT\r\n", S::AwaitStat},
};

// Takes a fresh session through the login and the STAT reply `stat` (one message) up to the RETR
// of that message.
void untilRetr(Pop3Session& s, Driver<Pop3Session>& d, const char* stat) {
    ASSERT_EQ(s.start("h", "joe", "secret", false, false, false), 0);
    for (const Turn& t : kLogin) d.chunk(t.server);
    d.chunk(stat);
    d.chunk("+OK 1 u\r\n");
    ASSERT_EQ(d.lastWrite(), "RETR 1\r\n");
}

enum class Run { Pull, PullAndDelete, CheckOnly, PullApop };

struct TranscriptCase {
    const char* name;
    Run run;
    Transcript turns;
    std::vector<int> codes; // every status posted except progress
    const char* spool;      // the spool file afterwards; null: none was created
};

const std::string kTwoMessages = std::string("Letters : 2\r\nBEGIN MESSAGE\r\n") + kMsg1 +
                                 "END MESSAGE\r\nBEGIN MESSAGE\r\n" + kMsg2 + "END MESSAGE\r\n";

const TranscriptCase kTranscripts[] = {
    {"RetrievesEveryMessageIntoTheSpoolFile",
     Run::Pull,
     kLogin + Transcript{{"+OK 2 58\r\n", "UIDL 1\r\n", S::AwaitUidl},
                         {"+OK 1 uid-a\r\n", "RETR 1\r\n", S::AwaitRetr},
                         {kMsg1, "UIDL 2\r\n", S::AwaitUidl},
                         {"+OK 2 uid-b\r\n", "RETR 2\r\n", S::AwaitRetr},
                         {kMsg2.substr(0, 10), "RETR 2\r\n", S::AwaitRetr},
                         {kMsg2.substr(10), "QUIT\r\n", S::AwaitQuit},
                         {"+OK bye\r\n", "QUIT\r\n", S::AwaitQuit}},
     {TERN_POP3_CONNECTED, TERN_POP3_COUNT, TERN_POP3_STORED, TERN_POP3_STORED, TERN_POP3_OK,
      TERN_POP3_DONE},
     kTwoMessages.c_str()},
    {"DeleteFlagSendsDeleAfterEachMessageWithoutTestingTheReply",
     Run::PullAndDelete,
     kLogin + Transcript{{"+OK 2 58\r\n", "UIDL 1\r\n", S::AwaitUidl},
                         {"+OK 1 a\r\n", "RETR 1\r\n", S::AwaitRetr},
                         {kMsg1, "DELE 1\r\n", S::AwaitDele},
                         {"-ERR whatever\r\n", "UIDL 2\r\n", S::AwaitUidl},
                         {"+OK 2 b\r\n", "RETR 2\r\n", S::AwaitRetr},
                         {kMsg2, "DELE 2\r\n", S::AwaitDele},
                         {"+OK\r\n", "QUIT\r\n", S::AwaitQuit},
                         {"+OK\r\n", "QUIT\r\n", S::AwaitQuit}},
     {TERN_POP3_CONNECTED, TERN_POP3_COUNT, TERN_POP3_STORED, TERN_POP3_STORED, TERN_POP3_OK,
      TERN_POP3_DONE},
     kTwoMessages.c_str()},
    {"ErrGreetingIsRefusedThenQuitThenDone",
     Run::Pull,
     {{"-ERR busy\r\n", "QUIT\r\n", S::AwaitQuit}, {"+OK\r\n", "QUIT\r\n", S::AwaitQuit}},
     {TERN_POP3_CONNECTED, TERN_POP3_REFUSED, TERN_POP3_DONE},
     ""},
    {"EmptyMailboxGivesEmptyQuitAndDoneAndAnEmptySpool",
     Run::Pull,
     kLogin + Transcript{{"+OK 0 0\r\n", "QUIT\r\n", S::AwaitQuit},
                         {"+OK\r\n", "QUIT\r\n", S::AwaitQuit}},
     {TERN_POP3_CONNECTED, TERN_POP3_EMPTY, TERN_POP3_DONE},
     ""},
    {"StatWithoutSecondBlankCountsZero",
     Run::Pull,
     kLogin + Transcript{{"+OK 3\r\n", "QUIT\r\n", S::AwaitQuit}},
     {TERN_POP3_CONNECTED, TERN_POP3_EMPTY},
     ""},
    {"CheckOnlyPostsTheCountAndTouchesNoSpool",
     Run::CheckOnly,
     kLogin + Transcript{{"+OK 2 640\r\n", "QUIT\r\n", S::AwaitQuit},
                         {"+OK\r\n", "QUIT\r\n", S::AwaitQuit}},
     {TERN_POP3_CONNECTED, TERN_POP3_COUNT, TERN_POP3_DONE},
     nullptr},
    {"ApopWithoutTimeStampIsRefused",
     Run::PullApop,
     {{"+OK ready\r\n", "QUIT\r\n", S::AwaitQuit}, {"+OK\r\n", "QUIT\r\n", S::AwaitQuit}},
     {TERN_POP3_CONNECTED, TERN_POP3_REFUSED, TERN_POP3_DONE},
     ""},
};

TEST(Pop3Transcript, Cases) {
    for (const TranscriptCase& c : kTranscripts) {
        SCOPED_TRACE(c.name);
        FakePort port({TERN_POP3_REFUSED, TERN_POP3_PROGRESS});
        Pop3Session s(port, "pop.txt");
        Driver<Pop3Session> d(port, s);
        ASSERT_EQ(s.start("pop.example.org", "joe", "secret", c.run == Run::PullAndDelete,
                          c.run == Run::PullApop, c.run == Run::CheckOnly),
                  0);
        EXPECT_EQ(port.connects, std::vector<std::string>{"pop.example.org:110"});
        d.event(TERN_STREAM_CONNECT);
        for (std::size_t i = 0; i < c.turns.size(); ++i) {
            const Turn& t = c.turns[i];
            d.chunk(t.server);
            EXPECT_EQ(d.lastWrite(), t.wrote) << "turn " << i;
            EXPECT_EQ(s.pop3State(), t.state) << "turn " << i;
        }
        EXPECT_EQ(port.codesWithout(TERN_POP3_PROGRESS), c.codes);
        if (c.spool) {
            EXPECT_EQ(port.files["pop.txt"], c.spool);
        } else {
            EXPECT_EQ(port.files.count("pop.txt"), 0u);
        }
        EXPECT_EQ(std::count(port.writes.begin(), port.writes.end(), "DELE 1\r\n"),
                  c.run == Run::PullAndDelete ? 1 : 0);
        for (const Posted& p : port.posts) {
            if (p.code == TERN_POP3_COUNT) {
                EXPECT_EQ(p.value, s.messageCount());
            } else if (p.code == TERN_POP3_REFUSED) {
                EXPECT_FALSE(p.text.empty());
            }
        }
        std::vector<std::intptr_t> stored;
        for (const Posted& p : port.posts)
            if (p.code == TERN_POP3_STORED) stored.push_back(p.value);
        for (std::size_t i = 0; i < stored.size(); ++i)
            EXPECT_EQ(stored[i], static_cast<std::intptr_t>(i + 1));
    }
}

TEST(Pop3Transcript, RefusalsCarryTheReasonAndCountsTheNumber) {
    FakePort port({TERN_POP3_REFUSED});
    Pop3Session s(port, "pop.txt");
    Driver<Pop3Session> d(port, s);
    ASSERT_EQ(s.start("h", "joe", "secret", false, false, false), 0);
    d.chunk("-ERR busy\r\n");
    ASSERT_EQ(port.posts.at(0).code, TERN_POP3_REFUSED);
    EXPECT_EQ(port.posts[0].text, "-ERR busy\r\n");

    FakePort apop({TERN_POP3_REFUSED});
    Pop3Session a(apop, "pop.txt");
    Driver<Pop3Session> da(apop, a);
    ASSERT_EQ(a.start("h", "joe", "secret", false, true, false), 0);
    da.chunk("+OK ready\r\n");
    ASSERT_EQ(apop.posts.at(0).code, TERN_POP3_REFUSED);
    EXPECT_NE(apop.posts[0].text.find("time stamp"), std::string::npos);

    FakePort check({});
    Pop3Session c(check, "pop.txt");
    Driver<Pop3Session> dc(check, c);
    ASSERT_EQ(c.start("h", "joe", "secret", false, false, true), 0);
    for (const Turn& t : kLogin) dc.chunk(t.server);
    dc.chunk("+OK 2 640\r\n");
    ASSERT_EQ(check.posts.at(0).code, TERN_POP3_COUNT);
    EXPECT_EQ(check.posts[0].value, 2);
    EXPECT_EQ(c.messageCount(), 2);
}

class Pop3Test : public ::testing::Test {
protected:
    Pop3Test() : port({TERN_POP3_REFUSED, TERN_POP3_PROGRESS}) {}
    // Logs in with USER/PASS and gets through RSET.
    void login() {
        d.event(TERN_STREAM_CONNECT);
        for (const Turn& t : kLogin) {
            d.chunk(t.server);
            EXPECT_EQ(d.lastWrite(), t.wrote);
        }
    }
    const std::string& spool() { return port.files["pop.txt"]; }
    FakePort port;
    Pop3Session s{port, "pop.txt"};
    Driver<Pop3Session> d{port, s};
};

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

TEST(Pop3Split, TerminatorSplitAtEveryPosition) {
    const std::string reply = "+OK 30 octets\r\nSubject: s\r\n\r\nline.\r\n.x\r\n.\r\n";
    for (std::size_t cut = 1; cut < reply.size(); ++cut) {
        FakePort p({TERN_POP3_REFUSED, TERN_POP3_PROGRESS});
        Pop3Session x(p, "pop.txt");
        Driver<Pop3Session> dx(p, x);
        untilRetr(x, dx, "+OK 1 30\r\n");
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
    untilRetr(x, dx, "+OK 1 30\r\n");
    dx.chunk("+OK\r\nabc\r\n");
    dx.chunk(".");
    dx.chunk("\r");
    EXPECT_EQ(dx.lastWrite(), "RETR 1\r\n");
    dx.chunk("\n");
    EXPECT_EQ(dx.lastWrite(), "QUIT\r\n");
}

TEST_F(Pop3Test, ADotInsideALineDoesNotEndTheMessage) {
    untilRetr(s, d, "+OK 1 9\r\n");
    d.chunk("+OK 9 octets\r\nabc\r\nx.\r\n");
    EXPECT_EQ(d.lastWrite(), "RETR 1\r\n");
    d.chunk("..\r\n.\r\n");
    EXPECT_EQ(d.lastWrite(), "QUIT\r\n");
}

TEST_F(Pop3Test, ProgressUsesTheSizeOfTheStatusLineAndShows000WithoutOne) {
    untilRetr(s, d, "+OK 1 100\r\n");
    d.chunk("+OK 100 octets\r\nDate: 2026\r\n"); // 28 bytes; digits in the body are not the size
    d.chunk("x\r\n.\r\n");
    std::vector<std::string> pct;
    for (const auto& p : port.posts)
        if (p.code == TERN_POP3_PROGRESS) pct.push_back(p.text);
    EXPECT_EQ(pct, (std::vector<std::string>{"28.00", "34.00"}));

    FakePort p2({TERN_POP3_PROGRESS});
    Pop3Session x(p2, "pop.txt");
    Driver<Pop3Session> dx(p2, x);
    untilRetr(x, dx, "+OK 1 3\r\n");
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
    EXPECT_EQ(port.codesWithout(TERN_POP3_PROGRESS),
              (std::vector<int>{TERN_POP3_CONNECTED, TERN_POP3_COUNT, TERN_POP3_STORED,
                                TERN_POP3_PEERCLOSED, TERN_POP3_DONE}));
    d.chunk("late data\r\n");
    EXPECT_EQ(port.codesWithout(TERN_POP3_PROGRESS),
              (std::vector<int>{TERN_POP3_CONNECTED, TERN_POP3_COUNT, TERN_POP3_STORED,
                                TERN_POP3_PEERCLOSED, TERN_POP3_DONE}));
}

TEST(Pop3Start, ChecksInOrder) {
    struct Case {
        const char* name;
        void (*setup)(FakePort&);
        const char* user;
        const char* password;
        int status;
    };
    auto none = [](FakePort&) {};
    const std::string longUser(64, 'u');
    const Case cases[] = {
        {"no window", [](FakePort& p) { p.window = false; }, "u", "p", TERN_POP3_NOWINDOW},
        {"no user", none, "", "p", TERN_POP3_NOUSER},
        {"password of 16", none, "u", "0123456789abcdef", TERN_POP3_NOPASSWORD},
        {"user of 64", none, longUser.c_str(), "p", TERN_POP3_NOUSER},
        {"no spool", [](FakePort& p) { p.failCreate = true; }, "u", "p", TERN_POP3_NOSPOOL},
        {"no socket", [](FakePort& p) { p.createOk = false; }, "u", "p", TERN_POP3_NOSOCKET},
        {"no connection", [](FakePort& p) { p.connectOk = false; }, "u", "p", TERN_POP3_NOCONNECT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePort p({});
        c.setup(p);
        Pop3Session x(p, "pop.txt");
        EXPECT_EQ(x.start("h", c.user, c.password, false, false, false), -2);
        EXPECT_EQ(p.codes(), (std::vector<int>{c.status, TERN_POP3_DONE}));
    }
    FakePort p({});
    Pop3Session x(p, "pop.txt");
    EXPECT_EQ(x.start("", "u", "p", false, false, false), -2);
    EXPECT_EQ(p.codes(), (std::vector<int>{TERN_POP3_NOSERVER, TERN_POP3_DONE}));
    // A 15-character password is still taken.
    FakePort q({});
    Pop3Session y(q, "pop.txt");
    EXPECT_EQ(y.start("h", "u", "0123456789abcde", false, false, false), 0);
}

TEST_F(Pop3Test, SpoolWriteFailureQuits) {
    port.failFileWrites = true;
    ASSERT_EQ(s.start("h", "joe", "secret", false, false, false), 0);
    login();
    d.chunk("+OK 1 5\r\n");
    EXPECT_EQ(d.lastWrite(), "QUIT\r\n");
    d.chunk("+OK\r\n");
    EXPECT_EQ(port.codes(), (std::vector<int>{TERN_POP3_CONNECTED, TERN_POP3_COUNT,
                                              TERN_POP3_WRITEFAIL, TERN_POP3_DONE}));
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

TEST_F(Pop3Test, PlatformErrorIsRefusedWithTheErrorTextThenDone) {
    ASSERT_EQ(s.start("h", "joe", "secret", false, false, false), 0);
    port.lastError = 10061;
    d.event(TERN_SOCKET_ERROR);
    ASSERT_EQ(port.codes(), (std::vector<int>{TERN_POP3_REFUSED, TERN_POP3_DONE}));
    EXPECT_EQ(port.posts[0].text, "WinSock error 10061: Connection refused");
}

// With the commit left to the host, the deletions stand only when the host says so after the last
// message; until then no QUIT goes out, whatever happens.
struct HostCommitCase {
    const char* name;
    bool deleteMessages;
    Transcript after; // the server's words once finish() has been called
    std::vector<int> codesAfterSpooled;
    bool quitSent; // the session's last command is QUIT (otherwise the connection is dropped)
};

const HostCommitCase kHostCommits[] = {
    {"DeleteQuits",
     true,
     {{"+OK bye\r\n", "QUIT\r\n", S::AwaitQuit}},
     {TERN_POP3_OK, TERN_POP3_DONE},
     true},
    {"KeepResetsThenQuits",
     false,
     {{"+OK\r\n", "QUIT\r\n", S::AwaitQuit}, {"+OK bye\r\n", "QUIT\r\n", S::AwaitQuit}},
     {TERN_POP3_OK, TERN_POP3_DONE},
     true},
    {"KeepRefusedDropsTheConnection",
     false,
     {{"-ERR no\r\n", "RSET\r\n", S::AwaitKeep}},
     {TERN_POP3_REFUSED, TERN_POP3_DONE},
     false},
};

TEST(Pop3HostCommit, WaitsAfterTheLastMessageForTheHost) {
    for (const HostCommitCase& c : kHostCommits) {
        SCOPED_TRACE(c.name);
        FakePort port({TERN_POP3_REFUSED, TERN_POP3_PROGRESS});
        Pop3Session s(port, "pop.txt");
        Driver<Pop3Session> d(port, s);
        ASSERT_EQ(s.start("h", "joe", "secret", true, false, false, true), 0);
        d.event(TERN_STREAM_CONNECT);
        for (const Turn& t : kLogin) d.chunk(t.server);
        for (const char* reply : {"+OK 2 58\r\n", "+OK 1 a\r\n"}) d.chunk(reply);
        d.chunk(kMsg1);
        EXPECT_EQ(s.finish(true), -1); // not waiting yet
        for (const std::string& reply : {std::string("+OK\r\n"), std::string("+OK 2 b\r\n"), kMsg2})
            d.chunk(reply);
        EXPECT_EQ(d.lastWrite(), "DELE 2\r\n");
        d.chunk("+OK\r\n");
        // Every message is spooled and marked; nothing is committed yet.
        EXPECT_EQ(s.pop3State(), S::AwaitHost);
        EXPECT_EQ(d.lastWrite(), "DELE 2\r\n");
        EXPECT_EQ(port.files["pop.txt"], kTwoMessages);
        ASSERT_EQ(port.codesWithout(TERN_POP3_PROGRESS).back(), TERN_POP3_SPOOLED);
        const std::size_t before = port.posts.size();

        ASSERT_EQ(s.finish(c.deleteMessages), 0);
        EXPECT_EQ(d.lastWrite(), c.deleteMessages ? "QUIT\r\n" : "RSET\r\n");
        for (const Turn& t : c.after) {
            d.chunk(t.server);
            EXPECT_EQ(d.lastWrite(), t.wrote);
        }
        std::vector<int> after;
        for (std::size_t i = before; i < port.posts.size(); ++i)
            after.push_back(port.posts[i].code);
        EXPECT_EQ(after, c.codesAfterSpooled);
        EXPECT_EQ(port.socketClosed, !c.quitSent);
        EXPECT_EQ(std::count(port.writes.begin(), port.writes.end(), "QUIT\r\n"),
                  c.quitSent ? 1 : 0);
        EXPECT_TRUE(s.runOver());
    }
}

TEST_F(Pop3Test, HostCommitFailureAfterAMarkedMessageDropsTheConnectionInsteadOfQuitting) {
    ASSERT_EQ(s.start("h", "joe", "secret", true, false, false, true), 0);
    login();
    for (const std::string& reply :
         {std::string("+OK 2 58\r\n"), std::string("+OK 1 a\r\n"), kMsg1, std::string("+OK\r\n"),
          std::string("+OK 2 b\r\n"), std::string("-ERR gone\r\n")})
        d.chunk(reply);
    EXPECT_EQ(port.codesWithout(TERN_POP3_PROGRESS),
              (std::vector<int>{TERN_POP3_CONNECTED, TERN_POP3_COUNT, TERN_POP3_STORED,
                                TERN_POP3_REFUSED, TERN_POP3_DONE}));
    EXPECT_TRUE(port.socketClosed);
    EXPECT_EQ(std::count(port.writes.begin(), port.writes.end(), "QUIT\r\n"), 0);
}

} // namespace
} // namespace lx::net::test
