// Secured sessions through the exports against real servers (tools/testpeers/tlspeers.sh):
// Dovecot with STLS and with TLS from the first byte, aiosmtpd with STARTTLS and a required
// login. The servers' certificate comes from a test authority this test does not trust, so a
// pinned fingerprint stands in for it, and without one the connection is refused.
#include <gtest/gtest.h>

#include <windows.h>

#include "netlib/core/sha256.h"
#include "netlib/tern32.h"
#include "tests/netlib/spoolmaker.h"
#include "tests/netlib/win/hostqueue.h"
#include "tests/netlib/win/peers.h"

namespace lx::net::test {
namespace {

constexpr UINT kMsg = WM_USER + 77;
const char kPop3Server[] = "127.0.0.44";
const char kSmtpServer[] = "127.0.0.45";

std::string tlsDir() {
    const char* b = std::getenv("LX_BINARY_DIR");
    return std::string("Z:") + (b ? b : "/tmp") + "/tlspeers";
}

std::string pinOf(const char* server) {
    return fingerprintText(sha256(readFile(tlsDir() + "/" + server + ".der")));
}

// The text posted with the first status `code` of a run, or "".
std::string textOf(const HostQueue& host, int code) {
    for (const Event& e : host.events)
        if (e.code == code) return e.text;
    return "";
}

class SecurePeer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TERNStartWinSock(257), 1); }
    void TearDown() override {
        if (pop3) TERNPOP3Close(pop3);
        if (smtp) TERNSMTPClose(smtp);
        TERNEndWinSock();
    }
    TERNHANDLE pop3 = 0, smtp = 0;
};

// The second message spans many records and many of the session's chunks.
const std::string kLongBody(40000, 'x');
const std::vector<std::string> kTwo = {"From: a@example.org\nSubject: one\n\nFirst.\n",
                                       "From: b@example.org\nSubject: two\n\nSecond.\n" +
                                           kLongBody + "\n"};

TEST_F(SecurePeer, Pop3SecuredWithStlsOrFromTheFirstByte) {
    struct Case {
        const char* what;
        int security;
        bool checkOnly;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {"STLS, check only",
         TERN_SECURITY_STARTTLS,
         true,
         {TERN_POP3_CONNECTED, TERN_POP3_SECURED, TERN_POP3_COUNT, TERN_POP3_DONE}},
        {"TLS on port 995, retrieval",
         TERN_SECURITY_TLS,
         false,
         {TERN_POP3_CONNECTED, TERN_POP3_SECURED, TERN_POP3_COUNT, TERN_POP3_STORED,
          TERN_POP3_STORED, TERN_POP3_OK, TERN_POP3_DONE}},
    };
    const std::string spool = tlsDir() + "/TernPop3.Txt";
    const std::string pin = pinOf("good");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fillMaildir(tlsDir() + "/mail/joe", kTwo);
        DeleteFileA(spool.c_str());
        HostQueue host(kMsg, {TERN_POP3_REFUSED, TERN_POP3_INSECURE});
        ASSERT_EQ(TERNPOP3StartWindow(host.window(), kMsg, spool.c_str(), &pop3), 0);
        ASSERT_EQ(TERNPOP3SetSecurity(pop3, c.security, 0, pin.c_str()), 0);
        const int started = c.checkOnly
                                ? TERNPOP3IsThereMail(pop3, kPop3Server, "joe", "secret", 0)
                                : TERNPOP3PullMail(pop3, kPop3Server, "joe", "secret", 0, 0);
        ASSERT_EQ(started, 0);
        ASSERT_TRUE(host.waitForCode(TERN_POP3_DONE, 20000)) << "run did not end";
        EXPECT_EQ(host.codesWithout(TERN_POP3_PROGRESS), c.codes)
            << textOf(host, TERN_POP3_INSECURE) << textOf(host, TERN_POP3_REFUSED);
        int n = 0;
        EXPECT_EQ(TERNPOP3NumMail(pop3, &n), 0);
        EXPECT_EQ(n, 2);
        if (!c.checkOnly) {
            const std::string stored = readFile(spool);
            EXPECT_NE(stored.find("Subject: one\r\n\r\nFirst.\r\n"), std::string::npos);
            EXPECT_NE(stored.find("Subject: two\r\n\r\nSecond.\r\n" + kLongBody + "\r\n.\r\n"),
                      std::string::npos);
            // A record's many chunks report the progress once, not once a chunk: each report is
            // a post the host has to take.
            const std::size_t progress =
                host.events.size() - host.codesWithout(TERN_POP3_PROGRESS).size();
            EXPECT_LT(progress, kLongBody.size() / 1024 / 2);
        }
        TERNPOP3Close(pop3);
        pop3 = 0;
    }
}

