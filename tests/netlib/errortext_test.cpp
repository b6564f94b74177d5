// The error-text table and the reply buffer.
#include <gtest/gtest.h>

#include <cstring>

#include "netlib/core/errortext.h"
#include "netlib/core/replybuffer.h"

namespace lx::net {
namespace {

TEST(ErrorText, OwnCodesWinSockCodesAndTheRest) {
    EXPECT_EQ(errorText(0), "No error at this time");
    EXPECT_EQ(errorText(3), "Programmer passed illegal/bad value");
    EXPECT_EQ(errorText(5), "Socket is invalid");
    EXPECT_EQ(errorText(10061), "WinSock error 10061: Connection refused");
    EXPECT_EQ(errorText(11004),
              "WinSock error 11004: Valid name, no data record of requested type");
    EXPECT_EQ(errorText(10080), "Not a WinSock error [Application Error]");
    EXPECT_EQ(errorText(-5), "Not a WinSock error [Application Error]");
    EXPECT_EQ(errorText(6), "Not a WinSock error [Application Error]");
    std::size_t longest = 0;
    for (int c = -10; c < 12000; ++c) longest = std::max(longest, errorText(c).size());
    EXPECT_EQ(longest, kMaxErrorText);
}

TEST(ErrorText, IntoABufferIsBounded) {
    char small[10];
    std::memset(small, 'x', sizeof small);
    errorTextInto(10061, small, sizeof small);
    EXPECT_STREQ(small, "WinSock e");
}

TEST(ReplyBuffer, SingleLineCompletesAtTheLineEnd) {
    ReplyBuffer r(ReplyRule::SingleLine);
    EXPECT_FALSE(r.add("+OK par", 7));
    EXPECT_TRUE(r.add("tial\r\nrest", 10));
    EXPECT_STREQ(r.text(), "+OK partial\r\n");
    EXPECT_FALSE(r.add("-ERR", 4)); // a new reply starts after a complete one
    EXPECT_STREQ(r.text(), "-ERR");
}

TEST(ReplyBuffer, SmtpWaitsForTheLastLine) {
    ReplyBuffer r(ReplyRule::Smtp);
    EXPECT_FALSE(r.add("250-a\r\n250-b\r\n", 14));
    EXPECT_TRUE(r.add("250 c\r\n", 7));
    EXPECT_STREQ(r.text(), "250-a\r\n250-b\r\n250 c\r\n");
    r.clear();
    EXPECT_TRUE(r.add("  250 c\r\n", 9));
}

} // namespace
} // namespace lx::net
