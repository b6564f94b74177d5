// The check log: runs framed by stamps, CR LF entries, growth across runs, the exit path.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "common/catalog/msgcatalog.h"
#include "common/log/logwriter.h"
#include "tests/catalog/catalogtestutil.h"

namespace {

const char* const kSource = "MAINFRM_CPP_22 Check started %02d/%02d/%04d %02d:%02d:%02d\n"
                            "MAINFRM_CPP_23 Dialling\n"
                            "MAINFRM_CPP_25 Dial error %d\n"
                            "MAINFRM_CPP_26 Faulty %s text\n"
                            "MAINFRM_CPP_27 Check ended %02d/%02d/%04d %02d:%02d:%02d\n"
                            "MAINFRM_CPP_41 Busy\n"
                            "MAINFRM_CPP_43 Program closed during the check\n";

lx::LogTime At(int hour, int minute, int second) {
    lx::LogTime t;
    t.month = 12;
    t.day = 9;
    t.year = 2026;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

class CheckLog : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = lxtest::ScratchDir("log");
        OpenCatalogue(kSource);
        path_ = dir_ + "/Lorvex.Log";
    }

    void OpenCatalogue(const std::string& source) {
        const std::string vsf = dir_ + "/DGROUP.VSF";
        cat_.Close();
        lxtest::WriteFile(vsf, lxtest::BuiltCatalogue(source));
        ASSERT_TRUE(cat_.Open(vsf.c_str(), lx::CatalogMagic::Exact));
    }

    std::string dir_;
    std::string path_;
    lx::MessageCatalog cat_;
    lx::LogWriter log_;
};

TEST_F(CheckLog, RunIsFramedByStamps) {
    ASSERT_TRUE(log_.Open(path_));
    EXPECT_TRUE(log_.IsOpen());
    log_.WriteDateStamp(cat_, At(10, 5, 7));
    log_.WriteMessage(cat_, "MAINFRM_CPP_23");
    log_.WriteEntry("Connect Status : 5");
    log_.WriteMessage(cat_, "MAINFRM_CPP_99"); // a missing text still ends its line
    log_.CloseRun(cat_, At(10, 6, 0));
    EXPECT_FALSE(log_.IsOpen());
    EXPECT_EQ(lxtest::ReadFile(path_), "Check started 12/09/2026 10:05:07\r\n"
                                       "Dialling\r\n"
                                       "Connect Status : 5\r\n"
                                       "\r\n"
                                       "Check ended 12/09/2026 10:06:00\r\n"
                                       "\r\n");
    // Closed: later writes go nowhere.
    log_.WriteEntry("late");
    log_.CloseRun(cat_, At(11, 0, 0));
    EXPECT_EQ(lxtest::ReadFile(path_).find("late"), std::string::npos);
}

TEST_F(CheckLog, FormattedEntriesKeepTheirArguments) {
    ASSERT_TRUE(log_.Open(path_));
    log_.WriteMessage(cat_, "MAINFRM_CPP_25", {633});
    log_.WriteMessage(cat_, "MAINFRM_CPP_26", {7, "Office"}); // text does not fit: nothing lost
    log_.WriteMessage(cat_, "MAINFRM_CPP_99", {"Office"});
    log_.CloseRun(cat_, At(1, 0, 0));
    const std::string entries = "Dial error 633\r\nFaulty %s text 7 Office\r\n Office\r\n";
    EXPECT_EQ(lxtest::ReadFile(path_).substr(0, entries.size()), entries);
}

TEST_F(CheckLog, GrowsAcrossRuns) {
    lxtest::WriteFile(path_, std::string("older entries\r\n\r\n"));
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(log_.Open(path_));
        log_.WriteDateStamp(cat_, At(8 + run, 0, 0));
        log_.WriteEntry("run " + std::to_string(run));
        log_.CloseRun(cat_, At(8 + run, 1, 0));
    }
    EXPECT_EQ(
        lxtest::ReadFile(path_),
        "older entries\r\n\r\n"
        "Check started 12/09/2026 08:00:00\r\nrun 0\r\nCheck ended 12/09/2026 08:01:00\r\n\r\n"
        "Check started 12/09/2026 09:00:00\r\nrun 1\r\nCheck ended 12/09/2026 09:01:00\r\n\r\n");
}

