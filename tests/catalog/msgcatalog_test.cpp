// The catalogue reader against hand-made catalogue files, damaged ones included.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <random>
#include <thread>
#include <string>
#include <vector>

#include "common/catalog/catalogformat.h"
#include "common/catalog/msgcatalog.h"
#include "tests/catalog/catalogtestutil.h"

using lx::CatalogMagic;
using lx::MessageCatalog;
using lxtest::RawCatalogue;
using lxtest::RawModule;

namespace {

// n lines "<prefix> <i>" with CR LF, line `special` replaced by `text`.
std::string NumberedLines(const std::string& prefix, int n, int special = 0,
                          const std::string& text = "") {
    std::string lines;
    for (int i = 1; i <= n; ++i)
        lines += (i == special ? text : prefix + " " + std::to_string(i)) + "\r\n";
    return lines;
}

class CatalogReader : public ::testing::Test {
protected:
    void SetUp() override { dir_ = lxtest::ScratchDir("reader"); }

    std::string Write(const std::vector<uint8_t>& bytes, const std::string& name = "TEST.VSF") {
        std::string path = dir_ + "/" + name;
        lxtest::WriteFile(path, bytes);
        return path;
    }

    // A catalogue whose NEWMAIL_CPP module comes first and holds three messages, followed
    // by MAINFRM_CPP with thirty.
    std::string Standard() {
        return Write(RawCatalogue({
            {"NEWMAIL_CPP", 3, NumberedLines("newmail", 3)},
            {"MAINFRM_CPP", 30,
             NumberedLines("mainfrm", 30, 27,
                           "Run ended %02d/%02d/%04d %02d:%02d:%02d##closing stamp")},
        }));
    }

    // Opens a catalogue with one module TEST_CPP holding the raw lines.
    void OpenLines(const std::string& lines, int count) {
        ASSERT_TRUE(cat_.Open(Write(RawCatalogue({{"TEST_CPP", count, lines}})).c_str(),
                              CatalogMagic::Exact));
    }

