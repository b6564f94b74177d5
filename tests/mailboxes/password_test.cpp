// "Change Password" from the mailbox list against the scripted password servers: one takes the
// new password, the other refuses it. The mailbox's stored password changes only on success.
#include "tests/mailboxes/mailboxes_fixture.h"
#include "tests/settings/mailbox_image.h"

#include "common/settings/fixed_text.h"
#include "mailer/res/resource.h"
#include "netlib/tern32.h"

#include <gtest/gtest.h>
#include <cstring>
#include <sstream>

namespace lxtest {
namespace {

constexpr char kAccepts[] = "127.0.0.18";
constexpr char kRefuses[] = "127.0.0.19";

class PasswordChange : public MailboxSetupTest {
public:
    // The network library is started as the program starts it.
    static void SetUpTestSuite() {
        MailboxSetupTest::SetUpTestSuite();
        TERNStartWinSock(0x0101);
    }
    static void TearDownTestSuite() {
        TERNEndWinSock();
        MailboxSetupTest::TearDownTestSuite();
    }

protected:
    void UsePasswordServer(const char* server) {
        mailboxes.records[1] = Record("Work");
        lx::CopyText(mailboxes.records[1].pop3Server, server);
        lx::CopyText(mailboxes.records[1].user, "joe");
    }
    // Changes Work's password to `fresh` and returns the dialog's log once the run is over.
    std::vector<std::string> Change(const std::string& fresh, bool closeEarly = false) {
        std::string log;
        const std::string over = Text("POPCPW_CPP_2");
        Script script;
        script
            .Do([&] {
                SelectEntry(IDD_MBOXLIST, IDC_MBOXLIST_LIST, 1);
                Push(IDD_MBOXLIST, IDC_MBOXLIST_PASSWORD);
            })
            .Do([&] {
                SetItem(IDD_POPCPW, IDC_POPCPW_NEW, fresh);
                SetItem(IDD_POPCPW, IDC_POPCPW_AGAIN, fresh);
                Push(IDD_POPCPW, IDC_POPCPW_CHANGE);
            });
        if (closeEarly) {
            // Close is pressed while the server's acceptance still waits in the queue: messages
            // are handled one by one here (and no other loop runs) until the acceptance is the
            // one waiting.
            script.WaitFor(
                [&] {
                    HWND dialog = Open(IDD_POPCPW);
                    MSG msg;
                    const DWORD until = ::GetTickCount() + 5000;
                    while (static_cast<LONG>(::GetTickCount() - until) < 0) {
                        if (::PeekMessageA(&msg, dialog, WM_USER + 40, WM_USER + 40, PM_NOREMOVE) &&
                            msg.wParam == 13) {
                            ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                            log = Item(IDD_POPCPW, IDC_POPCPW_LOG);
                            return true;
                        }
                        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
                            continue;
                        }
                        ::TranslateMessage(&msg);
                        ::DispatchMessageA(&msg);
                    }
                    return false;
                },
                "the password server's acceptance");
            script.Do([&] { Push(IDD_MBOXLIST, IDCANCEL); });
        } else {
            script.WaitFor(
                [&] { return Item(IDD_POPCPW, IDC_POPCPW_LOG).find(over) != std::string::npos; },
                "the end of the password change");
            script
                .Do([&] {
                    log = Item(IDD_POPCPW, IDC_POPCPW_LOG);
                    Push(IDD_POPCPW, IDCANCEL);
                })
                .Do([&] { Push(IDD_MBOXLIST, IDCANCEL); });
        }
        RunSetup(script);
        std::vector<std::string> lines;
        std::istringstream in(log);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }
};

TEST_F(PasswordChange, AcceptedChangeLogsSuccessThenTheEndAndStoresTheNewPassword) {
    UsePasswordServer(kAccepts);
    const lx::MailboxRecord home = mailboxes.records[0];
    const std::vector<std::string> log = Change("fresh15chars!!!");
    EXPECT_EQ((std::vector<std::string>{Text("POPCPW_CPP_1") + "Work", Text("POPCPW_CPP_15"),
                                        Text("POPCPW_CPP_16"), Text("POPCPW_CPP_2")}),
              log);
    EXPECT_TRUE(hook->boxes.empty());
    EXPECT_EQ(Scrambled("fresh15chars!!!"), lx::TextOf(mailboxes.records[1].password));
    EXPECT_EQ(Image(home), Image(mailboxes.records[0]));
    const lx::MailboxList stored = StoredList();
    EXPECT_EQ(Image(stored), Image(mailboxes));
}

TEST_F(PasswordChange, RefusedChangeShowsTheServersReplyAndKeepsTheOldPassword) {
    UsePasswordServer(kRefuses);
    const lx::MailboxList before = mailboxes;
    const std::vector<std::string> log = Change("fresh1");
    EXPECT_EQ((std::vector<std::string>{Text("POPCPW_CPP_1") + "Work", Text("POPCPW_CPP_15"),
                                        Text("POPCPW_CPP_7") + "500 new password refused",
                                        Text("POPCPW_CPP_2")}),
              log);
    EXPECT_EQ(Image(before), Image(mailboxes));
    EXPECT_FALSE(MailboxFileExists());
}

TEST_F(PasswordChange, ClosingDuringTheRunStillStoresAPasswordTheServerTook) {
    UsePasswordServer(kAccepts);
    const std::vector<std::string> log = Change("closedearly", true);
    // The acceptance that was waiting when Close was pressed was taken before the dialog ended.
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(Text("POPCPW_CPP_16"), log.back());
    EXPECT_EQ(Scrambled("closedearly"), lx::TextOf(mailboxes.records[1].password));
    const lx::MailboxList stored = StoredList();
    EXPECT_EQ(Image(stored), Image(mailboxes));
}

} // namespace
} // namespace lxtest
