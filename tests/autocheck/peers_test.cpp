// The automatic mail run in the main window under Wine against Dovecot and aiosmtpd on
// loopback: the queued mail is sent, two selected accounts are retrieved each into its own
// default folder, and the log holds the run between its two stamps.
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "common/schema/newmessage.h"
#include "common/schema/subject.h"
#include "common/settings/fixed_text.h"
#include "common/settings/registry_win32.h"
#include "common/settings/scramble.h"
#include "mailer/res/resource.h"
#include "mailer/ui/automail.h"
#include "mailer/ui/autocheck.h"
#include "mailer/ui/logic/cmdgate.h"
#include "netlib/tern32.h"
#include "tests/autocheck/window_fixture.h"
#include "tests/retrieval/mailsamples.h"
#include "tests/retrieval/pop3mailbox.h"
#include "tests/sending/received.h"

namespace lxtest {
namespace {

void Account(lx::MailboxRecord& r, const char* name, const char* folder, long folderNum) {
    r = lx::MailboxRecord{};
    lx::CopyText(r.name, name);
    lx::CopyText(r.pop3Server, "127.0.0.2");
    lx::CopyText(r.smtpServer, "127.0.0.3");
    lx::CopyText(r.address, "me@example.org");
    lx::CopyText(r.user, "joe");
    lx::CopyText(r.password, "secret");
    lx::Scramble(r.password);
    lx::CopyText(r.defaultFolder, folder);
    r.defaultFolderNum = static_cast<std::int32_t>(folderNum);
}

class AutoMailRun : public AutoCheckTest {
public:
    static void SetUpTestSuite() {
        AutoCheckTest::SetUpTestSuite();
        TERNStartWinSock(0x0101);
    }
    static void TearDownTestSuite() { TERNEndWinSock(); }

protected:
    void SetUp() override {
        AutoCheckTest::SetUp();
        const long in = frame->SpecialFolders().in;
        ASSERT_GE(in, 0);
        Exec("INSERT INTO Folders (Folder, FolderType, Description) VALUES ('WorkBox', 'U', "
             "'work mail')");
        workBox = QueryLong("SELECT FolderNum FROM Folders WHERE Folder = 'WorkBox'");
        Account(mailboxes.records[0], "Home", "_IN", in);
        mailboxes.records[0].current = 1;
        Account(mailboxes.records[1], "Work", "WorkBox", workBox);
        mailboxes.count = 2;
        dialer.localNetwork = 1;
        lx::CopyText(dialer.selectedMailboxes[0], "Work");
        lx::CopyText(dialer.selectedMailboxes[1], "Nobody");
        lx::CopyText(dialer.selectedMailboxes[2], "Home");
        dialer.selectedCount = 3;
        MakeCheckFrame(); // mirrors Home into the registry
        PlugRun(0);
        SampleMail first, second;
        first.subject = "First";
        second.subject = "Second";
        FillPop3Mailbox({MailText(first), MailText(second)}, "lxautocheck");
        Queue("Queued for the check");
    }

    // The run as the main window plugs it; `silenceMillis` 0 keeps the dialogs' own periods.
    void PlugRun(unsigned silenceMillis) {
        lx::AutoMailContext run;
        run.catalog = s_catalog;
        run.conn = &Conn();
        run.installPath = folder;
        run.marks = &marks;
        run.specialFolders = &frame->SpecialFolders();
        run.mailboxes = &mailboxes;
        run.dialer = &dialer;
        run.log = &frame->CheckLog();
        run.silenceMillis = silenceMillis;
        lx::PlugAutoMailRun(frame->Plugs(), run);
    }

    void Queue(const std::string& subject) {
        lx::NewMessage m;
        m.kind = lx::NewMessageKind::Written;
        m.folderNum = frame->SpecialFolders().out;
        m.fromAdd = "me@example.org";
        m.appDate = lx::StoreTime{2026, 12, 10, 9, 0, 0};
        m.subject = lx::ComposeSubject(subject, false, false);
        m.mailData = "Sent by the automatic check.\r\n";
        m.to = {"you@example.org"};
        long mesgNum = -1;
        ASSERT_EQ(lx::StoreOutcome::Stored, lx::StoreNewMessage(&Conn(), m, nullptr, &mesgNum));
    }

    long CountIn(long folderNum) {
        return QueryLong("SELECT COUNT(*) FROM Messages WHERE FolderNum = " +
                         std::to_string(folderNum));
    }

    // The position of the first line equal to `line` at or after `from`; npos when none.
    static size_t Find(const std::vector<std::string>& lines, const std::string& line,
                       size_t from = 0) {
        for (size_t i = from; i < lines.size(); ++i)
            if (lines[i] == line) return i;
        return std::string::npos;
    }

    static size_t CountOf(const std::vector<std::string>& lines, const std::string& line) {
        return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
    }

