// The SMTP and password-change sessions against aiosmtpd and scripted servers, under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include "netlib/tern32.h"
#include "tests/netlib/spoolmaker.h"
#include "tests/netlib/win/hostqueue.h"
#include "tests/netlib/win/peers.h"

namespace lx::net::test {
namespace {

constexpr UINT kSmtpMsg = WM_USER + 61;
constexpr UINT kCpwMsg = WM_USER + 70;
const std::set<int> kSmtpText = {TERN_SMTP_REFUSED, TERN_SMTP_PROGRESS};

std::string scriptedLog(const char* name) {
    return readFile(peersDir() + "/scripted/" + name + ".log");
}

int occurrences(const std::string& s, const std::string& what) {
    int n = 0;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
}

class SmtpPeer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TERNStartWinSock(257), 1);
        spool = peersDir() + "/TernSmtp.Txt";
    }
    void TearDown() override {
        if (session) TERNSMTPClose(session);
        TERNEndWinSock();
    }
    void send(HostQueue& host, const std::vector<Msg>& msgs, const char* server) {
        ASSERT_TRUE(writeFile(spool, makeSpool(msgs)));
        ASSERT_EQ(TERNSMTPStartWindow(host.window(), kSmtpMsg, spool.c_str(), &session), 0);
        ASSERT_EQ(TERNSMTPSendMail(session, server), 0);
        ASSERT_TRUE(host.waitForCode(TERN_SMTP_DONE, 20000)) << "run did not end";
    }
    std::string spool;
    TERNHANDLE session = 0;
};

const std::vector<Msg> kBatch = {
    {"alice@example.org",
     {"bob@example.org"},
     {"From: alice@example.org", "To: bob@example.org", "Subject: first", "", "Hello Bob.",
      ".a line with a dot", "..", "."}},
    {"carol@example.org",
     {"dan@example.org", "erin@example.org"},
     {"From: carol@example.org", "Subject: second", "", std::string("caf\xe9 8-bit"),
      std::string(900, 'w')}},
    {"alice@example.org", {"frank@example.org"}, {"Subject: third", "", "short"}},
};

TEST_F(SmtpPeer, AiosmtpdStoresExactlyWhatWasPrepared) {
    const std::string box = peersDir() + "/smtp/";
    int before = 0;
    while (fileExists(box + [&] {
        char n[16];
        std::snprintf(n, sizeof n, "%06d.eml", before + 1);
        return std::string(n);
    }()))
        ++before;
    HostQueue host(WM_USER + 61, kSmtpText);
    send(host, kBatch, "127.0.0.3");
    EXPECT_EQ(host.codesWithout(TERN_SMTP_PROGRESS), (std::vector<int>{17, 15, 15, 15, 18, 0}));
    for (std::size_t i = 0; i < kBatch.size(); ++i) {
        char n[16];
        std::snprintf(n, sizeof n, "%06d", before + int(i) + 1);
        EXPECT_EQ(readFile(box + n + ".eml"), storedData(kBatch[i])) << "message " << i + 1;
        std::string env = kBatch[i].from + "\n";
        for (const auto& t : kBatch[i].to) env += t + "\n";
        EXPECT_EQ(readFile(box + n + ".env"), env) << "message " << i + 1;
    }
}

TEST_F(SmtpPeer, MultiLineGreetingInOneChunk) {
    HostQueue host(kSmtpMsg, kSmtpText);
    send(host, {kBatch[2]}, "127.0.0.10");
    EXPECT_EQ(host.codesWithout(TERN_SMTP_PROGRESS), (std::vector<int>{17, 15, 18, 0}));
    const std::string log = scriptedLog("127.0.0.10-25");
    EXPECT_EQ(occurrences(log, "HELO alice\r\n"), 1);
}

TEST_F(SmtpPeer, GreetingWhoseFirstChunkHoldsOnlyContinuationLines) {
    HostQueue host(kSmtpMsg, kSmtpText);
    send(host, {kBatch[2]}, "127.0.0.11");
    EXPECT_EQ(host.codesWithout(TERN_SMTP_PROGRESS), (std::vector<int>{17, 15, 18, 0}));
    EXPECT_EQ(occurrences(scriptedLog("127.0.0.11-25"), "HELO alice\r\n"), 1);
}

