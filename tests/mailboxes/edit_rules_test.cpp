// The mailbox editors' shared rules: working copies in and out of a record, the checks before
// storing, and the "Default Folder" entries.
#include "mailer/transfer/logic/mboxedit_rules.h"
#include "tests/settings/mailbox_image.h"

#include "common/settings/fixed_text.h"
#include "common/settings/scramble.h"

#include <gtest/gtest.h>
#include <cctype>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using lxtest::Image;

namespace {

lx::MailboxList TwoMailboxes() {
    lx::MailboxList list;
    lx::CopyText(list.records[0].name, "Home");
    lx::CopyText(list.records[1].name, "Work");
    list.count = 2;
    return list;
}

lx::MailboxWork GoodWork() {
    lx::MailboxWork work;
    work.name = "Club";
    work.pop3Server = "pop.club.example";
    work.smtpServer = "smtp.club.example";
    work.address = "me@club.example";
    work.user = "me";
    work.password = "sec|ret~";
    work.apop = true;
    work.defaultFolder = "Work";
    work.defaultFolderNum = 12;
    return work;
}

TEST(MailboxEditRules, RecordFromWorkScramblesAndWorkFromRecordGivesItBack) {
    lx::MailboxRecord base;
    base.current = 1;
    base.unused[3] = 0x5A;
    const lx::MailboxRecord record = lx::RecordFromWork(GoodWork(), base);
    EXPECT_EQ("Club", lx::TextOf(record.name));
    EXPECT_EQ("smtp.club.example", lx::TextOf(record.smtpServer));
    EXPECT_EQ(1, record.apop);
    EXPECT_EQ(0, record.deleteMail);
    EXPECT_EQ("Work", lx::TextOf(record.defaultFolder));
    EXPECT_EQ(12, record.defaultFolderNum);
    // What the record held of its own stays.
    EXPECT_EQ(1, record.current);
    EXPECT_EQ(0x5A, record.unused[3]);
    // Stored scrambled, never with "|".
    char expected[17] = "sec|ret~";
    lx::Scramble(expected);
    EXPECT_EQ(0, std::memcmp(expected, record.password, sizeof expected));
    EXPECT_EQ(nullptr, std::memchr(record.password, '|', sizeof record.password));

    const lx::MailboxWork back = lx::WorkFromRecord(record);
    EXPECT_EQ("sec|ret~", back.password);
    EXPECT_EQ("me@club.example", back.address);
    EXPECT_TRUE(back.apop);
    EXPECT_FALSE(back.deleteMail);
    EXPECT_EQ(12, back.defaultFolderNum);
}

TEST(MailboxEditRules, SixteenCharacterPasswordFillsTheFieldWithoutOverflow) {
    lx::MailboxWork work = GoodWork();
    work.password = "0123456789abcdef";
    const lx::MailboxRecord record = lx::RecordFromWork(work, lx::MailboxRecord{});
    EXPECT_EQ('\0', record.password[16]);
    EXPECT_EQ(0, record.deleteMail); // the field after the password is untouched
    EXPECT_EQ("0123456789abcdef", lx::WorkFromRecord(record).password);
}

// The record keeps the first 16 characters; the whole goes beside it (mailbox_keys_test).
TEST(MailboxEditRules, LongPasswordFillsTheRecordWithItsFirstSixteen) {
    lx::MailboxWork work = GoodWork();
    work.password = "0123456789abcdef-and-more-of-an-app-password";
    const lx::MailboxRecord record = lx::RecordFromWork(work, lx::MailboxRecord{});
    EXPECT_EQ('\0', record.password[16]);
    EXPECT_EQ(0, record.deleteMail);
    EXPECT_EQ("0123456789abcdef", lx::WorkFromRecord(record).password);
}

TEST(MailboxEditRules, SecurityGoesIntoTheSpareBytesAndNothingChosenLeavesThemAlone) {
    lx::MailboxRecord old = lx::RecordFromWork(GoodWork(), lx::MailboxRecord{});
    for (std::size_t i = 0; i < sizeof old.unused; ++i)
        old.unused[i] = static_cast<std::uint8_t>(0xA0 + i); // an older program's leftovers
    const lx::MailboxWork unchanged = lx::WorkFromRecord(old);
    EXPECT_EQ(unchanged.security, lx::MailboxSecurity{});
    const lx::MailboxRecord again = lx::RecordFromWork(unchanged, old);
    EXPECT_EQ(Image(again), Image(old));

    lx::MailboxWork secured = unchanged;
    secured.security = {lx::MailSecurity::Tls, lx::MailSecurity::StartTls, 0, 2525, true};
    const lx::MailboxRecord stored = lx::RecordFromWork(secured, old);
    EXPECT_EQ(lx::WorkFromRecord(stored).security, secured.security);
    const auto was = Image(old), now = Image(stored);
    EXPECT_TRUE(std::equal(was.begin(), was.begin() + 367, now.begin())); // every other field as it was
}

TEST(MailboxEditRules, PortFieldFollowsTheSecurityChoice) {
    using lx::MailSecurity;
    using lx::MailServer;
    struct Case {
        MailServer server;
        const char* typed;
        MailSecurity security;
        bool valid;
        int kept; // 0: the usual port
    };
    const Case cases[] = {
        {MailServer::Pop3, "110", MailSecurity::None, true, 0},
        {MailServer::Pop3, "110", MailSecurity::StartTls, true, 0},
        {MailServer::Pop3, "995", MailSecurity::Tls, true, 0},
        {MailServer::Pop3, "110", MailSecurity::Tls, true, 110}, // TLS on 110: the user's own
        {MailServer::Smtp, "25", MailSecurity::None, true, 0},
        {MailServer::Smtp, "587", MailSecurity::StartTls, true, 0},
        {MailServer::Smtp, "465", MailSecurity::Tls, true, 0},
        {MailServer::Smtp, "2525", MailSecurity::None, true, 2525},
        {MailServer::Smtp, "", MailSecurity::Tls, true, 0},
        {MailServer::Smtp, "65535", MailSecurity::None, true, 65535},
        {MailServer::Smtp, "0", MailSecurity::None, false, 0},
        {MailServer::Smtp, "65536", MailSecurity::None, false, 0},
        {MailServer::Smtp, "25a", MailSecurity::None, false, 0},
        {MailServer::Smtp, "-25", MailSecurity::None, false, 0},
        {MailServer::Smtp, "0000025", MailSecurity::None, false, 0},
    };
    for (const Case& c : cases) {
        std::uint16_t port = 7;
        EXPECT_EQ(lx::PortFromField(c.typed, c.server, c.security, port), c.valid) << c.typed;
        if (c.valid) EXPECT_EQ(port, c.kept) << c.typed;
    }
    EXPECT_EQ(lx::PortFieldText({}, MailServer::Pop3), "110");
    EXPECT_EQ(
        lx::PortFieldText({MailSecurity::None, MailSecurity::Tls, 0, 0, false}, MailServer::Smtp),
        "465");
    EXPECT_EQ(lx::PortFieldText({MailSecurity::None, MailSecurity::Tls, 0, 2465, false},
                                MailServer::Smtp),
              "2465");
    struct Change {
        const char* shown;
        MailSecurity before, after;
        const char* now;
    };
    const Change changes[] = {
        {"25", MailSecurity::None, MailSecurity::Tls, "465"},
        {"465", MailSecurity::Tls, MailSecurity::StartTls, "587"},
        {"", MailSecurity::None, MailSecurity::StartTls, "587"},
        {"2525", MailSecurity::None, MailSecurity::Tls, "2525"}, // the user's own stays
        {"465", MailSecurity::None, MailSecurity::Tls, "465"},
    };
    for (const Change& c : changes)
        EXPECT_EQ(lx::PortFieldAfterChoice(c.shown, MailServer::Smtp, c.before, c.after), c.now)
            << c.shown;
}

TEST(MailboxEditRules, EmptyNameIsStoredAsNoName) {
    lx::MailboxWork work = GoodWork();
    work.name.clear();
    EXPECT_EQ("NO NAME", lx::TextOf(lx::RecordFromWork(work, lx::MailboxRecord{}).name));
}

TEST(MailboxEditRules, NewMailboxTakesInAsItsFolder) {
    const lx::MailboxWork work = lx::NewMailboxWork(3);
    EXPECT_EQ("_IN", work.defaultFolder);
    EXPECT_EQ(3, work.defaultFolderNum);
    EXPECT_TRUE(work.pop3Server.empty());
    EXPECT_TRUE(work.password.empty());
}

struct CheckCase {
    const char* what;
    lx::MailboxField field;
    std::string value;
    int index; // the record edited (2: a new one)
    lx::WorkRefusal refusal;
};

class MailboxWorkCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(MailboxWorkCheck, RefusesWhatCannotBeStored) {
    const CheckCase& c = GetParam();
    lx::MailboxWork work = GoodWork();
    lx::WorkField(work, c.field) = c.value;
    const lx::WorkCheck check = lx::CheckWork(work, TwoMailboxes(), c.index);
    EXPECT_EQ(c.refusal, check.refusal);
    if (c.refusal != lx::WorkRefusal::None) {
        EXPECT_EQ(c.field, check.field);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MailboxWorkCheck,
    ::testing::Values(
        CheckCase{"name of 12", lx::MailboxField::Name, "ABCDEFGHIJKL", 2, lx::WorkRefusal::None},
        CheckCase{"name of 13", lx::MailboxField::Name, "ABCDEFGHIJKLM", 2,
                  lx::WorkRefusal::NameTooLong},
        CheckCase{"name of another", lx::MailboxField::Name, "work", 2, lx::WorkRefusal::NameTaken},
        CheckCase{"own name", lx::MailboxField::Name, "Work", 1, lx::WorkRefusal::None},
        CheckCase{"server of 79", lx::MailboxField::Pop3Server, std::string(79, 's'), 2,
                  lx::WorkRefusal::None},
        CheckCase{"server of 80", lx::MailboxField::SmtpServer, std::string(80, 's'), 2,
                  lx::WorkRefusal::FieldTooLong},
        CheckCase{"address of 80", lx::MailboxField::Address, std::string(80, 'a'), 2,
                  lx::WorkRefusal::FieldTooLong},
        CheckCase{"user of 63", lx::MailboxField::User, std::string(63, 'u'), 2,
                  lx::WorkRefusal::None},
        CheckCase{"user of 64", lx::MailboxField::User, std::string(64, 'u'), 2,
                  lx::WorkRefusal::FieldTooLong},
        CheckCase{"password of 16", lx::MailboxField::Password, std::string(16, 'p'), 2,
                  lx::WorkRefusal::None},
        CheckCase{"password of 17, kept beside the record", lx::MailboxField::Password,
                  std::string(17, 'p'), 2, lx::WorkRefusal::None},
        CheckCase{"password of 127", lx::MailboxField::Password, std::string(127, 'p'), 2,
                  lx::WorkRefusal::None},
        CheckCase{"password of 128", lx::MailboxField::Password, std::string(128, 'p'), 2,
                  lx::WorkRefusal::FieldTooLong},
        CheckCase{"accented password", lx::MailboxField::Password, "caf\xE9", 2,
                  lx::WorkRefusal::PasswordNotPlain}),
    [](const ::testing::TestParamInfo<CheckCase>& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST(MailboxEditRules, UnnamedMailboxMayNotBeUnnamedTwice) {
    lx::MailboxList list = TwoMailboxes();
    lx::CopyText(list.records[1].name, "NO NAME");
    lx::MailboxWork work = GoodWork();
    work.name.clear();
    EXPECT_EQ(lx::WorkRefusal::NameTaken, lx::CheckWork(work, list, 2).refusal);
    EXPECT_EQ(lx::WorkRefusal::None, lx::CheckWork(work, list, 1).refusal);
}

TEST(DefaultFolderEntries, EntryTextAndItsParseAgree) {
    struct Case {
        std::string entry;
        std::string folder;
        long number;
    } cases[] = {
        {"_IN [3]", "_IN", 3},
        {"Work [12]", "Work", 12},
        {"Two words [7]", "Two words", 7},
        {"Odd [1] name [44]", "Odd [1] name", 44}, // the number is the last bracket
        {"", "_IN", 99},                           // no folder listed: _IN
        {"Work", "_IN", 99},
        {"Work [x]", "_IN", 99},
        {"Work [-4]", "_IN", 99},
        {"Work []", "_IN", 99},
    };
    for (const Case& c : cases) {
        const lx::FolderChoice choice = lx::FolderFromEntry(c.entry, 99);
        EXPECT_EQ(c.folder, choice.folder) << c.entry;
        EXPECT_EQ(c.number, choice.folderNum) << c.entry;
    }
    EXPECT_EQ("_IN [3]", lx::FolderEntryText("_IN", 3));
    const lx::FolderChoice round = lx::FolderFromEntry(lx::FolderEntryText("My [box]", 5), 0);
    EXPECT_EQ("My [box]", round.folder);
    EXPECT_EQ(5, round.folderNum);
}

TEST(DefaultFolderEntries, OutAndSentAreNeverOffered) {
    for (const char* folder : {"_IN", "_DESK", "_DRAFT", "_TRASHCAN", "Work", "_out"})
        EXPECT_TRUE(lx::IsOfferedAsDefaultFolder(folder)) << folder;
    for (const char* folder : {"_OUT", "_SENT"})
        EXPECT_FALSE(lx::IsOfferedAsDefaultFolder(folder)) << folder;
}

TEST(DefaultFolderEntries, PickPrefersTheExactFolderOverOneItIsThePrefixOf) {
    const std::vector<std::string> entries = {"_DESK [4]", "_IN [3]", "Workshop [9]", "work [10]",
                                              "Work [12]"};
    struct Case {
        const char* folder;
        int pick;
    } cases[] = {{"Work", 4}, {"work", 3}, {"WORKSHOP", 2}, {"_IN", 1}, {"", 0}, {"Gone", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(c.pick, lx::PickFolderEntry(entries, c.folder)) << c.folder;
    EXPECT_EQ(-1, lx::PickFolderEntry({}, "Work"));
}

} // namespace
