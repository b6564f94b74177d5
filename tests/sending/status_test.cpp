// What the sending dialog does with each status code of its SMTP session.
#include <gtest/gtest.h>

#include <string>

#include "mailer/transfer/logic/smtpstatus.h"
#include "tests/sending/statustable.h"

namespace {

using lx::StatusLogArg;

using lxtest::StatusCase;

const std::vector<StatusCase> kCases = {
    {0, nullptr, StatusLogArg::None, nullptr, true, false, false},
    {1, "MAILLETT_CPP_14", StatusLogArg::None, nullptr, false, false, false},
    {2, "MAILLETT_CPP_15", StatusLogArg::None, nullptr, true, false, false},
    {3, "MAILLETT_CPP_16", StatusLogArg::None, nullptr, true, false, false},
    {4, "MAILLETT_CPP_17", StatusLogArg::None, "MAILLETT_CPP_18", false, false, false},
    {5, "MAILLETT_CPP_19", StatusLogArg::Reply, nullptr, false, false, false},
    {6, "MAILLETT_CPP_21", StatusLogArg::None, nullptr, false, false, false},
    {7, "MAILLETT_CPP_22", StatusLogArg::None, nullptr, false, false, false},
    {8, "MAILLETT_CPP_23", StatusLogArg::None, nullptr, false, false, false},
    {9, "MAILLETT_CPP_24", StatusLogArg::None, nullptr, false, false, false},
    {10, "MAILLETT_CPP_25", StatusLogArg::None, nullptr, false, false, false},
    {11, "MAILLETT_CPP_26", StatusLogArg::None, nullptr, false, false, false},
    {12, "MAILLETT_CPP_27", StatusLogArg::None, nullptr, false, false, false},
    {13, "MAILLETT_CPP_28", StatusLogArg::None, nullptr, false, false, false},
    {14, "MAILLETT_CPP_29", StatusLogArg::None, nullptr, false, false, false},
    {15, nullptr, StatusLogArg::None, nullptr, false, true, false},
    {16, "MAILLETT_CPP_30", StatusLogArg::Number, nullptr, false, false, false},
    {17, nullptr, StatusLogArg::None, "MAILLETT_CPP_31", false, false, false},
    {18, "MAILLETT_CPP_32", StatusLogArg::None, nullptr, false, false, false},
    {19, nullptr, StatusLogArg::None, nullptr, false, false, true},
    {20, "MAILLETT_CPP_33", StatusLogArg::Number, nullptr, false, false, false},
    {21, nullptr, StatusLogArg::None, "MAILLETT_CPP_44", false, false, false},
    {22, "MAILLETT_CPP_45", StatusLogArg::Reply, nullptr, false, false, false},
    {23, "MAILLETT_CPP_46", StatusLogArg::Reply, nullptr, false, false, false},
    {24, nullptr, StatusLogArg::None, nullptr, false, false, false},
    {999, nullptr, StatusLogArg::None, nullptr, false, false, false},
    {-1, nullptr, StatusLogArg::None, nullptr, false, false, false},
};

TEST(SmtpStatusTable, EveryCodeHasItsAction) {
    lxtest::ExpectStatusTable(kCases, lx::kMailSendingTexts);
}

TEST(SmtpStatusTable, RefusalWithoutReplyHasItsOwnText) {
    EXPECT_EQ(lxtest::KeyOrNone(lx::ActionOfSmtpStatus(5, lx::kMailSendingTexts).replyMissingKey),
              "MAILLETT_CPP_20");
}

TEST(SmtpStatusTable, ReplyBecomesLogLines) {
    struct {
        const char* reply;
        std::string logged;
    } cases[] = {
        {"550 5.1.1 unknown\r\n", "550 5.1.1 unknown"},
        {"550-first\r\n550 last\r\n", "550-first\r\n550 last"},
        {"554 bare\nline\n\n", "554 bare\r\nline"},
        {"", ""},
        {nullptr, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(lx::ReplyLogText(c.reply), c.logged);
}

} // namespace
