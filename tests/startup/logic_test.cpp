// Portable pieces of the shell: reading the log for display, integer fields.
#include "common/win/intfield.h"
#include "mailer/ui/logic/logtext.h"

#include <gtest/gtest.h>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string TempFile(const char* name) {
    const char* dir = std::getenv("TMPDIR");
#ifdef _WIN32
    if (!dir) dir = std::getenv("TEMP");
    return std::string(dir ? dir : ".") + "\\" + name;
#else
    return std::string(dir ? dir : "/tmp") + "/" + name;
#endif
}

void Write(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

TEST(LogForView, AppendsEveryBlockUntilTheEnd) {
    const std::string path = TempFile("lx-logtext-1.log");
    for (size_t size : {size_t(0), size_t(1), lx::kLogBlockSize - 1, lx::kLogBlockSize,
                        lx::kLogBlockSize + 1, 3 * lx::kLogBlockSize, size_t(5000)}) {
        std::string log;
        for (size_t i = 0; i < size; ++i) log += static_cast<char>('a' + i % 26);
        Write(path, log);
        std::string shown = "kept:";
        ASSERT_TRUE(lx::ReadLogForView(path, shown));
        EXPECT_EQ("kept:" + log, shown) << size;
    }
    std::remove(path.c_str());
}

TEST(LogForView, MissingFileLeavesTheTextAlone) {
    std::string shown = "before";
    EXPECT_FALSE(lx::ReadLogForView(TempFile("lx-logtext-none.log"), shown));
    EXPECT_EQ("before", shown);
}

TEST(LogForView, NulByteEndsItsBlockOnly) {
    const std::string path = TempFile("lx-logtext-2.log");
    std::string log(600, 'x');
    log[10] = '\0';
    Write(path, log);
    std::string shown;
    ASSERT_TRUE(lx::ReadLogForView(path, shown));
    // First block: 10 characters before the NUL; second block: the 89 after the first 511.
    EXPECT_EQ(std::string(10, 'x') + std::string(600 - lx::kLogBlockSize, 'x'), shown);
    std::remove(path.c_str());
}

TEST(IntField, AcceptsWholeNumbersWithBlanksAndSign) {
    int v = 0;
    EXPECT_TRUE(lx::ParseInt("42", &v));
    EXPECT_EQ(42, v);
    EXPECT_TRUE(lx::ParseInt("  -7 ", &v));
    EXPECT_EQ(-7, v);
    EXPECT_TRUE(lx::ParseInt("+0", &v));
    EXPECT_EQ(0, v);
    EXPECT_TRUE(lx::ParseInt("2147483647", &v));
    EXPECT_EQ(INT_MAX, v);
    EXPECT_TRUE(lx::ParseInt("-2147483648", &v));
    EXPECT_EQ(INT_MIN, v);
}

TEST(IntField, RefusesEverythingElse) {
    int v = 99;
    for (const char* bad : {"", " ", "-", "+", "1x", "x1", "1 2", "2147483648", "-2147483649",
                            "99999999999999999999", "0x10", "1.5"}) {
        EXPECT_FALSE(lx::ParseInt(bad, &v)) << bad;
    }
    EXPECT_FALSE(lx::ParseInt(nullptr, &v));
    EXPECT_EQ(99, v);
}

} // namespace
