#include "viewer/core/htmlclean.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

namespace lx::viewer {

namespace {

using std::string_view;

bool IsOneOf(string_view name, std::initializer_list<string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Elements whose whole content goes with them.
bool DropsContent(string_view name) {
    return IsOneOf(name, {"script", "style", "iframe", "object", "applet", "frameset", "noscript",
                          "noframes", "noembed", "svg", "math", "xml", "template"});
}

// Tags dropped on their own (they have no content, or their content is harmless).
bool DropsTag(string_view name) {
    return IsOneOf(name, {"embed", "frame", "base", "meta", "link", "param", "bgsound", "keygen"});
}

bool IsUrlAttribute(string_view name) {
    return IsOneOf(name, {"href", "src", "action", "formaction", "background", "lowsrc", "dynsrc",
                          "data", "codebase", "cite", "poster", "xlink:href", "longdesc", "usemap",
                          "classid", "profile", "manifest", "srcset", "archive"});
}

std::string Lower(string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':';
}

// The value as a browser reads it, as far as scheme tests need: numeric references and the
// named ones that can spell a scheme or hide it in white space are decoded.
std::string DecodeReferences(string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '&') {
            out += value[i];
            continue;
        }
        std::size_t j = i + 1;
        long code = -1;
        if (j < value.size() && value[j] == '#') {
            const bool hex = j + 1 < value.size() && (value[j + 1] == 'x' || value[j + 1] == 'X');
            j += hex ? 2 : 1;
            const std::size_t digitsAt = j;
            while (j < value.size() && (hex ? std::isxdigit(static_cast<unsigned char>(value[j]))
                                            : std::isdigit(static_cast<unsigned char>(value[j]))))
                ++j;
            if (j > digitsAt && j - digitsAt < 9)
                code = std::strtol(std::string(value.substr(digitsAt, j - digitsAt)).c_str(),
                                   nullptr, hex ? 16 : 10);
        } else {
            while (j < value.size() && std::isalpha(static_cast<unsigned char>(value[j]))) ++j;
            const std::string name = Lower(value.substr(i + 1, j - i - 1));
            static const std::pair<string_view, char> kNamed[] = {
                {"colon", ':'}, {"tab", '\t'}, {"newline", '\n'}, {"amp", '&'},
                {"lt", '<'},    {"gt", '>'},   {"quot", '"'},     {"apos", '\''}};
            for (const auto& [n, c] : kNamed)
                if (name == n) code = static_cast<unsigned char>(c);
        }
        if (code < 0) {
            out += '&';
            continue;
        }
        out += code > 0 && code < 128 ? static_cast<char>(code) : '?';
        if (j < value.size() && value[j] == ';') ++j;
        i = j - 1;
    }
    return out;
}

// A URL attribute is kept without a scheme (relative) or with a scheme that only navigates.
bool UrlAllowed(string_view raw) {
    std::string url;
    for (char c : DecodeReferences(raw))
        if (static_cast<unsigned char>(c) > 0x20 && c != 0x7F)
            url += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::size_t colon = url.find(':');
    if (colon == std::string::npos) return true;
    const std::size_t pathAt = url.find_first_of("/?#");
    if (pathAt != std::string::npos && pathAt < colon) return true;
    return IsOneOf(string_view(url).substr(0, colon),
                   {"http", "https", "mailto", "ftp", "cid", "news"});
}

// Styles are kept only when they cannot name script, a binding or anything to load.
bool StyleAllowed(string_view raw) {
    const std::string style = Lower(DecodeReferences(raw));
    for (string_view bad :
         {"expression", "behavior", "binding", "script", "url", "import", "/*", "\\"})
        if (style.find(bad) != std::string::npos) return false;
    return true;
}

bool AttributeAllowed(const std::string& name, string_view value) {
    if (name.empty() || name.compare(0, 2, "on") == 0) return false;
    if (IsOneOf(name, {"datasrc", "datafld", "dataformatas", "http-equiv", "formaction"}))
        return false;
    if (name == "style") return StyleAllowed(value);
    if (IsUrlAttribute(name)) return UrlAllowed(value);
    return true;
}

std::string QuotedValue(string_view value) {
    std::string out;
    for (char c : value) {
        switch (c) {
        case '"': out += "&quot;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '`': out += "&#96;"; break;
        case '\0': break;
        default: out += c;
        }
    }
    return out;
}

struct Tag {
    std::string name; // lower case
    bool closing = false;
    std::string attributes; // the kept ones, each with its leading blank
    std::size_t end = 0;    // index behind the ">"
};

// Reads the tag at `at` (text[at] is "<" and a letter or "/" and a letter follows). False when
// the tag never ends: the rest of the text is then not markup that can be shown safely.
bool ReadTag(string_view text, std::size_t at, Tag* tag) {
    std::size_t i = at + 1;
    tag->closing = text[i] == '/';
    if (tag->closing) ++i;
    const std::size_t nameAt = i;
    while (i < text.size() && IsNameChar(text[i])) ++i;
    tag->name = Lower(text.substr(nameAt, i - nameAt));
    while (i < text.size() && text[i] != '>') {
        if (IsSpace(text[i]) || text[i] == '/') {
            ++i;
            continue;
        }
        const std::size_t attrAt = i;
        while (i < text.size() && !IsSpace(text[i]) && text[i] != '>' && text[i] != '/' &&
               text[i] != '=')
            ++i;
        const std::string name = Lower(text.substr(attrAt, i - attrAt));
        while (i < text.size() && IsSpace(text[i])) ++i;
        string_view value;
        bool hasValue = false;
        if (i < text.size() && text[i] == '=') {
            hasValue = true;
            ++i;
            while (i < text.size() && IsSpace(text[i])) ++i;
            if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
                const char quote = text[i++];
                const std::size_t close = text.find(quote, i);
                if (close == string_view::npos) return false;
                value = text.substr(i, close - i);
                i = close + 1;
            } else {
                const std::size_t valueAt = i;
                while (i < text.size() && !IsSpace(text[i]) && text[i] != '>') ++i;
                value = text.substr(valueAt, i - valueAt);
            }
        }
        const bool nameOk = !name.empty() && std::all_of(name.begin(), name.end(), IsNameChar);
        // The value is judged as it will be written: without its zero bytes, which could
        // otherwise join the pieces of a reference ("&#\0115;") only once written.
        std::string written(value);
        written.erase(std::remove(written.begin(), written.end(), '\0'), written.end());
        if (tag->closing || !nameOk || !AttributeAllowed(name, written)) continue;
        tag->attributes += " " + name;
        if (hasValue) tag->attributes += "=\"" + QuotedValue(written) + "\"";
    }
    if (i >= text.size()) return false;
    tag->end = i + 1;
    return true;
}

