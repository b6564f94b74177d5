#include "mailer/addressing/logic/abook_export.h"

#include "common/settings/file_io.h"

#include <cstddef>
#include <cstdint>

namespace lx {
namespace {

std::string Quoted(const std::string& value) {
    std::string out = "\"";
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"') {
            out += "\"\"";
        } else if (c == '\r' || c == '\n') {
            out += ' ';
            // A CR LF pair is one line break: one blank.
            if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace

std::string ExportLine(const std::string& name, const std::string& dest, const std::string& note) {
    return Quoted(name) + "," + Quoted(dest) + "," + Quoted(note) + "\r\n";
}

std::string ExportText(const std::vector<ExportedAddress>& addresses) {
    std::string text = ExportLine("Name", "Email Address", "Notes");
    for (const ExportedAddress& a : addresses) text += ExportLine(a.name, a.dest, a.note);
    return text;
}

bool WriteAddressExport(const std::string& path, const std::vector<ExportedAddress>& addresses) {
    const std::string text = ExportText(addresses);
    return WriteFileBytes(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

} // namespace lx
