// What the sending dialog does with each status code of its SMTP session.
#include <gtest/gtest.h>

#include <string>

#include "mailer/transfer/logic/smtpstatus.h"

namespace {

using lx::StatusLogArg;

struct StatusCase {
    int code;
    const char* logKey; // nullptr: no log line
    StatusLogArg arg;
    const char* statusKey;
    bool finish, sent, progress;
};

std::string Or(const char* s) { return s ? s : "(none)"; }

const StatusCase kCases[] = {
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
    {21, nullptr, StatusLogArg::None, nullptr, false, false, false},
    {999, nullptr, StatusLogArg::None, nullptr, false, false, false},
    {-1, nullptr, StatusLogArg::None, nullptr, false, false, false},
};

TEST(SmtpStatusTable, EveryCodeHasItsAction) {
    for (const StatusCase& c : kCases) {
        SCOPED_TRACE(c.code);
        const lx::SmtpStatusAction a = lx::ActionOfSmtpStatus(c.code, lx::kMailSendingTexts);
        EXPECT_EQ(Or(a.logKey), Or(c.logKey));
        EXPECT_EQ(a.logArg, c.arg);
        EXPECT_EQ(Or(a.statusKey), Or(c.statusKey));
        EXPECT_EQ(a.finish, c.finish);
        EXPECT_EQ(a.sent, c.sent);
        EXPECT_EQ(a.progress, c.progress);
    }
}

TEST(SmtpStatusTable, RefusalWithoutReplyHasItsOwnText) {
    EXPECT_EQ(Or(lx::ActionOfSmtpStatus(5, lx::kMailSendingTexts).replyMissingKey),
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
