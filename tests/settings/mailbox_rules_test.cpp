// Which mailbox is current, making one current, and the registry reading rule.
#include <gtest/gtest.h>

#include <cstring>

#include "common/settings/fixed_text.h"
#include "common/settings/mailbox_record.h"
#include "common/settings/scramble.h"
#include "common/settings/settings_registry.h"
#include "tests/settings/fake_registry.h"
#include "tests/settings/samples.h"

using namespace lx;
using lx_test::FakeRegistry;

namespace {

MailboxList ListOf(int n) {
    MailboxList list;
    for (int i = 0; i < n; ++i) {
        list.records[i] = lx_test::SampleMailbox(i + 1);
        list.records[i].current = 0;
    }
    list.count = static_cast<std::int16_t>(n);
    return list;
}

} // namespace

TEST(CurrentMailbox, FirstWhenNoneIsMarked) {
    EXPECT_EQ(CurrentMailboxIndex(ListOf(3)), 0);
    EXPECT_EQ(CurrentMailboxIndex(ListOf(0)), -1);
}

TEST(CurrentMailbox, LastMarkedRecordWins) {
    MailboxList list = ListOf(5);
    list.records[1].current = 1;
    list.records[3].current = 1;
    EXPECT_EQ(CurrentMailboxIndex(list), 3);
    list.records[6].current = 1; // beyond the count: not a record of the list
    EXPECT_EQ(CurrentMailboxIndex(list), 3);
}

TEST(CurrentMailbox, OutOfRangeCountIsClamped) {
    MailboxList list = ListOf(10);
    list.records[9].current = 1;
    list.count = 300;
    EXPECT_EQ(MailboxCount(list), 10);
    EXPECT_EQ(CurrentMailboxIndex(list), 9);
    list.count = -5;
    EXPECT_EQ(CurrentMailboxIndex(list), -1);
}

TEST(CurrentMailbox, SetMarksOneAndClearsTheOthers) {
    MailboxList list = ListOf(4);
    list.records[0].current = 1;
    list.records[3].current = 1;
    ASSERT_TRUE(SetCurrentMailbox(list, 2));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(list.records[i].current, i == 2 ? 1 : 0);
    EXPECT_EQ(CurrentMailboxIndex(list), 2);
    EXPECT_FALSE(SetCurrentMailbox(list, 4));
    EXPECT_FALSE(SetCurrentMailbox(list, -1));
    EXPECT_EQ(CurrentMailboxIndex(list), 2);
}

TEST(CurrentMailbox, FindByName) {
    MailboxList list = ListOf(3);
    EXPECT_EQ(FindMailbox(list, "Box2"), 1);
    EXPECT_EQ(FindMailbox(list, "Box9"), -1);
    EXPECT_EQ(FindMailbox(list, "Box"), -1);
    EXPECT_EQ(FindMailbox(list, nullptr), -1);
}

TEST(MakeCurrent, WritesTheNineValuesAndTheSecurityMirror) {
    MailboxList list = ListOf(3);
    CopyText(list.records[1].password, "secret|pw");
    Scramble(list.records[1].password);
    const std::string stored = TextOf(list.records[1].password);
    FakeRegistry reg(true);
    ASSERT_TRUE(MakeCurrent(list, 1, reg));
    EXPECT_EQ(reg.writes, 9 + 6); // the name and five security values (mailbox_keys_test)
    EXPECT_EQ(reg.strings[kRegServer], "pop2.example.org");
    EXPECT_EQ(reg.strings[kRegSmtpServer], "smtp2.example.org");
    EXPECT_EQ(reg.strings[kRegAddress], "user2@example.org");
    EXPECT_EQ(reg.strings[kRegUser], "login2");
    EXPECT_EQ(reg.strings[kRegPassword], stored);
    EXPECT_NE(reg.strings[kRegPassword], "secret|pw");
    EXPECT_EQ(reg.dwords[kRegDelMail], 1002);
    EXPECT_EQ(reg.dwords[kRegApop], 2002);
    EXPECT_EQ(reg.strings[kRegDefFolder], "Folder2");
    EXPECT_EQ(reg.dwords[kRegDefFolderNum], 4002);

    char pw[kRegPasswordSize] = {};
    ASSERT_TRUE(reg.ReadString(kRegPassword, pw, sizeof pw));
    Unscramble(pw);
    EXPECT_STREQ(pw, "secret|pw");
}

