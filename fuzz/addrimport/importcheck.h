// What every address import's steps must hold, whatever file they came from: addresses fit the
// AddBook columns, status lines stay single lines, and running the steps counts every address
// once, stored or refused.
#pragma once

#include <string>

#include "fuzz/common/fuzzutil.h"
#include "mailer/addressing/logic/import_steps.h"

namespace lxfuzz {

inline void CheckLine(const lx::StatusLine& line) {
    FUZZ_CHECK(!line.key.empty());
    // A control character would break the status box's lines.
    for (char c : line.suffix) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20);
}

inline void CheckScript(const lx::ImportScript& script) {
    long stores = 0, refusals = 0;
    for (const lx::ImportStep& step : script.steps) {
        if (step.kind == lx::ImportStepKind::Store) {
            ++stores;
            FUZZ_CHECK(step.address.name.size() <= lx::kImportNameLen);
            FUZZ_CHECK(step.address.dest.size() <= lx::kImportDestLen);
            FUZZ_CHECK(step.address.note.size() <= lx::kImportNoteLen);
        } else {
            refusals += step.kind == lx::ImportStepKind::Refuse;
            CheckLine(step.line);
        }
    }
    for (const lx::StatusLine& line : script.trailer) CheckLine(line);
    // Every other address the store refuses: the tally counts each address once.
    const lx::ImportKeys keys{"K_1", "K_2", "K_3", "K_4"};
    long shown = 0, calls = 0;
    const lx::ImportTally tally = lx::RunImportSteps(
        script, keys, [&](const lx::ImportedAddress&) { return (calls++ & 1) == 0; },
        [&](const lx::StatusLine& line) {
            CheckLine(line);
            ++shown;
        });
    FUZZ_CHECK(calls == stores);
    FUZZ_CHECK(tally.stored == (stores + 1) / 2);
    FUZZ_CHECK(tally.refused == stores / 2 + refusals);
    FUZZ_CHECK(shown == static_cast<long>(script.steps.size() + 2 + script.trailer.size()));
}

} // namespace lxfuzz
