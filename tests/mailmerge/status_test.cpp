// What the mail merge does with each status code of its SMTP session.
#include <gtest/gtest.h>

#include <string>

#include "mailer/transfer/logic/smtpstatus.h"
#include "tests/sending/statustable.h"

namespace {

using lx::StatusLogArg;

using lxtest::StatusCase;

// Only the end of the run (0) ends it: failures are logged and the session ends the run itself.
const std::vector<StatusCase> kCases = {
    {0, nullptr, StatusLogArg::None, nullptr, true, false, false},
    {1, "SENDMMF_CPP_13", StatusLogArg::None, nullptr, false, false, false},
    {2, "SENDMMF_CPP_14", StatusLogArg::None, nullptr, false, false, false},
    {3, "SENDMMF_CPP_15", StatusLogArg::None, nullptr, false, false, false},
    {4, "SENDMMF_CPP_16", StatusLogArg::None, "SENDMMF_CPP_17", false, false, false},
    {5, "SENDMMF_CPP_18", StatusLogArg::Reply, nullptr, false, false, false},
    {6, "SENDMMF_CPP_19", StatusLogArg::None, nullptr, false, false, false},
    {7, "SENDMMF_CPP_20", StatusLogArg::None, nullptr, false, false, false},
    {8, "SENDMMF_CPP_21", StatusLogArg::None, nullptr, false, false, false},
    {9, "SENDMMF_CPP_22", StatusLogArg::None, nullptr, false, false, false},
    {10, "SENDMMF_CPP_23", StatusLogArg::None, nullptr, false, false, false},
    {11, "SENDMMF_CPP_24", StatusLogArg::None, nullptr, false, false, false},
    {12, "SENDMMF_CPP_25", StatusLogArg::None, nullptr, false, false, false},
    {13, "SENDMMF_CPP_26", StatusLogArg::None, nullptr, false, false, false},
    {14, "SENDMMF_CPP_27", StatusLogArg::None, nullptr, false, false, false},
    {15, nullptr, StatusLogArg::None, nullptr, false, true, false},
    {16, "SENDMMF_CPP_29", StatusLogArg::Number, nullptr, false, false, false},
    {17, nullptr, StatusLogArg::None, "SENDMMF_CPP_30", false, false, false},
    {18, "SENDMMF_CPP_31", StatusLogArg::None, nullptr, false, false, false},
    {19, nullptr, StatusLogArg::None, nullptr, false, false, true},
    {20, "SENDMMF_CPP_34", StatusLogArg::Number, nullptr, false, false, false},
    {21, nullptr, StatusLogArg::None, "SENDMMF_CPP_46", false, false, false},
    {22, "SENDMMF_CPP_47", StatusLogArg::Reply, nullptr, false, false, false},
    {23, "SENDMMF_CPP_48", StatusLogArg::Reply, nullptr, false, false, false},
    {24, nullptr, StatusLogArg::None, nullptr, false, false, false},
    {-3, nullptr, StatusLogArg::None, nullptr, false, false, false},
};

TEST(MergeStatusTable, EveryCodeHasItsAction) {
    lxtest::ExpectStatusTable(kCases, lx::kMailMergeTexts);
    // No text of its own for a refusal without a reply: the refusal's text stands alone.
    EXPECT_EQ(lx::ActionOfSmtpStatus(5, lx::kMailMergeTexts).replyMissingKey, nullptr);
}

TEST(MergeStatusTable, ReplyIsOneLineCutToItsLimit) {
    struct {
        const char* reply;
        std::size_t most;
        std::string logged;
    } cases[] = {
        {"550 5.1.1 unknown\r\n", 639, "550 5.1.1 unknown"},
        {"550-first\r\n550 last\r\n", 639, "550-first 550 last"},
        {"554 abcdef", 7, "554 abc"},
        {"", 639, ""},
        {nullptr, 639, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(lx::ReplyLogLine(c.reply, c.most), c.logged);
    const std::string longReply = "550 " + std::string(1000, 'x');
    EXPECT_EQ(lx::ReplyLogLine(longReply.c_str(), 639).size(), 639u);
}

} // namespace
