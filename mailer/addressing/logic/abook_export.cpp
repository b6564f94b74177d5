#include "mailer/addressing/logic/abook_export.h"

namespace lx {
namespace {

void AppendQuoted(std::string& line, const std::string& value) {
    line += '"';
    for (const char c : value) {
        if (c == '"')
            line += "\"\"";
        else if (c == '\r' || c == '\n')
            line += ' ';
        else
            line += c;
    }
    line += '"';
}

} // namespace

std::string FormatAddressExportLine(const std::string& name, const std::string& dest,
                                    const std::string& note) {
    std::string line;
    AppendQuoted(line, name);
    line += ',';
    AppendQuoted(line, dest);
    line += ',';
    AppendQuoted(line, note);
    line += "\r\n";
    return line;
}

} // namespace lx
