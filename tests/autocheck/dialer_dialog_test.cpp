// "Dialer Setup" under Wine, driven by control id from the main window's command, with the phone
// book of the RASAPI32.DLL stand-in.
#include <windows.h>

#include "common/settings/fixed_text.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/autodial.h"
#include "mailer/ui/autocheck.h"
#include "mailer/ui/logic/mainfrm_rules.h"
#include "tests/autocheck/window_fixture.h"

namespace lxtest {
namespace {

std::vector<std::string> ListItems(HWND dialog, int id, bool combo) {
    std::vector<std::string> items;
    const LRESULT count =
        ::SendDlgItemMessageA(dialog, id, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[300] = "";
        ::SendDlgItemMessageA(dialog, id, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                              reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != 0; }

class DialerSetup : public AutoCheckTest {
protected:
    void SetUp() override {
        AutoCheckTest::SetUp();
        ::SetEnvironmentVariableA("LORVEX_RAS_ENTRIES", "Office\nProvider");
        ::SetEnvironmentVariableA("LORVEX_RAS_USER", "stored");
        ::SetEnvironmentVariableA("LORVEX_RAS_PASSWORD", "kept");
        Plug(folder);
    }
    void Plug(const std::string& installPath) {
        lx::DialerSetupData data;
        data.catalog = s_catalog;
        data.installPath = installPath;
        data.mailboxes = &mailboxes;
        data.ras = &frame->Ras().Entry();
        data.settings = &dialer;
        lx::PlugDialerSetup(frame->Plugs(), data);
    }
    std::vector<std::uint8_t> File() const {
        std::vector<std::uint8_t> bytes;
        FILE* f = std::fopen((folder + "\\AUTODIAL.STP").c_str(), "rb");
        if (!f) return bytes;
        int c;
        while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<std::uint8_t>(c));
        std::fclose(f);
        return bytes;
    }
};

std::int32_t At32(const std::vector<std::uint8_t>& b, size_t at) {
    return static_cast<std::int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                     (static_cast<std::uint32_t>(b[at + 3]) << 24));
}

TEST_F(DialerSetup, OpensWithTheSettingsAndSavesOneMinuteOverTheLocalNetwork) {
    dialer.checkInterval = 300;
    dialer.sendToo = 1;
    lx::CopyText(dialer.selectedMailboxes[0], "Work");
    dialer.selectedCount = 1;
    bool seen = false;
    hook->onInit = [&](HWND d, int id) {
        if (id != IDD_AUTODIAL) return;
        seen = true;
        EXPECT_EQ("5", ControlText(d, IDC_AUTODIAL_MINUTES));
        EXPECT_TRUE(Checked(d, IDC_AUTODIAL_SENDTOO));
        EXPECT_FALSE(Checked(d, IDC_AUTODIAL_LOCAL));
        EXPECT_EQ((std::vector<std::string>{"Home"}), ListItems(d, IDC_AUTODIAL_ACCOUNTS, false));
        EXPECT_EQ((std::vector<std::string>{"Work"}), ListItems(d, IDC_AUTODIAL_SELECTED, false));
        EXPECT_EQ((std::vector<std::string>{"Office", "Provider"}),
                  ListItems(d, IDC_AUTODIAL_PHONES, true));
        EXPECT_EQ(1, ::SendDlgItemMessageA(d, IDC_AUTODIAL_PHONES, CB_GETCURSEL, 0, 0));
        EXPECT_EQ("stored of Provider", ControlText(d, IDC_AUTODIAL_USER));
        EXPECT_EQ("kept", ControlText(d, IDC_AUTODIAL_PASSWORD));
        EXPECT_TRUE(Enabled(d, IDC_AUTODIAL_PHONES));
        ::SetDlgItemTextA(d, IDC_AUTODIAL_MINUTES, "1");
        ::CheckDlgButton(d, IDC_AUTODIAL_SENDTOO, BST_UNCHECKED);
        ::CheckDlgButton(d, IDC_AUTODIAL_LOCAL, BST_CHECKED);
        ::SendDlgItemMessageA(d, IDC_AUTODIAL_ACCOUNTS, LB_SETCURSEL, 0, 0);
        Press(d, IDC_AUTODIAL_ADD);
        Press(d, IDC_AUTODIAL_LOCAL);
        Press(d, IDOK);
    };
    Command(ID_DIALER_SETUP);
    ASSERT_TRUE(seen);
    EXPECT_TRUE(hook->boxes.empty());
    const auto bytes = File();
    ASSERT_EQ(928u, bytes.size());
    EXPECT_EQ(60, At32(bytes, 0));
    EXPECT_EQ(0, At32(bytes, 4));
    EXPECT_EQ(1, At32(bytes, 8));
    for (size_t i = 12; i < 780; ++i) ASSERT_EQ(0, bytes[i]) << "no dial-up values, byte " << i;
    EXPECT_EQ("Work", lx::TextOf(reinterpret_cast<const char*>(&bytes[780]), 13));
    EXPECT_EQ("Home", lx::TextOf(reinterpret_cast<const char*>(&bytes[793]), 13));
    EXPECT_EQ(2, At32(bytes, 910));
    EXPECT_EQ(60, At32(bytes, 914));
    EXPECT_EQ(60, dialer.checkInterval);
    EXPECT_TRUE(frame->MailCheck().TimerRunning()) << "saving restarts the countdown";
    EXPECT_EQ(lx::CountdownText(60, Text("MAINFRM_CPP_44").c_str()),
              StatusText(frame->StatusBar(), 2));
}

TEST_F(DialerSetup, ZeroMinutesSwitchesCheckingOff) {
    frame->ArmMailCheck(600);
    hook->onInit = [&](HWND d, int id) {
        if (id != IDD_AUTODIAL) return;
        ::SetDlgItemTextA(d, IDC_AUTODIAL_MINUTES, "0");
        Press(d, IDOK);
    };
    Command(ID_DIALER_SETUP);
    const auto bytes = File();
    ASSERT_EQ(928u, bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) ASSERT_EQ(0, bytes[i]) << "byte " << i;
    EXPECT_FALSE(frame->MailCheck().TimerRunning());
    EXPECT_EQ(Text("MAINFRM_CPP_45"), StatusText(frame->StatusBar(), 2));
}

TEST_F(DialerSetup, RefusedFieldsKeepTheDialogOpenAndTheSettingsAsTheyWere) {
    struct Case {
        const char* minutes;
        const char* password;
        bool removeMailbox;
        const char* text;
    };
    const Case cases[] = {
        {"5", "", false, "AUTODIAL_CPP_4"},
        {"5", "kept", true, "AUTODIAL_CPP_7"},
    };
    for (const Case& c : cases) {
        lx::CopyText(dialer.selectedMailboxes[0], "Home");
        dialer.selectedCount = 1;
        dialer.checkInterval = 120;
        hook->boxes.clear();
        hook->onInit = [&](HWND d, int id) {
            if (id != IDD_AUTODIAL) return;
            ::SetDlgItemTextA(d, IDC_AUTODIAL_MINUTES, c.minutes);
            ::SetDlgItemTextA(d, IDC_AUTODIAL_PASSWORD, c.password);
            if (c.removeMailbox) {
                ::SendDlgItemMessageA(d, IDC_AUTODIAL_SELECTED, LB_SETCURSEL, 0, 0);
                Press(d, IDC_AUTODIAL_REMOVE);
            }
            Press(d, IDOK);
        };
        hook->afterBox = [](HWND d, size_t) { Press(d, IDCANCEL); };
        Command(ID_DIALER_SETUP);
        ASSERT_EQ(1u, hook->boxes.size()) << c.text;
        EXPECT_EQ(Text(c.text), hook->boxes[0].text);
        EXPECT_EQ(120, dialer.checkInterval) << "the settings in use are untouched";
        EXPECT_EQ("Home", lx::TextOf(dialer.selectedMailboxes[0]));
        EXPECT_TRUE(File().empty()) << "nothing was written";
    }
    hook->afterBox = nullptr;
}

TEST_F(DialerSetup, WithoutDialUpOnlyTheLocalNetworkIsOffered) {
    MakeCheckFrame(ProgramFolder() + "\\without_RasEnumEntriesA\\RASAPI32.DLL");
    Plug(folder);
    bool seen = false;
    hook->onInit = [&](HWND d, int id) {
        if (id != IDD_AUTODIAL) return;
        seen = true;
        EXPECT_TRUE(Checked(d, IDC_AUTODIAL_LOCAL));
        EXPECT_FALSE(Enabled(d, IDC_AUTODIAL_LOCAL));
        EXPECT_FALSE(Enabled(d, IDC_AUTODIAL_PHONES));
        EXPECT_FALSE(Enabled(d, IDC_AUTODIAL_USER));
        EXPECT_TRUE(ListItems(d, IDC_AUTODIAL_PHONES, true).empty());
        Press(d, IDCANCEL);
    };
    Command(ID_DIALER_SETUP);
    EXPECT_TRUE(seen);
}

TEST_F(DialerSetup, AFileThatCannotBeWrittenIsReportedAndNothingChanges) {
    Plug(folder + "\\missing");
    frame->ArmMailCheck(0);
    hook->onInit = [&](HWND d, int id) {
        if (id != IDD_AUTODIAL) return;
        ::SetDlgItemTextA(d, IDC_AUTODIAL_MINUTES, "5");
        ::CheckDlgButton(d, IDC_AUTODIAL_LOCAL, BST_CHECKED);
        Press(d, IDOK);
    };
    Command(ID_DIALER_SETUP);
    ASSERT_EQ(1u, hook->boxes.size());
    EXPECT_EQ(Text("AUTODIAL_CPP_2"), hook->boxes[0].text);
    EXPECT_EQ(Text("AUTODIAL_CPP_1"), hook->boxes[0].caption);
    EXPECT_EQ(0, dialer.checkInterval);
    EXPECT_FALSE(frame->MailCheck().TimerRunning());
}

} // namespace
} // namespace lxtest
