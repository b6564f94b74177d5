// A merge file written from a mailing list: its name, which must stay a plain file name in the
// installation folder, and its text (one destination address per line, CR LF, To members first).
// Portable.
#pragma once

#include <string>
#include <vector>

namespace lx {

// Why an entered merge file name cannot be used.
enum class MergeNameCheck {
    Ok,
    Empty,        // nothing but blanks
    NotPlainName, // a path separator, drive colon, "..", a character Windows refuses in names,
                  // or a name ending in a dot or blank
    DeviceName,   // CON, PRN, AUX, NUL, COM1..9, LPT1..9, ... (with any extension)
    TooLong       // more than kMergeNameMaxLen characters
};
constexpr int kMergeNameMaxLen = 64;

// Checks a name as entered (blanks around it are ignored).
MergeNameCheck CheckMergeFileName(const std::string& entered);
// The file's name: the entered name (blanks around it dropped) followed by ".MMF".
std::string MergeFileName(const std::string& entered);
// The addresses, To first, each followed by CR LF.
std::string MergeFileText(const std::vector<std::string>& to, const std::vector<std::string>& cc);
// Creates (replacing) the file at `path` holding MergeFileText; false when it cannot be written
// whole.
bool WriteMergeFile(const std::string& path, const std::vector<std::string>& to,
                    const std::vector<std::string>& cc);

} // namespace lx
