// The merge file of the mail merge (".MMF"): one destination address per line. A line ends with
// CR LF, a lone LF or a lone CR (an LF after a CR belongs to it); the last line may end at the end
// of the file; the list ends at the end of the file or at the first empty line. Pure over bytes:
// the dialog, the tests and a fuzz target call the same reader.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lx {

// The longest line the dialog's address field holds.
constexpr std::size_t kMergeLineLimit = 208;
// The longest address the outgoing spool file's envelope takes ("TO:<address>").
constexpr std::size_t kMergeAddressLimit = 127;

enum class MergeLineProblem {
    TooLong,        // more than kMergeLineLimit characters
    AddressTooLong, // more than kMergeAddressLimit characters once trimmed
    NotAnAddress,   // only blanks, or a blank, control character or angle bracket inside
};

struct MergeLineRefusal {
    int line = 0; // 1-based line number in the file
    MergeLineProblem why = MergeLineProblem::NotAnAddress;
    std::string text; // the line as read, cut to kMergeLineLimit characters
};

struct MergeList {
    std::vector<std::string> addresses;    // trimmed, in file order
    std::vector<MergeLineRefusal> refused; // every line that cannot be sent to
};

// Reads the addresses of a merge file. Blanks and tabs around an address are dropped; a UTF-8
// byte order mark before the first line is skipped. A mail merge must not silently leave out a
// recipient, so lines that cannot be sent to are collected rather than skipped: a caller sends
// nothing while `refused` is not empty.
MergeList ReadMergeList(const char* bytes, std::size_t size);

} // namespace lx
