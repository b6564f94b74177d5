#include "mailer/addressing/logic/import_steps.h"

#include <cstring>
#include <utility>

namespace lx {

bool operator==(const ImportedAddress& a, const ImportedAddress& b) {
    return a.name == b.name && a.dest == b.dest && a.note == b.note;
}

bool operator==(const StatusLine& a, const StatusLine& b) {
    return a.key == b.key && a.suffix == b.suffix && a.formatted == b.formatted &&
           a.number == b.number;
}

StatusLine Line(const std::string& key, const std::string& suffix) {
    StatusLine line;
    line.key = key;
    line.suffix = suffix;
    // A name from the file is shown on one line of the status box: a control character (a line
    // break inside a record, a tab) would break the box's lines.
    for (char& c : line.suffix)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return line;
}

StatusLine NumberedLine(const std::string& key, long number) {
    return Line(key, std::to_string(number));
}

StatusLine FormattedLine(const std::string& key, long number) {
    StatusLine line = Line(key);
    line.formatted = true;
    line.number = number;
    return line;
}

ImportStep ShowStep(StatusLine line) {
    ImportStep step;
    step.line = std::move(line);
    return step;
}

ImportStep RefuseStep(StatusLine line) {
    ImportStep step;
    step.kind = ImportStepKind::Refuse;
    step.line = std::move(line);
    return step;
}

ImportStep StoreStep(ImportedAddress address) {
    ImportStep step;
    step.kind = ImportStepKind::Store;
    step.address = std::move(address);
    return step;
}

std::string ZeroTerminated(const char* text, size_t size) {
    const void* zero = std::memchr(text, 0, size);
    return std::string(text, zero ? static_cast<const char*>(zero) - text : size);
}

ImportTally RunImportSteps(const ImportScript& script, const ImportKeys& keys,
                           const std::function<bool(const ImportedAddress&)>& store,
                           const std::function<void(const StatusLine&)>& show) {
    ImportTally tally;
    for (const ImportStep& step : script.steps) {
        switch (step.kind) {
        case ImportStepKind::Show: show(step.line); break;
        case ImportStepKind::Refuse:
            ++tally.refused;
            show(step.line);
            break;
        case ImportStepKind::Store:
            if (store(step.address)) {
                ++tally.stored;
                show(Line(keys.stored));
            } else {
                ++tally.refused;
                show(Line(keys.failed));
            }
            break;
        }
    }
    show(NumberedLine(keys.storedCount, tally.stored));
    show(NumberedLine(keys.refusedCount, tally.refused));
    for (const StatusLine& line : script.trailer) show(line);
    return tally;
}

} // namespace lx
