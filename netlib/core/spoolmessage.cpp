#include "netlib/core/spoolmessage.h"

namespace lx::net {
namespace {

constexpr std::size_t kDataCountWidth = 23;
const char kDataCountHead[] = "BEGIN DATA ";

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// "BEGIN DATA n" padded with blanks to 23 characters; false for anything else.
bool parseDataCount(const std::string& line, std::int64_t& total) {
    if (line.size() != kDataCountWidth || !startsWith(line, kDataCountHead)) return false;
    std::size_t i = sizeof kDataCountHead - 1;
    total = 0;
    bool digits = false;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        total = total * 10 + (line[i] - '0');
        digits = true;
    }
    for (; i < line.size(); ++i)
        if (line[i] != ' ') return false;
    return digits;
}

// Whether the line can go to the server as it stands: a lone CR inside it would end the line
// for a server that takes a bare CR as a line end, and the rest would count as another command
// (or, in the data, another line: "x<CR>.<CR>" would end the message early). The preparer never
// writes one; a zero byte has no place in a command either.
bool carriable(const std::string& line, bool command) {
    return line.find('\r') == std::string::npos &&
           (!command || line.find('\0') == std::string::npos);
}

// The data section: exactly `total` bytes of lines that SMTP can carry, then the CR LF the
// preparer adds and the "END DATA" line.
bool checkData(SpoolReader& reader, std::int64_t total) {
    std::string line;
    for (std::int64_t left = total; left > 0;)
        if (reader.readData(line, left) != SpoolReader::Read::Line || !carriable(line, false))
            return false;
    std::int64_t lineEnd = 2; // both bytes of it: a lone LF would mean the count took the CR
    return reader.readData(line, lineEnd) == SpoolReader::Read::Line && lineEnd == 0 &&
           line.empty() && reader.read(line) == SpoolReader::Read::Line && line == "END DATA";
}

} // namespace

bool isSenderLine(const std::string& line) {
    return line.size() >= 5 && line[0] == 'F' && line[4] == ':';
}

SectionRead readSection(SpoolReader& reader, SpoolMessage& message) {
    std::string line;
    for (;;) {
        const SpoolReader::Read r = reader.read(line);
        if (r == SpoolReader::Read::End) return SectionRead::NoMore;
        if (r == SpoolReader::Read::Line && line == "BEGIN MESSAGE HEADER") break;
    }
    const std::int64_t resume = reader.tell();
    message = SpoolMessage();
    const auto broken = [&] {
        reader.seek(resume);
        return SectionRead::Broken;
    };
    if (!reader.next(line) || !isSenderLine(line) || !carriable(line, true)) return broken();
    message.senderLine = line;
    for (;;) {
        if (!reader.next(line)) return broken();
        if (line == "END MESSAGE HEADER") break;
        if (!startsWith(line, "TO:<") || !carriable(line, true)) return broken();
        message.recipientLines.push_back(line);
    }
    if (!reader.next(line) || !parseDataCount(line, message.dataTotal)) return broken();
    message.dataAt = reader.tell();
    if (!checkData(reader, message.dataTotal)) return broken();
    message.endAt = reader.tell();
    return SectionRead::Whole;
}

} // namespace lx::net
