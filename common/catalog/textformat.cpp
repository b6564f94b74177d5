#include "common/catalog/textformat.h"

#include <cstdio>
#include <cstring>

namespace lx {

namespace {

// One conversion after its "%": copies the checked directive (length modifiers dropped)
// into directive and returns the conversion letter, or 0 when the directive is not allowed.
char ParseDirective(const char*& p, std::string& directive) {
    directive = "%";
    std::string flags;
    while (*p && std::strchr("-+ #0", *p)) flags += *p++;
    directive += flags;
    bool precision = false;
    for (int part = 0; part < 2; ++part) {
        if (part == 1) {
            if (*p != '.') break;
            precision = true;
            directive += *p++;
        }
        int digits = 0;
        while (*p >= '0' && *p <= '9') {
            if (++digits > 2) return 0;
            directive += *p++;
        }
    }
    if (*p == 'h') {
        ++p;
    } else if (*p == 'l') {
        ++p;
        if (*p == 'l') ++p;
    }
    char conv = *p;
    if (!conv || !std::strchr("diuxXocs", conv)) return 0;
    ++p;
    // Only the flag combinations whose meaning printf defines.
    bool textual = conv == 's' || conv == 'c';
    if (textual && flags.find_first_not_of('-') != std::string::npos) return 0;
    if (conv == 'c' && precision) return 0;
    if (flags.find('#') != std::string::npos && !std::strchr("xXo", conv)) return 0;
    return conv;
}

void Append(std::string& out, const char* directive, const FormatArg& arg, char conv) {
    char piece[512];
    int n;
    if (conv == 's') {
        n = std::snprintf(piece, sizeof piece, directive, arg.Text().c_str());
        // Texts longer than the piece buffer go in whole; the directive then only aligns them.
        if (n >= static_cast<int>(sizeof piece)) {
            out += arg.Text();
            return;
        }
    } else if (conv == 'c') {
        n = std::snprintf(piece, sizeof piece, directive, static_cast<int>(arg.Number()));
    } else {
        std::string wide(directive);
        wide.insert(wide.size() - 1, "ll");
        n = std::snprintf(piece, sizeof piece, wide.c_str(), arg.Number());
    }
    if (n > 0) out.append(piece, n < static_cast<int>(sizeof piece) ? n : sizeof piece - 1);
}

} // namespace

bool FormatText(const char* fmt, const std::vector<FormatArg>& args, std::string& out) {
    out.clear();
    if (!fmt) return false;
    std::string result;
    size_t next = 0;
    std::string directive;
    for (const char* p = fmt; *p;) {
        if (*p != '%') {
            result += *p++;
            continue;
        }
        ++p;
        if (*p == '%') {
            result += *p++;
            continue;
        }
        char conv = ParseDirective(p, directive);
        if (!conv || next >= args.size()) return false;
        const FormatArg& arg = args[next++];
        if ((conv == 's') != arg.IsText()) return false;
        directive += conv;
        Append(result, directive.c_str(), arg, conv);
    }
    if (next != args.size()) return false;
    out = std::move(result);
    return true;
}

std::string FormatTextOr(const char* fmt, const std::vector<FormatArg>& args,
                         const std::string& fallback) {
    std::string out;
    return FormatText(fmt, args, out) ? out : fallback;
}

} // namespace lx
