// Send Now end to end under Wine: the composer stores the message in _OUT and runs "Send Mail
// [SMTP]" in its automatic mode against aiosmtpd on loopback; the message arrives with its
// signature and moves to _SENT.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "common/settings/registry_win32.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/maillett.h"
#include "netlib/tern32.h"
#include "tests/composer/composer_fixture.h"
#include "tests/sending/received.h"

namespace lxtest {
namespace {

constexpr char kSink[] = "127.0.0.3";

class ComposerSend : public ComposerTest {
protected:
    void SetUp() override {
        ComposerTest::SetUp();
        ASSERT_EQ(TERNStartWinSock(0x0101), 1);
        {
            lx::Win32SettingsRegistry registry(kComposerTestKey);
            registry.WriteString("Address", "me@home.example");
            registry.WriteString("SMTPServer", kSink);
        }
        received = ReceivedCount();
        // The program's Send Mail, on the test's settings.
        plugs.Plug(ID_MAIL_SEND, [this](void* owner, const char* argument) {
            sendArguments.push_back(argument ? argument : "");
            lx::SendMailData data;
            data.installPath = folder.c_str();
            data.catalog = &Catalogue();
            data.conn = &Conn();
            data.outFolder = out;
            data.sentFolder = sent;
            data.automatic = argument && std::strcmp(argument, lx::kSendAutomatic) == 0;
            data.marks = &marks;
            data.registryKey = kComposerTestKey;
            return static_cast<int>(lx::ShowSendMailDialog(static_cast<HWND>(owner), &data));
        });
    }
    void TearDown() override {
        ComposerTest::TearDown();
        TERNEndWinSock();
    }
    lx::TransferMarks marks;
    int received = 0;
};

TEST_F(ComposerSend, SendNowDeliversAndMovesTheMessageToSent) {
    lx::EditorFrame* frame = NewComposer();
    ASSERT_NE(frame, nullptr);
    HWND form = FormOf(frame);
    SetText(form, IDC_SENDMESG_TO, "ann@example.org");
    SetText(form, IDC_SENDMESG_SUBJECT, "Sent from the composer");
    SetText(form, IDC_SENDMESG_BODY, "Hello Ann.\r\n");
    // The signature "Work" is the second entry, after <NONE>.
    ::SendDlgItemMessageA(form, IDC_SENDMESG_SIGNATURE, CB_SETCURSEL, 1, 0);
    Click(form, IDC_SENDMESG_SENDNOW);
    ASSERT_TRUE(WaitClosed(frame));
    EXPECT_EQ(sendArguments, std::vector<std::string>{"auto"});
    ASSERT_TRUE(PumpUntil([this] { return ReceivedCount() > received; }));
    const Received got = ReadReceived(received + 1);
    EXPECT_EQ(got.rcptTo, std::vector<std::string>{"ann@example.org"});
    EXPECT_EQ(got.DecodedHeader("Subject"), "Sent from the composer");
    EXPECT_NE(got.text.find("Hello Ann."), std::string::npos) << got.text;
    EXPECT_NE(got.text.find("Jo Bloggs\r\nQuorbit Ltd"), std::string::npos) << got.text;
    EXPECT_EQ(QueryLong("SELECT FolderNum FROM Messages"), sent);
    EXPECT_EQ(Count("FROM Messages"), 1);
}

} // namespace
} // namespace lxtest
