// libFuzzer target: a message body of any bytes as the viewer puts it on its page. An HTML body
// is cleaned of everything that runs or loads active content, and cleaning it again changes
// nothing (what the first pass kept the second would keep too); a plain body becomes escaped
// lines whose only markup is line breaks and anchors to web and mail addresses.
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/common/fuzzutil.h"
#include "viewer/core/bodytext.h"
#include "viewer/core/htmlclean.h"
#include "viewer/core/htmltext.h"

namespace {

namespace v = lx::viewer;

std::string Lower(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

void CheckClean(const std::string& body) {
    const std::string clean = v::CleanHtmlBody(body);
    FUZZ_CHECK(clean.find('\0') == std::string::npos);
    const std::string lower = Lower(clean);
    for (const char* banned :
         {"<script", "<iframe", "<object", "<embed", "<style", "<svg", "<math", "<meta", "<base",
          "<link", "<frame", "<applet", "<!", "<?", "<template", "<noscript", "<xml"}) {
        const std::size_t at = lower.find(banned);
        // "<frame" also begins "<frameset", dropped too; a longer name ("<links") is another tag.
        if (at == std::string::npos) continue;
        const char after =
            at + std::strlen(banned) < lower.size() ? lower[at + std::strlen(banned)] : ' ';
        FUZZ_CHECK(std::strcmp(banned, "<!") != 0 && std::strcmp(banned, "<?") != 0 &&
                   (std::isalnum(static_cast<unsigned char>(after)) || after == '-' ||
                    after == '_' || after == ':'));
    }
    FUZZ_CHECK(v::CleanHtmlBody(clean) == clean);
}

void CheckPlain(const std::string& body) {
    const std::string page = v::ConvertPlainBody(body);
    for (std::size_t at = page.find('<'); at != std::string::npos; at = page.find('<', at + 1)) {
        if (page.compare(at, 4, "<BR>") == 0 || page.compare(at, 4, "</A>") == 0) continue;
        FUZZ_CHECK(page.compare(at, 9, "<A HREF=\"") == 0);
        const std::size_t close = page.find('"', at + 9);
        FUZZ_CHECK(close != std::string::npos && page.compare(close, 2, "\">") == 0);
        const std::string href = Lower(page.substr(at + 9, close - at - 9));
        // Only links that navigate, nothing that breaks out of the attribute.
        FUZZ_CHECK(href.rfind("http://", 0) == 0 || href.rfind("https://", 0) == 0 ||
                   href.rfind("mailto:", 0) == 0);
        FUZZ_CHECK(href.find_first_of("<>") == std::string::npos);
    }
    const std::string line = body.substr(0, body.find_first_of("\r\n"));
    for (const std::string& text : {v::EscapeText(line), v::EscapeAttribute(line)})
        FUZZ_CHECK(text.find_first_of("<>\"'") == std::string::npos);
    // A header's line breaks become "<BR>", its only markup.
    std::string header = v::EscapeHeader(body);
    for (std::size_t at; (at = header.find("<BR>")) != std::string::npos;) header.erase(at, 4);
    FUZZ_CHECK(header.find_first_of("<>\"'\r\n") == std::string::npos);
    v::IsHtmlBody(body, true);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    CheckClean(body);
    CheckPlain(body);
    return 0;
}
