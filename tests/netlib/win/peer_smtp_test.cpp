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

// The folder where aiosmtpd stores every message it accepts, and the name of its n-th file.
std::string smtpBox() { return peersDir() + "/smtp/"; }

std::string storedName(int n, const char* ext) {
    char name[16];
    std::snprintf(name, sizeof name, "%06d%s", n, ext);
    return name;
}

int storedCount() {
    int n = 0;
    while (fileExists(smtpBox() + storedName(n + 1, ".eml"))) ++n;
    return n;
}

// A Wine path of the Z: drive as the Unix path it stands for.
std::string unixPath(const std::string& winePath) {
    std::string p = winePath.rfind("Z:", 0) == 0 ? winePath.substr(2) : winePath;
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

std::string hex(const std::string& s) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : s) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
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

// One letter as the program keeps it: Windows-1252 text.
struct Letter {
    std::string from, to, subject, text;
};

// The letters through the exported MIME preparer into the spool file.
bool prepare(const std::string& spool, const std::vector<Letter>& letters) {
    TernMimeHandle h = 0;
    if (TERNMimePrepStart(spool.c_str(), letters[0].from.c_str(), &h) != 0) return false;
    bool ok = true;
    for (const Letter& l : letters) {
        ok &= TERNMimePrepNewMesg(h, l.from.c_str()) == 0;
        ok &= TERNMimePrepTO(h, l.to.c_str()) == 0;
        ok &= TERNMimePrepSubj(h, l.subject.c_str()) == 0;
        ok &= TERNMimePrepData(h, l.text.data(), static_cast<int32_t>(l.text.size())) == 0;
        ok &= TERNMimePrepEndMesg(h) == 0;
    }
    return TERNMimePrepFinish(h) == 0 && ok;
}

// Python's email package on the stored messages, against the letters. Wine starts the Unix
// program directly but gives no handle to wait on: the script's report file says it is done.
std::string pythonVerdict(const std::vector<Letter>& letters,
                          const std::vector<std::string>& files) {
    const std::string json = peersDir() + "/oracle.json", report = peersDir() + "/oracle.report";
    std::string want = "[";
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const Letter& l = letters[i];
        want += std::string(i ? "," : "") + "{\"subject\":\"" + hex(l.subject) + "\",\"from\":\"" +
                hex(l.from) + "\",\"to\":[\"" + hex(l.to) + "\"],\"text\":\"" + hex(l.text) + "\"}";
    }
    if (!writeFile(json, want + "]")) return "cannot write " + json;
    DeleteFileA(report.c_str());
    const char* source = std::getenv("LX_SOURCE_DIR");
    std::string cmd = std::string("/usr/bin/python3 ") + (source ? source : ".") +
                      "/tests/netlib/win/smtp_oracle.py " + unixPath(report) + " " + unixPath(json);
    for (const auto& f : files) cmd += " " + unixPath(f);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA("Z:\\usr\\bin\\python3", &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi))
        return "cannot start /usr/bin/python3: error " + std::to_string(GetLastError());
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    for (int i = 0; i < 600 && !fileExists(report); ++i) Sleep(50);
    return fileExists(report) ? readFile(report) : "no report from Python within 30 seconds";
}

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
    const int before = storedCount();
    HostQueue host(kSmtpMsg, kSmtpText);
    send(host, kBatch, "127.0.0.3");
    EXPECT_EQ(host.codesWithout(TERN_SMTP_PROGRESS),
              (std::vector<int>{TERN_SMTP_CONNECTED, TERN_SMTP_SENT, TERN_SMTP_SENT, TERN_SMTP_SENT,
                                TERN_SMTP_OK, TERN_SMTP_DONE}));
    for (std::size_t i = 0; i < kBatch.size(); ++i) {
        const int n = before + int(i) + 1;
        EXPECT_EQ(readFile(smtpBox() + storedName(n, ".eml")), storedData(kBatch[i]))
            << "message " << i + 1;
        std::string env = kBatch[i].from + "\n";
        for (const auto& t : kBatch[i].to) env += t + "\n";
        EXPECT_EQ(readFile(smtpBox() + storedName(n, ".env")), env) << "message " << i + 1;
    }
}

