#include "viewer/core/bodytext.h"

#include <cctype>

#include "viewer/core/htmltext.h"

namespace lx::viewer {

namespace {

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix) {
    if (text.size() - at < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != prefix[i]) return false;
    return true;
}

enum class LinkKind { None, Full, Www };

// What starts at `at`: a link with its scheme, a "www." link, or nothing. A "www." written
// directly behind "ftp://" belongs to that address and is not linked on its own.
LinkKind LinkAt(std::string_view line, std::size_t at) {
    for (std::string_view scheme : {"http://", "https://", "mailto:"})
        if (StartsWithNoCase(line, at, scheme)) return LinkKind::Full;
    if (StartsWithNoCase(line, at, "www.")) {
        const bool behindFtp =
            at >= 6 && std::tolower(static_cast<unsigned char>(line[at - 6])) == 'f';
        return behindFtp ? LinkKind::None : LinkKind::Www;
    }
    return LinkKind::None;
}

// Punctuation that ends a link's target when it stands after the link's last "/" or ".".
constexpr std::string_view kLinkTrailers = "()<>,\"'";

// Splits the trailing punctuation off a link text: a final "." first, then, after the last "/"
// or ".", everything from the first trailer character on. Returns what was split off, in the
// order it stood.
std::string SplitTrailer(std::string& link) {
    bool finalDot = false;
    if (link.size() > 1 && link.back() == '.') {
        finalDot = true;
        link.pop_back();
    }
    const std::size_t mark = link.find_last_of("/.");
    const std::size_t from = mark == std::string::npos ? 0 : mark + 1;
    const std::size_t cut = link.find_first_of(kLinkTrailers, from);
    std::string trailer;
    if (cut != std::string::npos) {
        trailer = link.substr(cut);
        link.erase(cut);
    }
    if (finalDot) trailer += '.';
    return trailer;
}

bool EndsLink(char c) { return c == ' ' || c == '\t'; }

} // namespace

bool IsHtmlBody(std::string_view body, bool messageMode) {
    const std::size_t zero = body.find('\0');
    if (zero != std::string_view::npos) body = body.substr(0, zero);
    if (!messageMode || body.size() <= 8) return false;
    std::size_t at = 0;
    while (at < body.size() && body[at] == ' ') ++at;
    return body.compare(at, 6, "<HTML>") == 0 || body.compare(at, 9, "<!DOCTYPE") == 0;
}

std::string ConvertBodyLine(std::string_view line) {
    std::string out;
    out.reserve(line.size() + line.size() / 8);
    std::size_t i = 0;
    while (i < line.size()) {
        const LinkKind kind = LinkAt(line, i);
        if (kind == LinkKind::None) {
            out += EscapeText(line.substr(i, 1));
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < line.size() && !EndsLink(line[end])) ++end;
        std::string link(line.substr(i, end - i));
        const std::string trailer = SplitTrailer(link);
        out += "<A HREF=\"";
        if (kind == LinkKind::Www) out += "http://";
        out += EscapeAttribute(link) + "\">" + EscapeText(link) + "</A>" + EscapeText(trailer);
        i = end;
    }
    return out;
}

std::string ConvertPlainBody(std::string_view body) {
    const std::size_t zero = body.find('\0');
    if (zero != std::string_view::npos) body = body.substr(0, zero);
    std::string out;
    out.reserve(body.size() + body.size() / 4);
    std::size_t at = 0;
    while (at < body.size()) {
        std::size_t end = body.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = body.size();
        out += ConvertBodyLine(body.substr(at, end - at)) + "<BR>\r\n";
        at = end;
        if (at < body.size() && body[at] == '\r') {
            ++at;
            if (at < body.size() && body[at] == '\n') ++at;
        } else if (at < body.size()) {
            ++at; // a lone LF
        }
    }
    return out;
}

} // namespace lx::viewer
