// The sending run's rules: which rows reach the preparer, the numbers they carry in the spool
// file, the sent flags, and the sender settings.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/schema/subject.h"
#include "mailer/transfer/logic/sendrun.h"
#include "mailer/transfer/logic/sendsettings.h"
#include "tests/settings/fake_registry.h"

namespace {

using lx::Refusal;

TEST(SendingRun, RefusedRowsTakeNoNumberAndTheOthersKeepTheirRows) {
    // Rows 1 and 4 are refused; the spool file then holds rows 2, 3 and 5 as messages 1 to 3.
    lx::SendingRun run;
    const bool numbered[] = {false, true, true, false, true};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(run.AddRow(100 + i, numbered[i]), i + 1);
    EXPECT_EQ(run.Numbered(), 3);
    struct {
        int number, row;
    } cases[] = {{1, 2}, {2, 3}, {3, 5}, {0, 0}, {4, 0}, {-1, 0}};
    for (const auto& c : cases) EXPECT_EQ(run.RowOfMessage(c.number), c.row) << c.number;
}

TEST(SendingRun, SentFlagsLandOnTheAcceptedRows) {
    lx::SendingRun run;
    run.AddRow(10, true);
    run.AddRow(11, false); // refused: no To entry
    run.AddRow(12, true);
    run.AddRow(13, true);
    // The server accepts messages 1 and 3 and refuses 2 (row 3).
    EXPECT_TRUE(run.MarkSent(1));
    EXPECT_TRUE(run.MarkSent(3));
    EXPECT_FALSE(run.MarkSent(4)); // no such message: nothing changes
    EXPECT_EQ(run.SentMesgNums(), (std::vector<long>{10, 13}));
    EXPECT_TRUE(run.IsSent(1));
    EXPECT_FALSE(run.IsSent(2));
    EXPECT_FALSE(run.IsSent(3));
    EXPECT_TRUE(run.IsSent(4));
    EXPECT_EQ(run.MesgNumOf(4), 13);
    EXPECT_EQ(run.MesgNumOf(5), 0);
}

lx::QueuedMessage Message() {
    lx::QueuedMessage m;
    m.mesgNum = 7;
    m.subject = lx::ComposeSubject("Hello", false, true);
    m.mailData = "text";
    m.fromAdd = "me@example.org";
    m.to = {"you@example.org"};
    m.cc = {"cc@example.org"};
    m.files = {"C:\\data\\a.bin"};
    return m;
}

TEST(CheckQueuedMessage, FirstFaultFound) {
    const std::set<std::string> missing = {"C:\\gone.bin"};
    auto readable = [&](const std::string& p) { return missing.count(p) == 0; };
    struct Case {
        const char* what;
        void (*change)(lx::QueuedMessage&);
        Refusal why;
        std::string detail;
    };
    const std::string longAddress(128, 'a');
    const Case cases[] = {
        {"whole", [](lx::QueuedMessage&) {}, Refusal::None, ""},
        {"Cc but no To", [](lx::QueuedMessage& m) { m.to.clear(); }, Refusal::NoRecipient, ""},
        {"long To", [](lx::QueuedMessage& m) { m.to.push_back(std::string(128, 'a')); },
         Refusal::AddressTooLong, longAddress},
        {"long Cc", [](lx::QueuedMessage& m) { m.cc = {std::string(128, 'a')}; },
         Refusal::AddressTooLong, longAddress},
        {"127 To", [](lx::QueuedMessage& m) { m.to = {std::string(127, 'a')}; }, Refusal::None, ""},
        {"255 subject", [](lx::QueuedMessage& m) { m.subject = std::string(255, 's') + "&&N&F"; },
         Refusal::None, ""},
        {"256 subject", [](lx::QueuedMessage& m) { m.subject = std::string(256, 's') + "&&N&F"; },
         Refusal::SubjectTooLong, std::string(256, 's')},
        {"255 path", [](lx::QueuedMessage& m) { m.files = {std::string(255, 'p')}; }, Refusal::None,
         ""},
        {"256 path", [](lx::QueuedMessage& m) { m.files = {std::string(256, 'p')}; },
         Refusal::FileNameTooLong, std::string(256, 'p')},
        {"missing file", [](lx::QueuedMessage& m) { m.files.push_back("C:\\gone.bin"); },
         Refusal::FileUnreadable, "C:\\gone.bin"},
    };
    for (const Case& c : cases) {
        lx::QueuedMessage m = Message();
        c.change(m);
        const lx::RefusalFound found = lx::CheckQueuedMessage(m, readable);
        EXPECT_EQ(found.why, c.why) << c.what;
        EXPECT_EQ(found.detail, c.detail) << c.what;
    }
}

TEST(CheckQueuedMessage, EveryRefusalHasALogLine) {
    EXPECT_EQ(lx::RefusalKey(Refusal::None), nullptr);
    std::set<std::string> keys;
    for (Refusal r : {Refusal::NoRecipient, Refusal::AddressTooLong, Refusal::SubjectTooLong,
                      Refusal::FileNameTooLong, Refusal::FileUnreadable}) {
        ASSERT_NE(lx::RefusalKey(r), nullptr);
        keys.insert(lx::RefusalKey(r));
    }
    EXPECT_EQ(keys.size(), 5u);
}

TEST(SubjectToSend, FlagSuffixIsNotSent) {
    struct {
        std::string stored, sent;
    } cases[] = {
        {"Hello&&N&F", "Hello"},
        {"Hello&& & ", "Hello"},
        {"R&&D costs&&N& ", "R&&D costs"},
        {"Tom's plan&&N&F", "Tom's plan"},
        {std::string(250, 'x') + "&&N& ", std::string(250, 'x')},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(lx::SubjectToSend(c.stored), c.sent) << c.stored;
}

TEST(TextBufferSize, NextMultipleOfSixteenAbove) {
    struct {
        long largest;
        std::size_t size;
    } cases[] = {{0, 8192}, {-1, 8192}, {1, 16}, {15, 16}, {16, 32}, {17, 32}, {8192, 8208}};
    for (const auto& c : cases) EXPECT_EQ(lx::TextBufferSize(c.largest), c.size) << c.largest;
}

TEST(SendingSettings, WhatIsMissingIsLogged) {
    struct Case {
        bool existed;
        const char* address;
        const char* server;
        std::vector<std::string> problems;
    };
    const Case cases[] = {
        {false, "me@example.org", "smtp.example.org", {"MAILLETT_CPP_1"}},
        {true, "me@example.org", "smtp.example.org", {}},
        {true, "", "smtp.example.org", {"MAILLETT_CPP_1"}},
        {true, "me@example.org", "", {"MAILLETT_CPP_4"}},
        {true, nullptr, nullptr, {"MAILLETT_CPP_1", "MAILLETT_CPP_4"}},
    };
    for (const Case& c : cases) {
        lx_test::FakeRegistry registry(c.existed);
        if (c.address) registry.strings["Address"] = c.address;
        if (c.server) registry.strings["SMTPServer"] = c.server;
        const lx::SendingSettings s = lx::ReadSendingSettings(registry);
        std::vector<std::string> problems;
        for (const char* key : lx::SendingSettingsProblems(s)) problems.push_back(key);
        EXPECT_EQ(problems, c.problems) << c.existed << (c.address ? c.address : "-");
        if (c.existed && c.address) {
            EXPECT_EQ(s.address, c.address);
        }
    }
}

TEST(SendingSettings, ValuesAreReadToEightyCharacters) {
    lx_test::FakeRegistry registry(true);
    registry.strings["Address"] = std::string(100, 'a');
    registry.strings["SMTPServer"] = "smtp.example.org";
    const lx::SendingSettings s = lx::ReadSendingSettings(registry);
    EXPECT_EQ(s.address, std::string(80, 'a'));
    EXPECT_EQ(s.server, "smtp.example.org");
}

} // namespace
