#include "mailer/addressing/logic/alias_import.h"

#include <cctype>

namespace lx {
namespace {

constexpr size_t kAliasNameFrom = 5; // after "alias"
constexpr size_t kNoteNameFrom = 4;  // after "note"

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsAliasLine(const std::string& line) {
    return line.size() >= 2 && std::tolower(static_cast<unsigned char>(line[0])) == 'a' &&
           std::tolower(static_cast<unsigned char>(line[1])) == 'l';
}

size_t SkipBlanks(const std::string& line, size_t at) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    return at;
}

enum class NameRead { Taken, Unreadable };

// The name from `at` (after blanks): quoted, or a word up to a blank. `rest` is where the text
// after the name begins. A quote left open, or a word that runs to the line's end, is unreadable.
NameRead ReadName(const std::string& line, size_t at, std::string* name, size_t* rest) {
    at = SkipBlanks(line, at);
    if (at < line.size() && line[at] == '"') {
        const size_t close = line.find('"', at + 1);
        if (close == std::string::npos) return NameRead::Unreadable;
        *name = line.substr(at + 1, close - at - 1);
        *rest = close + 1;
        return NameRead::Taken;
    }
    size_t end = at;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    if (end >= line.size()) return NameRead::Unreadable;
    *name = line.substr(at, end - at);
    *rest = end;
    return NameRead::Taken;
}

// The rest of the line after blanks, without trailing blanks.
std::string Rest(const std::string& line, size_t at) {
    at = SkipBlanks(line, at);
    size_t end = line.size();
    while (end > at && IsBlank(line[end - 1])) --end;
    return at < end ? line.substr(at, end - at) : std::string();
}

} // namespace

std::vector<std::string> SplitAliasLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (const char c : bytes) {
        if (c == '\n') continue;
        if (c == '\r') {
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

AliasImport::AliasImport() { script_.steps.push_back(ShowStep(Line("IMPORTAD_CPP_21"))); }

void AliasImport::Feed(const std::string& line) {
    if (waiting_) {
        if (!IsAliasLine(line)) {
            std::string name;
            size_t rest = 0;
            std::string note;
            if (ReadName(line, kNoteNameFrom, &name, &rest) == NameRead::Taken)
                note = CutTo(Rest(line, rest), kImportNoteLen);
            StoreWaiting(std::move(note));
            return;
        }
        // The alias line is read again below, as the next alias.
        StoreWaiting(std::string());
    }
    if (IsAliasLine(line)) ReadAlias(line);
}

void AliasImport::ReadAlias(const std::string& line) {
    std::string name;
    size_t rest = 0;
    if (ReadName(line, kAliasNameFrom, &name, &rest) != NameRead::Taken) {
        script_.steps.push_back(RefuseStep(Line("IMPORTAD_CPP_23")));
        return;
    }
    std::string dest = CutTo(Rest(line, rest), kImportDestLen);
    if (!dest.empty() && dest.back() == ',') dest.pop_back();
    if (dest.empty()) {
        script_.steps.push_back(RefuseStep(Line("IMPORTAD_CPP_22")));
        return;
    }
    ImportedAddress address;
    address.name = CutTo(name, kImportNameLen);
    address.dest = std::move(dest);
    script_.steps.push_back(ShowStep(Line("IMPORTAD_CPP_18", address.name)));
    waiting_ = std::move(address);
}

void AliasImport::StoreWaiting(std::string note) {
    waiting_->note = std::move(note);
    script_.steps.push_back(StoreStep(std::move(*waiting_)));
    waiting_.reset();
}

ImportScript AliasImport::Finish() {
    if (waiting_) StoreWaiting(std::string());
    return std::move(script_);
}

ImportScript ParseAliasFile(const std::string& bytes) {
    AliasImport import;
    for (const std::string& line : SplitAliasLines(bytes)) import.Feed(line);
    return import.Finish();
}

} // namespace lx
