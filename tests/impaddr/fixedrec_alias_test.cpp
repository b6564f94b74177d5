// The other mail programs' address files: the fixed-record file and the alias text file, read
// into import steps.
#include "mailer/addressing/logic/alias_import.h"
#include "mailer/addressing/logic/fixedrec_import.h"
#include "tests/impaddr/import_cases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lx::ImportedAddress;
using Lines = std::vector<std::string>;
using Rows = std::vector<ImportedAddress>;

const lx::ImportKeys kKeys = {"IMPORTAD_CPP_1", "IMPORTAD_CPP_2", "IMPORTAD_CPP_3",
                              "IMPORTAD_CPP_4"};

ImportedAddress Row(const std::string& name, const std::string& dest, const std::string& note) {
    return ImportedAddress{name, dest, note};
}

struct FileCase {
    const char* what;
    std::string bytes;
    Rows stored;
    Lines lines;
};

const Rows kTwo = {Row("Ann Lee", "ann@example.org", "Sales"),
                   Row("Kim O'Hara", "kim@example.org", "")};

TEST(FixedRecordFile, RecordsHeaderAndDamage) {
    const std::string wide(lx::kFixedRecordSize, 'x');
    const std::vector<FileCase> cases = {
        {"a header and two record slots",
         lxtest::FixedRecordFile("Pegasus book", kTwo),
         kTwo,
         {"IMPORTAD_CPP_16", "IMPORTAD_CPP_17|Pegasus book", "IMPORTAD_CPP_18|Ann Lee",
          "IMPORTAD_CPP_1", "IMPORTAD_CPP_18|Kim O'Hara", "IMPORTAD_CPP_1", "IMPORTAD_CPP_3|2",
          "IMPORTAD_CPP_4|0"}},
        {"the last record without its two bytes",
         lxtest::FixedRecordFile("B", kTwo, false),
         kTwo,
         {"IMPORTAD_CPP_16", "IMPORTAD_CPP_17|B", "IMPORTAD_CPP_18|Ann Lee", "IMPORTAD_CPP_1",
          "IMPORTAD_CPP_18|Kim O'Hara", "IMPORTAD_CPP_1", "IMPORTAD_CPP_3|2", "IMPORTAD_CPP_4|0"}},
        {"a header alone",
         lxtest::FixedRecordFile("Empty", {}),
         {},
         {"IMPORTAD_CPP_16", "IMPORTAD_CPP_17|Empty", "IMPORTAD_CPP_3|0", "IMPORTAD_CPP_4|0"}},
        {"a header cut short",
         std::string(129, 'h'),
         {},
         {"IMPORTAD_CPP_16", "IMPORTAD_CPP_19", "IMPORTAD_CPP_20", "IMPORTAD_CPP_3|0",
          "IMPORTAD_CPP_4|0"}},
        {"a record cut short",
         lxtest::FixedRecordFile("B", kTwo).substr(0, 130 + 458 + 300),
         {kTwo[0]},
         {"IMPORTAD_CPP_16", "IMPORTAD_CPP_17|B", "IMPORTAD_CPP_18|Ann Lee", "IMPORTAD_CPP_1",
          "IMPORTAD_CPP_19", "IMPORTAD_CPP_20", "IMPORTAD_CPP_3|1", "IMPORTAD_CPP_4|0"}},
        {"a header with line breaks and no zero",
         std::string("Line1\r\nLine2") + std::string(118, 'z'),
         {},
         {"IMPORTAD_CPP_16", "IMPORTAD_CPP_17|Line1  Line2" + std::string(118, 'z'),
          "IMPORTAD_CPP_3|0", "IMPORTAD_CPP_4|0"}},
        // A name with a line break or a tab is stored as it is, but shown on one status line.
        {"a name with control characters",
         lxtest::FixedRecordFile("B", {Row("Ann\r\nLee\t", "ann@example.org", "")}),
         {Row("Ann\r\nLee\t", "ann@example.org", "")},
         {"IMPORTAD_CPP_16", "IMPORTAD_CPP_17|B", "IMPORTAD_CPP_18|Ann  Lee ", "IMPORTAD_CPP_1",
          "IMPORTAD_CPP_3|1", "IMPORTAD_CPP_4|0"}},
        // Texts without their zero are read to their widths and never past the record.
        {"a record without zeros",
         std::string(130, '\0') + wide,
         {Row(std::string(48, 'x'), std::string(80, 'x'), std::string(80, 'x'))},
         {"IMPORTAD_CPP_16", "IMPORTAD_CPP_17", "IMPORTAD_CPP_18|" + std::string(48, 'x'),
          "IMPORTAD_CPP_1", "IMPORTAD_CPP_3|1", "IMPORTAD_CPP_4|0"}},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.what);
        lxtest::ExpectScript(lx::ParseFixedRecordFile(c.bytes), kKeys, c.stored, c.lines);
    }
}

