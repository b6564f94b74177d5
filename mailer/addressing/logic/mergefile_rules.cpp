#include "mailer/addressing/logic/mergefile_rules.h"

#include "common/settings/file_io.h"

#include <cctype>
#include <cstdint>

namespace lx {
namespace {

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Windows opens these devices whatever the folder and extension ("NUL.MMF" is the null device).
bool IsDeviceName(const std::string& name) {
    std::string base = Upper(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"})
        if (base == device) return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

bool IsRefusedCharacter(unsigned char c) {
    static const std::string refused = "\\/:*?\"<>|";
    return c < 0x20 || refused.find(static_cast<char>(c)) != std::string::npos;
}

} // namespace

MergeNameCheck CheckMergeFileName(const std::string& entered) {
    const std::string name = Trimmed(entered);
    if (name.empty()) return MergeNameCheck::Empty;
    if (name.size() > static_cast<std::size_t>(kMergeNameMaxLen)) return MergeNameCheck::TooLong;
    for (const char c : name)
        if (IsRefusedCharacter(static_cast<unsigned char>(c))) return MergeNameCheck::NotPlainName;
    if (name.find("..") != std::string::npos || name.back() == '.')
        return MergeNameCheck::NotPlainName;
    if (IsDeviceName(name)) return MergeNameCheck::DeviceName;
    return MergeNameCheck::Ok;
}

std::string MergeFileName(const std::string& entered) { return Trimmed(entered) + ".MMF"; }

std::string MergeFileText(const std::vector<std::string>& to, const std::vector<std::string>& cc) {
    std::string text;
    for (const auto* group : {&to, &cc})
        for (const std::string& address : *group) text += address + "\r\n";
    return text;
}

bool WriteMergeFile(const std::string& path, const std::vector<std::string>& to,
                    const std::vector<std::string>& cc) {
    const std::string text = MergeFileText(to, cc);
    return WriteFileBytes(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

} // namespace lx