TEST_F(SmtpPeer, EightBitLettersAndTrickyLinesArriveAsQueued) {
    // 380-character lines of which nine characters in ten are 8-bit (the euro sign among them).
    std::string eightBit;
    for (int line = 0; line < 5; ++line) {
        for (int i = 0; i < 380; ++i)
            eightBit.push_back(i % 10 == 9 ? 'a' : "\xe9\xfc\xdf\x80"[i % 4]);
        eightBit += "\r\n";
    }
    const Letter plain = {"alice@example.org", "bob@example.org", "plain after",
                          "plain\r\nEND DATA\r\n.\r\nstill here\r\n"};
    const std::vector<Letter> letters = {
        {"Ren\xe9 M\xfcller <rene@example.org>",
         "J\xfcrgen Stra\xdf"
         "e <juergen@example.org>",
         "Caf\xe9 cr\xe8me br\xfbl\xe9"
         "e",
         "Gr\xfc\xdf"
         "e\r\nEND DATA\r\nthe line above ends nothing\r\n.\r\nnor does a full stop\r\n"},
        plain,
        {"\x80uro Desk <euro@example.org>", "bob@example.org",
         "Preis 5 \x80, gro\xdf und s\xfc\xdf", eightBit},
        plain,
        {"Stra\xdf"
         "enfest <fest@example.org>",
         "Z\xfcrich <zh@example.org>",
         "Stra\xdf"
         "enfest: ein langer Betreff mit \xfc, \xdf und \x80, der gefaltet werden muss",
         "\xe9t\xe9\r\n.\r\nEND DATA\r\n"},
        plain,
    };
    const int before = storedCount();
    ASSERT_TRUE(prepare(spool, letters));
    HostQueue host(kSmtpMsg, kSmtpText);
    ASSERT_EQ(TERNSMTPStartWindow(host.window(), kSmtpMsg, spool.c_str(), &session), 0);
    ASSERT_EQ(TERNSMTPSendMail(session, "127.0.0.3"), 0);
    ASSERT_TRUE(host.waitForCode(TERN_SMTP_DONE, 20000)) << "run did not end";
    std::vector<int> want = {TERN_SMTP_CONNECTED};
    want.insert(want.end(), letters.size(), TERN_SMTP_SENT);
    want.insert(want.end(), {TERN_SMTP_OK, TERN_SMTP_DONE});
    EXPECT_EQ(host.codesWithout(TERN_SMTP_PROGRESS), want);
    // Every message arrived exactly once, in order, to its bare envelope address.
    ASSERT_EQ(storedCount(), before + int(letters.size()));
    std::vector<std::string> files;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        files.push_back(smtpBox() + storedName(before + int(i) + 1, ".eml"));
        const std::string env = readFile(smtpBox() + storedName(before + int(i) + 1, ".env"));
        EXPECT_EQ(env.find('<'), std::string::npos) << env;
    }
    EXPECT_EQ(pythonVerdict(letters, files), "ok");
}

// A multi-line greeting is answered once, after its last line: whether it comes in one chunk
// (127.0.0.10) or its first chunk holds only continuation lines (127.0.0.11).
TEST_F(SmtpPeer, MultiLineGreetingsAreAnsweredOnce) {
    for (const char* server : {"127.0.0.10", "127.0.0.11"}) {
        SCOPED_TRACE(server);
        HostQueue host(kSmtpMsg, kSmtpText);
        send(host, {kBatch[2]}, server);
        EXPECT_EQ(
            host.codesWithout(TERN_SMTP_PROGRESS),
            (std::vector<int>{TERN_SMTP_CONNECTED, TERN_SMTP_SENT, TERN_SMTP_OK, TERN_SMTP_DONE}));
        EXPECT_EQ(occurrences(scriptedLog((std::string(server) + "-25").c_str()), "HELO alice\r\n"),
                  1);
        EXPECT_EQ(TERNSMTPClose(session), 0);
        session = 0;
    }
}

TEST_F(SmtpPeer, RefusedRecipientCostsOnlyItsMessage) {
    std::vector<Msg> msgs = {
        kBatch[2], {"gina@example.org", {"bad@example.org", "good@example.org"}, {"x"}}, kBatch[2]};
    HostQueue host(kSmtpMsg, kSmtpText);
    send(host, msgs, "127.0.0.12");
    // The last message went through, so the run still ends with 18.
    EXPECT_EQ(
        host.codesWithout(TERN_SMTP_PROGRESS),
        (std::vector<int>{TERN_SMTP_CONNECTED, TERN_SMTP_SENT, TERN_SMTP_REFUSED,
                          TERN_SMTP_MSGFAILED, TERN_SMTP_SENT, TERN_SMTP_OK, TERN_SMTP_DONE}));
    std::vector<LPARAM> values;
    for (const auto& e : host.events)
        if (e.code == TERN_SMTP_SENT || e.code == TERN_SMTP_MSGFAILED) values.push_back(e.value);
    EXPECT_EQ(values, (std::vector<LPARAM>{1, 2, 3}));
    const std::string log = scriptedLog("127.0.0.12-25");
    EXPECT_NE(log.find("RSET \r\n"), std::string::npos);
    EXPECT_EQ(log.find("RCPT TO:<good@example.org>"), std::string::npos);
}

TEST_F(SmtpPeer, RefusedConnectionIsReportedAtOnce) {
    HostQueue host(kSmtpMsg, kSmtpText);
    send(host, {kBatch[2]}, "127.0.0.20");
    ASSERT_EQ(host.codes(), (std::vector<int>{TERN_SMTP_REFUSED, TERN_SMTP_DONE}));
    EXPECT_EQ(host.events[0].text, "WinSock error 10061: Connection refused");
}

TEST_F(SmtpPeer, ServerThatNeverAnswers) {
    HostQueue host(kSmtpMsg, kSmtpText);
    ASSERT_TRUE(writeFile(spool, makeSpool({kBatch[2]})));
    ASSERT_EQ(TERNSMTPStartWindow(host.window(), kSmtpMsg, spool.c_str(), &session), 0);
    ASSERT_EQ(TERNSMTPSendMail(session, "127.0.0.16"), 0);
    expectOnlyConnected(host, TERN_SMTP_CONNECTED, [&] {
        const int r = TERNSMTPClose(session);
        session = 0;
        return r;
    });
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
