// Mail is never lost while it is sent: a server that takes a message's data and closes the
// connection without a word has not accepted it, so the message stays queued in _OUT, is never
// marked sent, and goes out once with the next run.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/catalog/msgcatalog.h"
#include "common/settings/registry_win32.h"
#include "mailer/transfer/logic/transfermarks.h"
#include "mailer/transfer/maillett.h"
#include "netlib/tern32.h"
#include "tests/faults/faultpeer.h"
#include "tests/sending/queue_fixture.h"
#include "tests/sending/received.h"
#include "tests/startup/uitest.h"

namespace lxtest {
namespace {

constexpr char kTestKey[] = "Software\\Quorbit\\LorvexSendingFaults";

class SendingFaults : public QueueTest {
protected:
    void SetUp() override {
        QueueTest::SetUp();
        ASSERT_TRUE(BuiltCatalogue().Loaded()) << "DGROUP.VSF of the build is needed";
        folder = TempFolder("lxsendfaults");
        ASSERT_EQ(TERNStartWinSock(0x0101), 1);
        hook.reset(new ScriptedHook);
    }
    void TearDown() override {
        hook.reset();
        TERNEndWinSock();
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
    }

    // One automatic run (it closes itself) against `server`; the log. With nothing queued the
    // dialog closes before any run.
    std::string Send(const char* server, INT_PTR expected = IDOK) {
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
        lx::Win32SettingsRegistry registry(kTestKey);
        registry.WriteString("Address", "me@example.org");
        registry.WriteString("SMTPServer", server);
        lx::SendMailData d;
        d.installPath = folder.c_str();
        d.catalog = &BuiltCatalogue();
        d.conn = &Conn();
        d.automatic = true;
        d.marks = &marks;
        d.registryKey = kTestKey;
        EXPECT_EQ(lx::ShowSendMailDialog(nullptr, &d), expected);
        return d.log;
    }

    std::string Text(const char* key) {
        const char* text = BuiltCatalogue().Lookup(key);
        return text ? text : key;
    }

    std::string folder;
    lx::TransferMarks marks;
    std::unique_ptr<ScriptedHook> hook;
};

int Count(const std::vector<Received>& got, const std::string& subject) {
    int n = 0;
    for (const Received& r : got) n += r.Header("Subject") == subject ? 1 : 0;
    return n;
}

TEST_F(SendingFaults, ServerClosingAfterDataLeavesTheMessageQueuedAndItGoesOnceLater) {
    Queued first, second;
    first.subject = "Taken";
    second.subject = "Data sent, never answered";
    second.text = "The server closes the connection once it has this text.\r\n";
    const long a = Queue(first, 1), b = Queue(second, 2);
    const int droppedBefore = DroppedServerMessages();

    const std::string log = Send(kDropAfterData);
    // The first was accepted; the second's data arrived, but no reply said so.
    EXPECT_EQ(FolderOf(a), sent) << log;
    EXPECT_EQ(FolderOf(b), out) << log;
    ASSERT_EQ(DroppedServerMessages(), droppedBefore + 2) << log;
    EXPECT_NE(DroppedServerMessage(droppedBefore + 2).find(second.text), std::string::npos);
    EXPECT_NE(log.find(Text("MAILLETT_CPP_27")), std::string::npos) << log; // closed by server

    const int received = ReceivedCount();
    Send(kSmtpSink);
    EXPECT_EQ(FolderOf(b), sent);
    const std::vector<Received> got = ReceivedSince(received);
    EXPECT_EQ(Count(got, second.subject), 1);
    EXPECT_EQ(Count(got, first.subject), 0); // sent once, not again

    // Nothing is left to send, and nothing goes twice.
    const std::string third = Send(kSmtpSink, IDCANCEL);
    EXPECT_NE(third.find(Text("MAILLETT_CPP_3")), std::string::npos) << third;
    EXPECT_EQ(ReceivedSince(received).size(), 1u);
    std::printf("SMTP closes after DATA | 1 case | messages lost 0 | sent twice %d\n",
                Count(ReceivedSince(received), second.subject) - 1);
}

} // namespace
} // namespace lxtest
