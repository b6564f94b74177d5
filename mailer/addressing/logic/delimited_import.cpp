#include "mailer/addressing/logic/delimited_import.h"

#include <algorithm>

namespace lx {

const char* const kQuoteChoices[7] = {"'", "\"", "*", "!", "~", "|", "NONE"};
const char* const kDelimiterChoices[2] = {"COMMA", "TAB"};

void ChooseQuote(const std::string& entry, DelimitedOptions* options) {
    options->quoting = !entry.empty() && entry != "NONE";
    if (options->quoting) options->quote = entry[0];
}

void ChooseDelimiter(const std::string& entry, DelimitedOptions* options) {
    options->delimiter = entry == "TAB" ? '\t' : ',';
}

bool ColumnsDiffer(const DelimitedOptions& options) {
    return options.nameColumn != options.destColumn && options.nameColumn != options.noteColumn &&
           options.destColumn != options.noteColumn;
}

namespace {

struct Field {
    std::string text;
    bool quoted = false;
};

// The quoted field starting at `at` (the opening quote) into `field`; `at` moves past the
// closing quote. False when the quote is never closed.
bool ReadQuoted(const std::string& line, char quote, size_t* at, Field* field) {
    size_t pos = *at + 1;
    for (;;) {
        const size_t close = line.find(quote, pos);
        if (close == std::string::npos) return false;
        field->text.append(line, pos, close - pos);
        if (close + 1 < line.size() && line[close + 1] == quote) {
            field->text += quote;
            pos = close + 2;
            continue;
        }
        *at = close + 1;
        field->quoted = true;
        return true;
    }
}

// The first `count` fields of the line; fewer when the line has fewer.
LineVerdict SplitFields(const std::string& line, const DelimitedOptions& options, int count,
                        std::vector<Field>* fields) {
    size_t at = 0;
    while (static_cast<int>(fields->size()) < count) {
        Field field;
        size_t end;
        if (options.quoting && at < line.size() && line[at] == options.quote) {
            if (!ReadQuoted(line, options.quote, &at, &field)) return LineVerdict::OpenQuote;
            // Anything between the closing quote and the delimiter is not part of the field.
            end = line.find(options.delimiter, at);
        } else {
            end = line.find(options.delimiter, at);
            field.text = line.substr(at, end == std::string::npos ? std::string::npos : end - at);
        }
        fields->push_back(std::move(field));
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return LineVerdict::Taken;
}

} // namespace

LineVerdict ParseDelimitedLine(const std::string& line, const DelimitedOptions& options,
                               ImportedAddress* address) {
    const int columns[3] = {options.nameColumn, options.destColumn, options.noteColumn};
    for (const int c : columns)
        if (c < kMinColumn || c > kMaxColumn) return LineVerdict::Bad;
    std::vector<Field> fields;
    const LineVerdict split =
        SplitFields(line, options, *std::max_element(columns, columns + 3), &fields);
    if (split != LineVerdict::Taken) return split;
    for (const int c : columns) {
        if (c > static_cast<int>(fields.size())) return LineVerdict::Bad;
        if (options.quoting && !fields[c - 1].quoted) return LineVerdict::Bad;
    }
    address->name = CutTo(fields[options.nameColumn - 1].text, kImportNameLen);
    address->dest = CutTo(fields[options.destColumn - 1].text, kImportDestLen);
    address->note = CutTo(fields[options.noteColumn - 1].text, kImportNoteLen);
    return LineVerdict::Taken;
}

ImportScript ParseDelimitedFile(const std::string& bytes, const DelimitedOptions& options) {
    ImportScript script;
    script.steps.push_back(ShowStep(Line("ASCIIIMP_CPP_5")));
    if (options.firstLine > 1)
        script.steps.push_back(ShowStep(FormattedLine("ASCIIIMP_CPP_6", options.firstLine - 1)));
    bool refusedLines = false;
    long number = 0;
    for (size_t at = 0; at < bytes.size();) {
        size_t end = bytes.find('\n', at);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(at, end - at);
        at = end + 1;
        ++number;
        if (number < options.firstLine) continue;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() < kMinDelimitedLine) break;
        ImportedAddress address;
        const LineVerdict verdict = line.size() > kMaxDelimitedLine
                                        ? LineVerdict::Bad
                                        : ParseDelimitedLine(line, options, &address);
        if (verdict == LineVerdict::Taken) {
            script.steps.push_back(ShowStep(Line("ASCIIIMP_CPP_13", address.name)));
            script.steps.push_back(StoreStep(std::move(address)));
            continue;
        }
        refusedLines = true;
        script.steps.push_back(RefuseStep(NumberedLine(
            verdict == LineVerdict::OpenQuote ? "ASCIIIMP_CPP_17" : "ASCIIIMP_CPP_16", number)));
    }
    if (refusedLines) script.trailer = {Line("ASCIIIMP_CPP_9"), Line("ASCIIIMP_CPP_10")};
    return script;
}

} // namespace lx
