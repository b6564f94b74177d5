#include "mailer/addressing/logic/fixedrec_import.h"

namespace lx {
namespace {

// The header's text, shown on one status line (Line makes it one).
std::string HeaderText(const std::string& bytes) {
    return ZeroTerminated(bytes.data(), kFixedRecordHeaderSize);
}

// The text at `offset` of the record at `record`, bounded by the record's end.
std::string RecordText(const std::string& bytes, size_t record, size_t offset, size_t width) {
    return CutTo(ZeroTerminated(bytes.data() + record + offset, kFixedRecordSize - offset), width);
}

void Damaged(ImportScript& script) {
    script.steps.push_back(ShowStep(Line("IMPORTAD_CPP_19")));
    script.steps.push_back(ShowStep(Line("IMPORTAD_CPP_20")));
}

} // namespace

ImportScript ParseFixedRecordFile(const std::string& bytes) {
    ImportScript script;
    script.steps.push_back(ShowStep(Line("IMPORTAD_CPP_16")));
    if (bytes.size() < kFixedRecordHeaderSize) {
        Damaged(script);
        return script;
    }
    script.steps.push_back(ShowStep(Line("IMPORTAD_CPP_17", HeaderText(bytes))));
    size_t at = kFixedRecordHeaderSize;
    while (at < bytes.size()) {
        if (bytes.size() - at < kFixedRecordSize) {
            Damaged(script);
            return script;
        }
        ImportedAddress address;
        address.name = RecordText(bytes, at, kFixedRecordNameAt, kImportNameLen);
        address.note = RecordText(bytes, at, kFixedRecordNoteAt, kImportNoteLen);
        address.dest = RecordText(bytes, at, kFixedRecordDestAt, kImportDestLen);
        script.steps.push_back(ShowStep(Line("IMPORTAD_CPP_18", address.name)));
        script.steps.push_back(StoreStep(std::move(address)));
        at += kFixedRecordSize + kFixedRecordGap;
    }
    return script;
}

} // namespace lx
