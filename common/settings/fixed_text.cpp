#include "common/settings/fixed_text.h"

#include <cstring>

namespace lx {

void CopyText(char* field, std::size_t size, const char* text) {
    if (size == 0) return;
    std::size_t n = 0;
    if (text != nullptr) {
        while (n + 1 < size && text[n] != '\0') ++n;
        std::memmove(field, text, n);
    }
    std::memset(field + n, 0, size - n);
}

std::string TextOf(const char* field, std::size_t size) {
    std::size_t n = 0;
    while (n < size && field[n] != '\0') ++n;
    return std::string(field, n);
}

std::string CutTo(const std::string& text, std::size_t chars) {
    return text.size() <= chars ? text : text.substr(0, chars);
}

} // namespace lx
