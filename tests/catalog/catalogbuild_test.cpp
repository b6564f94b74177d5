// The catalogue builder: source checks with line numbers, and the file it lays out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/catalog/catalogbuild.h"
#include "common/catalog/catalogformat.h"
#include "common/catalog/msgcatalog.h"
#include "tests/catalog/catalogtestutil.h"

namespace {

std::string Refused(const std::string& source) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(lx::BuildCatalogue(source, bytes, error)) << source;
    EXPECT_TRUE(bytes.empty());
    return error;
}

lx::CatalogHeader HeaderOf(const std::vector<uint8_t>& bytes) {
    lx::CatalogHeader header;
    EXPECT_GE(bytes.size(), lx::kCatalogHeaderSize);
    if (bytes.size() >= lx::kCatalogHeaderSize) lx::DecodeCatalogHeader(bytes.data(), header);
    return header;
}

std::string SlotName(const lx::CatalogHeader& h, size_t slot) {
    std::string name;
    EXPECT_TRUE(lx::FixedFieldText(h.names[slot].data(), lx::kCatalogModuleNameSize, name));
    return name;
}

TEST(CatalogueKey, AcceptsOnlyModuleCppNumber) {
    std::string module;
    int number = 0;
    EXPECT_TRUE(lx::ParseMessageKey("MAINFRM_CPP_27", module, number));
    EXPECT_EQ(module, "MAINFRM_CPP");
    EXPECT_EQ(number, 27);
    EXPECT_TRUE(lx::ParseMessageKey("A_B_CPP_32767", module, number));
    EXPECT_EQ(module, "A_B_CPP");
    EXPECT_EQ(number, 32767);
    for (const char* bad :
         {"MAINFRM_CPP_0", "MAINFRM_CPP_01", "MAINFRM_CPP_32768", "MAINFRM_CPP_", "MAINFRM_CPP",
          "MAINFRM_27", "_CPP_1", "MAIN-FRM_CPP_1", "MAINFRM_CPP_1a", "MAINFRM_CPP_-1", ""}) {
        EXPECT_FALSE(lx::ParseMessageKey(bad, module, number)) << bad;
    }
}

TEST(CatalogueBuild, LaysOutModulesInOrderOfFirstAppearance) {
    const std::string source = "# comment in column 0\n"
                               "\n"
                               "NEWMAIL_CPP_2 second\n"
                               "MAINFRM_CPP_3\tthird of mainfrm\r\n"
                               "   \t \n"
                               "NEWMAIL_CPP_1    first  keeps # and %s and %d  \n"
                               "MAINFRM_CPP_1 one\n";
    std::vector<uint8_t> bytes = lxtest::BuiltCatalogue(source);
    lx::CatalogHeader h = HeaderOf(bytes);
    EXPECT_STREQ(h.magic.data(), "Vellumstack v1.0");
    EXPECT_EQ(SlotName(h, 0), "NEWMAIL_CPP");
    EXPECT_EQ(SlotName(h, 1), "MAINFRM_CPP");
    EXPECT_EQ(SlotName(h, 2), "");
    EXPECT_EQ(h.counts[0], 2);
    EXPECT_EQ(h.counts[1], 3); // the missing number 2 still takes its line
    EXPECT_EQ(h.counts[2], 0);
    EXPECT_EQ(h.offsets[0], 4944);
    const std::string body(bytes.begin() + lx::kCatalogHeaderSize, bytes.end());
    const std::string newmail = "first  keeps # and %s and %d  \r\nsecond\r\n";
    EXPECT_EQ(body, newmail + "one\r\n\r\nthird of mainfrm\r\n");
    EXPECT_EQ(h.offsets[1], static_cast<int32_t>(4944 + newmail.size()));
    for (uint8_t b : h.spare) EXPECT_EQ(b, 0);
}

