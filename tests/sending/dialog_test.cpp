// "Send Mail [SMTP]" end to end under Wine: queued messages in the runner's store, the dialog
// in-process, aiosmtpd (and a silent scripted server) on loopback.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/settings/registry_win32.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/maillett.h"
#include "mailer/ui/logic/cmdplug.h"
#include "netlib/tern32.h"
#include "tests/sending/queue_fixture.h"
#include "tests/sending/received.h"
#include "tests/startup/uitest.h"

namespace lxtest {
namespace {

constexpr char kTestKey[] = "Software\\Quorbit\\LorvexSendingTest";
constexpr char kSink[] = "127.0.0.3";
constexpr char kSilent[] = "127.0.0.16";

lx::MessageCatalog& Catalogue() { return BuiltCatalogue(); }

std::string Text(const char* key, const std::vector<lx::FormatArg>& args = {}) {
    const char* text = Catalogue().Lookup(key);
    return lx::FormatTextOr(text ? text : "", args, text ? text : "");
}

void WriteSettings(const char* address, const char* server) {
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
    lx::Win32SettingsRegistry registry(kTestKey);
    registry.WriteString("Address", address);
    registry.WriteString("SMTPServer", server);
}

class SendDialog : public QueueTest {
protected:
    void SetUp() override {
        QueueTest::SetUp();
        ASSERT_TRUE(Catalogue().Loaded()) << "DGROUP.VSF of the build is needed";
        folder = TempFolder("lxsend");
        ASSERT_EQ(TERNStartWinSock(0x0101), 1);
        WriteSettings("me@example.org", kSink);
        hook.reset(new ScriptedHook);
        received = ReceivedCount();
    }
    void TearDown() override {
        hook.reset();
        TERNEndWinSock();
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
    }

    lx::SendMailData Data(bool automatic) {
        lx::SendMailData d;
        d.installPath = folder.c_str();
        d.catalog = &Catalogue();
        d.conn = &Conn();
        d.automatic = automatic;
        d.marks = &marks;
        d.registryKey = kTestKey;
        return d;
    }
    // Runs the dialog; in manual mode it is closed once its status says the run finished.
    INT_PTR Run(lx::SendMailData& d) {
        if (!d.automatic) CloseWhenFinished();
        return lx::ShowSendMailDialog(nullptr, &d);
    }
    // Once the status says the run has finished, the fields are read and Help, then Close, is
    // pressed.
    void CloseWhenFinished() {
        static std::string finished;
        finished = Text("MAILLETT_CPP_13");
        atFinish().clear();
        hook->onInit = [](HWND dialog, int) {
            ::SetTimer(dialog, 0x5E, 50, [](HWND dlg, UINT, UINT_PTR id, DWORD) {
                if (ControlText(dlg, IDC_MAILLETT_STATUS) != finished) return;
                ::KillTimer(dlg, id);
                for (int field : {IDC_MAILLETT_QUEUED, IDC_MAILLETT_PREPARED, IDC_MAILLETT_SENT,
                                  IDC_MAILLETT_PROGRESS, IDC_MAILLETT_LOG})
                    atFinish()[field] = ControlText(dlg, field);
                Press(dlg, IDC_MAILLETT_HELP);
                Press(dlg, IDCANCEL);
            });
        };
    }
    static std::map<int, std::string>& atFinish() {
        static std::map<int, std::string> fields;
        return fields;
    }
    std::string folder;
    lx::TransferMarks marks;
    std::unique_ptr<ScriptedHook> hook;
    int received = 0;
};

// A text as it arrives: SMTP ends its last line, so only what stands before the final line ends
// is compared.
std::string Trim(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST_F(SendDialog, SecondMessageRefusedAtRcptStaysInOut) {
    std::string bytes;
    for (int i = 0; i < 300; ++i) bytes += static_cast<char>((i * 37) & 0xff);
    Queued first;
    first.subject = "Quarterly figures";
    first.text = "Dear all,\r\nthe figures are attached.\r\n.a line with a full stop\r\n";
    first.to = {"ann@example.org", "bob@example.org"};
    first.cc = {"cy@example.org"};
    first.files = {WriteFile(folder + "\\figures.bin", bytes)};
    Queued second;
    second.subject = "Never arrives";
    second.to = {"nobody@refused.invalid"};
    const long a = Queue(first, 1), b = Queue(second, 2);

    lx::SendMailData d = Data(true);
    EXPECT_EQ(Run(d), IDOK);
    EXPECT_EQ(FolderOf(a), sent);
    EXPECT_EQ(FolderOf(b), out);
    EXPECT_EQ(d.movedToSent, 1);
    EXPECT_TRUE(Contains(d.log, Text("MAILLETT_CPP_19") + "550")) << d.log;
    EXPECT_TRUE(Contains(d.log, Text("MAILLETT_CPP_33", {2}))) << d.log;
    EXPECT_TRUE(Contains(d.log, Text("MAILLETT_CPP_7", {first.files[0]}))) << d.log;

    const std::vector<Received> got = ReceivedSince(received);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].mailFrom, "me@example.org");
    EXPECT_EQ(got[0].rcptTo,
              (std::vector<std::string>{"ann@example.org", "bob@example.org", "cy@example.org"}));
    EXPECT_EQ(got[0].Header("Subject"), first.subject);
    EXPECT_EQ(got[0].All("To"), (std::vector<std::string>{"ann@example.org", "bob@example.org"}));
    EXPECT_EQ(got[0].All("Cc"), std::vector<std::string>{"cy@example.org"});
    EXPECT_EQ(got[0].text, Trim(first.text));
    ASSERT_EQ(got[0].attachments.size(), 1u);
    EXPECT_EQ(got[0].attachments[0].first, "figures.bin");
    EXPECT_EQ(got[0].attachments[0].second, bytes);
}

TEST_F(SendDialog, MessageWithoutToIsSkippedAndTheOthersKeepTheirFlags) {
    Queued one, none, three;
    one.subject = "one";
    one.to = {"one@example.org"};
    none.subject = "none";
    none.to = {};
    none.cc = {"cc@example.org"};
    three.subject = "three";
    three.to = {"three@example.org"};
    const long a = Queue(one, 1), b = Queue(none, 2), c = Queue(three, 3);

    lx::SendMailData d = Data(true);
    EXPECT_EQ(Run(d), IDOK);
    EXPECT_EQ(FolderOf(a), sent);
    EXPECT_EQ(FolderOf(b), out);
    EXPECT_EQ(FolderOf(c), sent);
    EXPECT_TRUE(Contains(d.log, Text("MAILLETT_CPP_34", {2}))) << d.log;
    const std::vector<Received> got = ReceivedSince(received);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].Header("Subject"), "one");
    EXPECT_EQ(got[1].Header("Subject"), "three");
    EXPECT_EQ(got[1].rcptTo, std::vector<std::string>{"three@example.org"});
}