    std::string dir_;
    MessageCatalog cat_;
};

TEST_F(CatalogReader, LooksUpByModuleAndNumber) {
    ASSERT_TRUE(cat_.Open(Standard().c_str(), CatalogMagic::Exact));
    ASSERT_TRUE(cat_.Loaded());
    const char* text = cat_.Lookup("MAINFRM_CPP_27");
    ASSERT_NE(text, nullptr);
    // Line 27 of the module, without its "##" remark and without the CR.
    EXPECT_STREQ(text, "Run ended %02d/%02d/%04d %02d:%02d:%02d");
    EXPECT_STREQ(cat_.Lookup("MAINFRM_CPP_1"), "mainfrm 1");
    EXPECT_STREQ(cat_.Lookup("MAINFRM_CPP_30"), "mainfrm 30");
    EXPECT_STREQ(cat_.Lookup("NEWMAIL_CPP_1"), "newmail 1");
    EXPECT_STREQ(cat_.Lookup("NEWMAIL_CPP_3"), "newmail 3");
    // The number is read from the leading digits after the last "_".
    EXPECT_STREQ(cat_.Lookup("NEWMAIL_CPP_2x"), "newmail 2");
}

TEST_F(CatalogReader, RefusesKeysThatNameNoMessage) {
    ASSERT_TRUE(cat_.Open(Standard().c_str(), CatalogMagic::Exact));
    ASSERT_STREQ(cat_.Lookup("NEWMAIL_CPP_2"), "newmail 2");
    // Number 0 reads no line and does not hand back the previous text.
    EXPECT_EQ(cat_.Lookup("NEWMAIL_CPP_0"), nullptr);
    EXPECT_EQ(cat_.Lookup("NEWMAIL_CPP_"), nullptr);
    EXPECT_EQ(cat_.Lookup("NEWMAIL_CPP_x"), nullptr);
    EXPECT_EQ(cat_.Lookup("NEWMAIL_CPP_-1"), nullptr);
    EXPECT_EQ(cat_.Lookup("NEWMAILCPP2"), nullptr); // no "_" at all
    EXPECT_EQ(cat_.Lookup("_2"), nullptr);          // empty module name
    EXPECT_EQ(cat_.Lookup(""), nullptr);
    EXPECT_EQ(cat_.Lookup(nullptr), nullptr);
    EXPECT_EQ(cat_.Lookup("NEWMAIL_2"), nullptr); // module "NEWMAIL" does not exist
    EXPECT_EQ(cat_.Lookup("VIEWLOG_CPP_1"), nullptr);
    // Beyond the module's count, although the file goes on with the next module's lines.
    EXPECT_EQ(cat_.Lookup("NEWMAIL_CPP_4"), nullptr);
    EXPECT_EQ(cat_.Lookup("MAINFRM_CPP_31"), nullptr);
    EXPECT_EQ(cat_.Lookup("MAINFRM_CPP_99999999999999999999"), nullptr);
}

TEST_F(CatalogReader, ModuleNamesMatchExactlyAndFirstSlotWins) {
    ASSERT_TRUE(cat_.Open(Write(RawCatalogue({
                                    {"Mod_CPP", 1, "lower\r\n"},
                                    {"MOD_CPP", 1, "upper\r\n"},
                                    {"MOD_CPP", 1, "second slot\r\n"},
                                    {"MOD_CPPX", 1, "longer\r\n"},
                                }))
                              .c_str(),
                          CatalogMagic::Exact));
    EXPECT_STREQ(cat_.Lookup("Mod_CPP_1"), "lower");
    EXPECT_STREQ(cat_.Lookup("MOD_CPP_1"), "upper");
    EXPECT_STREQ(cat_.Lookup("MOD_CPPX_1"), "longer");
    EXPECT_EQ(cat_.Lookup("mod_CPP_1"), nullptr);
    EXPECT_EQ(cat_.Lookup("MOD_CP_1"), nullptr);
}

TEST_F(CatalogReader, TextEndsAtFirstDoubleHash) {
    OpenLines("Value # one##rest ## more\r\n##all remark\r\nno remark # at all\r\nends with #\r\n",
              4);
    EXPECT_STREQ(cat_.Lookup("TEST_CPP_1"), "Value # one");
    EXPECT_STREQ(cat_.Lookup("TEST_CPP_2"), "");
    EXPECT_STREQ(cat_.Lookup("TEST_CPP_3"), "no remark # at all");
    EXPECT_STREQ(cat_.Lookup("TEST_CPP_4"), "ends with #");
}

TEST_F(CatalogReader, EarlierTextsStayValidUntilClose) {
    ASSERT_TRUE(cat_.Open(Standard().c_str(), CatalogMagic::Exact));
    const char* first = cat_.Lookup("NEWMAIL_CPP_1");
    const char* second = cat_.Lookup("MAINFRM_CPP_5");
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_STREQ(first, "newmail 1");
    EXPECT_STREQ(second, "mainfrm 5");
}

// The interface thread shows boxes while a monitor thread writes the log: every look-up from
// every thread gets its own key's text, however the threads interleave.
TEST_F(CatalogReader, LookupsFromSeveralThreadsAtOnceGetTheirOwnTexts) {
    ASSERT_TRUE(cat_.Open(Standard().c_str(), CatalogMagic::Exact));
    constexpr int kThreads = 4;
    constexpr int kRounds = 3000;
    std::atomic<int> wrong{0};
    std::atomic<int> go{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            go.fetch_add(1);
            while (go.load() < kThreads) std::this_thread::yield();
            char buf[64];
            for (int i = 0; i < kRounds; ++i) {
                const int n = 1 + (i * 7 + t * 3) % 30;
                const std::string key = "MAINFRM_CPP_" + std::to_string(n);
                const std::string expected = n == 27 ? "Run ended %02d/%02d/%04d %02d:%02d:%02d"
                                                     : "mainfrm " + std::to_string(n);
                const char* text = cat_.Lookup(key.c_str());
                if (!text || expected != text) wrong.fetch_add(1);
                const int m = 1 + (i + t) % 3;
                cat_.LookupInto(("NEWMAIL_CPP_" + std::to_string(m)).c_str(), buf, sizeof buf);
                if (std::string("newmail ") + std::to_string(m) != buf) wrong.fetch_add(1);
                if (lx::CatalogText(&cat_, "NEWMAIL_CPP_9", "fallback") != "fallback")
                    wrong.fetch_add(1);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(0, wrong.load());
}

TEST_F(CatalogReader, CatalogTextFallsBackForMissingKeysAndCatalogues) {
    ASSERT_TRUE(cat_.Open(Standard().c_str(), CatalogMagic::Exact));
    struct Case {
        const MessageCatalog* catalog;
        const char* key;
        const char* fallback;
        const char* expected;
    } cases[] = {
        {&cat_, "NEWMAIL_CPP_2", "x", "newmail 2"},
        {&cat_, "NEWMAIL_CPP_4", "x", "x"},
        {&cat_, "NOSUCH_CPP_1", "", ""},
        {&cat_, "nounderscore", "y", "y"},
        {nullptr, "NEWMAIL_CPP_2", "z", "z"},
        {nullptr, "NEWMAIL_CPP_2", nullptr, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, lx::CatalogText(c.catalog, c.key, c.fallback)) << c.key;
}

TEST_F(CatalogReader, LineLengthLimit) {
    const std::string longest(1023, 'a');
    const std::string tooLong(1024, 'b');
    OpenLines("lf only\n" + longest + "\n" + tooLong + "\r\n" + "after\r\n", 4);
    EXPECT_STREQ(cat_.Lookup("TEST_CPP_1"), "lf only");
    EXPECT_EQ(std::string(cat_.Lookup("TEST_CPP_2")), longest);
    EXPECT_EQ(cat_.Lookup("TEST_CPP_3"), nullptr); // 1024 characters
    EXPECT_EQ(cat_.Lookup("TEST_CPP_4"), nullptr); // the damaged line lies on the way
    EXPECT_STREQ(cat_.Lookup("TEST_CPP_1"), "lf only");
}

TEST_F(CatalogReader, CarriageReturnOnlyDroppedBeforeLineFeed) {
    const std::string longest(1023, 'a');
    OpenLines("cr\rinside\r\n" + longest + "\r\n\r\nlast without end", 5);
    EXPECT_STREQ(cat_.Lookup("TEST_CPP_1"), "cr\rinside");
    // The dropped CR does not count toward the 1023 characters.
    EXPECT_EQ(std::string(cat_.Lookup("TEST_CPP_2")), longest);
    EXPECT_STREQ(cat_.Lookup("TEST_CPP_3"), "");
    EXPECT_STREQ(cat_.Lookup("TEST_CPP_4"), "last without end");
    // The count promises a fifth line the file does not have.
    EXPECT_EQ(cat_.Lookup("TEST_CPP_5"), nullptr);
}

TEST_F(CatalogReader, MagicRules) {
    auto magicFile = [&](const std::string& magic) {
        return Write(RawCatalogue({{"TEST_CPP", 1, "text\r\n"}}, magic), "MAGIC.VSF");
    };
    MessageCatalog other;
    std::string path = magicFile("xx Vellumstack yy");
    EXPECT_FALSE(cat_.Open(path.c_str(), CatalogMagic::Exact));
    EXPECT_FALSE(cat_.Loaded());
    EXPECT_EQ(cat_.Lookup("TEST_CPP_1"), nullptr);
    ASSERT_TRUE(other.Open(path.c_str(), CatalogMagic::ContainsVellumstack));
    EXPECT_STREQ(other.Lookup("TEST_CPP_1"), "text");
    other.Close();

    path = magicFile("Vellumstack v1.1");
    EXPECT_FALSE(cat_.Open(path.c_str(), CatalogMagic::Exact));
    EXPECT_TRUE(other.Open(path.c_str(), CatalogMagic::ContainsVellumstack));
    other.Close();

    path = magicFile("vellumstack v1.0"); // the magic is case-sensitive
    EXPECT_FALSE(cat_.Open(path.c_str(), CatalogMagic::Exact));
    EXPECT_FALSE(other.Open(path.c_str(), CatalogMagic::ContainsVellumstack));

    path = magicFile("Vellumstack v1.0 ");
    EXPECT_FALSE(cat_.Open(path.c_str(), CatalogMagic::Exact));

    // A whole field without NUL: only the text up to the field's end counts.
    std::string full(lx::kCatalogMagicSize, 'x');
    path = magicFile(full);
    EXPECT_FALSE(cat_.Open(path.c_str(), CatalogMagic::Exact));
    EXPECT_FALSE(other.Open(path.c_str(), CatalogMagic::ContainsVellumstack));
    full.replace(full.size() - 11, 11, "Vellumstack");
    path = magicFile(full);
    EXPECT_FALSE(cat_.Open(path.c_str(), CatalogMagic::Exact));
    EXPECT_TRUE(other.Open(path.c_str(), CatalogMagic::ContainsVellumstack));
    other.Close();

    // Text after the NUL is not part of the magic.
    std::vector<uint8_t> bytes = RawCatalogue({{"TEST_CPP", 1, "text\r\n"}});
    std::memcpy(bytes.data() + 20, "junk", 4);
    path = Write(bytes, "JUNK.VSF");
    EXPECT_TRUE(cat_.Open(path.c_str(), CatalogMagic::Exact));
}

TEST_F(CatalogReader, RefusesShortAndMissingFiles) {
    std::vector<uint8_t> bytes = RawCatalogue({});
    ASSERT_EQ(bytes.size(), lx::kCatalogHeaderSize);
    // The open reader denies writers, so every variant goes to a file of its own.
    EXPECT_TRUE(
        cat_.Open(Write(bytes, "HEADER.VSF").c_str(), CatalogMagic::Exact)); // valid, no texts
    EXPECT_EQ(cat_.Lookup("TEST_CPP_1"), nullptr);
    bytes.pop_back();
    EXPECT_FALSE(cat_.Open(Write(bytes, "SHORT.VSF").c_str(), CatalogMagic::Exact));
    EXPECT_FALSE(cat_.Loaded());
    EXPECT_FALSE(cat_.Open(Write(std::vector<uint8_t>(), "EMPTY.VSF").c_str(),
                           CatalogMagic::ContainsVellumstack));
    EXPECT_FALSE(cat_.Open((dir_ + "/MISSING.VSF").c_str(), CatalogMagic::Exact));
    EXPECT_FALSE(cat_.Open(nullptr, CatalogMagic::Exact));
    EXPECT_FALSE(cat_.Loaded());
}

TEST_F(CatalogReader, DamagedHeaderNeverReadsOutsideTheLines) {
    std::vector<uint8_t> bytes = RawCatalogue({
        {"GOOD_CPP", 2, "good 1\r\ngood 2\r\n"},
        {"FAR_CPP", 1, ""},
        {"NEG_CPP", 1, ""},
        {"HEAD_CPP", 1, ""},
        {"COUNT_CPP", 1, "counted\r\n"},
        {std::string(lx::kCatalogModuleNameSize, 'U'), 1, "unterminated\r\n"},
    });
    auto offsetAt = [&](int slot) { return bytes.data() + lx::kCatalogOffsetsAt + slot * 4; };
    lx::WriteLE32(offsetAt(1), static_cast<int32_t>(bytes.size() + 100));
    lx::WriteLE32(offsetAt(2), -5000);
    lx::WriteLE32(offsetAt(3), 68); // points into the header
    lx::WriteLE16(bytes.data() + lx::kCatalogCountsAt + 4 * 2, -1);
    ASSERT_TRUE(cat_.Open(Write(bytes).c_str(), CatalogMagic::Exact));
    EXPECT_EQ(cat_.Lookup("FAR_CPP_1"), nullptr);
    EXPECT_EQ(cat_.Lookup("NEG_CPP_1"), nullptr);
    EXPECT_EQ(cat_.Lookup("HEAD_CPP_1"), nullptr);
    EXPECT_EQ(cat_.Lookup("COUNT_CPP_1"), nullptr);
    EXPECT_EQ(cat_.Lookup((std::string(lx::kCatalogModuleNameSize, 'U') + "_1").c_str()), nullptr);
    EXPECT_STREQ(cat_.Lookup("GOOD_CPP_2"), "good 2");
}

TEST_F(CatalogReader, SurvivesRandomDamage) {
    const std::vector<uint8_t> good = RawCatalogue({
        {"NEWMAIL_CPP", 3, NumberedLines("newmail", 3)},
        {"MAINFRM_CPP", 30, NumberedLines("mainfrm", 30)},
    });
    const char* keys[] = {"NEWMAIL_CPP_1", "NEWMAIL_CPP_3", "MAINFRM_CPP_1", "MAINFRM_CPP_30",
                          "MAINFRM_CPP_300"};
    std::mt19937 rng(20261209);
    int loaded = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bytes = good;
        for (int flips = 1 + rng() % 6; flips > 0; --flips)
            bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
        if (round % 7 == 0)
            bytes.resize(lx::kCatalogHeaderSize + rng() % (bytes.size() - lx::kCatalogHeaderSize));
        cat_.Close(); // the open reader would keep the file from being rewritten
        if (!cat_.Open(Write(bytes, "DAMAGED.VSF").c_str(), CatalogMagic::Exact)) continue;
        ++loaded;
        for (const char* key : keys) {
            const char* text = cat_.Lookup(key);
            if (text) {
                EXPECT_LE(std::strlen(text), lx::kCatalogMaxLine) << key;
            }
        }
    }
    EXPECT_GT(loaded, 100); // most damage misses the magic field
}

TEST_F(CatalogReader, LookupIntoCopiesWithinTheBuffer) {
    ASSERT_TRUE(cat_.Open(Standard().c_str(), CatalogMagic::Exact));
    char buf[16];
    std::memset(buf, '!', sizeof buf);
    cat_.LookupInto("NEWMAIL_CPP_1", buf, sizeof buf);
    EXPECT_STREQ(buf, "newmail 1");

    // Truncated to size - 1 characters; nothing past size is touched.
    std::memset(buf, '!', sizeof buf);
    cat_.LookupInto("NEWMAIL_CPP_1", buf, 5);
    EXPECT_STREQ(buf, "newm");
    EXPECT_EQ(buf[5], '!');

    std::memset(buf, '!', sizeof buf);
    cat_.LookupInto("NEWMAIL_CPP_1", buf, 10); // exactly fits
    EXPECT_STREQ(buf, "newmail 1");
    EXPECT_EQ(buf[10], '!');

    std::memset(buf, '!', sizeof buf);
    cat_.LookupInto("NEWMAIL_CPP_9", buf, sizeof buf); // missing key empties the caption
    EXPECT_STREQ(buf, "");

    std::memset(buf, '!', sizeof buf);
    cat_.LookupInto("NEWMAIL_CPP_1", buf, 1);
    EXPECT_EQ(buf[0], '\0');
    EXPECT_EQ(buf[1], '!');
    cat_.LookupInto("NEWMAIL_CPP_1", buf, 0);
    EXPECT_EQ(buf[1], '!');
    cat_.LookupInto("NEWMAIL_CPP_1", nullptr, 10); // must not crash
}

TEST_F(CatalogReader, CloseAndReopen) {
    std::string path = Standard();
    ASSERT_TRUE(cat_.Open(path.c_str(), CatalogMagic::Exact));
    cat_.Close();
    EXPECT_FALSE(cat_.Loaded());
    EXPECT_EQ(cat_.Lookup("NEWMAIL_CPP_1"), nullptr);
    cat_.Close(); // twice is harmless
    ASSERT_TRUE(cat_.Open(path.c_str(), CatalogMagic::Exact));
    EXPECT_STREQ(cat_.Lookup("NEWMAIL_CPP_1"), "newmail 1");
    // A failed open leaves the reader unloaded, not holding the old file.
    EXPECT_FALSE(cat_.Open((dir_ + "/MISSING.VSF").c_str(), CatalogMagic::Exact));
    EXPECT_EQ(cat_.Lookup("NEWMAIL_CPP_1"), nullptr);
}

TEST_F(CatalogReader, SeveralReadersShareOneFile) {
    // A second copy of the main program reads its catalogue to say that one already runs;
    // the viewer reads its own at the same time.
    std::string path = Standard();
    ASSERT_TRUE(cat_.Open(path.c_str(), CatalogMagic::Exact));
    MessageCatalog second;
    MessageCatalog viewer;
    ASSERT_TRUE(second.Open(path.c_str(), CatalogMagic::Exact));
    ASSERT_TRUE(viewer.Open(path.c_str(), CatalogMagic::ContainsVellumstack));
    EXPECT_STREQ(second.Lookup("NEWMAIL_CPP_1"), "newmail 1");
    EXPECT_STREQ(viewer.Lookup("MAINFRM_CPP_2"), "mainfrm 2");
    EXPECT_STREQ(cat_.Lookup("NEWMAIL_CPP_3"), "newmail 3");
}

} // namespace
