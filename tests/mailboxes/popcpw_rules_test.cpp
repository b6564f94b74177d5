// The Change Password dialog's rules: the checks before anything reaches the network, the log
// entry of every status, and the log's lines.
#include "mailer/transfer/logic/popcpw_rules.h"

#include "netlib/core/codes.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {

using Refusal = lx::PasswordChangeRefusal;

TEST(PasswordChangeRules, ChecksBeforeTheNetwork) {
    const std::string server = "pop.example", user = "joe", current = "secret";
    struct Case {
        const char* what;
        std::string server, user, current, fresh, again;
        Refusal refusal;
    } cases[] = {
        {"same", server, user, current, "newpw", "newpw", Refusal::None},
        {"differ", server, user, current, "newpw", "newpW", Refusal::Mismatch},
        {"one empty", server, user, current, "newpw", "", Refusal::Mismatch},
        {"both empty: the session says so", server, user, current, "", "", Refusal::None},
        {"new of 15", server, user, current, std::string(15, 'n'), std::string(15, 'n'),
         Refusal::None},
        {"new of 16", server, user, current, std::string(16, 'n'), std::string(16, 'n'),
         Refusal::NewTooLong},
        {"accented", server, user, current, "n\xE9w", "n\xE9w", Refusal::NewNotPlain},
        {"current of 16", server, user, std::string(16, 'c'), "newpw", "newpw",
         Refusal::CurrentTooLong},
        {"server of 48", std::string(48, 's'), user, current, "newpw", "newpw",
         Refusal::ServerTooLong},
        {"server of 47", std::string(47, 's'), user, current, "newpw", "newpw", Refusal::None},
        {"user of 64", server, std::string(64, 'u'), current, "newpw", "newpw",
         Refusal::UserTooLong},
        // Mismatch is told first, whatever else is wrong.
        {"differ and long", server, user, std::string(16, 'c'), "a", "b", Refusal::Mismatch},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.refusal, lx::CheckPasswordChange(c.server, c.user, c.current, c.fresh, c.again))
            << c.what;
        const bool keyed = lx::PasswordRefusalKey(c.refusal) != nullptr;
        EXPECT_EQ(c.refusal != Refusal::None, keyed) << c.what;
    }
    EXPECT_STREQ("POPCPW_CPP_18", lx::PasswordRefusalKey(Refusal::Mismatch));
}

TEST(PasswordChangeRules, EveryStatusHasItsLogEntry) {
    struct Case {
        int status;
        const char* key;
        bool withText = false, takeNew = false, ends = false;
    } cases[] = {
        {TERN_CPW_NOWINDOW, "POPCPW_CPP_8"},
        {TERN_CPW_NOSERVER, "POPCPW_CPP_9"},
        {TERN_CPW_NOUSER, "POPCPW_CPP_12"},
        {TERN_CPW_NOOLDPASS, "POPCPW_CPP_13"},
        {TERN_CPW_NONEWPASS, "POPCPW_CPP_14"},
        {TERN_CPW_NOBUFFER, "POPCPW_CPP_3"},
        {TERN_CPW_NOSOCKET, "POPCPW_CPP_10"},
        {TERN_CPW_NOCONNECT, "POPCPW_CPP_6"},
        {TERN_CPW_SENDFAIL, "POPCPW_CPP_5"},
        {TERN_CPW_RECVFAIL, "POPCPW_CPP_4"},
        {TERN_CPW_PEERCLOSED, "POPCPW_CPP_11"},
        {TERN_CPW_CONNECTED, "POPCPW_CPP_15"},
        {TERN_CPW_REFUSED, "POPCPW_CPP_7", true},
        {TERN_CPW_CHANGED, "POPCPW_CPP_16", false, true},
        {TERN_CPW_DONE, "POPCPW_CPP_2", false, false, true},
        {15, nullptr},
        {-1, nullptr},
        {1064, nullptr},
    };
    for (const Case& c : cases) {
        const lx::PasswordStatusAction a = lx::ActionForPasswordStatus(c.status);
        EXPECT_STREQ(c.key, a.logKey) << c.status;
        EXPECT_EQ(c.withText, a.withText) << c.status;
        EXPECT_EQ(c.takeNew, a.takeNewPassword) << c.status;
        EXPECT_EQ(c.ends, a.endsRun) << c.status;
    }
}

TEST(PasswordChangeRules, LogLinesEndInOneLineBreak) {
    EXPECT_EQ("Connected.\r\n", lx::PasswordLogLine("Connected."));
    EXPECT_EQ("Refused: 500 new password refused\r\n",
              lx::PasswordLogLine("Refused: ", "500 new password refused\r\n"));
    EXPECT_EQ("Refused: 500 no\r\n", lx::PasswordLogLine("Refused: ", "500 no\n\n"));
    EXPECT_EQ("Refused: \r\n", lx::PasswordLogLine("Refused: ", ""));
}

} // namespace
