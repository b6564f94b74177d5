#include "common/catalog/catalogbuild.h"

#include <cstring>
#include <limits>
#include <map>
#include <utility>

namespace lx {

namespace {

constexpr size_t kMaxReportedErrors = 50;

bool IsKeyChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

class ErrorList {
public:
    explicit ErrorList(std::string& out) : out_(out) { out_.clear(); }
    void Add(int line, const std::string& message) {
        if (count_++ < kMaxReportedErrors)
            out_ += "line " + std::to_string(line) + ": " + message + "\n";
        else if (count_ == kMaxReportedErrors + 1)
            out_ += "too many errors\n";
    }
    bool Any() const { return count_ > 0; }

private:
    std::string& out_;
    size_t count_ = 0;
};

// Checks one "KEY text" line and appends its entry; reports faults to errors.
void ParseMessageLine(const std::string& line, int lineNo, std::vector<CatalogueEntry>& entries,
                      ErrorList& errors) {
    size_t keyEnd = 0;
    while (keyEnd < line.size() && !IsBlank(line[keyEnd])) ++keyEnd;
    size_t textAt = keyEnd;
    while (textAt < line.size() && IsBlank(line[textAt])) ++textAt;
    CatalogueEntry entry;
    entry.line = lineNo;
    entry.text = line.substr(textAt);
    std::string key = line.substr(0, keyEnd);
    if (!ParseMessageKey(key, entry.module, entry.number)) {
        errors.Add(lineNo, "bad key \"" + key + "\" (expected MODULE_CPP_N, N from 1 to " +
                               std::to_string(kCatalogMaxNumber) + ")");
        return;
    }
    bool ok = true;
    if (entry.module.size() >= kCatalogModuleNameSize) {
        errors.Add(lineNo, "module name \"" + entry.module + "\" is longer than " +
                               std::to_string(kCatalogModuleNameSize - 1) + " characters");
        ok = false;
    }
    if (entry.text.size() > kCatalogMaxLine) {
        errors.Add(lineNo,
                   "text is longer than " + std::to_string(kCatalogMaxLine) + " characters");
        ok = false;
    }
    if (entry.text.find("##") != std::string::npos) {
        errors.Add(lineNo, "text contains \"##\"");
        ok = false;
    }
    if (entry.text.find('\0') != std::string::npos) {
        errors.Add(lineNo, "text contains a NUL byte");
        ok = false;
    }
    if (ok) entries.push_back(std::move(entry));
}

} // namespace

bool ParseMessageKey(const std::string& key, std::string& module, int& number) {
    size_t cut = key.rfind('_');
    if (cut == std::string::npos || cut + 1 >= key.size()) return false;
    std::string digits = key.substr(cut + 1);
    if (digits.size() > 5 || digits[0] == '0') return false;
    long n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    if (n < 1 || n > kCatalogMaxNumber) return false;
    std::string name = key.substr(0, cut);
    const std::string suffix = "_CPP";
    if (name.size() <= suffix.size() ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    for (char c : name) {
        if (!IsKeyChar(c)) return false;
    }
    module = name;
    number = static_cast<int>(n);
    return true;
}

bool ParseCatalogueSource(const std::string& sourceText, std::vector<CatalogueEntry>& entries,
                          std::string& error) {
    entries.clear();
    ErrorList errors(error);
    std::map<std::pair<std::string, int>, int> seen; // key -> first line
    std::map<std::string, size_t> modules;
    size_t pos = 0;
    int lineNo = 0;
    while (pos < sourceText.size()) {
        size_t end = sourceText.find('\n', pos);
        if (end == std::string::npos) end = sourceText.size();
        std::string line = sourceText.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        size_t before = entries.size();
        ParseMessageLine(line, lineNo, entries, errors);
        if (entries.size() == before) continue;
        const CatalogueEntry& e = entries.back();
        auto dup = seen.emplace(std::make_pair(e.module, e.number), lineNo);
        if (!dup.second) {
            errors.Add(lineNo, "duplicate key " + e.module + "_" + std::to_string(e.number) +
                                   " (first on line " + std::to_string(dup.first->second) + ")");
            entries.pop_back();
            continue;
        }
        if (modules.count(e.module) == 0) {
            if (modules.size() == kCatalogModuleSlots) {
                errors.Add(lineNo, "more than " + std::to_string(kCatalogModuleSlots) + " modules");
                entries.pop_back();
                continue;
            }
            modules.emplace(e.module, modules.size());
        }
    }
    return !errors.Any();
}

bool BuildCatalogue(const std::string& sourceText, std::vector<uint8_t>& out, std::string& error,
                    const std::string& magic) {
    out.clear();
    if (magic.size() >= kCatalogMagicSize) {
        error =
            "magic text is longer than " + std::to_string(kCatalogMagicSize - 1) + " characters\n";
        return false;
    }
    std::vector<CatalogueEntry> entries;
    if (!ParseCatalogueSource(sourceText, entries, error)) return false;

    // Modules in order of first appearance, each with its texts by number.
    std::vector<std::string> order;
    std::map<std::string, std::vector<const std::string*>> lines;
    for (const CatalogueEntry& e : entries) {
        auto& texts = lines[e.module];
        if (texts.empty()) order.push_back(e.module);
        if (texts.size() < static_cast<size_t>(e.number)) texts.resize(e.number, nullptr);
        texts[e.number - 1] = &e.text;
    }

    CatalogHeader header;
    std::memcpy(header.magic.data(), magic.data(), magic.size());
    std::string body;
    for (size_t slot = 0; slot < order.size(); ++slot) {
        const std::string& module = order[slot];
        const auto& texts = lines[module];
        size_t offset = kCatalogHeaderSize + body.size();
        if (offset > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
            error = "catalogue is larger than 2 GiB\n";
            return false;
        }
        std::memcpy(header.names[slot].data(), module.data(), module.size());
        header.offsets[slot] = static_cast<int32_t>(offset);
        header.counts[slot] = static_cast<int16_t>(texts.size());
        for (const std::string* text : texts) {
            if (text) body += *text;
            body += "\r\n";
        }
    }
    out.resize(kCatalogHeaderSize);
    EncodeCatalogHeader(header, out.data());
    out.insert(out.end(), body.begin(), body.end());
    error.clear();
    return true;
}

} // namespace lx
