// The status table of a sending run checked code by code: each case says what the run does with
// one status code of its SMTP session.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mailer/transfer/logic/smtpstatus.h"

namespace lxtest {

struct StatusCase {
    int code;
    const char* logKey; // nullptr: no log line
    lx::StatusLogArg arg;
    const char* statusKey;
    bool finish, sent, progress;
};

inline std::string KeyOrNone(const char* s) { return s ? s : "(none)"; }

inline void ExpectStatusTable(const std::vector<StatusCase>& cases,
                              const lx::SmtpStatusTexts& texts) {
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.code);
        const lx::SmtpStatusAction a = lx::ActionOfSmtpStatus(c.code, texts);
        EXPECT_EQ(KeyOrNone(a.logKey), KeyOrNone(c.logKey));
        EXPECT_EQ(a.logArg, c.arg);
        EXPECT_EQ(KeyOrNone(a.statusKey), KeyOrNone(c.statusKey));
        EXPECT_EQ(a.finish, c.finish);
        EXPECT_EQ(a.sent, c.sent);
        EXPECT_EQ(a.progress, c.progress);
    }
}

} // namespace lxtest
