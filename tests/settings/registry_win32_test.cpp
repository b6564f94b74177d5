// The settings key in the real registry (Wine's, in the test run's prefix). Each test works on a
// key of its own so the program's settings in the same prefix are never touched.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/settings/fixed_text.h"
#include "common/settings/mailbox_keys.h"
#include "common/settings/mailbox_record.h"
#include "common/settings/registry_win32.h"
#include "common/win/handles.h"
#include "tests/settings/samples.h"

using namespace lx;

namespace {

class ScratchKey {
public:
    ScratchKey(HKEY root, const std::string& base)
        : root_(root), path_(base + "-" + std::to_string(GetCurrentProcessId())) {
        RegDeleteTreeA(root_, path_.c_str());
    }
    ~ScratchKey() { RegDeleteTreeA(root_, path_.c_str()); }
    const char* Path() const { return path_.c_str(); }

    bool Exists() const {
        lx::RegKey key;
        return key.Open(root_, path_.c_str(), KEY_READ);
    }

    // The raw value as the system holds it.
    std::string RawString(const char* name) const {
        char buf[512] = {};
        DWORD size = sizeof buf - 1;
        DWORD type = 0;
        if (RegGetValueA(root_, path_.c_str(), name, RRF_RT_ANY, &type, buf, &size) !=
            ERROR_SUCCESS)
            return "<absent>";
        return type == REG_SZ ? std::string(buf) : "<not a string>";
    }

private:
    HKEY root_;
    std::string path_;
};

} // namespace

TEST(Win32Registry, NewKeyIsCreatedButNotRead) {
    ScratchKey scratch(HKEY_CURRENT_USER, "Software\\Quorbit\\LorvexTest");
    Win32SettingsRegistry reg(scratch.Path());
    ASSERT_TRUE(reg.IsOpen());
    EXPECT_FALSE(reg.KeyExisted());
    EXPECT_TRUE(scratch.Exists());
    ASSERT_TRUE(reg.WriteDword(kRegReaderType, 3));
    std::int32_t type = 1;
    EXPECT_FALSE(reg.ReadDword(kRegReaderType, type));
    EXPECT_EQ(type, 1);
}

TEST(Win32Registry, ValuesComeBackOnceTheKeyExists) {
    ScratchKey scratch(HKEY_CURRENT_USER, "Software\\Quorbit\\LorvexTest");
    {
        Win32SettingsRegistry reg(scratch.Path());
        ASSERT_TRUE(reg.WriteString(kRegLastRetAdd, "me@example.org"));
        ASSERT_TRUE(reg.WriteDword(kRegDictionary, 1));
        ASSERT_TRUE(reg.WriteDword(kRegLineBreaks, -7));
    }
    EXPECT_EQ(scratch.RawString(kRegLastRetAdd), "me@example.org");
    Win32SettingsRegistry reg(scratch.Path());
    EXPECT_TRUE(reg.KeyExisted());
    EXPECT_EQ(ReadStringOr(reg, kRegLastRetAdd, 81, ""), "me@example.org");
    EXPECT_EQ(ReadDwordOr(reg, kRegDictionary, 0), 1);
    EXPECT_EQ(ReadDwordOr(reg, kRegLineBreaks, 0), -7);
    EXPECT_EQ(ReadDwordOr(reg, kRegReaderType, 2), 2) << "absent value keeps the default";
    EXPECT_EQ(ReadStringOr(reg, kRegLastRetSig, 33, "dflt"), "dflt");
    // A value of the other type is not taken.
    EXPECT_EQ(ReadDwordOr(reg, kRegLastRetAdd, 5), 5);
    EXPECT_EQ(ReadStringOr(reg, kRegDictionary, 10, "x"), "x");
}

TEST(Win32Registry, StringWithoutTerminatorAndLongStrings) {
    ScratchKey scratch(HKEY_CURRENT_USER, "Software\\Quorbit\\LorvexTest");
    {
        Win32SettingsRegistry reg(scratch.Path());
        ASSERT_TRUE(reg.WriteString(kRegLastRetAdd, std::string(300, 'z').c_str()));
    }
    {
        lx::RegKey key;
        ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, scratch.Path(), KEY_ALL_ACCESS));
        ASSERT_EQ(RegSetValueExA(key.Get(), kRegLastRetSig, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>("abc"), 3),
                  ERROR_SUCCESS);
    }

    Win32SettingsRegistry reg(scratch.Path());
    char sig[33];
    ASSERT_TRUE(reg.ReadString(kRegLastRetSig, sig, sizeof sig));
    EXPECT_STREQ(sig, "abc");
    char add[81];
    ASSERT_TRUE(reg.ReadString(kRegLastRetAdd, add, sizeof add));
    EXPECT_EQ(std::string(add), std::string(80, 'z'));
}