TEST(CatalogueBuild, ReaderFindsEveryBuiltText) {
    std::string source;
    for (int i = 1; i <= 38; i += 3)
        source += "SENDMESG_CPP_" + std::to_string(i) + " message " + std::to_string(i) + "\n";
    source += "VIEWLOG_CPP_1 " + std::string(1023, 'x') + "\n";
    source += "KEY_CPP_5 single # stays\n";
    std::string dir = lxtest::ScratchDir("build");
    lxtest::WriteFile(dir + "/DGROUP.VSF", lxtest::BuiltCatalogue(source));
    lx::MessageCatalog cat;
    ASSERT_TRUE(cat.Open((dir + "/DGROUP.VSF").c_str(), lx::CatalogMagic::Exact));
    for (int i = 1; i <= 40; ++i) {
        std::string key = "SENDMESG_CPP_" + std::to_string(i);
        const char* text = cat.Lookup(key.c_str());
        if (i > 37) {
            EXPECT_EQ(text, nullptr) << key;
        } else {
            ASSERT_NE(text, nullptr) << key;
            EXPECT_EQ(std::string(text), i % 3 == 1 ? "message " + std::to_string(i) : "") << key;
        }
    }
    EXPECT_EQ(std::string(cat.Lookup("VIEWLOG_CPP_1")), std::string(1023, 'x'));
    EXPECT_STREQ(cat.Lookup("KEY_CPP_5"), "single # stays");
    EXPECT_STREQ(cat.Lookup("KEY_CPP_1"), "");
}

TEST(CatalogueBuild, EmptySourceGivesHeaderOnly) {
    std::vector<uint8_t> bytes = lxtest::BuiltCatalogue("# nothing yet\n");
    EXPECT_EQ(bytes.size(), lx::kCatalogHeaderSize);
    EXPECT_EQ(SlotName(HeaderOf(bytes), 0), "");
}

TEST(CatalogueBuild, ReportsFaultsWithLineNumbers) {
    EXPECT_NE(Refused("A_CPP_1 ok\nBAD_1 text\n").find("line 2: bad key \"BAD_1\""),
              std::string::npos);
    EXPECT_NE(Refused(" A_CPP_1 indented\n").find("line 1: bad key"), std::string::npos);
    EXPECT_NE(Refused("A_CPP_0 zero\n").find("line 1: bad key"), std::string::npos);
    EXPECT_NE(
        Refused("A_CPP_1 x\n\nA_CPP_1 y\n").find("line 3: duplicate key A_CPP_1 (first on line 1)"),
        std::string::npos);
    EXPECT_NE(Refused("A_CPP_1 x ## remark\n").find("line 1: text contains \"##\""),
              std::string::npos);
    EXPECT_NE(Refused("A_CPP_1 " + std::string(1024, 'y') + "\n")
                  .find("line 1: text is longer than 1023"),
              std::string::npos);
    EXPECT_NE(Refused(std::string(29, 'M') + "_CPP_1 x\n").find("line 1: module name"),
              std::string::npos);
    EXPECT_NE(Refused(std::string("A_CPP_1 nul\0here\n", 17)).find("NUL"), std::string::npos);
    // Every fault is reported, not only the first.
    std::string all = Refused("BAD one\nA_CPP_1 fine\nA_CPP_2 x##y\nWORSE two\n");
    EXPECT_NE(all.find("line 1:"), std::string::npos);
    EXPECT_NE(all.find("line 3:"), std::string::npos);
    EXPECT_NE(all.find("line 4:"), std::string::npos);
    EXPECT_EQ(all.find("line 2:"), std::string::npos);
}

TEST(CatalogueBuild, LimitsAtTheirEdges) {
    // 31 characters fit a 32-byte slot with its NUL.
    std::vector<uint8_t> bytes = lxtest::BuiltCatalogue(std::string(27, 'M') + "_CPP_1 x\n");
    EXPECT_EQ(SlotName(HeaderOf(bytes), 0).size(), 31u);

    std::string modules;
    for (int i = 0; i < 128; ++i) modules += "M" + std::to_string(i) + "_CPP_1 text\n";
    bytes = lxtest::BuiltCatalogue(modules);
    EXPECT_EQ(SlotName(HeaderOf(bytes), 127), "M127_CPP");
    std::string error = Refused(modules + "M0_CPP_2 same module\nEXTRA_CPP_1 one too many\n");
    EXPECT_NE(error.find("line 130: more than 128 modules"), std::string::npos) << error;
    EXPECT_EQ(error.find("line 129"), std::string::npos) << error;

    bytes = lxtest::BuiltCatalogue("BIG_CPP_32767 last\n");
    EXPECT_EQ(HeaderOf(bytes).counts[0], 32767);
}

TEST(CatalogueBuild, WritesTheMagicAskedFor) {
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(lx::BuildCatalogue("A_CPP_1 x\n", bytes, error, "xx Vellumstack yy"));
    EXPECT_STREQ(HeaderOf(bytes).magic.data(), "xx Vellumstack yy");
    EXPECT_FALSE(lx::BuildCatalogue("A_CPP_1 x\n", bytes, error, std::string(68, 'm')));
    EXPECT_NE(error.find("magic"), std::string::npos);
}

} // namespace
