// AUTODIAL.STP on disk and the start-up rule.
#include <gtest/gtest.h>

#include "common/settings/dialer_settings.h"
#include "common/settings/fixed_text.h"
#include "tests/settings/samples.h"
#include "tests/settings/temp_folder.h"

using namespace lx;
using lx_test::Get32;
using lx_test::Put32;
using lx_test::TempFolder;

namespace {

// A complete record with this interval (and an unrelated stored countdown).
void WriteInterval(const TempFolder& dir, std::int32_t interval) {
    DialerSettings s = lx_test::SampleDialer();
    s.checkInterval = interval;
    s.checkCountdown = 12345;
    ASSERT_TRUE(WriteDialerFile(dir.Path(), s));
}

} // namespace

TEST(DialerFile, WriteThenReadGivesTheRecord) {
    TempFolder dir;
    DialerSettings s = lx_test::SampleDialer();
    ASSERT_TRUE(WriteDialerFile(dir.Path(), s));
    auto raw = dir.Read(kDialerFile);
    ASSERT_EQ(raw.size(), kDialerRecordSize);
    EXPECT_EQ(Get32(raw, 914), 456);
    DialerSettings back;
    EXPECT_EQ(ReadDialerFile(dir.Path(), back), static_cast<long>(kDialerRecordSize));
    lx_test::ExpectSameDialer(back, s);
}

TEST(DialerFile, WriteFailsWhenTheFolderIsMissing) {
    TempFolder dir;
    EXPECT_FALSE(WriteDialerFile(dir.File("gone"), lx_test::SampleDialer()));
}

TEST(DialerFile, MissingFileGivesZeros) {
    TempFolder dir;
    DialerSettings s = lx_test::SampleDialer();
    EXPECT_EQ(ReadDialerFile(dir.Path(), s), -1);
    EXPECT_EQ(s.checkInterval, 0);
    EXPECT_EQ(TextOf(s.phoneBookEntry), "");
    DialerSettings loaded = LoadDialerAtStartup(dir.Path());
    EXPECT_EQ(loaded.checkInterval, 0);
    EXPECT_EQ(loaded.checkCountdown, 0);
}

// The stored interval at start-up: milliseconds become seconds, a short interval is raised to a
// minute, 0 stays off; the countdown starts from the adjusted interval.
TEST(DialerStartup, StoredIntervalIsAdjusted) {
    struct Case {
        std::int32_t stored;
        std::int32_t seconds;
    };
    const Case cases[] = {
        {300000, 300},  // milliseconds
        {30, 60},       // raised to one minute
        {60500, 60},    // 60 after the division, left as it is
        {59999, 59999}, // below the threshold: seconds already
        {0, 0},         // off
    };
    TempFolder dir;
    for (const Case& c : cases) {
        WriteInterval(dir, c.stored);
        const DialerSettings s = LoadDialerAtStartup(dir.Path());
        EXPECT_EQ(s.checkInterval, c.seconds) << "stored " << c.stored;
        EXPECT_EQ(s.checkCountdown, c.seconds) << "stored " << c.stored;
        EXPECT_EQ(TextOf(s.dialUser), "dialuser");
    }
}

TEST(DialerStartup, ShortFileKeepsItsBytesUnadjusted) {
    TempFolder dir;
    WriteInterval(dir, 30);
    auto raw = dir.Read(kDialerFile);
    raw.resize(920); // reaches past the stored countdown at 914
    dir.Write(kDialerFile, raw);
    DialerSettings s;
    long got = ReadDialerFile(dir.Path(), s);
    EXPECT_EQ(got, 920);
    EXPECT_EQ(s.checkCountdown, 12345);
    EXPECT_EQ(AdjustDialerAtStartup(s, got), 0);
    EXPECT_EQ(s.checkInterval, 30);
    EXPECT_EQ(s.checkCountdown, 0);
    EXPECT_EQ(TextOf(s.phoneBookEntry), "My Provider");
    EXPECT_EQ(s.selectedCount, 7);
}

TEST(DialerStartup, OnlyTheFirst928BytesOfALongerFileAreRead) {
    TempFolder dir;
    WriteInterval(dir, 300000);
    auto raw = dir.Read(kDialerFile);
    raw.resize(1000, 0xAB);
    dir.Write(kDialerFile, raw);
    DialerSettings s = LoadDialerAtStartup(dir.Path());
    EXPECT_EQ(s.checkInterval, 300);
}

TEST(DialerSettings, SelectedCountIsClamped) {
    DialerSettings s;
    s.selectedCount = 42;
    EXPECT_EQ(DialerSelectedCount(s), 10);
    s.selectedCount = -1;
    EXPECT_EQ(DialerSelectedCount(s), 0);
    s.selectedCount = 4;
    EXPECT_EQ(DialerSelectedCount(s), 4);
}
