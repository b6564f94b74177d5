// Checked formatting of catalogue texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/catalog/textformat.h"

namespace {

using lx::FormatText;

std::string Formatted(const char* fmt, const std::vector<lx::FormatArg>& args) {
    std::string out;
    EXPECT_TRUE(FormatText(fmt, args, out)) << fmt;
    return out;
}

bool Refuses(const char* fmt, const std::vector<lx::FormatArg>& args) {
    std::string out = "stale";
    bool ok = FormatText(fmt, args, out);
    EXPECT_TRUE(out.empty()) << fmt;
    return !ok;
}

TEST(TextFormat, FormatsMatchingConversions) {
    EXPECT_EQ(Formatted("%02d/%02d/%04d %02d:%02d:%02d", {3, 7, 2026, 9, 5, 0}),
              "03/07/2026 09:05:00");
    EXPECT_EQ(Formatted("Connected to %s", {"Office"}), "Connected to Office");
    EXPECT_EQ(Formatted("%d%% of %-6s|%5s|", {50, "abc", std::string("xy")}),
              "50% of abc   |   xy|");
    EXPECT_EQ(Formatted("%ld %hd %lld %u %x %X %o %c", {1, 2, 3, 4, 255, 255, 8, 'A'}),
              "1 2 3 4 ff FF 10 A");
    EXPECT_EQ(Formatted("%+d % d %-3d| %#x %.3d", {5, 5, 5, 255, 7}), "+5  5 5  | 0xff 007");
    EXPECT_EQ(Formatted("plain text", {}), "plain text");
    EXPECT_EQ(Formatted("%s", {static_cast<const char*>(nullptr)}), "");
    std::string big(2000, 'z');
    EXPECT_EQ(Formatted("[%s]", {big}), "[" + big + "]");
}

TEST(TextFormat, RefusesTextsThatDoNotFitTheArguments) {
    EXPECT_TRUE(Refuses("%s started", {1}));
    EXPECT_TRUE(Refuses("%d started", {"name"}));
    EXPECT_TRUE(Refuses("%d %d", {1}));
    EXPECT_TRUE(Refuses("%d", {1, 2}));
    EXPECT_TRUE(Refuses("%n", {1}));
    EXPECT_TRUE(Refuses("%*d", {1}));
    EXPECT_TRUE(Refuses("%100d", {1}));
    EXPECT_TRUE(Refuses("%.100d", {1}));
    EXPECT_TRUE(Refuses("%f", {1}));
    EXPECT_TRUE(Refuses("%p", {1}));
    EXPECT_TRUE(Refuses("trailing %", {}));
    EXPECT_TRUE(Refuses("%05s", {"x"}));
    EXPECT_TRUE(Refuses("%#d", {1}));
    EXPECT_TRUE(Refuses("%.2c", {65}));
    EXPECT_TRUE(Refuses(nullptr, {}));
}

TEST(TextFormat, FallbackWhenRefused) {
    EXPECT_EQ(lx::FormatTextOr("%s", {1}, "fallback"), "fallback");
    EXPECT_EQ(lx::FormatTextOr("n=%d", {1}, "fallback"), "n=1");
}

} // namespace