TEST(MakeCurrent, RefusesAnIndexOutsideTheList) {
    MailboxList list = ListOf(2);
    FakeRegistry reg(true);
    EXPECT_FALSE(MakeCurrent(list, 2, reg));
    EXPECT_FALSE(MakeCurrent(list, -1, reg));
    EXPECT_EQ(reg.writes, 0);
}

TEST(MakeCurrent, ReportsAFailedWrite) {
    MailboxList list = ListOf(1);
    FakeRegistry reg(true);
    reg.failWrites = true;
    EXPECT_FALSE(MakeCurrent(list, 0, reg));
}

TEST(MakeCurrent, FieldWithoutTerminatorIsCutToItsSize) {
    MailboxList list = ListOf(1);
    std::memset(list.records[0].defaultFolder, 'F', sizeof list.records[0].defaultFolder);
    FakeRegistry reg(true);
    ASSERT_TRUE(MakeCurrent(list, 0, reg));
    EXPECT_EQ(reg.strings[kRegDefFolder], std::string(17, 'F'));
}

TEST(RegistryRule, NewKeyIsNeverRead) {
    FakeRegistry reg(false);
    reg.strings[kRegInstallPath] = "C:\\LORVEX";
    reg.dwords[kRegReaderType] = 3;
    char path[kInstallPathSize] = "default";
    EXPECT_FALSE(reg.ReadString(kRegInstallPath, path, sizeof path));
    EXPECT_STREQ(path, "default");
    std::int32_t type = 2;
    EXPECT_FALSE(reg.ReadDword(kRegReaderType, type));
    EXPECT_EQ(type, 2);
    EXPECT_EQ(ReadDwordOr(reg, kRegReaderType, 1), 1);
}

TEST(RegistryRule, AbsentValueKeepsTheDefault) {
    FakeRegistry reg(true);
    reg.dwords[kRegDictionary] = 1;
    reg.strings[kRegLastRetSig] = "Work";
    EXPECT_EQ(ReadDwordOr(reg, kRegDictionary, 0), 1);
    EXPECT_EQ(ReadDwordOr(reg, kRegLineBreaks, 72), 72);
    EXPECT_EQ(ReadStringOr(reg, kRegLastRetSig, 33, "none"), "Work");
    EXPECT_EQ(ReadStringOr(reg, kRegLastRetAdd, 81, "none"), "none");
    char buf[8] = "keep";
    EXPECT_FALSE(reg.ReadString(kRegLastRetAdd, buf, sizeof buf));
    EXPECT_STREQ(buf, "keep");
}

TEST(RegistryRule, LongValueIsCutToTheBuffer) {
    FakeRegistry reg(true);
    reg.strings[kRegLastRetAdd] = std::string(200, 'a');
    char buf[81];
    std::memset(buf, 'x', sizeof buf);
    ASSERT_TRUE(reg.ReadString(kRegLastRetAdd, buf, sizeof buf));
    EXPECT_EQ(std::string(buf), std::string(80, 'a'));
    EXPECT_FALSE(reg.ReadString(kRegLastRetAdd, buf, 0));
    EXPECT_EQ(ReadStringOr(reg, kRegLastRetAdd, 0, "d"), "d");
}

TEST(MailtoCommand, IsTheProgramInTheInstallationFolder) {
    EXPECT_STREQ(kMailtoCommandKey, "mailto\\shell\\open\\command");
    EXPECT_STREQ(kRegistryKey, "Software\\Quorbit\\Lorvex");
#ifdef _WIN32
    EXPECT_EQ(MailtoCommandFor("C:\\LORVEX"), "C:\\LORVEX\\Lorvex.Exe %1");
    EXPECT_EQ(MailtoCommandFor("C:\\LORVEX\\"), "C:\\LORVEX\\Lorvex.Exe %1");
#else
    EXPECT_EQ(MailtoCommandFor("/opt/lorvex"), "/opt/lorvex/Lorvex.Exe %1");
#endif
}
