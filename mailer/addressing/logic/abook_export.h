// The address book's export file LXADBOOK.TXT: a header line and one line per address, each
// value between double quotes and separated by commas, every line ended by CR LF. A double quote
// inside a value is written doubled; a CR, an LF or a CR LF pair inside a value is written as one blank, so that
// a record is one line. Bytes are written as stored. Portable.
#pragma once

#include <string>
#include <vector>

namespace lx {

constexpr char kAddressExportFile[] = "LXADBOOK.TXT";

struct ExportedAddress {
    std::string name, dest, note;
};

// One line: "\"name\",\"dest\",\"note\"\r\n" with the values escaped.
std::string ExportLine(const std::string& name, const std::string& dest, const std::string& note);
// The header line ("Name", "Email Address", "Notes") and one line per address, in the order given.
std::string ExportText(const std::vector<ExportedAddress>& addresses);
// Creates (replacing) the file at `path` holding ExportText; false when it cannot be written
// whole.
bool WriteAddressExport(const std::string& path, const std::vector<ExportedAddress>& addresses);

} // namespace lx
