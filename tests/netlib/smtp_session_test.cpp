// The SMTP session on scripted transcripts.
#include <gtest/gtest.h>

#include <algorithm>

#include "netlib/core/smtpsession.h"
#include "tests/netlib/fakeport.h"
#include "tests/netlib/spoolmaker.h"

namespace lx::net::test {
namespace {

using Codes = std::vector<int>;
using Indexes = std::vector<std::intptr_t>;

class SmtpTest : public ::testing::Test {
protected:
    SmtpTest() : port({TERN_SMTP_REFUSED, TERN_SMTP_PROGRESS}) {}
    void spool(const std::string& content) { port.files["spool.txt"] = content; }
    FakePort port;
    SmtpSession s{port, "spool.txt"};
    Driver<SmtpSession> d{port, s};
};

// A command the fake server refuses: one that begins with `command`, within the transaction of
// `sender` (any sender when empty). "." stands for the end of data.
struct Refusal {
    std::string sender;
    std::string command;
};

// A small SMTP server: answers every command the session writes, keeps the data of each message
// it accepts (with the dot-stuffing undone) and refuses what it is told to.
class FakeServer {
public:
    explicit FakeServer(std::vector<Refusal> refusals) : refusals_(std::move(refusals)) {}

    // The reply to one write, or "" when none is due (a data line).
    std::string answer(const std::string& w) {
        if (inData_ && w != ".\r\n") {
            data_ += w[0] == '.' ? w.substr(1) : w;
            return "";
        }
        if (w.rfind("MAIL FROM:<", 0) == 0) sender_ = w.substr(11, w.find('>') - 11);
        if (refused(w)) {
            inData_ = false;
            return "550 refused\r\n";
        }
        if (inData_) {
            inData_ = false;
            stored.push_back(data_);
            return "250 queued\r\n";
        }
        if (w.rfind("DATA ", 0) == 0) {
            inData_ = true;
            data_.clear();
            return "354 go ahead\r\n";
        }
        return w.rfind("QUIT", 0) == 0 ? "221 bye\r\n" : "250 ok\r\n";
    }
    std::vector<std::string> stored;

private:
    bool refused(const std::string& w) const {
        for (const Refusal& r : refusals_)
            if ((r.sender.empty() || r.sender == sender_) && w.rfind(r.command, 0) == 0)
                return true;
        return false;
    }
    std::vector<Refusal> refusals_;
    std::string sender_, data_;
    bool inData_ = false;
};

struct Transcript {
    Codes codes;          // without progress
    Indexes sent, failed; // lParam of TERN_SMTP_SENT and TERN_SMTP_MSGFAILED, in order
    std::vector<std::string> stored;
    std::vector<std::string> commands; // every write outside the data
    int rsets = 0;
};

// Runs a whole session against the fake server; every write is completed before its reply.
Transcript converse(const std::string& spoolText, const std::vector<Refusal>& refusals) {
    FakePort port({TERN_SMTP_REFUSED, TERN_SMTP_PROGRESS});
    port.files["spool.txt"] = spoolText;
    SmtpSession session(port, "spool.txt");
    FakeServer server(refusals);
    Transcript t;
    if (session.sendMail("mail.example.org") != 0) return t;
    session.onEvent(TERN_STREAM_CONNECT, 0);
    port.inbox.push_back("220 ready\r\n");
    session.onEvent(TERN_STREAM_DATA, 0);
    bool inData = false;
    for (std::size_t seen = 0; !session.runOver() && seen < port.writes.size() && seen < 100000;) {
        const std::string w = port.writes[seen++];
        session.onEvent(TERN_STREAM_SENT, static_cast<std::intptr_t>(w.size()));
        if (!inData || w == ".\r\n") t.commands.push_back(w);
        if (w.rfind("RSET", 0) == 0) ++t.rsets;
        const std::string reply = server.answer(w);
        inData = reply.rfind("354", 0) == 0 || (inData && reply.empty());
        if (reply.empty()) continue;
        port.inbox.push_back(reply);
        session.onEvent(TERN_STREAM_DATA, static_cast<std::intptr_t>(reply.size()));
    }
    t.codes = port.codesWithout(TERN_SMTP_PROGRESS);
    for (const auto& p : port.posts) {
        if (p.code == TERN_SMTP_SENT) t.sent.push_back(p.value);
        if (p.code == TERN_SMTP_MSGFAILED) t.failed.push_back(p.value);
    }
    t.stored = server.stored;
    return t;
}

Msg plainMsg(const std::string& from, const std::string& text) {
    return {from, {"rcpt@example.org"}, {"Subject: " + text, "", text}};
}

TEST(SmtpTranscript, EveryMessageIsSentWholeOrReportedFailed) {
    const Msg one = plainMsg("one@example.org", "first");
    const Msg three = plainMsg("three@example.org", "third");
    Msg tricky = plainMsg("two@example.org", "second");
    tricky.data = {"Subject: tricky", "", "END DATA", ".", "..two", ".leading", "END DATA", "tail"};
    Msg refusedRcpt = plainMsg("two@example.org", "second");
    refusedRcpt.to = {"bad@example.org", "good@example.org"};
    Msg countShort = plainMsg("two@example.org", "second");
    countShort.countError = -3;
    Msg countLong = plainMsg("two@example.org", "second");
    countLong.countError = 40;
    Msg noMarker = plainMsg("two@example.org", "second");
    noMarker.noEndMarker = true;
    Msg overLong = plainMsg("two@example.org", "second");
    overLong.data.push_back(std::string(1000, 'z'));
    Msg noRecipient = plainMsg("two@example.org", "second");
    noRecipient.to.clear();
    const Msg second = plainMsg("two@example.org", "second");

    const Codes allSent = {TERN_SMTP_CONNECTED, TERN_SMTP_SENT, TERN_SMTP_SENT,
                           TERN_SMTP_SENT,      TERN_SMTP_OK,   TERN_SMTP_DONE};
    const Codes refusedSecond = {TERN_SMTP_CONNECTED, TERN_SMTP_SENT, TERN_SMTP_REFUSED,
                                 TERN_SMTP_MSGFAILED, TERN_SMTP_SENT, TERN_SMTP_OK,
                                 TERN_SMTP_DONE};
    const Codes brokenSecond = {TERN_SMTP_CONNECTED, TERN_SMTP_SENT, TERN_SMTP_BADSPOOL,
                                TERN_SMTP_MSGFAILED, TERN_SMTP_SENT, TERN_SMTP_OK,
                                TERN_SMTP_DONE};
    struct Case {
        const char* what;
        Msg middle;
        std::vector<Refusal> refusals;
        Codes codes;
        int rsets; // a refused transaction is reset; a message that never started needs none
    };
    const Case cases[] = {
        {"body lines \"END DATA\" and \".\"", tricky, {}, allSent, 0},
        {"refused recipient", refusedRcpt, {{"", "RCPT TO:<bad@"}}, refusedSecond, 1},
        {"refused sender", second, {{"two@example.org", "MAIL"}}, refusedSecond, 1},
        {"refused DATA", second, {{"two@example.org", "DATA"}}, refusedSecond, 1},
        {"refused end of data", second, {{"two@example.org", "."}}, refusedSecond, 1},
        {"data count too small", countShort, {}, brokenSecond, 0},
        {"data count too large", countLong, {}, brokenSecond, 0},
        {"no \"END DATA\" line", noMarker, {}, brokenSecond, 0},
        {"over-long data line", overLong, {}, brokenSecond, 0},
        {"no recipient", noRecipient, {}, brokenSecond, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Transcript t = converse(makeSpool({one, c.middle, three}), c.refusals);
        EXPECT_EQ(t.codes, c.codes);
        EXPECT_EQ(t.rsets, c.rsets);
        const bool middleSent = c.codes == allSent;
        EXPECT_EQ(t.sent, middleSent ? Indexes({1, 2, 3}) : Indexes({1, 3}));
        EXPECT_EQ(t.failed, middleSent ? Indexes() : Indexes({2}));
        // Each message the server accepted arrived once and whole; no other one started.
        std::vector<std::string> want = {storedData(one)};
        if (middleSent) want.push_back(storedData(c.middle));
        want.push_back(storedData(three));
        EXPECT_EQ(t.stored, want);
        EXPECT_EQ(t.commands.back(), "QUIT \r\n");
        if (c.codes == brokenSecond) {
            EXPECT_EQ(
                std::count(t.commands.begin(), t.commands.end(), "MAIL FROM:<two@example.org>\r\n"),
                0);
        }
    }
}

TEST(SmtpTranscript, LastMessageFailingEndsWithoutOk) {
    const Msg one = plainMsg("one@example.org", "first");
    Msg two = plainMsg("two@example.org", "second");
    two.countError = 1;
    const Transcript t = converse(makeSpool({one, two}), {});
    EXPECT_EQ(t.codes, (Codes{TERN_SMTP_CONNECTED, TERN_SMTP_SENT, TERN_SMTP_BADSPOOL,
                              TERN_SMTP_MSGFAILED, TERN_SMTP_DONE}));
    EXPECT_EQ(t.stored, std::vector<std::string>{storedData(one)});
}

TEST(SmtpTranscript, CountLineBeyondTheMessagesEndsTheRun) {
    const Msg one = plainMsg("one@example.org", "first");
    const Transcript t = converse(makeSpool({one}, 2), {});
    EXPECT_EQ(t.codes,
              (Codes{TERN_SMTP_CONNECTED, TERN_SMTP_SENT, TERN_SMTP_BADSPOOL, TERN_SMTP_DONE}));
    EXPECT_EQ(t.commands.back(), "QUIT \r\n");
}

TEST_F(SmtpTest, TranscriptOfTwoMessagesWithARefusedRecipient) {
    spool(makeSpool({{"alice@example.org", {"bob@example.org"}, {"Subject: one", "", "hello"}},
                     {"carol@example.org",
                      {"bad@example.org", "good@example.org"},
                      {"Subject: two", "", "x"}}}));
    ASSERT_EQ(s.sendMail("mail.example.org"), 0);
    EXPECT_EQ(port.connects, std::vector<std::string>{"mail.example.org:25"});
    d.event(TERN_STREAM_CONNECT);
    // Each server reply and the command it is answered with.
    using Turns = std::vector<std::pair<const char*, const char*>>;
    const auto play = [&](const Turns& turns) {
        for (const auto& turn : turns) {
            d.chunk(turn.first);
            EXPECT_EQ(d.lastWrite(), turn.second) << turn.first;
        }
    };
    play({{"220 mail ESMTP\r\n", "HELO alice\r\n"},
          {"250 hi\r\n", "MAIL FROM:<alice@example.org>\r\n"},
          {"250 ok\r\n", "RCPT TO:<bob@example.org>\r\n"},
          {"250 ok\r\n", "DATA \r\n"}});
    EXPECT_EQ(s.state(), SmtpSession::AwaitData);
    const std::size_t before = port.writes.size();
    d.chunk("354 go\r\n");
    // The data lines one per write, then the end of data: nothing after the counted bytes.
    EXPECT_EQ(std::vector<std::string>(port.writes.begin() + before, port.writes.end()),
              (std::vector<std::string>{"Subject: one\r\n", "\r\n", "hello\r\n", ".\r\n"}));
    EXPECT_EQ(s.state(), SmtpSession::AwaitEndOfData);
    play({{"250 queued\r\n", "MAIL FROM:<carol@example.org>\r\n"},
          {"250 ok\r\n", "RCPT TO:<bad@example.org>\r\n"},
          {"550 no such user\r\n", "RSET \r\n"},
          {"250 reset\r\n", "QUIT \r\n"}});
    d.chunk("221 bye\r\n");
    EXPECT_EQ(port.codesWithout(TERN_SMTP_PROGRESS),
              (Codes{TERN_SMTP_CONNECTED, TERN_SMTP_SENT, TERN_SMTP_REFUSED, TERN_SMTP_MSGFAILED,
                     TERN_SMTP_DONE}));
    EXPECT_EQ(port.posts[1].code, TERN_SMTP_PROGRESS);
    for (const auto& p : port.posts) {
        if (p.code == TERN_SMTP_SENT) {
            EXPECT_EQ(p.value, 1);
        } else if (p.code == TERN_SMTP_MSGFAILED) {
            EXPECT_EQ(p.value, 2);
        } else if (p.code == TERN_SMTP_REFUSED) {
            EXPECT_EQ(p.text, "550 no such user\r\n");
        }
    }
    EXPECT_TRUE(s.runOver());
    // The server's closing of the connection after QUIT arrives after the end of the run.
    d.event(TERN_STREAM_CLOSE);
    EXPECT_EQ(port.posts.back().code, TERN_SMTP_PEERCLOSED);
}

TEST_F(SmtpTest, SuccessfulRunEndsWithOkThenDoneAndProgressReaches100) {
    spool(makeSpool({{"a@b", {"c@d"}, {"line one", "line two"}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    d.event(TERN_STREAM_CONNECT);
    for (const char* r : {"220 x\r\n", "250 x\r\n", "250 x\r\n", "250 x\r\n", "354 x\r\n",
                          "250 x\r\n", "221 x\r\n"})
        d.chunk(r);
    EXPECT_EQ(port.codesWithout(TERN_SMTP_PROGRESS),
              (Codes{TERN_SMTP_CONNECTED, TERN_SMTP_SENT, TERN_SMTP_OK, TERN_SMTP_DONE}));
    std::string lastProgress;
    for (const auto& p : port.posts)
        if (p.code == TERN_SMTP_PROGRESS) lastProgress = p.text;
    EXPECT_EQ(lastProgress, "100.00");
}

TEST_F(SmtpTest, DotStuffingAndSevenBitData) {
    spool(makeSpool({{"a@b", {"c@d"}, {".hidden", "caf\xe9", "..two", ".", "END DATA"}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    for (const char* r : {"220 x\r\n", "250 x\r\n", "250 x\r\n", "250 x\r\n"}) d.chunk(r);
    const std::size_t before = port.writes.size();
    d.chunk("354 x\r\n");
    EXPECT_EQ(std::vector<std::string>(port.writes.begin() + before, port.writes.end()),
              (std::vector<std::string>{"..hidden\r\n", std::string("caf") + char(105) + "\r\n",
                                        "...two\r\n", "..\r\n", "END DATA\r\n", ".\r\n"}));
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

TEST(SmtpStart, ChecksInOrderEachEndingTheRunAtOnce) {
    const std::string good = makeSpool({{"a@b", {"c@d"}, {"x"}}});
    struct Case {
        const char* what;
        bool window;
        std::string server;
        const char* spoolName; // the file the session is given; only "spool.txt" exists
        std::string spoolText;
        bool createOk, connectOk;
        int code;
    };
    const Case cases[] = {
        {"no hidden window", false, "h", "spool.txt", good, true, true, TERN_SMTP_NOWINDOW},
        {"no server name", true, "", "spool.txt", good, true, true, TERN_SMTP_NOSERVER},
        {"server name of 48 characters", true, std::string(48, 'h'), "spool.txt", good, true, true,
         TERN_SMTP_NOSERVER},
        {"no spool file", true, "h", "missing.txt", good, true, true, TERN_SMTP_NOSPOOL},
        {"count line of 0", true, "h", "spool.txt", makeSpool({}, 0), true, true,
         TERN_SMTP_NOCOUNT},
        {"no count line", true, "h", "spool.txt", "FROM:<a@b>\r\n", true, true, TERN_SMTP_NOCOUNT},
        {"second line not a sender", true, "h", "spool.txt", "Letters : 00001\r\nTO:<x@y>\r\n",
         true, true, TERN_SMTP_NOFROM},
        {"no socket", true, "h", "spool.txt", good, false, true, TERN_SMTP_NOSOCKET},
        {"no connection", true, "h", "spool.txt", good, true, false, TERN_SMTP_NOCONNECT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakePort p({});
        p.window = c.window;
        p.createOk = c.createOk;
        p.connectOk = c.connectOk;
        p.files["spool.txt"] = c.spoolText;
        SmtpSession x(p, c.spoolName);
        EXPECT_EQ(x.sendMail(c.server.c_str()), -2);
        EXPECT_EQ(p.codes(), (Codes{c.code, TERN_SMTP_DONE}));
        EXPECT_TRUE(x.runOver());
        // Only a failed connection had a socket to close; the earlier checks made none.
        EXPECT_EQ(p.socketClosed, c.code == TERN_SMTP_NOCONNECT);
        if (c.code != TERN_SMTP_NOSOCKET && c.code != TERN_SMTP_NOCONNECT) {
            EXPECT_FALSE(p.socketCreated);
        }
    }
}

TEST_F(SmtpTest, RefusedConnectionIsReportedAndEndsTheRun) {
    spool(makeSpool({{"a@b", {"c@d"}, {"x"}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    port.lastError = 10061;
    d.event(TERN_SOCKET_ERROR);
    ASSERT_EQ(port.codes(), (Codes{TERN_SMTP_REFUSED, TERN_SMTP_DONE}));
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
    EXPECT_EQ(port.codes(), (Codes{TERN_SMTP_REFUSED, TERN_SMTP_DONE}));
    EXPECT_EQ(port.posts[0].text, "554 go away\r\n");
}

TEST_F(SmtpTest, ServerClosingMidRunEndsTheRun) {
    spool(makeSpool({{"a@b", {"c@d"}, {"x"}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    d.chunk("220 x\r\n");
    d.event(TERN_STREAM_CLOSE);
    EXPECT_EQ(port.codes(), (Codes{TERN_SMTP_PEERCLOSED, TERN_SMTP_DONE}));
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

TEST_F(SmtpTest, SpoolWithoutMessageHeaderQuits) {
    spool("Letters : 00001\r\nFROM:<a@b>\r\nnothing here\r\n");
    ASSERT_EQ(s.sendMail("h"), 0);
    d.chunk("220 x\r\n");
    d.chunk("250 x\r\n");
    EXPECT_EQ(d.lastWrite(), "QUIT \r\n");
    d.chunk("221 x\r\n");
    EXPECT_EQ(port.codes(), (Codes{TERN_SMTP_BADSPOOL, TERN_SMTP_DONE}));
}

TEST_F(SmtpTest, FailureInTheMiddleOfTheDataDropsTheConnection) {
    // More data than the window holds, so the session is still reading it out.
    const std::vector<std::string> lines(200, std::string(498, 'd'));
    spool(makeSpool({{"a@b", {"c@d"}, lines}, {"a@b", {"c@d"}, {"x"}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    for (const char* r : {"220 x\r\n", "250 x\r\n", "250 x\r\n", "250 x\r\n"}) d.chunk(r);
    port.inbox.push_back("354 go\r\n");
    s.onEvent(TERN_STREAM_DATA, 8);
    ASSERT_EQ(s.state(), SmtpSession::SendingData);
    // A QUIT inside the data would be taken for data: the message is reported failed and the
    // connection dropped, so the server discards the unfinished message.
    s.onEvent(TERN_STREAM_SENDFAIL, 0);
    EXPECT_TRUE(port.socketClosed);
    EXPECT_NE(port.writes.back(), "QUIT \r\n");
    EXPECT_EQ(port.codesWithout(TERN_SMTP_PROGRESS),
              (Codes{TERN_SMTP_SENDFAIL, TERN_SMTP_MSGFAILED, TERN_SMTP_DONE}));
    EXPECT_EQ(port.posts[1].value, 1);
}

TEST_F(SmtpTest, FailedSendDuringQuitDoesNotLoop) {
    spool(makeSpool({{"a@b", {"c@d"}, {"x"}}}));
    ASSERT_EQ(s.sendMail("h"), 0);
    d.chunk("220 x\r\n");
    s.onEvent(TERN_STREAM_SENDFAIL, 0);
    EXPECT_EQ(d.lastWrite(), "QUIT \r\n");
    s.onEvent(TERN_STREAM_SENDFAIL, 0);
    EXPECT_EQ(port.codes(), (Codes{TERN_SMTP_SENDFAIL, TERN_SMTP_SENDFAIL, TERN_SMTP_DONE}));
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
    EXPECT_EQ(port.posts.back().text, "11.33"); // 34 of 300 lines
    d.pump();
    EXPECT_EQ(port.writes.back(), ".\r\n");
    d.chunk("250 ok\r\n");
    d.chunk("221 bye\r\n");
    EXPECT_EQ(port.codesWithout(TERN_SMTP_PROGRESS),
              (Codes{TERN_SMTP_SENT, TERN_SMTP_OK, TERN_SMTP_DONE}));
}

} // namespace
} // namespace lx::net::test
