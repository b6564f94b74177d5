// The export file LXADBOOK.TXT: quoting, doubled quotes, line breaks inside values, bytes as
// stored, and the file written whole (replacing an older one).
#include "mailer/addressing/logic/abook_export.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

TEST(AddressExport, EachValueIsQuotedAndOneRecordIsOneLine) {
    struct Case {
        std::string name, dest, note, line;
    };
    const Case cases[] = {
        {"Ann", "ann@example.org", "", "\"Ann\",\"ann@example.org\",\"\"\r\n"},
        {"Smith, Ann", "a@x.org", "one, two", "\"Smith, Ann\",\"a@x.org\",\"one, two\"\r\n"},
        {"The \"Boss\"", "b@x.org", "\"", "\"The \"\"Boss\"\"\",\"b@x.org\",\"\"\"\"\r\n"},
        {"O'Neil", "o@x.org", "line1\r\nline2\nline3\rend",
         "\"O'Neil\",\"o@x.org\",\"line1 line2 line3 end\"\r\n"},
        {"J\xF6rg", "j@x.org", "caf\xE9", "\"J\xF6rg\",\"j@x.org\",\"caf\xE9\"\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(lx::ExportLine(c.name, c.dest, c.note), c.line);
}

TEST(AddressExport, TheFileHasTheHeaderThenTheAddressesInOrder) {
    const std::string path = ::testing::TempDir() + "lxadbook_test.txt";
    {
        std::ofstream old(path, std::ios::binary);
        old << "an older, much longer export that must not survive at the end of the file\r\n";
    }
    ASSERT_TRUE(lx::WriteAddressExport(
        path, {{"Ann", "ann@example.org", "a"}, {"Bob \"B\"", "bob@example.org", ""}}));
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "\"Name\",\"Email Address\",\"Notes\"\r\n"
                          "\"Ann\",\"ann@example.org\",\"a\"\r\n"
                          "\"Bob \"\"B\"\"\",\"bob@example.org\",\"\"\r\n");
    std::remove(path.c_str());
    EXPECT_FALSE(lx::WriteAddressExport(::testing::TempDir() + "no/such/folder/LXADBOOK.TXT", {}));
}

} // namespace