TEST_F(SendDialog, ApostrophesLongestSubjectAndEightBitSenderSurvive) {
    Queued q;
    q.subject = "O'Brien's plan: " + std::string(234, 'x'); // 250, the longest the store keeps
    q.from = "J\xf6rg M\xfcller <joerg@example.org>";
    q.to = {"o'brien@example.org"};
    q.text = "It's Tom's turn.\r\n";
    const long a = Queue(q);
    lx::SendMailData d = Data(true);
    EXPECT_EQ(Run(d), IDOK);
    EXPECT_EQ(FolderOf(a), sent);
    const std::vector<Received> got = ReceivedSince(received);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].mailFrom, "joerg@example.org");
    EXPECT_EQ(got[0].rcptTo, std::vector<std::string>{"o'brien@example.org"});
    EXPECT_EQ(got[0].Header("Subject"), q.subject);
    EXPECT_EQ(got[0].DecodedHeader("From"), q.from);
    EXPECT_EQ(got[0].text, Trim(q.text));
}

// SIGNING.SIG with one signature "Work" (slot 0).
void WriteSignatures(const std::string& path, const std::string& name, const std::string& text) {
    std::string bytes(1296 + 512, '\0');
    bytes[0] = 1;
    bytes.replace(4, name.size(), name);
    const int offset = 1296;
    for (int i = 0; i < 4; ++i) bytes[1028 + i] = static_cast<char>((offset >> (8 * i)) & 0xff);
    bytes.replace(1296, text.size(), text);
    WriteFile(path, bytes);
}

TEST_F(SendDialog, NamedSignatureFollowsTheText) {
    WriteSignatures(folder + "\\SIGNING.SIG", "Work", "Jo Bloggs\r\nQuorbit Ltd");
    Queued signed_, plain;
    signed_.subject = "signed";
    signed_.text = "Body";
    signed_.signature = "Work";
    plain.subject = "plain";
    plain.text = "Body";
    plain.signature = "Unknown";
    Queue(signed_, 1);
    Queue(plain, 2);
    lx::SendMailData d = Data(true);
    EXPECT_EQ(Run(d), IDOK);
    const std::vector<Received> got = ReceivedSince(received);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].text, "Body\r\nJo Bloggs\r\nQuorbit Ltd");
    EXPECT_EQ(got[1].text, "Body");
}

TEST_F(SendDialog, EmptyOutSaysSoAndAutomaticModeClosesAtOnce) {
    lx::SendMailData d = Data(true);
    EXPECT_EQ(Run(d), IDCANCEL);
    EXPECT_EQ(d.log, Text("MAILLETT_CPP_3") + "\r\n");
    EXPECT_TRUE(ReceivedSince(received).empty());
}

