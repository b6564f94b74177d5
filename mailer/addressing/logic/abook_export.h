// One line of the address book's export file LXADBOOK.TXT: the three values each between double
// quotes, separated by commas, ended by CR LF. A double quote inside a value is doubled and a CR
// or LF becomes one blank, so every record is one line that the ASCII import reads back.
#pragma once

#include <string>

namespace lx {

std::string FormatAddressExportLine(const std::string& name, const std::string& dest,
                                    const std::string& note);

} // namespace lx
