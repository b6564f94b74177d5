#include "common/schema/subject.h"

#include <cstring>

namespace lx {

namespace {

const char kUnread = 'N';
const char kHasFiles = 'F';
const char kBlank = ' ';

bool HasTrailingSuffix(const char* s, size_t len) {
    if (len < kSubjectSuffixLen) return false;
    const char* p = s + len - kSubjectSuffixLen;
    return p[0] == '&' && p[1] == '&' && p[3] == '&';
}

// Position of the read-state letter, or npos when the value carries none.
size_t ReadLetterPos(const char* s, size_t len) {
    if (HasTrailingSuffix(s, len)) return len - kSubjectSuffixLen + 2;
    const char* amp = nullptr;
    for (size_t i = 0; i + 1 < len; ++i) {
        if (s[i] == '&' && s[i + 1] == '&') {
            amp = s + i;
            break;
        }
    }
    if (!amp) return std::string::npos;
    size_t pos = static_cast<size_t>(amp - s) + 2;
    return pos < len ? pos : std::string::npos;
}

} // namespace

std::string ComposeSubject(const std::string& text, bool unread, bool hasFiles) {
    std::string out(text.c_str()); // a stored value ends at its first NUL
    if (out.size() > kSubjectTextMax) out.resize(kSubjectTextMax);
    out += "&&";
    out += unread ? kUnread : kBlank;
    out += '&';
    out += hasFiles ? kHasFiles : kBlank;
    return out;
}

size_t ComposeSubject(const char* text, bool unread, bool hasFiles, char* out, size_t outSize) {
    if (!out || outSize == 0) return 0;
    std::string value = ComposeSubject(std::string(text ? text : ""), unread, hasFiles);
    size_t n = value.size() < outSize ? value.size() : outSize - 1;
    std::memcpy(out, value.data(), n);
    out[n] = '\0';
    return n;
}

SubjectParts ParseSubject(const std::string& stored) {
    SubjectParts parts;
    const char* s = stored.c_str();
    const size_t len = strnlen(s, stored.size());
    // The suffix has a fixed length and is always written last, so it is taken from the end:
    // a subject that itself holds "&&" ("Tom && Jerry") is shown whole.
    size_t base = std::string::npos;
    if (HasTrailingSuffix(s, len))
        base = len - kSubjectSuffixLen;
    else
        base = std::string(s, len).find("&&"); // a damaged value: its first "&&"
    if (base == std::string::npos) {
        parts.shown.assign(s, len);
        return parts;
    }
    parts.shown.assign(s, base);
    parts.hasSuffix = true;
    parts.unread = base + 2 < len && s[base + 2] == kUnread;
    parts.hasFiles = base + 4 < len && s[base + 4] == kHasFiles;
    return parts;
}

bool MarkSubjectRead(std::string& stored) {
    size_t len = strnlen(stored.c_str(), stored.size());
    size_t pos = ReadLetterPos(stored.c_str(), len);
    if (pos == std::string::npos || stored[pos] != kUnread) return false;
    stored[pos] = kBlank;
    return true;
}

bool MarkSubjectRead(char* stored, size_t size) {
    if (!stored || size == 0) return false;
    size_t len = strnlen(stored, size);
    size_t pos = ReadLetterPos(stored, len);
    if (pos == std::string::npos || stored[pos] != kUnread) return false;
    stored[pos] = kBlank;
    return true;
}

} // namespace lx