TEST(Win32Registry, MakeCurrentMirrorsTheRecord) {
    ScratchKey scratch(HKEY_CURRENT_USER, "Software\\Quorbit\\LorvexTest");
    MailboxList list;
    list.records[0] = lx_test::SampleMailbox(1);
    list.records[1] = lx_test::SampleMailbox(2);
    list.count = 2;
    {
        Win32SettingsRegistry reg(scratch.Path());
        ASSERT_TRUE(MakeCurrent(list, 1, reg));
    }
    EXPECT_EQ(scratch.RawString(kRegServer), "pop2.example.org");
    EXPECT_EQ(scratch.RawString(kRegDelMail), "<not a string>");
    Win32SettingsRegistry reg(scratch.Path());
    char pw[kRegPasswordSize] = {};
    ASSERT_TRUE(reg.ReadString(kRegPassword, pw, sizeof pw));
    EXPECT_STREQ(pw, "pw2xyz");
    EXPECT_EQ(ReadStringOr(reg, kRegSmtpServer, 81, ""), "smtp2.example.org");
    EXPECT_EQ(ReadStringOr(reg, kRegAddress, 81, ""), "user2@example.org");
    EXPECT_EQ(ReadStringOr(reg, kRegUser, 65, ""), "login2");
    EXPECT_EQ(ReadStringOr(reg, kRegDefFolder, 17, ""), "Folder2");
    EXPECT_EQ(ReadDwordOr(reg, kRegDelMail, 0), 1002);
    EXPECT_EQ(ReadDwordOr(reg, kRegApop, 0), 2002);
    EXPECT_EQ(ReadDwordOr(reg, kRegDefFolderNum, 0), 4002);
}

TEST(Win32Registry, InstallPathOnlyFromAnExistingKey) {
    ScratchKey scratch(HKEY_CURRENT_USER, "Software\\Quorbit\\LorvexTest");
    EXPECT_EQ(ReadInstallPath(scratch.Path()), ""); // creates the key, reads nothing
    EXPECT_TRUE(scratch.Exists());
    EXPECT_EQ(ReadInstallPath(scratch.Path()), ""); // the value is absent
    {
        Win32SettingsRegistry reg(scratch.Path());
        ASSERT_TRUE(reg.WriteString(kRegInstallPath, "C:\\LORVEX"));
    }
    EXPECT_EQ(ReadInstallPath(scratch.Path()), "C:\\LORVEX");
}

TEST(Win32Registry, DefaultKeyOpens) {
    // The program's own key: left exactly as found.
    bool existed = lx::RegKey().Open(HKEY_CURRENT_USER, kRegistryKey, KEY_READ);
    {
        Win32SettingsRegistry reg;
        EXPECT_TRUE(reg.IsOpen());
        EXPECT_EQ(reg.KeyExisted(), existed);
    }
    if (!existed) RegDeleteKeyA(HKEY_CURRENT_USER, kRegistryKey);
}

TEST(Win32Registry, MailtoHandlerHoldsTheInstallPath) {
    ScratchKey scratch(HKEY_CLASSES_ROOT, "LorvexTest-mailto");
    std::string command = std::string(scratch.Path()) + "\\shell\\open\\command";
    ASSERT_TRUE(RegisterMailtoHandler("C:\\LORVEX", command.c_str()));
    char buf[300] = {};
    DWORD size = sizeof buf;
    ASSERT_EQ(RegGetValueA(HKEY_CLASSES_ROOT, command.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buf,
                           &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(buf, "C:\\LORVEX\\Lorvex.Exe %1");
    // A moved installation overwrites the command.
    ASSERT_TRUE(RegisterMailtoHandler("D:\\APPS\\LORVEX\\", command.c_str()));
    size = sizeof buf;
    ASSERT_EQ(RegGetValueA(HKEY_CLASSES_ROOT, command.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buf,
                           &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(buf, "D:\\APPS\\LORVEX\\Lorvex.Exe %1");
}

namespace {

// A mailbox's own key sits under Mailboxes, one key per name whatever the name holds, is made
// only when something is kept, and goes whole.
TEST(Win32Registry, MailboxKeysAreMadeOnlyToKeepSomethingAndGoWhole) {
    ScratchKey scratch(HKEY_CURRENT_USER, "Software\\Quorbit\\LorvexTest");
    Win32SettingsRegistry reg(scratch.Path());
    EXPECT_EQ(reg.OpenMailboxKey("Home", false), nullptr);
    const std::string pin(95, 'A');
    ASSERT_TRUE(WriteMailboxPin(reg, "Home\\Work", MailServer::Pop3, pin));
    lx::RegKey raw;
    EXPECT_TRUE(raw.Open(HKEY_CURRENT_USER,
                         (std::string(scratch.Path()) + "\\Mailboxes\\Home%5CWork").c_str(),
                         KEY_READ));
    raw.Reset();
    EXPECT_EQ(ReadMailboxPin(reg, "Home\\Work", MailServer::Pop3), pin);
    EXPECT_EQ(ReadMailboxPin(reg, "Home", MailServer::Pop3), "");
    EXPECT_EQ(reg.OpenMailboxKey("Home", false), nullptr) << "reading made no key";
    ASSERT_TRUE(RenameMailboxKey(reg, "Home\\Work", "Work"));
    EXPECT_EQ(ReadMailboxPin(reg, "Work", MailServer::Pop3), pin);
    EXPECT_EQ(reg.OpenMailboxKey("Home\\Work", false), nullptr);
    ASSERT_TRUE(ForgetMailboxKey(reg, "Work"));
    EXPECT_EQ(reg.OpenMailboxKey("Work", false), nullptr);
    EXPECT_TRUE(ForgetMailboxKey(reg, "Work")) << "a key already gone is gone";
}

} // namespace