TEST_F(SmtpPeer, RefusedRecipientCostsOnlyItsMessage) {
    std::vector<Msg> msgs = {
        kBatch[2], {"gina@example.org", {"bad@example.org", "good@example.org"}, {"x"}}, kBatch[2]};
    HostQueue host(kSmtpMsg, kSmtpText);
    send(host, msgs, "127.0.0.12");
    // The last message went through, so the run still ends with 18.
    EXPECT_EQ(host.codesWithout(TERN_SMTP_PROGRESS), (std::vector<int>{17, 15, 5, 20, 15, 18, 0}));
    std::vector<LPARAM> values;
    for (const auto& e : host.events)
        if (e.code == 15 || e.code == 20) values.push_back(e.value);
    EXPECT_EQ(values, (std::vector<LPARAM>{1, 2, 3}));
    const std::string log = scriptedLog("127.0.0.12-25");
    EXPECT_NE(log.find("RSET \r\n"), std::string::npos);
    EXPECT_EQ(log.find("RCPT TO:<good@example.org>"), std::string::npos);
}

TEST_F(SmtpPeer, RefusedConnectionIsReportedAtOnce) {
    HostQueue host(kSmtpMsg, kSmtpText);
    send(host, {kBatch[2]}, "127.0.0.20");
    ASSERT_EQ(host.codes(), (std::vector<int>{5, 0}));
    EXPECT_EQ(host.events[0].text, "WinSock error 10061: Connection refused");
}

TEST_F(SmtpPeer, ServerThatNeverAnswers) {
    HostQueue host(kSmtpMsg, kSmtpText);
    ASSERT_TRUE(writeFile(spool, makeSpool({kBatch[2]})));
    ASSERT_EQ(TERNSMTPStartWindow(host.window(), kSmtpMsg, spool.c_str(), &session), 0);
    ASSERT_EQ(TERNSMTPSendMail(session, "127.0.0.16"), 0);
    host.idle(1500);
    EXPECT_EQ(host.codes(), (std::vector<int>{17}));
    EXPECT_EQ(TERNSMTPClose(session), 0);
    session = 0;
    host.idle(200);
    EXPECT_EQ(host.codes(), (std::vector<int>{17}));
}

TEST_F(SmtpPeer, SpoolHeldExclusivelyUntilClose) {
    HostQueue host(kSmtpMsg, kSmtpText);
    ASSERT_TRUE(writeFile(spool, makeSpool({kBatch[2]})));
    ASSERT_EQ(TERNSMTPStartWindow(host.window(), kSmtpMsg, spool.c_str(), &session), 0);
    ASSERT_EQ(TERNSMTPSendMail(session, "127.0.0.16"), 0);
    HANDLE h = CreateFileA(spool.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    TERNSMTPClose(session);
    session = 0;
    h = CreateFileA(spool.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
}

class PasswordPeer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TERNStartWinSock(257), 1); }
    void TearDown() override {
        if (session) TERNPOPCPWClose(session);
        TERNEndWinSock();
    }
    TERNHANDLE session = 0;
};

TEST_F(PasswordPeer, SuccessfulChange) {
    HostQueue host(kCpwMsg, {TERN_CPW_REFUSED});
    ASSERT_EQ(TERNPOPCPWStartWindow(host.window(), kCpwMsg, &session), 0);
    ASSERT_EQ(TERNPOPCPWChangeNow(session, "127.0.0.18", "joe", "secret", "n3wpass"), 0);
    ASSERT_TRUE(host.waitForCode(TERN_CPW_DONE, 20000));
    EXPECT_EQ(host.codes(), (std::vector<int>{11, 13, 14}));
    const std::string log = scriptedLog("127.0.0.18-106");
    EXPECT_NE(log.find("USER joe\r\nPASS secret\r\nNEWPASS n3wpass\r\nQUIT\r\n"),
              std::string::npos);
}

TEST_F(PasswordPeer, RefusedNewPasswordInThreadMode) {
    HostQueue host(kCpwMsg, {TERN_CPW_REFUSED}, false);
    ASSERT_EQ(TERNPOPCPWStartThread(host.thread(), kCpwMsg, &session), 0);
    ASSERT_EQ(TERNPOPCPWChangeNow(session, "127.0.0.19", "joe", "secret", "n3wpass"), 0);
    ASSERT_TRUE(host.waitForCode(TERN_CPW_DONE, 20000));
    host.idle(200); // the server's close after QUIT follows as 10
    ASSERT_EQ(host.codes(), (std::vector<int>{11, 12, 14, 10}));
    EXPECT_EQ(host.events[1].text, "500 new password refused\r\n");
}

} // namespace
} // namespace lx::net::test
