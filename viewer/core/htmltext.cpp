#include "viewer/core/htmltext.h"

namespace lx::viewer {

namespace {

// Appends the reference for a markup character; false for any other character.
bool AppendReference(std::string& out, char c) {
    switch (c) {
    case '&': out += "&amp;"; return true;
    case '<': out += "&lt;"; return true;
    case '>': out += "&gt;"; return true;
    case '"': out += "&quot;"; return true;
    case '\'': out += "&#39;"; return true;
    default: return false;
    }
}

} // namespace

std::string EscapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (!AppendReference(out, c)) out += c;
    return out;
}

std::string EscapeHeader(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "<BR>";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (!AppendReference(out, c)) {
            out += c;
        }
    }
    return out;
}

std::string EscapeAttribute(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) continue;
        if (!AppendReference(out, c)) out += c;
    }
    return out;
}

} // namespace lx::viewer
