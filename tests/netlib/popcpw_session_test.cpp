// The password-change session on scripted transcripts.
#include <gtest/gtest.h>

#include "netlib/core/popcpwsession.h"
#include "tests/netlib/fakeport.h"

namespace lx::net::test {
namespace {

class CpwTest : public ::testing::Test {
protected:
    CpwTest() : port({TERN_CPW_REFUSED}) {}
    FakePort port;
    PopCpwSession s{port};
    Driver<PopCpwSession> d{port, s};
};

TEST_F(CpwTest, ChangesThePassword) {
    ASSERT_EQ(s.changeNow("mail", "joe", "old", "new"), 0);
    EXPECT_EQ(port.connects, std::vector<std::string>{"mail:epass"});
    d.event(TERN_STREAM_CONNECT);
    d.chunk("200 hello\r\n");
    EXPECT_EQ(d.lastWrite(), "USER joe\r\n");
    d.chunk("200 ok\r\n");
    EXPECT_EQ(d.lastWrite(), "PASS old\r\n");
    d.chunk("200 ok\r\n");
    EXPECT_EQ(d.lastWrite(), "NEWPASS new\r\n");
    d.chunk("200 changed\r\n");
    EXPECT_EQ(d.lastWrite(), "QUIT\r\n");
    d.chunk("200 bye\r\n");
    EXPECT_EQ(port.codes(), (std::vector<int>{11, 13, 14}));
    d.event(TERN_STREAM_CLOSE);
    EXPECT_EQ(port.codes(), (std::vector<int>{11, 13, 14, 10}));
}

TEST_F(CpwTest, RefusedNewPasswordGives12QuitAnd14) {
    ASSERT_EQ(s.changeNow("mail", "joe", "old", "new"), 0);
    d.chunk("200 hello\r\n");
    d.chunk("200 ok\r\n");
    d.chunk("200 ok\r\n");
    d.chunk("500 too short\r\n");
    EXPECT_EQ(d.lastWrite(), "QUIT\r\n");
    d.chunk("200 bye\r\n");
    ASSERT_EQ(port.codes(), (std::vector<int>{12, 14}));
    EXPECT_EQ(port.posts[0].text, "500 too short\r\n");
}

TEST_F(CpwTest, StartChecksAndLongPasswords) {
    auto codesFor = [](bool window, const char* server, const char* user, const char* o,
                       const char* n) {
        FakePort p({});
        p.window = window;
        PopCpwSession x(p);
        EXPECT_EQ(x.changeNow(server, user, o, n), -2);
        return p.codes();
    };
    EXPECT_EQ(codesFor(false, "m", "u", "o", "n"), (std::vector<int>{0, 14}));
    EXPECT_EQ(codesFor(true, "", "u", "o", "n"), (std::vector<int>{1, 14}));
    EXPECT_EQ(codesFor(true, "m", "", "o", "n"), (std::vector<int>{2, 14}));
    EXPECT_EQ(codesFor(true, "m", "u", "", "n"), (std::vector<int>{3, 14}));
    EXPECT_EQ(codesFor(true, "m", "u", "o", "0123456789abcdef"), (std::vector<int>{4, 14}));
}

TEST_F(CpwTest, FallsBackToPort106WithoutTheService) {
    port.serviceOk = false;
    ASSERT_EQ(s.changeNow("mail", "joe", "old", "new"), 0);
    EXPECT_EQ(port.connects, (std::vector<std::string>{"mail:epass", "mail:106"}));
    FakePort p({});
    p.serviceOk = false;
    p.connectOk = false;
    PopCpwSession x(p);
    EXPECT_EQ(x.changeNow("mail", "joe", "old", "new"), -2);
    EXPECT_EQ(p.codes(), (std::vector<int>{7, 14}));
    EXPECT_TRUE(p.socketClosed);
}

TEST_F(CpwTest, ServerClosingEarlyEndsTheRun) {
    ASSERT_EQ(s.changeNow("mail", "joe", "old", "new"), 0);
    d.chunk("200 hello\r\n");
    d.event(TERN_STREAM_CLOSE);
    EXPECT_EQ(port.codes(), (std::vector<int>{10, 14}));
}

} // namespace
} // namespace lx::net::test