TEST(AliasFile, AliasAndNoteLines) {
    const std::vector<FileCase> cases = {
        {"an alias with its note, then an alias at the end of the file",
         "alias ann ann@example.org\rnote ann Sales team\ralias bob bob@example.org\r",
         {Row("ann", "ann@example.org", "Sales team"), Row("bob", "bob@example.org", "")},
         {"IMPORTAD_CPP_21", "IMPORTAD_CPP_18|ann", "IMPORTAD_CPP_1", "IMPORTAD_CPP_18|bob",
          "IMPORTAD_CPP_1", "IMPORTAD_CPP_3|2", "IMPORTAD_CPP_4|0"}},
        {"a quote left open is refused and the next alias read",
         "alias \"Ann Lee ann@example.org\ralias \"Bob Ray\" bob@example.org\r",
         {Row("Bob Ray", "bob@example.org", "")},
         {"IMPORTAD_CPP_21", "IMPORTAD_CPP_23", "IMPORTAD_CPP_18|Bob Ray", "IMPORTAD_CPP_1",
          "IMPORTAD_CPP_3|1", "IMPORTAD_CPP_4|1"}},
        {"two aliases in a row: the first gets an empty note",
         "ALIAS ann ann@example.org\r\nAlias bob bob@example.org\r\nnote bob Board\r\n",
         {Row("ann", "ann@example.org", ""), Row("bob", "bob@example.org", "Board")},
         {"IMPORTAD_CPP_21", "IMPORTAD_CPP_18|ann", "IMPORTAD_CPP_1", "IMPORTAD_CPP_18|bob",
          "IMPORTAD_CPP_1", "IMPORTAD_CPP_3|2", "IMPORTAD_CPP_4|0"}},
        {"a word running to the line's end, a name without address",
         "alias lonely\ralias nobody   \ralias ok o@example.org,\r",
         {Row("ok", "o@example.org", "")},
         {"IMPORTAD_CPP_21", "IMPORTAD_CPP_23", "IMPORTAD_CPP_22", "IMPORTAD_CPP_18|ok",
          "IMPORTAD_CPP_1", "IMPORTAD_CPP_3|1", "IMPORTAD_CPP_4|2"}},
        {"LF ignored wherever it stands, tabs after the name, lines before any alias skipped",
         "# nicknames\rali\nas\n kim\t\tkim@example.org \r\nno\nte kim  Kim's desk  \r",
         {Row("kim", "kim@example.org", "Kim's desk")},
         {"IMPORTAD_CPP_21", "IMPORTAD_CPP_18|kim", "IMPORTAD_CPP_1", "IMPORTAD_CPP_3|1",
          "IMPORTAD_CPP_4|0"}},
        {"a note line without a note, a last line without CR",
         "alias a a@example.org\rnote a\ralias b b@example.org\rnote b  \ralias c c@example.org",
         {Row("a", "a@example.org", ""), Row("b", "b@example.org", ""),
          Row("c", "c@example.org", "")},
         {"IMPORTAD_CPP_21", "IMPORTAD_CPP_18|a", "IMPORTAD_CPP_1", "IMPORTAD_CPP_18|b",
          "IMPORTAD_CPP_1", "IMPORTAD_CPP_18|c", "IMPORTAD_CPP_1", "IMPORTAD_CPP_3|3",
          "IMPORTAD_CPP_4|0"}},
        {"values cut to their widths; the comma goes after the cut",
         "alias \"" + std::string(60, 'n') + "\" " + std::string(79, 'd') + ",tail\rnote x " +
             std::string(90, 'm') + "\r",
         {Row(std::string(48, 'n'), std::string(79, 'd'), std::string(80, 'm'))},
         {"IMPORTAD_CPP_21", "IMPORTAD_CPP_18|" + std::string(48, 'n'), "IMPORTAD_CPP_1",
          "IMPORTAD_CPP_3|1", "IMPORTAD_CPP_4|0"}},
        {"an empty file", "", {}, {"IMPORTAD_CPP_21", "IMPORTAD_CPP_3|0", "IMPORTAD_CPP_4|0"}},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.what);
        lxtest::ExpectScript(lx::ParseAliasFile(c.bytes), kKeys, c.stored, c.lines);
    }
}

TEST(AliasFile, LinesFedOneByOneGiveTheWholeFilesSteps) {
    const std::string file = "alias a a@example.org\ralias b b@example.org\rnote b B\r";
    lx::AliasImport import;
    for (const std::string& line : lx::SplitAliasLines(file)) import.Feed(line);
    const lx::ImportScript fed = import.Finish();
    EXPECT_EQ(lxtest::ShownLines(fed, kKeys), lxtest::ShownLines(lx::ParseAliasFile(file), kKeys));
    EXPECT_EQ(lxtest::StoredAddresses(fed),
              (Rows{Row("a", "a@example.org", ""), Row("b", "b@example.org", "B")}));
}

TEST(ImportSteps, FailedStoresCountAsRefusedAndTheTrailerComesLast) {
    lx::ImportScript script;
    script.steps = {lx::StoreStep(Row("a", "a@x", "")), lx::StoreStep(Row("b", "b@x", "")),
                    lx::RefuseStep(lx::Line("R")), lx::ShowStep(lx::FormattedLine("F", 7))};
    script.trailer = {lx::Line("T")};
    std::vector<lx::StatusLine> shown;
    int calls = 0;
    const lx::ImportTally tally = lx::RunImportSteps(
        script, kKeys, [&](const ImportedAddress&) { return ++calls == 1; },
        [&](const lx::StatusLine& line) { shown.push_back(line); });
    EXPECT_EQ(tally.stored, 1);
    EXPECT_EQ(tally.refused, 2);
    const std::vector<lx::StatusLine> expected = {lx::Line("IMPORTAD_CPP_1"),
                                                  lx::Line("IMPORTAD_CPP_2"),
                                                  lx::Line("R"),
                                                  lx::FormattedLine("F", 7),
                                                  lx::Line("IMPORTAD_CPP_3", "1"),
                                                  lx::Line("IMPORTAD_CPP_4", "2"),
                                                  lx::Line("T")};
    EXPECT_EQ(shown, expected);
}

} // namespace