    long workBox = -1;
};

TEST_F(AutoMailRun, SendsTheQueuedMailAndRetrievesBothSelectedAccounts) {
    const int before = ReceivedCount();
    dialer.sendToo = 1;
    TickToZero();
    EXPECT_TRUE(CycleEnded());
    const auto sent = ReceivedSince(before);
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ("Queued for the check", sent[0].Header("Subject"));
    EXPECT_EQ(0, CountIn(frame->SpecialFolders().out));
    EXPECT_EQ(1, CountIn(frame->SpecialFolders().sent));
    EXPECT_EQ(2, CountIn(workBox)) << "Work's mail in Work's default folder";
    EXPECT_EQ(2, CountIn(frame->SpecialFolders().in)) << "Home's mail in _IN";
    {
        lx::Win32SettingsRegistry registry;
        char folderName[32] = "";
        ASSERT_TRUE(registry.ReadString(lx::kRegDefFolder, folderName, sizeof folderName));
        EXPECT_STREQ("_IN", folderName) << "the registry holds the selector's account again";
    }
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 12u);
    EXPECT_EQ(0u, lines[0].find(Stamp("MAINFRM_CPP_22")));
    EXPECT_EQ(Text("MAINFRM_CPP_42"), lines[1]);
    EXPECT_EQ(Text("MAINFRM_CPP_28"), lines[2]);
    EXPECT_EQ(Formatted("MAINFRM_CPP_29", 1), lines[3]);
    EXPECT_EQ(Formatted("MAINFRM_CPP_30", 1), lines[4]);
    EXPECT_EQ(Text("MAINFRM_CPP_32"), lines[6]);
    const size_t work = Find(lines, Formatted("MAINFRM_CPP_33", std::string("Work")));
    ASSERT_NE(std::string::npos, work);
    EXPECT_EQ(Text("MAINFRM_CPP_34") + "2", lines.at(work + 1));
    const size_t home = Find(lines, Formatted("MAINFRM_CPP_33", std::string("Home")), work);
    ASSERT_NE(std::string::npos, home) << "Home after Work, Nobody skipped";
    EXPECT_EQ(Text("MAINFRM_CPP_34") + "2", lines.at(home + 1));
    EXPECT_EQ(0u, lines.at(lines.size() - 2).find(Stamp("MAINFRM_CPP_27")));
    EXPECT_EQ("", lines.back());
    EXPECT_EQ(0, lx::CommandGate::Instance().Value());
}

TEST_F(AutoMailRun, WithSendingOffOnlyTheRetrievalsRun) {
    const int before = ReceivedCount();
    dialer.sendToo = 0;
    lx::CopyText(dialer.selectedMailboxes[0], "Home");
    dialer.selectedCount = 1;
    TickToZero();
    EXPECT_TRUE(ReceivedSince(before).empty());
    EXPECT_EQ(1, CountIn(frame->SpecialFolders().out)) << "the queued mail stays";
    EXPECT_EQ(2, CountIn(frame->SpecialFolders().in));
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(Text("MAINFRM_CPP_31"), lines[3]);
    EXPECT_EQ(Text("MAINFRM_CPP_32"), lines[4]);
    EXPECT_EQ(Formatted("MAINFRM_CPP_33", std::string("Home")), lines[5]);
}

TEST_F(AutoMailRun, ASilentServerEndsItsRunInTimeAndTheNextTickRunsNormally) {
    constexpr unsigned kSilenceMillis = 1000;
    PlugRun(kSilenceMillis);
    dialer.sendToo = 0;
    lx::CopyText(dialer.selectedMailboxes[0], "Work");
    dialer.selectedCount = 1;
    lx::CopyText(mailboxes.records[1].pop3Server, "127.0.0.16"); // accepts, never answers
    // A tick that reaches the window while the run waits on the server.
    ::PostMessageA(Wnd(), WM_TIMER, IDT_MAILCHECK, 0);
    const DWORD start = ::GetTickCount();
    TickToZero();
    EXPECT_LT(::GetTickCount() - start, 10 * kSilenceMillis) << "the run ended by itself";
    EXPECT_TRUE(WaitFor([this] { return CycleEnded(); }));
    EXPECT_EQ(0, CountIn(workBox));
    EXPECT_EQ(0, lx::CommandGate::Instance().Value());

    lx::CopyText(mailboxes.records[1].pop3Server, "127.0.0.2");
    TickToZero();
    EXPECT_TRUE(WaitFor([this] { return CycleEnded(); }));
    EXPECT_EQ(2, CountIn(workBox)) << "the next run retrieves as usual";
    const auto lines = LogLines();
    // Two cycles, each opened, run and closed once: the stray tick started nothing.
    EXPECT_EQ(2u, CountOf(lines, Text("MAINFRM_CPP_42")));
    EXPECT_EQ(2u, CountOf(lines, Text("MAINFRM_CPP_28")));
    EXPECT_EQ(2u, CountOf(lines, Formatted("MAINFRM_CPP_33", std::string("Work"))));
    size_t closings = 0;
    for (const std::string& line : lines) closings += line.find(Stamp("MAINFRM_CPP_27")) == 0;
    EXPECT_EQ(2u, closings);
}

} // namespace
} // namespace lxtest
