// What an address import does, as a list of steps any source produces: status lines for the
// import's status box, addresses to store and refusals. Parsing is pure (bytes in, steps out);
// RunImportSteps then stores the addresses through the caller's writer and shows each line, so
// the same parsers serve the dialogs, the tests and the fuzzers.
#pragma once

#include "common/settings/fixed_text.h"
#include <functional>
#include <string>
#include <vector>

namespace lx {

// The widths of the AddBook columns: longer values are cut to them.
constexpr size_t kImportNameLen = 48;
constexpr size_t kImportDestLen = 80;
constexpr size_t kImportNoteLen = 80;

struct ImportedAddress {
    std::string name;
    std::string dest;
    std::string note;
};
bool operator==(const ImportedAddress& a, const ImportedAddress& b);

// One line of the status box: the catalogue text of `key` followed by `suffix` (a name, a header
// text or a number); with `formatted` the text is a format taking `number` instead.
struct StatusLine {
    std::string key;
    std::string suffix;
    bool formatted = false;
    long number = 0;
};
bool operator==(const StatusLine& a, const StatusLine& b);

enum class ImportStepKind {
    Show,   // a status line only
    Store,  // store `address`; its outcome adds the stored or failed line
    Refuse, // a status line that counts one address as refused
};

struct ImportStep {
    ImportStepKind kind = ImportStepKind::Show;
    StatusLine line;         // Show, Refuse
    ImportedAddress address; // Store
};

// The steps of one import, and the lines shown after its summary.
struct ImportScript {
    std::vector<ImportStep> steps;
    std::vector<StatusLine> trailer;
};

// Building scripts.
// A status line; control characters of the suffix become blanks, so it stays one line.
StatusLine Line(const std::string& key, const std::string& suffix = std::string());
// The catalogue text followed by the number.
StatusLine NumberedLine(const std::string& key, long number);
// The catalogue text as a format with one %d.
StatusLine FormattedLine(const std::string& key, long number);
ImportStep ShowStep(StatusLine line);
ImportStep RefuseStep(StatusLine line);
ImportStep StoreStep(ImportedAddress address);

// `text` up to its first zero byte, never past `size` bytes.
std::string ZeroTerminated(const char* text, size_t size);

// The keys one dialog shows around storing.
struct ImportKeys {
    const char* stored;       // after a stored address
    const char* failed;       // after an address the store refused
    const char* storedCount;  // summary: followed by the number stored
    const char* refusedCount; // summary: followed by the number refused
};

struct ImportTally {
    long stored = 0;
    long refused = 0;
};

// Walks the script: `store` writes one address (true when it is stored), `show` adds a line to
// the status box. After the steps come the two summary lines, then the trailer.
ImportTally RunImportSteps(const ImportScript& script, const ImportKeys& keys,
                           const std::function<bool(const ImportedAddress&)>& store,
                           const std::function<void(const StatusLine&)>& show);

} // namespace lx
