// What a mailbox keeps beside its record (pins, a long password), the current mailbox's
// security mirrored with the other current values, and how a run reads it back.
#include <gtest/gtest.h>

#include <cstring>

#include "common/settings/fixed_text.h"
#include "common/settings/mailbox_keys.h"
#include "common/settings/scramble.h"
#include "tests/settings/fake_registry.h"
#include "tests/settings/samples.h"

using namespace lx;
using lx_test::FakeRegistry;

namespace {

const std::string kPin(
    "AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:"
    "67:89");

MailboxRecord Named(const char* name, const char* password) {
    MailboxRecord rec = lx_test::SampleMailbox(1);
    std::memset(rec.unused, 0, sizeof rec.unused);
    CopyText(rec.name, name);
    CopyText(rec.password, password);
    Scramble(rec.password);
    return rec;
}

TEST(MailboxKeys, EveryNameIsOneKeyOfItsOwn) {
    const struct {
        const char* name;
        const char* key;
    } cases[] = {
        {"Home", "Home"}, {"NO NAME", "NO NAME"},      {"a\\b", "a%5Cb"},
        {"50%", "50%25"}, {"tab\there", "tab%09here"}, {"", "%"},
        {"%5C", "%255C"}, // an escape typed by the user does not meet the escape of "\"
    };
    for (const auto& c : cases) EXPECT_EQ(MailboxKeyName(c.name), c.key) << c.name;
}

TEST(MailboxKeys, PasswordLongerThanTheRecordIsKeptWhole) {
    const std::string longOne = "abcdefghijklmnop-qrstuvwxyz-0123456789|app";
    struct Case {
        const char* what;
        std::string typed;     // stored through the editor
        std::string changedTo; // then the record alone changed by an older program ("": not)
        std::string logsInWith;
        bool kept;
    };
    const Case cases[] = {
        {"short password", "secret", "", "secret", false},
        {"exactly sixteen", "0123456789abcdef", "", "0123456789abcdef", false},
        {"long app password", longOne, "", longOne, true},
        {"record changed to a short one since", longOne, "newpass", "newpass", true},
        {"record's first sixteen changed since", longOne, "Abcdefghijklmnop", "Abcdefghijklmnop",
         true},
        {"record emptied since", longOne, std::string(1, '\0'), "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeRegistry reg(true);
        MailboxRecord rec = Named("Home", c.typed.c_str());
        ASSERT_TRUE(KeepMailboxPassword(reg, "Home", c.typed));
        EXPECT_EQ(reg.mailboxes.count("Home") == 1, c.kept);
        if (!c.changedTo.empty()) {
            CopyText(rec.password, c.changedTo.c_str());
            Scramble(rec.password);
        }
        EXPECT_EQ(PlainWhole(MailboxPassword(reg, rec)), c.logsInWith);
        // The mirror holds what the runs log in with.
        MailboxList list;
        list.records[0] = rec;
        list.count = 1;
        ASSERT_TRUE(MakeCurrent(list, 0, reg));
        EXPECT_EQ(PlainWhole(reg.strings[kRegPassword]), c.logsInWith);
    }
    // A shorter password later removes the whole one kept before.
    FakeRegistry reg(true);
    ASSERT_TRUE(KeepMailboxPassword(reg, "Home", longOne));
    ASSERT_TRUE(KeepMailboxPassword(reg, "Home", "short"));
    EXPECT_EQ(reg.mailboxes["Home"]->strings.count(kRegLongPassword), 0u);
    // More than the mirror's buffer takes is refused rather than cut.
    EXPECT_FALSE(KeepMailboxPassword(reg, "Home", std::string(kRegPasswordSize, 'x')));
}

TEST(MailboxKeys, WholeScramblingAgreesWithTheRecordsOnItsFirstSixteen) {
    const std::string plain = "Sixteen-chars-ok and some more|";
    char head[17] = "";
    CopyText(head, plain.c_str());
    Scramble(head);
    const std::string whole = ScrambledWhole(plain);
    EXPECT_EQ(whole.substr(0, 16), std::string(head));
    EXPECT_EQ(whole.find('|'), std::string::npos);
    EXPECT_EQ(PlainWhole(whole), plain);
}

TEST(MailboxKeys, MirrorCarriesTheSecurityAndOlderRecordsReadAsClearText) {
    struct Case {
        const char* what;
        bool marked;
        MailboxSecurity security;
        int pop3, pop3Port, smtp, smtpPort, login;
    };
    const Case cases[] = {
        {"older record", false, {}, 0, 110, 0, 25, 0},
        {"TLS both, login",
         true,
         {MailSecurity::Tls, MailSecurity::Tls, 0, 0, true},
         2,
         995,
         2,
         465,
         1},
        {"STLS and STARTTLS",
         true,
         {MailSecurity::StartTls, MailSecurity::StartTls, 0, 0, false},
         1,
         110,
         1,
         587,
         0},
        {"ports of the user's own",
         true,
         {MailSecurity::None, MailSecurity::StartTls, 1110, 2525, true},
         0,
         1110,
         1,
         2525,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MailboxList list;
        list.records[0] = Named("Work", "pw");
        if (c.marked) WriteMailboxSecurity(list.records[0], c.security);
        list.count = 1;
        FakeRegistry reg(true);
        ASSERT_TRUE(MakeCurrent(list, 0, reg));
        EXPECT_EQ(reg.strings[kRegMailboxName], "Work");
        EXPECT_EQ(reg.dwords[kRegPop3Security], c.pop3);
        EXPECT_EQ(reg.dwords[kRegPop3Port], c.pop3Port);
        EXPECT_EQ(reg.dwords[kRegSmtpSecurity], c.smtp);
        EXPECT_EQ(reg.dwords[kRegSmtpPort], c.smtpPort);
        EXPECT_EQ(reg.dwords[kRegSmtpLogin], c.login);
        // Read back as the runs read it.
        const ServerSecurity pop3 = ReadCurrentSecurity(reg, MailServer::Pop3);
        const ServerSecurity smtp = ReadCurrentSecurity(reg, MailServer::Smtp);
        EXPECT_EQ(static_cast<int>(pop3.security), c.pop3);
        EXPECT_EQ(pop3.port, c.pop3Port);
        EXPECT_EQ(static_cast<int>(smtp.security), c.smtp);
        EXPECT_EQ(smtp.port, c.smtpPort);
        EXPECT_EQ(ReadCurrentSmtpLogin(reg), c.login == 1);
    }
}

TEST(MailboxKeys, RunReadsPinsOfTheCurrentMailboxOnlyForSecuredConnections) {
    FakeRegistry reg(true);
    // A mirror written before these values existed: clear text on the usual ports.
    ServerSecurity old = ReadCurrentSecurity(reg, MailServer::Pop3);
    EXPECT_EQ(old.security, MailSecurity::None);
    EXPECT_EQ(old.port, 110);
    EXPECT_FALSE(AsksForMore(old, MailServer::Pop3));
    EXPECT_EQ(ReadCurrentSecurity(reg, MailServer::Smtp).port, 25);

    ASSERT_TRUE(WriteMailboxPin(reg, "Work", MailServer::Smtp, kPin));
    reg.strings[kRegMailboxName] = "Work";
    reg.dwords[kRegSmtpSecurity] = 2;
    EXPECT_EQ(ReadCurrentSecurity(reg, MailServer::Smtp).pin, kPin);
    EXPECT_EQ(ReadCurrentSecurity(reg, MailServer::Pop3).pin, ""); // no POP3 pin kept
    reg.dwords[kRegSmtpSecurity] = 0;                              // clear text: no pin
    EXPECT_EQ(ReadCurrentSecurity(reg, MailServer::Smtp).pin, "");
    reg.dwords[kRegSmtpSecurity] = 7; // no such security: clear text
    EXPECT_EQ(ReadCurrentSecurity(reg, MailServer::Smtp).security, MailSecurity::None);
    reg.strings[kRegMailboxName] = "Home"; // another mailbox's pins are not this one's
    reg.dwords[kRegSmtpSecurity] = 1;
    EXPECT_EQ(ReadCurrentSecurity(reg, MailServer::Smtp).pin, "");

    const struct {
        ServerSecurity s;
        MailServer server;
        bool more;
    } asks[] = {
        {{MailSecurity::None, 110, ""}, MailServer::Pop3, false},
        {{MailSecurity::None, 25, ""}, MailServer::Smtp, false},
        {{MailSecurity::None, 1110, ""}, MailServer::Pop3, true},
        {{MailSecurity::StartTls, 110, ""}, MailServer::Pop3, true},
        {{MailSecurity::Tls, 465, ""}, MailServer::Smtp, true},
    };
    for (const auto& a : asks) EXPECT_EQ(AsksForMore(a.s, a.server), a.more) << a.s.port;
}

TEST(MailboxKeys, PinsFollowARenameAndGoWithTheMailbox) {
    FakeRegistry reg(true);
    ASSERT_TRUE(WriteMailboxPin(reg, "Old", MailServer::Pop3, kPin));
    ASSERT_TRUE(KeepMailboxPassword(reg, "Old", std::string(30, 'p')));
    ASSERT_TRUE(WriteMailboxPin(reg, "New", MailServer::Smtp, kPin)); // a former "New"'s
    ASSERT_TRUE(RenameMailboxKey(reg, "Old", "New"));
    EXPECT_EQ(reg.mailboxes.count("Old"), 0u);
    EXPECT_EQ(ReadMailboxPin(reg, "New", MailServer::Pop3), kPin);
    EXPECT_EQ(ReadMailboxPin(reg, "New", MailServer::Smtp), "");
    EXPECT_EQ(PlainWhole(reg.mailboxes["New"]->strings[kRegLongPassword]), std::string(30, 'p'));
    ASSERT_TRUE(WriteMailboxPin(reg, "New", MailServer::Pop3, ""));
    EXPECT_EQ(ReadMailboxPin(reg, "New", MailServer::Pop3), "");
    ASSERT_TRUE(ForgetMailboxKey(reg, "New"));
    EXPECT_TRUE(reg.mailboxes.empty());
    // Removing what was never there creates nothing.
    EXPECT_TRUE(WriteMailboxPin(reg, "None", MailServer::Pop3, ""));
    EXPECT_TRUE(KeepMailboxPassword(reg, "None", "short"));
    EXPECT_TRUE(reg.mailboxes.empty());
}

} // namespace
