// The password-change session on scripted transcripts.
#include <gtest/gtest.h>

#include "netlib/core/popcpwsession.h"
#include "tests/netlib/fakeport.h"

namespace lx::net::test {
namespace {

using S = CpwState;

// One turn: what the server says, the command the session then writes last and its state after.
struct Turn {
    std::string server;
    std::string wrote;
    S state;
};

struct TranscriptCase {
    const char* name;
    std::vector<Turn> turns;
    std::vector<int> codes;
    const char* refusal; // the reply text posted with the refusal, if any
};

const TranscriptCase kTranscripts[] = {
    {"ChangesThePassword",
     {{"200 hello\r\n", "USER joe\r\n", S::AwaitUser},
      {"200 ok\r\n", "PASS old\r\n", S::AwaitPass},
      {"200 ok\r\n", "NEWPASS new\r\n", S::AwaitNewPass},
      {"200 changed\r\n", "QUIT\r\n", S::AwaitQuit},
      {"200 bye\r\n", "QUIT\r\n", S::AwaitQuit}},
     {TERN_CPW_CONNECTED, TERN_CPW_CHANGED, TERN_CPW_DONE},
     nullptr},
    {"RefusedNewPasswordIsReportedThenQuitAndDone",
     {{"200 hello\r\n", "USER joe\r\n", S::AwaitUser},
      {"200 ok\r\n", "PASS old\r\n", S::AwaitPass},
      {"200 ok\r\n", "NEWPASS new\r\n", S::AwaitNewPass},
      {"500 too short\r\n", "QUIT\r\n", S::AwaitQuit},
      {"200 bye\r\n", "QUIT\r\n", S::AwaitQuit}},
     {TERN_CPW_CONNECTED, TERN_CPW_REFUSED, TERN_CPW_DONE},
     "500 too short\r\n"},
    {"RefusedUserIsReportedThenQuitAndDone",
     {{"200 hello\r\n", "USER joe\r\n", S::AwaitUser},
      {"550 unknown\r\n", "QUIT\r\n", S::AwaitQuit},
      {"200 bye\r\n", "QUIT\r\n", S::AwaitQuit}},
     {TERN_CPW_CONNECTED, TERN_CPW_REFUSED, TERN_CPW_DONE},
     "550 unknown\r\n"},
    {"RefusedQuitIsReportedAndSaidAgain",
     {{"200 hello\r\n", "USER joe\r\n", S::AwaitUser},
      {"200 ok\r\n", "PASS old\r\n", S::AwaitPass},
      {"200 ok\r\n", "NEWPASS new\r\n", S::AwaitNewPass},
      {"200 changed\r\n", "QUIT\r\n", S::AwaitQuit},
      {"500 what\r\n", "QUIT\r\n", S::AwaitQuit}},
     {TERN_CPW_CONNECTED, TERN_CPW_CHANGED, TERN_CPW_REFUSED, TERN_CPW_DONE},
     "500 what\r\n"},
};

TEST(CpwTranscript, Cases) {
    for (const TranscriptCase& c : kTranscripts) {
        SCOPED_TRACE(c.name);
        FakePort port({TERN_CPW_REFUSED});
        PopCpwSession s(port);
        Driver<PopCpwSession> d(port, s);
        ASSERT_EQ(s.changeNow("mail", "joe", "old", "new"), 0);
        EXPECT_EQ(port.connects, std::vector<std::string>{"mail:epass"});
        d.event(TERN_STREAM_CONNECT);
        for (std::size_t i = 0; i < c.turns.size(); ++i) {
            d.chunk(c.turns[i].server);
            EXPECT_EQ(d.lastWrite(), c.turns[i].wrote) << "turn " << i;
            EXPECT_EQ(s.cpwState(), c.turns[i].state) << "turn " << i;
        }
        EXPECT_EQ(port.codes(), c.codes);
        for (const Posted& p : port.posts) {
            if (p.code == TERN_CPW_REFUSED) {
                EXPECT_EQ(p.text, c.refusal);
            }
        }
        // The server's close after the run comes last.
        d.event(TERN_STREAM_CLOSE);
        EXPECT_EQ(port.posts.back().code, TERN_CPW_PEERCLOSED);
    }
}

TEST(CpwStart, ChecksInOrderAndLongPasswords) {
    struct Case {
        bool window;
        const char *server, *user, *oldPassword, *newPassword;
        int status;
    };
    const Case cases[] = {
        {false, "m", "u", "o", "n", TERN_CPW_NOWINDOW},
        {true, "", "u", "o", "n", TERN_CPW_NOSERVER},
        {true, "m", "", "o", "n", TERN_CPW_NOUSER},
        {true, "m", "u", "", "n", TERN_CPW_NOOLDPASS},
        {true, "m", "u", "0123456789abcdef", "n", TERN_CPW_NOOLDPASS},
        {true, "m", "u", "o", "0123456789abcdef", TERN_CPW_NONEWPASS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        FakePort p({});
        p.window = c.window;
        PopCpwSession x(p);
        EXPECT_EQ(x.changeNow(c.server, c.user, c.oldPassword, c.newPassword), -2);
        EXPECT_EQ(p.codes(), (std::vector<int>{c.status, TERN_CPW_DONE}));
    }
}

TEST(CpwStart, FallsBackToPort106WithoutTheService) {
    FakePort port({});
    port.serviceOk = false;
    PopCpwSession s(port);
    ASSERT_EQ(s.changeNow("mail", "joe", "old", "new"), 0);
    EXPECT_EQ(port.connects, (std::vector<std::string>{"mail:epass", "mail:106"}));
    FakePort p({});
    p.serviceOk = false;
    p.connectOk = false;
    PopCpwSession x(p);
    EXPECT_EQ(x.changeNow("mail", "joe", "old", "new"), -2);
    EXPECT_EQ(p.codes(), (std::vector<int>{TERN_CPW_NOCONNECT, TERN_CPW_DONE}));
    EXPECT_TRUE(p.socketClosed);
}

TEST(CpwEvents, ServerClosingEarlyEndsTheRun) {
    FakePort port({});
    PopCpwSession s(port);
    Driver<PopCpwSession> d(port, s);
    ASSERT_EQ(s.changeNow("mail", "joe", "old", "new"), 0);
    d.chunk("200 hello\r\n");
    d.event(TERN_STREAM_CLOSE);
    EXPECT_EQ(port.codes(), (std::vector<int>{TERN_CPW_PEERCLOSED, TERN_CPW_DONE}));
}

TEST(CpwEvents, SocketFailuresQuitAndPlatformErrorsCarryTheirText) {
    struct Case {
        int event;
        int status;
    };
    for (const Case c : {Case{TERN_STREAM_SENDFAIL, TERN_CPW_SENDFAIL},
                         Case{TERN_STREAM_RECVFAIL, TERN_CPW_RECVFAIL}}) {
        FakePort port({});
        PopCpwSession s(port);
        Driver<PopCpwSession> d(port, s);
        ASSERT_EQ(s.changeNow("mail", "joe", "old", "new"), 0);
        d.chunk("200 hello\r\n");
        d.event(c.event);
        EXPECT_EQ(d.lastWrite(), "QUIT\r\n");
        EXPECT_EQ(s.cpwState(), S::AwaitQuit);
        d.chunk("200 bye\r\n");
        EXPECT_EQ(port.codes(), (std::vector<int>{c.status, TERN_CPW_DONE}));
    }
    FakePort port({TERN_CPW_REFUSED});
    PopCpwSession s(port);
    Driver<PopCpwSession> d(port, s);
    ASSERT_EQ(s.changeNow("mail", "joe", "old", "new"), 0);
    port.lastError = 10060;
    d.event(TERN_SOCKET_ERROR);
    ASSERT_EQ(port.codes(), (std::vector<int>{TERN_CPW_REFUSED, TERN_CPW_DONE}));
    EXPECT_EQ(port.posts[0].text, "WinSock error 10060: Connection timed out");
}

} // namespace
} // namespace lx::net::test
