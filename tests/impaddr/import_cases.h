// Address files the import tests feed in: built byte by byte, as the other mail programs and the
// address book's export write them.
#pragma once
#include "mailer/addressing/logic/import_steps.h"

#include <string>
#include <vector>

namespace lxtest {

// A fixed-record address file: a 130-byte header holding `header`, then one 456-byte record per
// address followed by its 2 bytes (the last record's 2 bytes only with `lastGap`).
std::string FixedRecordFile(const std::string& header, const std::vector<lx::ImportedAddress>& rows,
                            bool lastGap = true);

// `count` addresses with commas, double quotes, apostrophes and Windows-1252 letters in their
// values, each within its column's width and each different.
std::vector<lx::ImportedAddress> AwkwardAddresses(int count);

// The address book's export: its header line, then one line per address.
std::string ExportFile(const std::vector<lx::ImportedAddress>& rows);

// The addresses a script stores, in order.
std::vector<lx::ImportedAddress> StoredAddresses(const lx::ImportScript& script);

// Every line of a script's steps and trailer as "KEY" or "KEY|suffix" ("KEY%number" when
// formatted), with the summary a store that takes every address adds.
std::vector<std::string> ShownLines(const lx::ImportScript& script, const lx::ImportKeys& keys);

// Checks the addresses a script stores and every line it shows.
void ExpectScript(const lx::ImportScript& script, const lx::ImportKeys& keys,
                  const std::vector<lx::ImportedAddress>& stored,
                  const std::vector<std::string>& lines);

} // namespace lxtest
