#include "tests/impaddr/import_cases.h"

#include "mailer/addressing/logic/abook_export.h"
#include "mailer/addressing/logic/fixedrec_import.h"

#include <gtest/gtest.h>

namespace lxtest {

std::string FixedRecordFile(const std::string& header, const std::vector<lx::ImportedAddress>& rows,
                            bool lastGap) {
    std::string bytes(lx::kFixedRecordHeaderSize, '\0');
    bytes.replace(0, header.size(), header);
    for (size_t i = 0; i < rows.size(); ++i) {
        std::string record(lx::kFixedRecordSize, '\0');
        record.replace(lx::kFixedRecordNameAt, rows[i].name.size(), rows[i].name);
        record.replace(lx::kFixedRecordNoteAt, rows[i].note.size(), rows[i].note);
        record.replace(lx::kFixedRecordDestAt, rows[i].dest.size(), rows[i].dest);
        bytes += record;
        if (lastGap || i + 1 < rows.size()) bytes += "\r\n";
    }
    return bytes;
}

std::vector<lx::ImportedAddress> AwkwardAddresses(int count) {
    static const char* const kFirst[] = {"Ann",        "O'Brien", "J\xFCrgen", "Ren\xE9",
                                         "\"Red\" Ed", "Zo\xEB",  "Smith, Jo", "\xC5sa"};
    static const char* const kNotes[] = {
        "", "met at \"Expo\", 2019", "it's fine", "a,b,,c", "caf\xE9 \x80 5", "\"\"", "'"};
    std::vector<lx::ImportedAddress> rows;
    for (int i = 0; i < count; ++i) {
        lx::ImportedAddress row;
        row.name = std::string(kFirst[i % 8]) + " #" + std::to_string(i);
        row.dest = "user" + std::to_string(i) + "@example.org";
        row.note = kNotes[i % 7];
        rows.push_back(row);
    }
    return rows;
}

std::string ExportFile(const std::vector<lx::ImportedAddress>& rows) {
    std::string file = lx::ExportLine("Name", "Email Address", "Notes");
    for (const lx::ImportedAddress& row : rows)
        file += lx::ExportLine(row.name, row.dest, row.note);
    return file;
}

std::vector<lx::ImportedAddress> StoredAddresses(const lx::ImportScript& script) {
    std::vector<lx::ImportedAddress> stored;
    for (const lx::ImportStep& step : script.steps)
        if (step.kind == lx::ImportStepKind::Store) stored.push_back(step.address);
    return stored;
}

std::vector<std::string> ShownLines(const lx::ImportScript& script, const lx::ImportKeys& keys) {
    std::vector<std::string> lines;
    lx::RunImportSteps(
        script, keys, [](const lx::ImportedAddress&) { return true; },
        [&](const lx::StatusLine& line) {
            if (line.formatted)
                lines.push_back(line.key + "%" + std::to_string(line.number));
            else
                lines.push_back(line.suffix.empty() ? line.key : line.key + "|" + line.suffix);
        });
    return lines;
}

void ExpectScript(const lx::ImportScript& script, const lx::ImportKeys& keys,
                  const std::vector<lx::ImportedAddress>& stored,
                  const std::vector<std::string>& lines) {
    EXPECT_EQ(StoredAddresses(script), stored);
    EXPECT_EQ(ShownLines(script, keys), lines);
}

} // namespace lxtest