TEST_F(CheckLog, ExitWhileOpenClosesTheRun) {
    ASSERT_TRUE(log_.Open(path_));
    log_.WriteDateStamp(cat_, At(23, 59, 58));
    log_.CloseAtExit(cat_, At(23, 59, 59));
    EXPECT_FALSE(log_.IsOpen());
    const std::string expected = "Check started 12/09/2026 23:59:58\r\n"
                                 "Program closed during the check\r\n"
                                 "Check ended 12/09/2026 23:59:59\r\n\r\n";
    EXPECT_EQ(lxtest::ReadFile(path_), expected);
    // Without an open run exit writes nothing.
    log_.CloseAtExit(cat_, At(0, 0, 1));
    EXPECT_EQ(lxtest::ReadFile(path_), expected);
}

TEST_F(CheckLog, BusyTickWritesABlockOfItsOwn) {
    log_.WriteBusyBlock(path_, cat_, At(7, 0, 0));
    EXPECT_FALSE(log_.IsOpen());
    EXPECT_EQ(
        lxtest::ReadFile(path_),
        "Check started 12/09/2026 07:00:00\r\nBusy\r\nCheck ended 12/09/2026 07:00:00\r\n\r\n");
}

TEST_F(CheckLog, StampsFallBackToFixedLayout) {
    // Stamp texts that do not hold six number conversions must not be trusted with the time.
    OpenCatalogue("MAINFRM_CPP_22 Started by %s at %d\n"
                  "MAINFRM_CPP_27 Ended %d/%d\n");
    ASSERT_TRUE(log_.Open(path_));
    log_.WriteDateStamp(cat_, At(1, 2, 3));
    log_.CloseRun(cat_, At(4, 5, 6));
    EXPECT_EQ(lxtest::ReadFile(path_), "12/09/2026 01:02:03\r\n12/09/2026 04:05:06\r\n\r\n");

    EXPECT_EQ(lx::FormatLogStamp(nullptr, At(1, 2, 3)), "12/09/2026 01:02:03");
    EXPECT_EQ(lx::FormatLogStamp("%d-%d-%d %d.%d.%d", At(1, 2, 3)), "12-9-2026 1.2.3");
    EXPECT_EQ(lx::FormatLogStamp("%d %d %d %d %d %d %d", At(1, 2, 3)), "12/09/2026 01:02:03");
}

TEST_F(CheckLog, UnopenableLogIsSilentlySkipped) {
    const std::string nowhere = dir_ + "/no such folder/Lorvex.Log";
    EXPECT_FALSE(log_.Open(nowhere));
    EXPECT_FALSE(log_.IsOpen());
    log_.WriteDateStamp(cat_, At(1, 0, 0));
    log_.WriteEntry("lost");
    log_.CloseRun(cat_, At(1, 0, 1));
    log_.CloseAtExit(cat_, At(1, 0, 2));
    log_.WriteBusyBlock(nowhere, cat_, At(1, 0, 3));
    EXPECT_FALSE(lxtest::FileExists(nowhere));
}

#ifndef _WIN32
// The breakdown follows the zone the process runs in; the zone is restored afterwards.
TEST(LocalClock, BreaksMomentsDownInTheLocalZone) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    auto expectAt = [](std::time_t t, lx::LocalTime want) {
        const lx::LocalTime got = lx::ToLocalTime(t);
        EXPECT_EQ(
            std::vector<int>({got.year, got.month, got.day, got.hour, got.minute, got.second}),
            std::vector<int>(
                {want.year, want.month, want.day, want.hour, want.minute, want.second}))
            << "at " << t;
    };
    setenv("TZ", "UTC0", 1);
    tzset();
    expectAt(0, {1970, 1, 1, 0, 0, 0});
    expectAt(951825599, {2000, 2, 29, 11, 59, 59});
    setenv("TZ", "EST5", 1);
    tzset();
    expectAt(0, {1969, 12, 31, 19, 0, 0});
    if (old)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}
#endif

TEST(LocalClock, NowIsTheCurrentSecond) {
    const std::time_t before = std::time(nullptr);
    const lx::LocalTime now = lx::LocalTimeNow();
    const std::time_t after = std::time(nullptr);
    auto same = [&](std::time_t t) {
        const lx::LocalTime x = lx::ToLocalTime(t);
        return x.year == now.year && x.month == now.month && x.day == now.day &&
               x.hour == now.hour && x.minute == now.minute && x.second == now.second;
    };
    EXPECT_TRUE(same(before) || same(after));
}

} // namespace
