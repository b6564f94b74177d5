// Reading a merge file: where lines end, where the list ends, and which lines are refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mailer/transfer/logic/mergefile.h"

namespace {

using lx::MergeLineProblem;

struct Refused {
    int line;
    MergeLineProblem why;
};

struct FileCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> addresses;
    std::vector<Refused> refused;
};

const std::string k127(127, 'a');
const std::string k208(208, 'b');

const std::vector<FileCase> kCases = {
    {"three addresses",
     "ann@example.org\r\nbob@example.org\r\ncy@example.org\r\n",
     {"ann@example.org", "bob@example.org", "cy@example.org"},
     {}},
    {"empty second line ends the list",
     "ann@example.org\r\n\r\ncy@example.org\r\n",
     {"ann@example.org"},
     {}},
    {"lone LF ends lines",
     "ann@example.org\nbob@example.org\ncy@example.org\n",
     {"ann@example.org", "bob@example.org", "cy@example.org"},
     {}},
    {"empty line after lone LF ends the list",
     "ann@example.org\n\ncy@example.org\n",
     {"ann@example.org"},
     {}},
    {"lone CR ends a line",
     "ann@example.org\rbob@example.org",
     {"ann@example.org", "bob@example.org"},
     {}},
    {"last line without line end",
     "ann@example.org\r\nbob@example.org",
     {"ann@example.org", "bob@example.org"},
     {}},
    {"mixed line ends", "a@x.org\r\nb@x.org\nc@x.org\r\n", {"a@x.org", "b@x.org", "c@x.org"}, {}},
    {"empty file", "", {}, {}},
    {"empty first line", "\r\nann@example.org\r\n", {}, {}},
    {"blanks around an address go", " \tann@example.org  \r\n", {"ann@example.org"}, {}},
    {"byte order mark skipped",
     "\xEF\xBB\xBF"
     "ann@example.org\r\n",
     {"ann@example.org"},
     {}},
    {"127 characters", k127 + "\r\n", {k127}, {}},
    {"128 characters cannot be sent to",
     k127 + "a\r\n",
     {},
     {{1, MergeLineProblem::AddressTooLong}}},
    {"208 characters: the field's length, still too long an address",
     k208 + "\r\n",
     {},
     {{1, MergeLineProblem::AddressTooLong}}},
    {"209 characters: longer than the field",
     k208 + "b\r\nann@example.org\r\n",
     {"ann@example.org"},
     {{1, MergeLineProblem::TooLong}}},
    {"209 characters on the last line",
     "ann@example.org\r\n" + k208 + "b",
     {"ann@example.org"},
     {{2, MergeLineProblem::TooLong}}},
    {"blank inside",
     "ann@example.org\r\nBob Smith@example.org\r\n",
     {"ann@example.org"},
     {{2, MergeLineProblem::NotAnAddress}}},
    {"display name with angle brackets",
     "Ann <ann@example.org>\r\n",
     {},
     {{1, MergeLineProblem::NotAnAddress}}},
    {"angle brackets alone", "<ann@example.org>\r\n", {}, {{1, MergeLineProblem::NotAnAddress}}},
    {"tab inside", "ann\t@example.org\n", {}, {{1, MergeLineProblem::NotAnAddress}}},
    {"control character",
     "ann@exa\x01mple.org\nbob@example.org\n",
     {"bob@example.org"},
     {{1, MergeLineProblem::NotAnAddress}}},
    {"NUL byte",
     std::string("ann@example.org\nb\0b@example.org\n", 32),
     {"ann@example.org"},
     {{2, MergeLineProblem::NotAnAddress}}},
    {"DEL byte", "ann@example.org\x7f\n", {}, {{1, MergeLineProblem::NotAnAddress}}},
    {"only blanks",
     "ann@example.org\r\n   \r\nbob@example.org\r\n",
     {"ann@example.org", "bob@example.org"},
     {{2, MergeLineProblem::NotAnAddress}}},
    {"every bad line is named",
     "a b\nok@x.org\n" + k208 + "bb\n\x02\n",
     {"ok@x.org"},
     {{1, MergeLineProblem::NotAnAddress},
      {3, MergeLineProblem::TooLong},
      {4, MergeLineProblem::NotAnAddress}}},
    {"lines after the end of the list are not read",
     "ann@example.org\n\nnot an address\n",
     {"ann@example.org"},
     {}},
};

TEST(MergeFile, CaseTable) {
    for (const FileCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const lx::MergeList list = lx::ReadMergeList(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(list.addresses, c.addresses);
        ASSERT_EQ(list.refused.size(), c.refused.size());
        for (std::size_t i = 0; i < c.refused.size(); ++i) {
            EXPECT_EQ(list.refused[i].line, c.refused[i].line);
            EXPECT_EQ(list.refused[i].why, c.refused[i].why);
        }
    }
}

TEST(MergeFile, LoneLfReadsLikeCrLf) {
    const std::string crlf = "ann@example.org\r\nbob@example.org\r\n\r\ncy@example.org\r\n";
    std::string lf;
    for (char c : crlf)
        if (c != '\r') lf += c;
    EXPECT_EQ(lx::ReadMergeList(lf.data(), lf.size()).addresses,
              lx::ReadMergeList(crlf.data(), crlf.size()).addresses);
}

TEST(MergeFile, RefusedLineIsQuotedCutToTheFieldLength) {
    const std::string line = "Ann Smith ann@example.org";
    const std::string bytes = line + "\r\n" + std::string(300, 'x') + "\r\n";
    const lx::MergeList list = lx::ReadMergeList(bytes.data(), bytes.size());
    ASSERT_EQ(list.refused.size(), 2u);
    EXPECT_EQ(list.refused[0].text, line);
    EXPECT_EQ(list.refused[1].text, std::string(lx::kMergeLineLimit, 'x'));
}

TEST(MergeFile, NoBytes) {
    EXPECT_TRUE(lx::ReadMergeList(nullptr, 10).addresses.empty());
    EXPECT_TRUE(lx::ReadMergeList(nullptr, 0).refused.empty());
}

} // namespace
