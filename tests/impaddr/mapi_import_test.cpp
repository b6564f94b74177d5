// The recipients of the mail system's address book as addresses: only "TYPE:ADDRESS" with an
// Internet address is taken.
#include "mailer/addressing/logic/mapi_import.h"
#include "tests/impaddr/import_cases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(MapiAddress, TheTextAfterTheTypeMustBeAnInternetAddress) {
    struct Case {
        const char* address;
        bool taken;
        std::string dest;
    };
    const std::vector<Case> cases = {
        {"SMTP:ann@example.org", true, "ann@example.org"},
        {"SMTP:   ann@example.org", true, "ann@example.org"},
        {"smtp:o'hara@example.org", true, "o'hara@example.org"},
        {"SMTP:ann", false, ""},
        {"ann@example.org", false, ""},
        {"EX:/o=Org/ou=Site/cn=Recipients/cn=ann", false, ""},
        {"SMTP:", false, ""},
        {"SMTP:   ", false, ""},
        {"SMTP:ann lee@example.org", false, ""},
        {"SMTP:ann@example.org ", false, ""},
        {"SMTP:ann@example.org\tx", false, ""},
        {"FAX:a:b@c", true, "a:b@c"},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        std::string dest = "untouched";
        EXPECT_EQ(lx::MapiInternetAddress(c.address, &dest), c.taken);
        if (c.taken) {
            EXPECT_EQ(dest, c.dest);
        }
    }
    std::string dest;
    ASSERT_TRUE(lx::MapiInternetAddress("SMTP:" + std::string(90, 'a') + "@example.org", &dest));
    EXPECT_EQ(dest, std::string(80, 'a'));
}

TEST(MapiAddress, EveryRecipientIsNamedAndOnlyInternetOnesStored) {
    const lx::ImportScript script =
        lx::MapiImportScript({{"Ann O'Neil", "SMTP:ann@example.org"},
                              {"Exchange\nOnly", "EX:/o=Org/cn=bob"},
                              {std::string(50, 'L'), "SMTP: long@example.org"}});
    const lx::ImportKeys keys = {"IMPORTAD_CPP_1", "IMPORTAD_CPP_2", "IMPORTAD_CPP_3",
                                 "IMPORTAD_CPP_4"};
    EXPECT_EQ(lxtest::ShownLines(script, keys),
              (std::vector<std::string>{"IMPORTAD_CPP_18|Ann O'Neil", "IMPORTAD_CPP_1",
                                        // a line break in a name is shown as a blank
                                        "IMPORTAD_CPP_18|Exchange Only", "IMPORTAD_CPP_33",
                                        "IMPORTAD_CPP_18|" + std::string(48, 'L'), "IMPORTAD_CPP_1",
                                        "IMPORTAD_CPP_3|2", "IMPORTAD_CPP_4|1"}));
    EXPECT_EQ(lxtest::StoredAddresses(script),
              (std::vector<lx::ImportedAddress>{{"Ann O'Neil", "ann@example.org", ""},
                                                {std::string(48, 'L'), "long@example.org", ""}}));
}

} // namespace
