// The ASCII import's delimited text file: fields of one line, whole files, and the address
// book's export read back.
#include "mailer/addressing/logic/abook_export.h"
#include "mailer/addressing/logic/delimited_import.h"
#include "tests/impaddr/import_cases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lx::DelimitedOptions;
using lx::ImportedAddress;
using lx::LineVerdict;
using Lines = std::vector<std::string>;
using Rows = std::vector<ImportedAddress>;

const lx::ImportKeys kKeys = {"ASCIIIMP_CPP_14", "ASCIIIMP_CPP_15", "ASCIIIMP_CPP_7",
                              "ASCIIIMP_CPP_8"};

ImportedAddress Row(const std::string& name, const std::string& dest, const std::string& note) {
    return ImportedAddress{name, dest, note};
}

DelimitedOptions Options(const char* quote, const char* delimiter, int name = 1, int dest = 2,
                         int note = 3, int first = 2) {
    DelimitedOptions options;
    lx::ChooseQuote(quote, &options);
    lx::ChooseDelimiter(delimiter, &options);
    options.nameColumn = name;
    options.destColumn = dest;
    options.noteColumn = note;
    options.firstLine = first;
    return options;
}

TEST(DelimitedLine, FieldsByColumnQuoteAndDelimiter) {
    struct Case {
        const char* what;
        std::string line;
        DelimitedOptions options;
        LineVerdict verdict;
        ImportedAddress address;
    };
    const std::vector<Case> cases = {
        {"quoted", "\"Ann\",\"ann@example.org\",\"Sales\"", Options("\"", "COMMA"),
         LineVerdict::Taken, Row("Ann", "ann@example.org", "Sales")},
        {"doubled quotes and delimiters inside quotes",
         "\"\"\"Red\"\" O'Brien, Pat\",\"pat@example.org\",\"a,b\"\"\"", Options("\"", "COMMA"),
         LineVerdict::Taken, Row("\"Red\" O'Brien, Pat", "pat@example.org", "a,b\"")},
        {"an empty quoted note", "\"Ann\",\"a@example.org\",\"\"", Options("\"", "COMMA"),
         LineVerdict::Taken, Row("Ann", "a@example.org", "")},
        {"text between a closing quote and the delimiter is not part of the field",
         "\"Ann\"  ,\"a@example.org\" x,\"n\"", Options("\"", "COMMA"), LineVerdict::Taken,
         Row("Ann", "a@example.org", "n")},
        {"unquoted fields while quoting is on",
         "Ann,a@example.org,n",
         Options("\"", "COMMA"),
         LineVerdict::Bad,
         {}},
        {"no quoting", "Ann,a@example.org,n", Options("NONE", "COMMA"), LineVerdict::Taken,
         Row("Ann", "a@example.org", "n")},
        {"no quoting keeps quotes as they are", "\"Ann\",a@example.org,", Options("NONE", "COMMA"),
         LineVerdict::Taken, Row("\"Ann\"", "a@example.org", "")},
        {"a quote left open",
         "\"Ann,\"a@example.org\",\"n",
         Options("\"", "COMMA"),
         LineVerdict::OpenQuote,
         {}},
        {"a quote left open after the columns used does not matter",
         "\"Ann\",\"a@example.org\",\"n\",\"open", Options("\"", "COMMA"), LineVerdict::Taken,
         Row("Ann", "a@example.org", "n")},
        {"too few columns",
         "\"Ann\",\"a@example.org\"",
         Options("\"", "COMMA"),
         LineVerdict::Bad,
         {}},
        {"tabs, columns in another order", "n\tAnn\ta@example.org\textra",
         Options("NONE", "TAB", 2, 3, 1), LineVerdict::Taken, Row("Ann", "a@example.org", "n")},
        {"a comma inside a tab-delimited field", "Lee, Ann\ta@example.org\tx, y",
         Options("NONE", "TAB"), LineVerdict::Taken, Row("Lee, Ann", "a@example.org", "x, y")},
        {"the apostrophe as quote character", "'Ann','a@example.org','it''s'",
         Options("'", "COMMA"), LineVerdict::Taken, Row("Ann", "a@example.org", "it's")},
        {"column 256", std::string(255, ',') + "n", Options("NONE", "COMMA", 256, 1, 2),
         LineVerdict::Taken, Row("n", "", "")},
        {"values cut to their widths",
         std::string(60, 'n') + "," + std::string(90, 'd') + "," + std::string(99, 'o'),
         Options("NONE", "COMMA"), LineVerdict::Taken,
         Row(std::string(48, 'n'), std::string(80, 'd'), std::string(80, 'o'))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ImportedAddress address;
        EXPECT_EQ(lx::ParseDelimitedLine(c.line, c.options, &address), c.verdict);
        if (c.verdict == LineVerdict::Taken) {
            EXPECT_EQ(address, c.address);
        }
    }
}

TEST(DelimitedLine, ColumnsMustDiffer) {
    EXPECT_TRUE(lx::ColumnsDiffer(Options("\"", "COMMA", 1, 2, 3)));
    EXPECT_FALSE(lx::ColumnsDiffer(Options("\"", "COMMA", 2, 2, 3)));
    EXPECT_FALSE(lx::ColumnsDiffer(Options("\"", "COMMA", 1, 2, 1)));
    EXPECT_FALSE(lx::ColumnsDiffer(Options("\"", "COMMA", 1, 3, 3)));
}

TEST(DelimitedFile, LinesSkippedStoredRefusedAndTheEnd) {
    struct Case {
        const char* what;
        std::string bytes;
        DelimitedOptions options;
        Rows stored;
        Lines lines;
    };
    const std::vector<Case> cases = {
        {"the header skipped, an empty line ends the import",
         "Name,Address,Note\nAnn,a@example.org,one\r\nBob,b@example.org,two\n\nCarl,c@x,3\n",
         Options("NONE", "COMMA"),
         {Row("Ann", "a@example.org", "one"), Row("Bob", "b@example.org", "two")},
         {"ASCIIIMP_CPP_5", "ASCIIIMP_CPP_6%1", "ASCIIIMP_CPP_13|Ann", "ASCIIIMP_CPP_14",
          "ASCIIIMP_CPP_13|Bob", "ASCIIIMP_CPP_14", "ASCIIIMP_CPP_7|2", "ASCIIIMP_CPP_8|0"}},
        {"a bad line and an open quote are refused with their numbers; the next line is read",
         "\"A\",\"a@x\",\"\"\nB,b@x,\n\"C\",\"c@x\",\"open\n\"D\",\"d@x\",\"n\"\n",
         Options("\"", "COMMA", 1, 2, 3, 1),
         {Row("A", "a@x", ""), Row("D", "d@x", "n")},
         {"ASCIIIMP_CPP_5", "ASCIIIMP_CPP_13|A", "ASCIIIMP_CPP_14", "ASCIIIMP_CPP_16|2",
          "ASCIIIMP_CPP_17|3", "ASCIIIMP_CPP_13|D", "ASCIIIMP_CPP_14", "ASCIIIMP_CPP_7|2",
          "ASCIIIMP_CPP_8|2", "ASCIIIMP_CPP_9", "ASCIIIMP_CPP_10"}},
        {"a line of two characters ends the import",
         "x\ny\nA,a@x,n\r\nab\nB,b@x,\n",
         Options("NONE", "COMMA", 1, 2, 3, 3),
         {Row("A", "a@x", "n")},
         {"ASCIIIMP_CPP_5", "ASCIIIMP_CPP_6%2", "ASCIIIMP_CPP_13|A", "ASCIIIMP_CPP_14",
          "ASCIIIMP_CPP_7|1", "ASCIIIMP_CPP_8|0"}},
        {"the last line without LF",
         "A,a@x,n\nB,b@x,m",
         Options("NONE", "COMMA", 1, 2, 3, 1),
         {Row("A", "a@x", "n"), Row("B", "b@x", "m")},
         {"ASCIIIMP_CPP_5", "ASCIIIMP_CPP_13|A", "ASCIIIMP_CPP_14", "ASCIIIMP_CPP_13|B",
          "ASCIIIMP_CPP_14", "ASCIIIMP_CPP_7|2", "ASCIIIMP_CPP_8|0"}},
        {"a line over 2047 characters is refused whole",
         "A,a@x,n\n" + std::string(2040, 'x') + ",y@x,longer\nB,b@x,\n",
         Options("NONE", "COMMA", 1, 2, 3, 1),
         {Row("A", "a@x", "n"), Row("B", "b@x", "")},
         {"ASCIIIMP_CPP_5", "ASCIIIMP_CPP_13|A", "ASCIIIMP_CPP_14", "ASCIIIMP_CPP_16|2",
          "ASCIIIMP_CPP_13|B", "ASCIIIMP_CPP_14", "ASCIIIMP_CPP_7|2", "ASCIIIMP_CPP_8|1",
          "ASCIIIMP_CPP_9", "ASCIIIMP_CPP_10"}},
        {"fewer lines than are skipped",
         "Name\n",
         Options("NONE", "COMMA", 1, 2, 3, 5),
         {},
         {"ASCIIIMP_CPP_5", "ASCIIIMP_CPP_6%4", "ASCIIIMP_CPP_7|0", "ASCIIIMP_CPP_8|0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        lxtest::ExpectScript(lx::ParseDelimitedFile(c.bytes, c.options), kKeys, c.stored, c.lines);
    }
}

TEST(AddressExport, FiveHundredAwkwardAddressesReadBackByTheAsciiImport) {
    const Rows rows = lxtest::AwkwardAddresses(500);
    const lx::ImportScript script =
        lx::ParseDelimitedFile(lxtest::ExportFile(rows), DelimitedOptions{});
    EXPECT_EQ(lxtest::StoredAddresses(script), rows);
    for (const lx::ImportStep& step : script.steps)
        EXPECT_NE(step.kind, lx::ImportStepKind::Refuse) << step.line.suffix;
}

} // namespace
