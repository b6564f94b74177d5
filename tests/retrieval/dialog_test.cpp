// "Retrieving Mail [POP3]" end to end: mail pulled from Dovecot into the store, the filters, a run
// closed half-way, a damaged message, deleting on the server, an empty mailbox, the password
// prompt, automatic mode with its watchdog, and the Retrieve Mail command.
#include "tests/retrieval/dialog_fixture.h"
#include "tests/retrieval/filtersample.h"
#include "tests/retrieval/mailsamples.h"

#include "common/settings/install_path.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/logic/pop3stat_rules.h"
#include "mailer/ui/logic/cmdplug.h"
#include "netlib/core/codes.h"

#include <algorithm>
#include <string>
#include <vector>

namespace lxtest {
namespace {

std::string Attachment() {
    std::string bytes;
    for (int i = 0; i < 3000; ++i) bytes += static_cast<char>((i * 7) & 0xff);
    return bytes;
}

// Five messages: recipients, a Cc, a binary attachment, an apostrophe, a 255-character subject,
// a sender name in another script.
std::vector<std::string> FiveMessages() {
    SampleMail a, b, c, d, e;
    a.to = "joe@example.org, amy@example.org";
    a.cc = "cc@example.org";
    a.subject = "With attachment";
    a.fileName = "data.bin";
    a.fileBytes = Attachment();
    b.to = "joe@example.org";
    b.subject = "It's O'Brien's turn";
    b.from = "O'Brien <ob@example.org>";
    c.to = "joe@example.org";
    c.subject = LongSubject();
    d.to = "joe@example.org";
    d.from = "=?utf-8?q?J=C3=BCrgen?= <jm@example.org>";
    d.subject = "Gr\xc3\xbc\xc3\x9f"
                "e";
    e.subject = "No To header";
    return {MailText(a), MailText(b), MailText(c), MailText(d), MailText(e)};
}

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> mails;
    for (int i = 1; i <= count; ++i) {
        SampleMail m;
        m.to = "joe@example.org";
        m.subject = "Number " + std::to_string(i);
        m.body = std::string(2000, 'a' + i) + "\r\n";
        mails.push_back(MailText(m));
    }
    return mails;
}

TEST_F(RetrievalDialogTest, FiveMessagesReachTheStore) {
    FillServer(FiveMessages());
    bool markWhileOpen = false;
    int starts = 0;
    EXPECT_EQ(Run([&](HWND dialog) {
                  markWhileOpen = marks.retrieving;
                  // Further start requests (every show posts one) start nothing more.
                  if (starts++ < 3) ::PostMessageA(dialog, lx::kPop3StartMessage, 0, 0);
                  return RunFinished(dialog);
              }),
              IDOK);
    EXPECT_TRUE(markWhileOpen);
    EXPECT_FALSE(marks.retrieving);
    EXPECT_TRUE(Logged(lx::kKeyAllStored)) << data.messages;
    EXPECT_EQ(data.totalWaiting, "5");
    EXPECT_EQ(data.connectionStatus, Text(lx::kKeyDisconnected));
    EXPECT_TRUE(BackupFiles().empty()); // a scan that succeeded leaves no backup

    const std::vector<StoredRow> rows = Rows();
    ASSERT_EQ(rows.size(), 5u);
    for (const StoredRow& r : rows) {
        EXPECT_EQ(r.folderNum, in);
        EXPECT_EQ(r.mesgType, "I");
        EXPECT_EQ(r.mesgSize, static_cast<long>(r.mailData.size()));
    }
    EXPECT_EQ(rows[0].subject, "With attachment&&N&F");
    EXPECT_EQ(Children("ToList", "ToName", rows[0].mesgNum),
              (std::vector<std::string>{"joe@example.org", "amy@example.org"}));
    EXPECT_EQ(Children("CcList", "CcName", rows[0].mesgNum),
              std::vector<std::string>{"cc@example.org"});
    const std::vector<std::string> files = Children("Files", "FileName", rows[0].mesgNum);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], install + "\\DATA\\data.bin");
    EXPECT_EQ(ReadBytes(files[0]), Attachment());
    EXPECT_EQ(rows[1].subject, "It's O'Brien's turn&&N& ");
    EXPECT_EQ(rows[1].from, "O'Brien <ob@example.org>");
    EXPECT_EQ(rows[2].subject, LongSubject().substr(0, 250) + "&&N& ");
    EXPECT_EQ(rows[3].subject, "Gr\xc3\xbc\xc3\x9f"
                               "e&&N& ");
    EXPECT_NE(rows[3].from.find("jm@example.org"), std::string::npos);
    EXPECT_EQ(Children("ToList", "ToName", rows[4].mesgNum),
              std::vector<std::string>{Text(lx::kKeyNoRecipient)});
    EXPECT_EQ(ServerCount(), 5); // delete is off
}

