// The sending dialog's store work against a real store.
#include <gtest/gtest.h>

#include "common/schema/sqlforms.h"
#include "mailer/transfer/store/maillett_store.h"
#include "tests/sending/queue_fixture.h"

namespace lxtest {
namespace {

class SendingStore : public QueueTest {};

std::vector<lx::QueuedMessage> ReadAll(odbcvantConnection* conn, long folder, std::size_t buffer) {
    lx::QueuedMessageReader reader(conn, nullptr);
    std::vector<lx::QueuedMessage> all;
    EXPECT_TRUE(reader.Open(folder, buffer));
    lx::QueuedMessage m;
    while (reader.Next(&m)) all.push_back(m);
    EXPECT_FALSE(reader.Failed());
    return all;
}

TEST_F(SendingStore, CountsQueuedMessagesAndTheLargest) {
    lx::QueueSize size;
    ASSERT_TRUE(lx::CountQueued(&Conn(), out, nullptr, &size));
    EXPECT_EQ(size.count, 0);
    EXPECT_EQ(size.largest, 0);
    Queued small, large;
    large.text = std::string(5000, 'x');
    Queue(small, 1);
    Queue(large, 2);
    // A retrieved message in _OUT is not queued mail.
    Exec("UPDATE Messages SET MesgType = 'I' WHERE MesgNum = " + std::to_string(Queue(large, 3)));
    ASSERT_TRUE(lx::CountQueued(&Conn(), out, nullptr, &size));
    EXPECT_EQ(size.count, 2);
    EXPECT_EQ(size.largest, 5000);
}

TEST_F(SendingStore, ReadsEachMessageWithItsRecipientsAndFiles) {
    Queued q;
    q.subject = "It's O'Brien's \"plan\"";
    q.from = "J\xf6rg M\xfcller <joerg@example.org>";
    q.to = {"a@example.org", "b'c@example.org"};
    q.cc = {"cc@example.org"};
    q.files = {"C:\\data\\O'Brien.txt"};
    q.signature = "Work";
    const long n = Queue(q);
    const auto all = ReadAll(&Conn(), out, lx::TextBufferSize(0));
    ASSERT_EQ(all.size(), 1u);
    const lx::QueuedMessage& m = all[0];
    EXPECT_EQ(m.mesgNum, n);
    EXPECT_EQ(lx::SubjectToSend(m.subject), q.subject);
    EXPECT_EQ(m.mailData, q.text);
    EXPECT_EQ(m.fromAdd, q.from);
    EXPECT_EQ(m.mesgId, "Work");
    EXPECT_EQ(m.to, q.to);
    EXPECT_EQ(m.cc, q.cc);
    EXPECT_EQ(m.files, q.files);
}

TEST_F(SendingStore, LongestSubjectAndATextLongerThanItsSizeAreReadWhole) {
    Queued q;
    q.subject = std::string(250, 's');
    q.text = std::string(20000, 't') + "end";
    const long n = Queue(q);
    // A stale MesgSize must not cut the text.
    Exec("UPDATE Messages SET MesgSize = 10 WHERE " + lx::ConditionMesgNum(n));
    lx::QueueSize size;
    ASSERT_TRUE(lx::CountQueued(&Conn(), out, nullptr, &size));
    const auto all = ReadAll(&Conn(), out, lx::TextBufferSize(size.largest));
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].subject.size(), 255u);
    EXPECT_EQ(lx::SubjectToSend(all[0].subject), q.subject);
    EXPECT_EQ(all[0].mailData, q.text);
}

TEST_F(SendingStore, MovesOneMessageToSent) {
    const long a = Queue(Queued(), 1), b = Queue(Queued(), 2);
    ASSERT_TRUE(lx::MoveMessageToFolder(&Conn(), b, sent, nullptr));
    EXPECT_EQ(FolderOf(a), out);
    EXPECT_EQ(FolderOf(b), sent);
    EXPECT_EQ(ReadAll(&Conn(), out, 8192).size(), 1u);
}

TEST_F(SendingStore, FindsFoldersByName) {
    EXPECT_EQ(lx::FindFolderNum(&Conn(), "_OUT", nullptr), out);
    EXPECT_EQ(lx::FindFolderNum(&Conn(), "_SENT", nullptr), sent);
    EXPECT_EQ(lx::FindFolderNum(&Conn(), "Tom's", nullptr), -1);
}

} // namespace
} // namespace lxtest
