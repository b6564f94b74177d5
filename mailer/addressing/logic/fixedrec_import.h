// The fixed-record address file: a 130-byte header, then records of 456 bytes each followed by
// 2 bytes. A record holds the name at offset 0, the note at 260 and the address at 340, each a
// zero-terminated text that never runs past its record.
#pragma once

#include "mailer/addressing/logic/import_steps.h"

#include <string>

namespace lx {

constexpr size_t kFixedRecordHeaderSize = 130;
constexpr size_t kFixedRecordSize = 456;
constexpr size_t kFixedRecordGap = 2;
constexpr size_t kFixedRecordNameAt = 0;
constexpr size_t kFixedRecordNoteAt = 260;
constexpr size_t kFixedRecordDestAt = 340;

// The import of a whole file's bytes. A file shorter than its header, or ending inside a
// record, is damaged: the addresses before the damage are stored, then the damage is told.
ImportScript ParseFixedRecordFile(const std::string& bytes);

} // namespace lx