// Index behind the closing tag of `name` in the lower-cased text, or the end of the text.
std::size_t SkipContent(const std::string& lowered, std::size_t from, const std::string& name) {
    const std::string closing = "</" + name;
    std::size_t at = from;
    while ((at = lowered.find(closing, at)) != std::string::npos) {
        const std::size_t after = at + closing.size();
        if (after >= lowered.size() || !IsNameChar(lowered[after])) {
            const std::size_t gt = lowered.find('>', after);
            return gt == std::string::npos ? lowered.size() : gt + 1;
        }
        at = after;
    }
    return lowered.size();
}

// Index behind a comment, declaration or processing instruction starting at `at`.
std::size_t SkipSpecial(string_view text, std::size_t at) {
    if (text.compare(at, 4, "<!--") == 0) {
        const std::size_t end = text.find("-->", at + 4);
        return end == string_view::npos ? text.size() : end + 3;
    }
    const std::size_t end = text.find('>', at);
    return end == string_view::npos ? text.size() : end + 1;
}

} // namespace

std::string CleanHtmlBody(string_view html) {
    std::string out;
    out.reserve(html.size());
    const std::string lowered = Lower(html); // for finding the end of dropped content
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '\0') {
            ++i;
            continue;
        }
        if (c != '<') {
            out += c;
            ++i;
            continue;
        }
        const char next = i + 1 < html.size() ? html[i + 1] : '\0';
        if (next == '!' || next == '?') {
            i = SkipSpecial(html, i);
            continue;
        }
        const char first = next == '/' && i + 2 < html.size() ? html[i + 2] : next;
        if (!std::isalpha(static_cast<unsigned char>(first))) {
            out += "&lt;";
            ++i;
            continue;
        }
        Tag tag;
        if (!ReadTag(html, i, &tag)) break;
        i = tag.end;
        if (DropsContent(tag.name)) {
            if (!tag.closing) i = SkipContent(lowered, i, tag.name);
            continue;
        }
        if (DropsTag(tag.name)) continue;
        out += (tag.closing ? "</" : "<") + tag.name + tag.attributes + ">";
    }
    return out;
}

} // namespace lx::viewer
