#include "common/win/intfield.h"

#include <cctype>
#include <climits>

namespace lx {

bool ParseInt(const char* text, int* value) {
    if (!text) return false;
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
    long long v = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        v = v * 10 + (*p++ - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    while (*p == ' ' || *p == '\t') ++p;
    if (*p) return false;
    if (negative) v = -v;
    if (v > INT_MAX || v < INT_MIN) return false;
    *value = static_cast<int>(v);
    return true;
}

} // namespace lx