TEST_F(SendDialog, NoSettingsKeySendsNothing) {
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
    const long a = Queue(Queued());
    lx::SendMailData d = Data(true);
    EXPECT_EQ(Run(d), IDCANCEL);
    EXPECT_TRUE(Contains(d.log, Text("MAILLETT_CPP_1"))) << d.log;
    EXPECT_EQ(FolderOf(a), out);
    EXPECT_TRUE(ReceivedSince(received).empty());
}

TEST_F(SendDialog, NoServerSendsNothing) {
    WriteSettings("me@example.org", "");
    const long a = Queue(Queued());
    lx::SendMailData d = Data(true);
    EXPECT_EQ(Run(d), IDCANCEL);
    EXPECT_TRUE(Contains(d.log, Text("MAILLETT_CPP_4"))) << d.log;
    EXPECT_FALSE(Contains(d.log, Text("MAILLETT_CPP_1"))) << d.log;
    EXPECT_EQ(FolderOf(a), out);
}

TEST_F(SendDialog, ManualModeStaysOpenUntilClosedAndHoldsTheSendingMark) {
    const long a = Queue(Queued());
    bool markWhileOpen = false;
    CloseWhenFinished();
    auto closer = hook->onInit;
    hook->onInit = [&](HWND dialog, int id) {
        markWhileOpen = marks.sending;
        closer(dialog, id);
    };
    lx::SendMailData d = Data(false);
    EXPECT_EQ(lx::ShowSendMailDialog(nullptr, &d), IDOK);
    EXPECT_TRUE(markWhileOpen);
    EXPECT_FALSE(marks.sending);
    EXPECT_EQ(FolderOf(a), sent);
    EXPECT_TRUE(Contains(d.log, Text("MAILLETT_CPP_32"))) << d.log;
    EXPECT_EQ(ReceivedSince(received).size(), 1u);
    // What the fields showed at the end, and the help topic of the dialog.
    EXPECT_EQ(atFinish()[IDC_MAILLETT_QUEUED], "1");
    EXPECT_EQ(atFinish()[IDC_MAILLETT_PREPARED], "1");
    EXPECT_EQ(atFinish()[IDC_MAILLETT_SENT], "1");
    EXPECT_EQ(atFinish()[IDC_MAILLETT_PROGRESS], "100.00%");
    EXPECT_EQ(atFinish()[IDC_MAILLETT_LOG], d.log);
    ASSERT_EQ(hook->helpCalls.size(), 1u);
    EXPECT_EQ(hook->helpCalls[0].second, 32u);
    EXPECT_TRUE(Contains(hook->helpCalls[0].first, "LORVEX.HLP")) << hook->helpCalls[0].first;
}

TEST_F(SendDialog, SilentServerIsEndedByTheTimeOut) {
    WriteSettings("me@example.org", kSilent);
    const long a = Queue(Queued());
    lx::SendMailData d = Data(true);
    d.timeoutMillis = 1000;
    EXPECT_EQ(Run(d), IDOK);
    EXPECT_TRUE(Contains(d.log, Text("MAILLETT_CPP_43", {1}))) << d.log;
    EXPECT_EQ(FolderOf(a), out);
}

TEST_F(SendDialog, MinimisedMainWindowSaysSendingMeanwhile) {
    Queue(Queued());
    HWND main = ::CreateWindowA("STATIC", "Lorvex", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(main, nullptr);
    ::ShowWindow(main, SW_SHOWMINIMIZED);
    static std::set<std::string> titles;
    static HWND watched;
    titles.clear();
    watched = main;
    hook->onInit = [](HWND dialog, int) {
        ::SetTimer(dialog, 0x5F, 10, [](HWND, UINT, UINT_PTR, DWORD) {
            char title[64] = "";
            ::GetWindowTextA(watched, title, sizeof title);
            titles.insert(title);
        });
    };
    lx::SendMailData d = Data(true);
    d.mainWindow = main;
    d.timeoutMillis = 2000;
    // A silent server keeps the run going long enough to be seen.
    WriteSettings("me@example.org", kSilent);
    EXPECT_EQ(Run(d), IDOK);
    char title[64] = "";
    ::GetWindowTextA(main, title, sizeof title);
    EXPECT_STREQ(title, "Lorvex");
    EXPECT_EQ(titles.count(Text("MAILLETT_CPP_41")), 1u);
    ::DestroyWindow(main);
}

TEST_F(SendDialog, PluggedCommandRunsTheDialogAutomatically) {
    lx::CommandPlugs plugs;
    lx::PlugMailSending(
        plugs, lx::SendMailContext{folder.c_str(), &Catalogue(), &Conn(), &marks, nullptr});
    ASSERT_TRUE(plugs.IsPlugged(ID_MAIL_SEND));
    int result = 0;
    // An empty _OUT: the automatic run closes by itself.
    ASSERT_TRUE(plugs.Run(ID_MAIL_SEND, nullptr, lx::kSendAutomatic, &result));
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(marks.sending);
}

} // namespace
} // namespace lxtest