TEST_F(SecurePeer, Pop3RefusesACertificateItCannotTrust) {
    struct Case {
        const char* what;
        std::string pin;
        const char* reason;
    };
    const Case cases[] = {
        {"no pin, authority not trusted", "", "authority"},
        {"another certificate pinned", pinOf("othername"), "is not the pinned one"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HostQueue host(kMsg, {TERN_POP3_REFUSED, TERN_POP3_INSECURE});
        ASSERT_EQ(TERNPOP3StartWindow(host.window(), kMsg, "unused", &pop3), 0);
        ASSERT_EQ(TERNPOP3SetSecurity(pop3, TERN_SECURITY_TLS, 0, c.pin.c_str()), 0);
        ASSERT_EQ(TERNPOP3IsThereMail(pop3, kPop3Server, "joe", "secret", 0), 0);
        ASSERT_TRUE(host.waitForCode(TERN_POP3_DONE, 20000)) << "run did not end";
        EXPECT_EQ(host.codes(),
                  (std::vector<int>{TERN_POP3_CONNECTED, TERN_POP3_INSECURE, TERN_POP3_DONE}));
        EXPECT_NE(textOf(host, TERN_POP3_INSECURE).find(c.reason), std::string::npos)
            << textOf(host, TERN_POP3_INSECURE);
        TERNPOP3Close(pop3);
        pop3 = 0;
    }
}

TEST_F(SecurePeer, SmtpStartTlsAndLogin) {
    // Enough lines that many records are in flight at once.
    Msg letter = {"joe@example.org", {"ann@example.org"}, {"Subject: secured", ""}};
    for (int i = 0; i < 2000; ++i)
        letter.data.push_back("line " + std::to_string(i) + " " + std::string(60, 'y'));
    const std::string spool = tlsDir() + "/TernSmtp.Txt";
    const std::string pin = pinOf("good");
    struct Case {
        const char* what;
        const char* password;
        std::vector<int> codes;
        const char* reason; // a fragment of the login refusal, or null
    };
    const Case cases[] = {
        {"right password",
         "secret",
         {TERN_SMTP_CONNECTED, TERN_SMTP_SECURED, TERN_SMTP_SENT, TERN_SMTP_OK, TERN_SMTP_DONE},
         nullptr},
        {"wrong password",
         "wrong",
         {TERN_SMTP_CONNECTED, TERN_SMTP_SECURED, TERN_SMTP_AUTHFAIL, TERN_SMTP_DONE},
         "refused the login: 535"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = countFiles(tlsDir() + "/smtp/*.eml");
        ASSERT_TRUE(writeFile(spool, makeSpool({letter})));
        HostQueue host(kMsg, {TERN_SMTP_REFUSED, TERN_SMTP_INSECURE, TERN_SMTP_AUTHFAIL});
        ASSERT_EQ(TERNSMTPStartWindow(host.window(), kMsg, spool.c_str(), &smtp), 0);
        ASSERT_EQ(TERNSMTPSetSecurity(smtp, TERN_SECURITY_STARTTLS, 0, pin.c_str()), 0);
        ASSERT_EQ(TERNSMTPSetLogin(smtp, "joe", c.password), 0);
        ASSERT_EQ(TERNSMTPSendMail(smtp, kSmtpServer), 0);
        ASSERT_TRUE(host.waitForCode(TERN_SMTP_DONE, 20000)) << "run did not end";
        EXPECT_EQ(host.codesWithout(TERN_SMTP_PROGRESS), c.codes)
            << textOf(host, TERN_SMTP_INSECURE) << textOf(host, TERN_SMTP_REFUSED);
        if (c.reason) {
            EXPECT_NE(textOf(host, TERN_SMTP_AUTHFAIL).find(c.reason), std::string::npos)
                << textOf(host, TERN_SMTP_AUTHFAIL);
        }
        EXPECT_EQ(countFiles(tlsDir() + "/smtp/*.eml"), before + (c.reason ? 0 : 1));
        // The lines go out gathered into records; the completions of one record report the
        // progress once, not once a line.
        const std::size_t progress =
            host.events.size() - host.codesWithout(TERN_SMTP_PROGRESS).size();
        EXPECT_LT(progress, letter.data.size() / 20);
        if (!c.reason) {
            char name[32];
            std::snprintf(name, sizeof name, "/smtp/%06d.eml", before + 1);
            std::string want;
            for (const std::string& line : letter.data) want += line + "\r\n";
            EXPECT_EQ(readFile(tlsDir() + name), want);
        }
        TERNSMTPClose(smtp);
        smtp = 0;
    }
}

TEST_F(SecurePeer, SettingsThatAreNotValidChangeNothing) {
    HostQueue host(kMsg, {});
    ASSERT_EQ(TERNSMTPStartWindow(host.window(), kMsg, "unused", &smtp), 0);
    EXPECT_EQ(TERNSMTPSetSecurity(smtp, 3, 0, nullptr), -3);
    EXPECT_EQ(TERNSMTPSetSecurity(smtp, TERN_SECURITY_TLS, 70000, nullptr), -3);
    EXPECT_EQ(TERNSMTPSetSecurity(smtp, TERN_SECURITY_TLS, 0, "AB:CD"), -3);
    EXPECT_EQ(TERNSMTPSetLogin(smtp, std::string(256, 'u').c_str(), "p"), -3);
    EXPECT_EQ(TERNSMTPSetSecurity(0, TERN_SECURITY_TLS, 0, nullptr), -4);
    EXPECT_EQ(TERNPOP3SetSecurity(smtp, TERN_SECURITY_TLS, 0, nullptr), -4); // not a POP3 session
    EXPECT_EQ(TERNSMTPSetLogin(smtp, nullptr, nullptr), 0);
}

} // namespace
} // namespace lx::net::test
