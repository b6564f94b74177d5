#include "viewer/core/cmdline.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace lx::viewer {

namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

// Where the keyword starts: the first occurrence outside quotes that follows a slash, else the
// first bare occurrence outside quotes.
std::size_t FindKeyword(std::string_view line, std::string_view keyword) {
    std::size_t bare = kNotFound;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
            continue;
        }
        if (quoted || line.compare(i, keyword.size(), keyword) != 0) continue;
        if (i > 0 && line[i - 1] == '/') return i;
        if (bare == kNotFound) bare = i;
    }
    return bare;
}

// A decimal number directly behind the keyword: leading white space, an optional sign, digits.
// Nothing readable, or a value outside the 32-bit range, gives 0.
std::int32_t NumberBehind(std::string_view line, std::size_t at) {
    std::size_t i = at;
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
    std::int64_t value = 0;
    bool digits = false;
    for (; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i) {
        digits = true;
        value = value * 10 + (line[i] - '0');
        if (value > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1) return 0;
    }
    if (!digits) return 0;
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max() ||
        value < std::numeric_limits<std::int32_t>::min())
        return 0;
    return static_cast<std::int32_t>(value);
}

bool ReadNumber(std::string_view line, std::string_view keyword, std::int32_t* value) {
    const std::size_t at = FindKeyword(line, keyword);
    if (at == kNotFound) return false;
    *value = NumberBehind(line, at + keyword.size());
    return true;
}

// The WAIT value: from the character after the one separator behind the keyword (normally the
// opening quote) up to the next double quote; empty without that quote or when overlong.
std::string WaitPage(std::string_view line) {
    constexpr std::string_view keyword = "WAIT";
    const std::size_t at = FindKeyword(line, keyword);
    if (at == kNotFound) return std::string();
    const std::size_t from = at + keyword.size() + 1;
    if (from > line.size()) return std::string();
    const std::size_t close = line.find('"', from);
    if (close == kNotFound || close - from > kMaxWaitPathLength) return std::string();
    return std::string(line.substr(from, close - from));
}

} // namespace

ViewerCommandLine ParseViewerCommandLine(std::string_view line) {
    ViewerCommandLine c;
    c.waitPage = WaitPage(line);
    c.browseMode = FindKeyword(line, "VIEWMASTER") != kNotFound;
    if (c.browseMode) return c;
    c.mesgNum = kMissingNumber;
    ReadNumber(line, "MESGNUM", &c.mesgNum);
    c.mesgSize = kMinMessageBufferSize;
    std::int32_t size = 0;
    if (ReadNumber(line, "MESGSIZE", &size))
        c.mesgSize = std::clamp(size, kMinMessageBufferSize, kMaxMessageBufferSize);
    c.trashCan = kMissingNumber;
    ReadNumber(line, "TRASHCAN", &c.trashCan);
    return c;
}

CommandLineVerdict CheckViewerCommandLine(std::string_view line, const ViewerCommandLine& c) {
    const bool blank = std::all_of(line.begin(), line.end(), [](char ch) {
        return std::isspace(static_cast<unsigned char>(ch));
    });
    if (blank) return CommandLineVerdict::Empty;
    if (c.waitPage.empty()) return CommandLineVerdict::NoWaitPage;
    if (!(c.mesgNum > 0 || c.mesgNum == kBrowseModeNumber))
        return CommandLineVerdict::BadMessageNumber;
    if (!(c.trashCan > 0 || c.trashCan == kBrowseModeNumber))
        return CommandLineVerdict::BadTrashNumber;
    return CommandLineVerdict::Usable;
}

} // namespace lx::viewer
