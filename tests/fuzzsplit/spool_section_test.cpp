// Message sections of the outgoing spool file whose lines a server could split: a lone CR inside
// the envelope or the data (or a zero byte in the envelope) makes the section broken, so nothing
// of it goes out, and the next message is read as usual.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "netlib/core/smtpsession.h"
#include "netlib/core/spoolmessage.h"
#include "tests/netlib/fakeport.h"
#include "tests/netlib/spoolmaker.h"

namespace lx::net::test {
namespace {

const Msg kGood = {"me@a.example", {"you@b.example"}, {"Subject: hi", "", "hello"}};

struct DamageCase {
    const char* what;
    Msg message;
};

const DamageCase kDamage[] = {
    {"a CR inside the sender",
     {"me@a.example>\rRCPT TO:<x@evil.example", {"you@b.example"}, {"hi"}}},
    {"a CR inside a recipient", {"me@a.example", {"you@b.example>\rDATA"}, {"hi"}}},
    {"a zero byte inside a recipient",
     {"me@a.example", {std::string("you@b.example", 13) + '\0' + "x"}, {"hi"}}},
    {"a CR inside a data line", {"me@a.example", {"you@b.example"}, {"x\r.\r", "MAIL FROM:<x>"}}},
};

TEST(SpoolSection, LinesAServerCouldSplitMakeTheSectionBroken) {
    for (const DamageCase& c : kDamage) {
        SCOPED_TRACE(c.what);
        std::string bytes = makeSpool({c.message, kGood});
        MemFile file(bytes);
        SpoolReader reader;
        reader.attach(&file);
        std::string line;
        ASSERT_TRUE(reader.next(line) && reader.next(line)); // count and first sender
        SpoolMessage m;
        EXPECT_EQ(readSection(reader, m), SectionRead::Broken);
        ASSERT_EQ(readSection(reader, m), SectionRead::Whole);
        EXPECT_EQ(m.senderLine, "FROM:<me@a.example>");
        EXPECT_EQ(m.recipientLines, std::vector<std::string>{"TO:<you@b.example>"});
    }
}

TEST(SpoolSection, TheSessionSendsNothingOfABrokenSectionAndGoesOn) {
    FakePort port({TERN_SMTP_REFUSED});
    port.files["TernSmtp.Txt"] = makeSpool({kDamage[0].message, kGood});
    SmtpSession s(port, "TernSmtp.Txt");
    ASSERT_EQ(s.sendMail("127.0.0.3"), 0);
    Driver<SmtpSession> d(port, s);
    d.event(TERN_STREAM_CONNECT);
    for (const char* reply : {"220 ready\r\n", "250 hi\r\n", "250 ok\r\n", "250 ok\r\n",
                              "354 go\r\n", "250 queued\r\n", "221 bye\r\n"})
        d.chunk(reply);
    for (const std::string& w : port.writes) EXPECT_EQ(w.find_first_of("\r\n"), w.size() - 2) << w;
    const std::vector<int> codes = port.codesWithout(TERN_SMTP_PROGRESS);
    EXPECT_EQ(codes, (std::vector<int>{TERN_SMTP_CONNECTED, TERN_SMTP_BADSPOOL, TERN_SMTP_MSGFAILED,
                                       TERN_SMTP_SENT, TERN_SMTP_OK, TERN_SMTP_DONE}));
}

} // namespace
} // namespace lx::net::test
