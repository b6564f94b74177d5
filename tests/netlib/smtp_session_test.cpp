// The SMTP session on scripted transcripts.
#include <gtest/gtest.h>

#include "netlib/core/smtpsession.h"
#include "tests/netlib/fakeport.h"
#include "tests/netlib/spoolmaker.h"

namespace lx::net::test {
namespace {

class SmtpTest : public ::testing::Test {
protected:
    SmtpTest() : port({TERN_SMTP_REFUSED, TERN_SMTP_PROGRESS}) {}
    void spool(const std::string& content) { port.files["spool.txt"] = content; }
    FakePort port;
    SmtpSession s{port, "spool.txt"};
    Driver<SmtpSession> d{port, s};
};

TEST_F(SmtpTest, DeliversMessagesAndAbandonsOneWithARefusedRecipient) {
    spool(makeSpool({{"alice@example.org", {"bob@example.org"}, {"Subject: one", "", "hello"}},
                     {"carol@example.org",
                      {"bad@example.org", "good@example.org"},
                      {"Subject: two", "", "x"}}}));
    ASSERT_EQ(s.sendMail("mail.example.org"), 0);
    EXPECT_EQ(port.connects, std::vector<std::string>{"mail.example.org:25"});
    d.event(TERN_STREAM_CONNECT);
    d.chunk("220 mail ESMTP\r\n");
    EXPECT_EQ(d.lastWrite(), "HELO alice\r\n");
    d.chunk("250 hi\r\n");
    EXPECT_EQ(d.lastWrite(), "MAIL FROM:<alice@example.org>\r\n");
    d.chunk("250 ok\r\n");
    EXPECT_EQ(d.lastWrite(), "RCPT TO:<bob@example.org>\r\n");
    d.chunk("250 ok\r\n");
    EXPECT_EQ(d.lastWrite(), "DATA \r\n");
    const std::size_t before = port.writes.size();
    d.chunk("354 go\r\n");
    ASSERT_EQ(port.writes.size(), before + 5);
    EXPECT_EQ(port.writes[before], "Subject: one\r\n");
    EXPECT_EQ(port.writes[before + 1], "\r\n");
    EXPECT_EQ(port.writes[before + 2], "hello\r\n");
    EXPECT_EQ(port.writes[before + 3], "\r\n"); // the preparer's closing line end
    EXPECT_EQ(port.writes[before + 4], ".\r\n");
    d.chunk("250 queued\r\n"); // reply to the end of data
    EXPECT_EQ(d.lastWrite(), "MAIL FROM:<carol@example.org>\r\n");
    d.chunk("250 ok\r\n");
    EXPECT_EQ(d.lastWrite(), "RCPT TO:<bad@example.org>\r\n");
    d.chunk("550 no such user\r\n");
    EXPECT_EQ(d.lastWrite(), "RSET \r\n");
    d.chunk("250 reset\r\n");
    EXPECT_EQ(d.lastWrite(), "QUIT \r\n");
    d.chunk("221 bye\r\n");
    // Data lines were sent one at a time, before the end of data.
    EXPECT_EQ(std::count(port.writes.begin(), port.writes.end(), ".\r\n"), 1);
    EXPECT_EQ(port.codesWithout(TERN_SMTP_PROGRESS), (std::vector<int>{17, 15, 5, 20, 0}));
    EXPECT_EQ(port.posts[1].code, TERN_SMTP_PROGRESS);
    EXPECT_EQ(port.posts.back().code, 0);
    for (const auto& p : port.posts) {
        if (p.code == 15) {
            EXPECT_EQ(p.value, 1);
        } else if (p.code == 20) {
            EXPECT_EQ(p.value, 2);
        } else if (p.code == 5) {
            EXPECT_EQ(p.text, "550 no such user\r\n");
        }
    }
    EXPECT_TRUE(s.runOver());
    // The server's closing of the connection after QUIT arrives as 12 after the 0.
    d.event(TERN_STREAM_CLOSE);
    EXPECT_EQ(port.posts.back().code, TERN_SMTP_PEERCLOSED);
}

TEST_F(SmtpTest, SuccessfulRunEndsWith18Then0AndProgressReaches100) {
    spool(makeSpool({{"a@b", {"c@d"}, {"line one", "line two"}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    d.event(TERN_STREAM_CONNECT);
    for (const char* r : {"220 x\r\n", "250 x\r\n", "250 x\r\n", "250 x\r\n", "354 x\r\n",
                          "250 x\r\n", "221 x\r\n"})
        d.chunk(r);
    EXPECT_EQ(port.codesWithout(TERN_SMTP_PROGRESS), (std::vector<int>{17, 15, 18, 0}));
    std::string lastProgress;
    for (const auto& p : port.posts)
        if (p.code == TERN_SMTP_PROGRESS) lastProgress = p.text;
    EXPECT_EQ(lastProgress, "100.00");
}

TEST_F(SmtpTest, DotStuffingAndSevenBitData) {
    spool(makeSpool({{"a@b", {"c@d"}, {".hidden", "caf\xe9", "..two", "."}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    for (const char* r : {"220 x\r\n", "250 x\r\n", "250 x\r\n", "250 x\r\n"}) d.chunk(r);
    const std::size_t before = port.writes.size();
    d.chunk("354 x\r\n");
    ASSERT_GE(port.writes.size(), before + 5);
    EXPECT_EQ(port.writes[before], "..hidden\r\n");
    EXPECT_EQ(port.writes[before + 1], std::string("caf") + char(105) + "\r\n");
    EXPECT_EQ(port.writes[before + 2], "...two\r\n");
    EXPECT_EQ(port.writes[before + 3], "..\r\n");
    EXPECT_EQ(port.writes.back(), ".\r\n");
}

TEST_F(SmtpTest, MultiLineGreetingInOneChunkIsActedOnOnce) {
    spool(makeSpool({{"a@b", {"c@d"}, {"x"}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    d.chunk("220-first\r\n220-second\r\n220 last\r\n");
    ASSERT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(port.writes[0], "HELO a\r\n");
}

TEST_F(SmtpTest, ChunkOfContinuationLinesOnlyWaitsForTheLastLine) {
    spool(makeSpool({{"a@b", {"c@d"}, {"x"}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    d.chunk("220-first\r\n220-second\r\n");
    EXPECT_TRUE(port.writes.empty());
    d.chunk("220 last\r\n");
    ASSERT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(port.writes[0], "HELO a\r\n");
    // A reply split inside a line is put together as well.
    d.chunk("25");
    EXPECT_EQ(port.writes.size(), 1u);
    d.chunk("0 ok\r\n");
    EXPECT_EQ(d.lastWrite(), "MAIL FROM:<a@b>\r\n");
}

TEST_F(SmtpTest, HeloCarriesTheLocalPartCutTo30Characters) {
    const std::string local(40, 'k');
    spool(makeSpool({{local + "@example.org", {"c@d"}, {"x"}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    d.chunk("220 x\r\n");
    EXPECT_EQ(port.writes[0], "HELO " + std::string(30, 'k') + "\r\n");
}

TEST_F(SmtpTest, CountOfZeroGives8And0WithoutConnecting) {
    spool(makeSpool({}, 0));
    EXPECT_EQ(s.sendMail("h"), -2);
    EXPECT_EQ(port.codes(), (std::vector<int>{8, 0}));
    EXPECT_FALSE(port.socketCreated);
    EXPECT_TRUE(port.connects.empty());
}

TEST_F(SmtpTest, StartChecksInOrder) {
    {
        FakePort p({});
        p.window = false;
        SmtpSession x(p, "spool.txt");
        EXPECT_EQ(x.sendMail("h"), -2);
        EXPECT_EQ(p.codes(), (std::vector<int>{9, 0}));
    }
    {
        FakePort p({});
        SmtpSession x(p, "spool.txt");
        EXPECT_EQ(x.sendMail(""), -2);
        EXPECT_EQ(p.codes(), (std::vector<int>{10, 0}));
        // A server name of 48 characters is not taken either.
        FakePort p2({});
        SmtpSession y(p2, "spool.txt");
        EXPECT_EQ(y.sendMail(std::string(48, 'h').c_str()), -2);
        EXPECT_EQ(p2.codes(), (std::vector<int>{10, 0}));
    }
    {
        FakePort p({});
        SmtpSession x(p, "missing.txt");
        EXPECT_EQ(x.sendMail("h"), -2);
        EXPECT_EQ(p.codes(), (std::vector<int>{6, 0}));
    }
    {
        FakePort p({});
        p.files["spool.txt"] = "Letters : 00001\r\nTO:<x@y>\r\n";
        SmtpSession x(p, "spool.txt");
        EXPECT_EQ(x.sendMail("h"), -2);
        EXPECT_EQ(p.codes(), (std::vector<int>{13, 0}));
    }
    {
        FakePort p({});
        p.files["spool.txt"] = makeSpool({{"a@b", {"c@d"}, {"x"}}});
        p.createOk = false;
        SmtpSession x(p, "spool.txt");
        EXPECT_EQ(x.sendMail("h"), -2);
        EXPECT_EQ(p.codes(), (std::vector<int>{11, 0}));
    }
    {
        FakePort p({});
        p.files["spool.txt"] = makeSpool({{"a@b", {"c@d"}, {"x"}}});
        p.connectOk = false;
        SmtpSession x(p, "spool.txt");
        EXPECT_EQ(x.sendMail("h"), -2);
        EXPECT_EQ(p.codes(), (std::vector<int>{4, 0}));
        EXPECT_TRUE(p.socketClosed);
    }
}

TEST_F(SmtpTest, RefusedConnectionIsReportedAndEndsTheRun) {
    spool(makeSpool({{"a@b", {"c@d"}, {"x"}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    port.lastError = 10061;
    d.event(TERN_SOCKET_ERROR);
    ASSERT_EQ(port.codes(), (std::vector<int>{5, 0}));
    EXPECT_EQ(port.posts[0].text, "WinSock error 10061: Connection refused");
    d.event(TERN_SOCKET_ERROR);
    EXPECT_EQ(port.posts.size(), 2u);
}

TEST_F(SmtpTest, RefusedGreetingQuitsAndEndsWithZeroOnly) {
    spool(makeSpool({{"a@b", {"c@d"}, {"x"}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    d.chunk("554 go away\r\n");
    EXPECT_EQ(d.lastWrite(), "QUIT \r\n");
    d.chunk("221 bye\r\n");
    EXPECT_EQ(port.codes(), (std::vector<int>{5, 0}));
    EXPECT_EQ(port.posts[0].text, "554 go away\r\n");
}

TEST_F(SmtpTest, ServerClosingMidRunEndsTheRun) {
    spool(makeSpool({{"a@b", {"c@d"}, {"x"}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    d.chunk("220 x\r\n");
    d.event(TERN_STREAM_CLOSE);
    EXPECT_EQ(port.codes(), (std::vector<int>{12, 0}));
}

TEST_F(SmtpTest, OverLongRepliesAndNulBytesStayBounded) {
    spool(makeSpool({{"a@b", {"c@d"}, {"x"}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    // 5000 bytes without a line end, then the end: acted on once, by its first digit.
    d.chunk("220 " + std::string(1020, 'a'));
    d.chunk(std::string(1024, 'b'));
    d.chunk(std::string(1024, 'c'));
    EXPECT_TRUE(port.writes.empty());
    d.chunk(std::string(10, 'd') + "\r\n");
    ASSERT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(port.writes[0], "HELO a\r\n");
    d.chunk(std::string("5\0 nul\r\n", 8));
    EXPECT_EQ(d.lastWrite(), "QUIT \r\n");
    EXPECT_EQ(port.posts.back().text, "5");
}

TEST_F(SmtpTest, SpoolWithoutMessageHeaderOrWithOverLongLineGives14) {
    spool("Letters : 00001\r\nFROM:<a@b>\r\nnothing here\r\n");
    ASSERT_EQ(s.sendMail("h"), 0);
    d.chunk("220 x\r\n");
    d.chunk("250 x\r\n");
    EXPECT_EQ(d.lastWrite(), "QUIT \r\n");
    d.chunk("221 x\r\n");
    EXPECT_EQ(port.codes(), (std::vector<int>{14, 0}));

    FakePort p({});
    p.files["s"] = makeSpool({{"a@b", {"c@d"}, {"ok", std::string(1000, 'z')}}});
    SmtpSession x(p, "s");
    Driver<SmtpSession> dx(p, x);
    ASSERT_EQ(x.sendMail("h"), 0);
    for (const char* r : {"220 x\r\n", "250 x\r\n", "250 x\r\n", "250 x\r\n", "354 x\r\n"})
        dx.chunk(r);
    // Inside the data a QUIT would be taken for data: the connection is dropped instead.
    EXPECT_EQ(dx.lastWrite(), "ok\r\n");
    EXPECT_TRUE(p.socketClosed);
    EXPECT_EQ(p.codesWithout(TERN_SMTP_PROGRESS), (std::vector<int>{14, 0}));
}

TEST_F(SmtpTest, FailedSendDuringQuitDoesNotLoop) {
    spool(makeSpool({{"a@b", {"c@d"}, {"x"}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    d.chunk("220 x\r\n");
    s.onEvent(TERN_STREAM_SENDFAIL, 0);
    EXPECT_EQ(d.lastWrite(), "QUIT \r\n");
    s.onEvent(TERN_STREAM_SENDFAIL, 0);
    EXPECT_EQ(port.codes(), (std::vector<int>{3, 3, 0}));
    EXPECT_TRUE(s.runOver());
}

TEST_F(SmtpTest, DataLinesGoAheadOfTheirCompletionsWithinAWindow) {
    constexpr int kLines = 300;
    std::vector<std::string> lines(kLines, std::string(498, 'd')); // 500 bytes with CR LF
    spool(makeSpool({{"a@b", {"c@d"}, lines}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    for (const char* r : {"220 x\r\n", "250 x\r\n", "250 x\r\n", "250 x\r\n"}) d.chunk(r);
    const std::size_t before = port.writes.size();
    port.inbox.push_back("354 go\r\n");
    s.onEvent(TERN_STREAM_DATA, 8);
    // One line per write, written ahead up to the window before any completion came back.
    const std::size_t ahead = static_cast<std::size_t>((SmtpSession::kDataWindow + 499) / 500);
    ASSERT_LT(ahead, static_cast<std::size_t>(kLines));
    EXPECT_EQ(port.writes.size() - before, ahead);
    for (std::size_t i = before; i < port.writes.size(); ++i)
        EXPECT_EQ(port.writes[i].size(), 500u);
    // Each completion lets one more line go.
    s.onEvent(TERN_STREAM_SENT, 500);
    EXPECT_EQ(port.writes.size() - before, ahead + 1);
    // Completions that arrive together report the progress once, with the last of them.
    const std::size_t postsBefore = port.posts.size();
    port.pending = true;
    for (int i = 0; i < 32; ++i) s.onEvent(TERN_STREAM_SENT, 500);
    EXPECT_EQ(port.posts.size(), postsBefore);
    port.pending = false;
    s.onEvent(TERN_STREAM_SENT, 500);
    ASSERT_EQ(port.posts.size(), postsBefore + 1);
    EXPECT_EQ(port.posts.back().text, "11.33"); // 34 of 300 lines, the blank line not yet counted
    d.pump();
    EXPECT_EQ(port.writes.back(), ".\r\n");
    d.chunk("250 ok\r\n");
    d.chunk("221 bye\r\n");
    EXPECT_EQ(port.codesWithout(TERN_SMTP_PROGRESS), (std::vector<int>{15, 18, 0}));
}

} // namespace
} // namespace lx::net::test
