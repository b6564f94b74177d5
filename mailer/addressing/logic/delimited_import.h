// The delimited text file of the ASCII import: one address per line, its name, address and note
// in chosen columns. Lines end at LF (a CR before it is dropped); a line of fewer than 3
// characters ends the file. With quoting, every field used is quoted: a quoted field runs to its
// closing quote, a doubled quote inside stands for one quote, and delimiters inside quotes do not
// count (LXADBOOK.TXT, the address book's export, reads back this way).
#pragma once

#include "mailer/addressing/logic/import_steps.h"

#include <string>
#include <vector>

namespace lx {

constexpr int kMinColumn = 1;
constexpr int kMaxColumn = 256;
constexpr size_t kMaxDelimitedLine = 2047;
constexpr size_t kMinDelimitedLine = 3;

struct DelimitedOptions {
    bool quoting = true;
    char quote = '"';
    char delimiter = ',';
    int nameColumn = 1;
    int destColumn = 2;
    int noteColumn = 3;
    int firstLine = 2; // lines before it are skipped
};

// The entries of the dialog's two lists, and what an entry chooses.
extern const char* const kQuoteChoices[7];     // "'", "\"", "*", "!", "~", "|", "NONE"
extern const char* const kDelimiterChoices[2]; // "COMMA", "TAB"
// Quoting on with the entry's character, or off for "NONE" (or an empty entry).
void ChooseQuote(const std::string& entry, DelimitedOptions* options);
// TAB for "TAB", else the comma.
void ChooseDelimiter(const std::string& entry, DelimitedOptions* options);

// The three column numbers differ from each other.
bool ColumnsDiffer(const DelimitedOptions& options);

enum class LineVerdict {
    Taken,     // the three fields were found
    Bad,       // too few columns, or a field used that is not quoted while quoting is on
    OpenQuote, // a quoted field has no closing quote
};

// The address of one line (without its line end); names, addresses and notes cut to their widths.
LineVerdict ParseDelimitedLine(const std::string& line, const DelimitedOptions& options,
                               ImportedAddress* address);

// The import of a whole file's bytes. A line that cannot be used is refused with its number and
// the import goes on with the next line.
ImportScript ParseDelimitedFile(const std::string& bytes, const DelimitedOptions& options);

} // namespace lx