TEST_F(RetrievalDialogTest, FiltersDropAndFileMessages) {
    const long boss = AddFolder("Boss");
    ASSERT_TRUE(WriteSampleFilters(lx::InstallFile(install, lx::kFilterFile), "Boss", boss));
    SampleMail plain, spam, fromBoss, both;
    plain.subject = "Lunch";
    spam.subject = "Cheap SPAM";
    fromBoss.from = "boss@example.org";
    fromBoss.subject = "Meeting";
    both.from = "boss@example.org";
    both.subject = "spam forwarded";
    FillServer({MailText(plain), MailText(spam), MailText(fromBoss), MailText(both)});
    Run([&](HWND dialog) { return RunFinished(dialog); });
    const std::vector<StoredRow> rows = Rows();
    ASSERT_EQ(rows.size(), 2u) << data.messages;
    EXPECT_EQ(rows[0].subject, "Lunch&&N& ");
    EXPECT_EQ(rows[0].folderNum, in);
    EXPECT_EQ(rows[1].subject, "Meeting&&N& ");
    EXPECT_EQ(rows[1].folderNum, boss);
    EXPECT_TRUE(Logged(lx::kKeyFiltersLoaded));
    EXPECT_TRUE(Logged(lx::kKeyFilterDeleted));
}

TEST_F(RetrievalDialogTest, RunClosedAfterThreeStoresThree) {
    FillServer(Numbered(5));
    Run(nullptr, [](HWND dialog, int code, LPARAM n) {
        if (code == TERN_POP3_STORED && n == 3)
            ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    const std::vector<StoredRow> rows = Rows();
    ASSERT_EQ(rows.size(), 3u) << data.messages;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(rows[i].subject, "Number " + std::to_string(i + 1) + "&&N& ");
    EXPECT_EQ(data.messagesStored, 3);
    EXPECT_EQ(data.messageTotal, 5);
    EXPECT_TRUE(Logged(lx::kKeyStoring));
}

// A damaged message is stored as it came, with the spool's copy kept: it does not hold the mail on
// the server, where it would come again with every other message at each retrieval.
TEST_F(RetrievalDialogTest, DamagedMessageKeepsTheBackupAndTheOthers) {
    MailboxSetting setting;
    setting.deleteMail = 1;
    WriteMailbox(setting);
    std::vector<std::string> mails = Numbered(5);
    mails[2] = MalformedMail("Broken");
    FillServer(mails);
    Run([&](HWND dialog) { return RunFinished(dialog); });
    const std::vector<StoredRow> rows = Rows();
    ASSERT_EQ(rows.size(), 5u) << data.messages;
    EXPECT_EQ(rows[0].subject, "Number 1&&N& ");
    EXPECT_EQ(rows[1].subject, "Number 2&&N& ");
    EXPECT_EQ(rows[2].subject, "Broken&&N& ");
    EXPECT_TRUE(Logged(lx::kKeyMalformed)) << data.messages;
    EXPECT_TRUE(Logged(lx::kKeyStoredDamaged));
    const std::vector<std::string> backups = BackupFiles();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(ReadBytes(install + "\\" + backups[0]),
              ReadBytes(lx::InstallFile(install, lx::kIncomingSpoolFile)));
    EXPECT_FALSE(Logged(lx::kKeyLeftOnServer));
    EXPECT_EQ(ServerCount(), 0);
}

// The server deletes only once every message is in the store: a store that refuses the mail
// leaves the server as it was.
TEST_F(RetrievalDialogTest, DeleteOnEmptiesTheServerOnlyOnceStored) {
    MailboxSetting setting;
    setting.deleteMail = 1;
    WriteMailbox(setting);
    for (bool storeWorks : {false, true}) {
        SCOPED_TRACE(storeWorks ? "store works" : "store refuses");
        FillServer(Numbered(5));
        if (!storeWorks) Exec("ALTER TABLE Messages RENAME TO MessagesAway");
        Run([&](HWND dialog) { return RunFinished(dialog); });
        if (!storeWorks) Exec("ALTER TABLE MessagesAway RENAME TO Messages");
        EXPECT_EQ(Rows().size(), storeWorks ? 5u : 0u) << data.messages;
        EXPECT_EQ(Logged(lx::kKeyAllStored), storeWorks);
        EXPECT_EQ(Logged(lx::kKeyLeftOnServer), !storeWorks);
        EXPECT_EQ(ServerCount(), storeWorks ? 0 : 5);
        EXPECT_TRUE(Logged("POP3STAT_CPP_24")) << data.messages; // the session ended cleanly
    }
}

TEST_F(RetrievalDialogTest, EmptyServerSaysSo) {
    FillServer({});
    Run([&](HWND dialog) { return RunFinished(dialog); });
    EXPECT_TRUE(Logged("POP3STAT_CPP_15")) << data.messages;
    EXPECT_EQ(data.totalWaiting, "0");
    EXPECT_FALSE(Logged(lx::kKeyStoring)); // no scan
    EXPECT_TRUE(Rows().empty());
}

TEST_F(RetrievalDialogTest, ServerRefusalIsShownWithItsText) {
    MailboxSetting setting;
    setting.password = "wrong";
    WriteMailbox(setting);
    FillServer(Numbered(1));
    Run([&](HWND dialog) { return RunFinished(dialog); });
    EXPECT_TRUE(Logged("POP3STAT_CPP_11")) << data.messages;
    EXPECT_NE(data.messages.find("-ERR"), std::string::npos);
    EXPECT_TRUE(Rows().empty());
}

TEST_F(RetrievalDialogTest, EmptyPasswordIsAskedFor) {
    MailboxSetting setting;
    setting.password = "";
    WriteMailbox(setting);
    FillServer(Numbered(2));
    for (bool confirm : {false, true}) {
        Exec("DELETE FROM Messages");
        hook->onInit = [confirm](HWND dialog, int id) {
            if (id != IDD_POP3PASS) return;
            ::SetDlgItemTextA(dialog, IDC_POP3PASS_PASSWORD, "secret");
            Press(dialog, confirm ? IDOK : IDCANCEL);
        };
        // Cancelled: nothing is pulled, and the dialog waits in its opening state.
        Run([&](HWND dialog) {
            return confirm ? RunFinished(dialog)
                           : std::count(hook->dialogsStarted.begin(), hook->dialogsStarted.end(),
                                        IDD_POP3PASS) > 0;
        });
        EXPECT_EQ(Rows().size(), confirm ? 2u : 0u) << data.messages;
        if (!confirm) {
            EXPECT_EQ(data.connectionStatus, Text(lx::kKeyConnecting));
        }
        hook->dialogsStarted.clear();
    }
}

// The automatic run under a minimised main window: out of sight, the title says so meanwhile.
TEST_F(RetrievalDialogTest, AutomaticRunClosesItselfAndLeavesItsTexts) {
    HWND main = ::CreateWindowA("STATIC", "Lorvex", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(main, nullptr);
    ::ShowWindow(main, SW_SHOWMINIMIZED);
    FillServer(Numbered(2));
    data.automatic = true;
    data.mainWindow = main;
    std::string titleWhileOpen;
    bool minimised = false;
    const INT_PTR result = Run(nullptr, [&](HWND dialog, int code, LPARAM) {
        if (code != TERN_POP3_COUNT) return;
        char title[64] = "";
        ::GetWindowTextA(main, title, sizeof title);
        titleWhileOpen = title;
        minimised = ::IsIconic(dialog) != FALSE;
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(titleWhileOpen, Text(lx::kKeyRetrievingTitle));
    EXPECT_TRUE(minimised);
    char title[64] = "";
    ::GetWindowTextA(main, title, sizeof title);
    EXPECT_STREQ(title, "Lorvex");
    EXPECT_EQ(Rows().size(), 2u);
    EXPECT_EQ(data.totalWaiting, "2");
    EXPECT_EQ(data.retrievingMessage, "2");
    EXPECT_TRUE(Logged(lx::kKeyAllStored)) << data.messages;
    ::DestroyWindow(main);
}

TEST_F(RetrievalDialogTest, AutomaticRunCutShortByTheServerStoresTheCompleteOnes) {
    MailboxSetting setting;
    setting.server = "127.0.0.17"; // closes the connection inside message 2
    WriteMailbox(setting);
    data.automatic = true;
    EXPECT_EQ(Run(nullptr), IDOK);
    EXPECT_TRUE(Logged("POP3STAT_CPP_20")) << data.messages;
    EXPECT_EQ(data.messagesStored, 1);
    EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(RetrievalDialogTest, WatchdogEndsASilentServersRun) {
    MailboxSetting setting;
    setting.server = "127.0.0.16"; // accepts, never answers
    WriteMailbox(setting);
    data.automatic = true;
    data.watchdogMillis = 500;
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(Run(nullptr), IDOK);
    EXPECT_LT(::GetTickCount() - start, 10000u);
    EXPECT_TRUE(Logged(lx::kKeyConnectionClosed)) << data.messages;
    EXPECT_EQ(data.connectionStatus, Text(lx::kKeyDisconnected));
}

TEST_F(RetrievalDialogTest, RetrieveMailCommandOpensTheDialog) {
    lx::CommandPlugs plugs;
    lx::MailRetrievalContext context{s_catalog, s_conn, install.c_str(), &marks, nullptr};
    lx::PlugMailRetrieval(plugs, context);
    ASSERT_TRUE(plugs.IsPlugged(ID_MAIL_RETRIEVE));
    bool marked = false;
    hook->onInit = [&](HWND dialog, int id) {
        if (id != IDD_POP3STAT) return;
        marked = marks.retrieving;
        Press(dialog, IDCANCEL);
    };
    int result = 0;
    ASSERT_TRUE(plugs.Run(ID_MAIL_RETRIEVE, nullptr, nullptr, &result));
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(marked);
    EXPECT_FALSE(marks.retrieving);
}

} // namespace
} // namespace lxtest
