// Handing queued messages to the MIME preparer: the calls, the signature after the text, and the
// spool file the SMTP session numbers its messages from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/schema/subject.h"
#include "mailer/transfer/logic/sendprep.h"
#include "mailer/transfer/logic/sendrun.h"
#include "mailer/transfer/logic/ternsink.h"
#include "tests/mime/mimetest.h"
#include "tests/sending/recordingsink.h"

namespace {

lx::QueuedMessage Message(const std::string& subject, std::vector<std::string> to) {
    lx::QueuedMessage m;
    m.mesgNum = 1;
    m.subject = lx::ComposeSubject(subject, false, false);
    m.mailData = "Dear Jo,\r\nit's done.";
    m.mesgSize = static_cast<long>(m.mailData.size());
    m.fromAdd = "Jo <jo@example.org>";
    m.to = std::move(to);
    return m;
}

TEST(PrepareQueuedMessage, CallsInOrderWithTheSignatureAfterTheText) {
    lx::QueuedMessage m = Message("Plans", {"a@example.org", "b@example.org"});
    m.cc = {"c@example.org"};
    m.files = {"C:\\f1.bin", "C:\\f2.bin"};
    lxtest::RecordingSink sink;
    std::vector<std::string> logged;
    EXPECT_EQ(lx::PrepareQueuedMessage(sink, m, "Jo\r\nQuorbit",
                                       [&](const std::string& f) { logged.push_back(f); }),
              lx::PrepOutcome::Ended);
    const std::vector<std::string> expected = {"NewMesg Jo <jo@example.org>",
                                               "TO a@example.org",
                                               "TO b@example.org",
                                               "CC c@example.org",
                                               "File C:\\f1.bin",
                                               "File C:\\f2.bin",
                                               "Subj Plans",
                                               "Data Dear Jo,\r\nit's done.",
                                               "Data \r\n",
                                               "Data Jo\r\nQuorbit",
                                               "Data \r\n",
                                               "EndMesg"};
    EXPECT_EQ(sink.calls, expected);
    EXPECT_EQ(logged, (std::vector<std::string>{"C:\\f1.bin", "C:\\f2.bin"}));
}

TEST(PrepareQueuedMessage, NoSignatureNoExtraLines) {
    lxtest::RecordingSink sink;
    lx::PrepareQueuedMessage(sink, Message("S", {"a@example.org"}), "", nullptr);
    EXPECT_EQ(sink.calls.size(), 5u); // NewMesg, TO, Subj, Data, EndMesg
    EXPECT_EQ(sink.calls[3], "Data Dear Jo,\r\nit's done.");
}

TEST(PrepareQueuedMessage, EmptySenderKeepsTheRunsSender) {
    lx::QueuedMessage m = Message("S", {"a@example.org"});
    m.fromAdd.clear();
    lxtest::RecordingSink sink;
    lx::PrepareQueuedMessage(sink, m, "", nullptr);
    EXPECT_EQ(sink.calls[0], "NewMesg (null)");
}

TEST(PrepareQueuedMessage, TextThatCannotBeWrittenIsNeverEnded) {
    for (int failing : {1, 2, 3, 4}) {
        lxtest::RecordingSink sink;
        sink.failData = failing;
        EXPECT_EQ(lx::PrepareQueuedMessage(sink, Message("S", {"a@example.org"}), "sig", nullptr),
                  lx::PrepOutcome::NotEnded)
            << failing;
        EXPECT_NE(sink.calls.back(), "EndMesg") << failing;
    }
}

TEST(PrepareQueuedMessage, RefusedEndIsReported) {
    lxtest::RecordingSink sink;
    sink.endResult = -2;
    EXPECT_EQ(lx::PrepareQueuedMessage(sink, Message("S", {"a@example.org"}), "", nullptr),
              lx::PrepOutcome::Refused);
}

// The dialog's loop over the rows: refused rows are never handed over.
lx::SendingRun PrepareAll(lx::TernMimeSink& sink, const std::vector<lx::QueuedMessage>& rows) {
    lx::SendingRun run;
    for (const lx::QueuedMessage& m : rows) {
        if (lx::CheckQueuedMessage(m, nullptr).why != lx::Refusal::None) {
            run.AddRow(m.mesgNum, false);
            continue;
        }
        run.AddRow(m.mesgNum,
                   lx::PrepareQueuedMessage(sink, m, "", nullptr) != lx::PrepOutcome::NotEnded);
    }
    return run;
}

TEST(PreparedSpool, NumbersFollowTheRowsThatWereHandedOver) {
    lxtest::TempDir dir;
    const std::string spool = dir.file("TernSmtp.Txt");
    std::vector<lx::QueuedMessage> rows = {
        Message("no recipient", {}), Message("first", {"one@example.org"}),
        Message("none again", {}), Message("second", {"two@example.org"})};
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i].mesgNum = static_cast<long>(40 + i);
    lx::TernMimeSink sink;
    ASSERT_TRUE(sink.Start(spool.c_str(), "me@example.org"));
    const lx::SendingRun run = PrepareAll(sink, rows);
    sink.Finish();
    const std::string text = lxtest::readFile(spool);
    // The count line counts the two messages written, and message n is the n-th numbered row.
    EXPECT_EQ(text.substr(0, 16), "Letters : 00002\r");
    const auto sections = lxtest::outgoingEnvelopes(text);
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0], std::vector<std::string>{"one@example.org"});
    EXPECT_EQ(sections[1], std::vector<std::string>{"two@example.org"});
    EXPECT_EQ(run.RowOfMessage(1), 2);
    EXPECT_EQ(run.RowOfMessage(2), 4);
    EXPECT_EQ(run.MesgNumOf(run.RowOfMessage(2)), 43);
}

TEST(PreparedSpool, SignatureFollowsTheTextOnItsOwnLines) {
    lxtest::TempDir dir;
    const std::string spool = dir.file("TernSmtp.Txt");
    lx::TernMimeSink sink;
    ASSERT_TRUE(sink.Start(spool.c_str(), "me@example.org"));
    ASSERT_EQ(
        lx::PrepareQueuedMessage(sink, Message("S", {"a@example.org"}), "Jo\r\nQuorbit", nullptr),
        lx::PrepOutcome::Ended);
    sink.Finish();
    const std::string text = lxtest::readFile(spool);
    EXPECT_NE(text.find("\r\n\r\nDear Jo,\r\nit's done.\r\nJo\r\nQuorbit\r\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("Subject: S\r\n"), std::string::npos);
    EXPECT_EQ(text.find("&&"), std::string::npos); // no flag suffix leaves the store
}

TEST(PreparedSpool, LongestStoredSubjectGoesOutWhole) {
    lxtest::TempDir dir;
    const std::string spool = dir.file("TernSmtp.Txt");
    const std::string subject = "It's " + std::string(245, 'z'); // 250: the longest kept
    lx::TernMimeSink sink;
    ASSERT_TRUE(sink.Start(spool.c_str(), "me@example.org"));
    ASSERT_EQ(lx::PrepareQueuedMessage(sink, Message(subject, {"a@example.org"}), "", nullptr),
              lx::PrepOutcome::Ended);
    sink.Finish();
    EXPECT_NE(lxtest::readFile(spool).find("Subject: " + subject + "\r\n"), std::string::npos);
}

} // namespace
