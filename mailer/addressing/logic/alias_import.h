// The alias text file: lines ended by CR (an LF is ignored wherever it stands). An alias line
// ("alias NAME ADDRESS") begins with "al" in either case; the name starts at the sixth character
// after blanks and is quoted or a single word, the address is the rest of the line. The line
// after an alias line gives its note ("note NAME NOTE", the name from the fifth character) unless
// it is itself an alias line.
#pragma once

#include "mailer/addressing/logic/import_steps.h"

#include <optional>
#include <string>
#include <vector>

namespace lx {

// The file's lines: LF bytes dropped, split at CR; a last line without CR counts when not empty.
std::vector<std::string> SplitAliasLines(const std::string& bytes);

// Reads the file a line at a time. An alias waits for the next line, which either is its note
// or, being an alias line itself, stores it with an empty note and is then read as an alias.
class AliasImport {
public:
    AliasImport();
    void Feed(const std::string& line);
    // The end of the file: a waiting alias is stored with an empty note.
    ImportScript Finish();

private:
    void ReadAlias(const std::string& line);
    void StoreWaiting(std::string note);

    ImportScript script_;
    std::optional<ImportedAddress> waiting_;
};

// The import of a whole file's bytes.
ImportScript ParseAliasFile(const std::string& bytes);

} // namespace lx
