// libFuzzer target: a delimited text file of any bytes under options of the input's choosing,
// and the address book's export file made from any addresses, which must read back as written.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/addrimport/importcheck.h"
#include "mailer/addressing/logic/abook_export.h"
#include "mailer/addressing/logic/delimited_import.h"

namespace {

// The address as the export writes it and the import cuts it: line breaks become one blank.
std::string Exported(std::string text, std::size_t width) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        out += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
    }
    return out.substr(0, width);
}

void ExportReadsBack(FuzzedDataProvider& in) {
    std::vector<lx::ExportedAddress> book;
    const int n = in.ConsumeIntegralInRange(0, 20);
    for (int i = 0; i < n; ++i) {
        lx::ExportedAddress a;
        a.name = in.ConsumeRandomLengthString(60);
        a.dest = in.ConsumeRandomLengthString(90);
        a.note = in.ConsumeRandomLengthString(90);
        book.push_back(a);
    }
    const lx::ImportScript script = lx::ParseDelimitedFile(lx::ExportText(book), {});
    lxfuzz::CheckScript(script);
    std::vector<lx::ImportedAddress> read;
    for (const lx::ImportStep& step : script.steps)
        if (step.kind == lx::ImportStepKind::Store) read.push_back(step.address);
    // Every address reads back; the export's lines are all long enough to count.
    FUZZ_CHECK(read.size() == book.size());
    for (std::size_t i = 0; i < book.size(); ++i) {
        FUZZ_CHECK(read[i].name == Exported(book[i].name, lx::kImportNameLen));
        FUZZ_CHECK(read[i].dest == Exported(book[i].dest, lx::kImportDestLen));
        FUZZ_CHECK(read[i].note == Exported(book[i].note, lx::kImportNoteLen));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    lx::DelimitedOptions options;
    lx::ChooseQuote(lx::kQuoteChoices[in.ConsumeIntegralInRange(0, 6)], &options);
    lx::ChooseDelimiter(in.ConsumeBool() ? "TAB" : "COMMA", &options);
    options.nameColumn = in.ConsumeIntegralInRange(0, 300);
    options.destColumn = in.ConsumeIntegralInRange(0, 300);
    options.noteColumn = in.ConsumeIntegralInRange(0, 300);
    options.firstLine = in.ConsumeIntegralInRange(-2, 10);
    const bool exportRound = in.ConsumeBool();
    if (exportRound) {
        ExportReadsBack(in);
        return 0;
    }
    const std::string file = in.ConsumeRemainingBytesAsString();
    const lx::ImportScript script = lx::ParseDelimitedFile(file, options);
    lxfuzz::CheckScript(script);
    return 0;
}
