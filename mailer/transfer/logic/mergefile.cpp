#include "mailer/transfer/logic/mergefile.h"

namespace lx {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Control characters would corrupt the envelope line; a blank or an angle bracket means the line
// holds a display name or more than one address.
bool Plausible(const std::string& address) {
    if (address.empty()) return false;
    for (char ch : address) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7f || c == ' ' || c == '<' || c == '>') return false;
    }
    return true;
}

std::string Trimmed(const char* begin, const char* end) {
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
    return std::string(begin, end);
}

} // namespace

MergeList ReadMergeList(const char* bytes, std::size_t size) {
    MergeList list;
    if (!bytes) return list;
    const char* p = bytes;
    const char* const end = bytes + size;
    if (size >= 3 && static_cast<unsigned char>(p[0]) == 0xEF &&
        static_cast<unsigned char>(p[1]) == 0xBB && static_cast<unsigned char>(p[2]) == 0xBF)
        p += 3;
    for (int number = 1; p < end; ++number) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n') ++lineEnd;
        const std::size_t length = static_cast<std::size_t>(lineEnd - p);
        if (length == 0) break; // the first empty line ends the list
        MergeLineRefusal refusal;
        refusal.line = number;
        refusal.text.assign(p, length > kMergeLineLimit ? kMergeLineLimit : length);
        const std::string address = Trimmed(p, lineEnd);
        if (length > kMergeLineLimit) {
            refusal.why = MergeLineProblem::TooLong;
            list.refused.push_back(refusal);
        } else if (!Plausible(address)) {
            refusal.why = MergeLineProblem::NotAnAddress;
            list.refused.push_back(refusal);
        } else if (address.size() > kMergeAddressLimit) {
            refusal.why = MergeLineProblem::AddressTooLong;
            list.refused.push_back(refusal);
        } else {
            list.addresses.push_back(address);
        }
        p = lineEnd;
        if (p < end && *p == '\r') ++p;
        if (p < end && *p == '\n' && (p == lineEnd || p[-1] == '\r')) ++p;
    }
    return list;
}

} // namespace lx
