#include "netlib/mime/safename.h"

#include <cctype>

namespace lx::mime {

namespace {

bool isReservedDevice(const std::string& name) {
    // Windows opens these as devices whatever extension follows.
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && (base.back() == ' ')) base.pop_back();
    for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const char* const kDevices[] = {"CON",    "PRN",     "AUX",   "NUL",
                                           "CONIN$", "CONOUT$", "CLOCK$"};
    for (const char* d : kDevices)
        if (base == d) return true;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
        base[3] >= '0' && base[3] <= '9')
        return true;
    return false;
}

} // namespace

std::string safeLeafName(const std::string& given) {
    // Only what follows the last folder or drive separator counts.
    std::size_t cut = given.find_last_of("\\/:");
    std::string name = cut == std::string::npos ? given : given.substr(cut + 1);
    std::string out;
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u == 0) break;
        if (u < 32 || u == 127 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' ||
            c == '*')
            c = '_';
        out.push_back(c);
    }
    // Leading blanks and trailing blanks or full stops are dropped by Windows: trim them here.
    std::size_t first = out.find_first_not_of(' ');
    out = first == std::string::npos ? std::string() : out.substr(first);
    while (!out.empty() && (out.back() == ' ' || out.back() == '.')) out.pop_back();
    if (out.empty()) return out;
    if (isReservedDevice(out)) out.insert(out.begin(), '_');
    std::size_t tilde = out.find('~');
    if (tilde != std::string::npos) out[tilde] = '_';
    if (out.size() > kMaxPartName) out.resize(kMaxPartName);
    return out;
}

} // namespace lx::mime
