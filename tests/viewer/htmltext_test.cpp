// Escaping of message texts for the page, and plain bodies turned into page lines with links.
#include <gtest/gtest.h>

#include <string>

#include "viewer/core/bodytext.h"
#include "viewer/core/htmltext.h"

namespace {

using namespace lx::viewer;

struct TextCase {
    std::string in, out;
};

TEST(PageEscaping, HeaderValues) {
    const TextCase cases[] = {
        {"ann@example.org", "ann@example.org"},
        {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
        // What once passed as an anchor is text now.
        {"<A HREF=\"javascript:x\">y</A>", "&lt;A HREF=&quot;javascript:x&quot;&gt;y&lt;/A&gt;"},
        {"Tom & Jerry's", "Tom &amp; Jerry&#39;s"},
        {"<1234@host>", "&lt;1234@host&gt;"},
        {"one\r\ntwo", "one<BR>two"},
        {"one\rtwo", "one<BR>two"},
        {"one\ntwo", "one<BR>two"},
        {"end\r", "end<BR>"},
        {"", ""},
    };
    for (const TextCase& c : cases) EXPECT_EQ(EscapeHeader(c.in), c.out) << c.in;
}

TEST(PageEscaping, AttributeValuesLoseControlCharacters) {
    const TextCase cases[] = {
        {"a\"onmouseover=\"x", "a&quot;onmouseover=&quot;x"},
        {"java\tscript:\r\n", "javascript:"},
        {"x<y>", "x&lt;y&gt;"},
    };
    for (const TextCase& c : cases) EXPECT_EQ(EscapeAttribute(c.in), c.out) << c.in;
}

TEST(PlainBody, LinksAndTrailingPunctuation) {
    const TextCase cases[] = {
        {"see www.example.org.", "see <A HREF=\"http://www.example.org\">www.example.org</A>."},
        {"http://example.org/a/b), next",
         "<A HREF=\"http://example.org/a/b\">http://example.org/a/b</A>), next"},
        {"(www.example.org)", "(<A HREF=\"http://www.example.org\">www.example.org</A>)"},
        {"HTTPS://EXAMPLE.ORG/X", "<A HREF=\"HTTPS://EXAMPLE.ORG/X\">HTTPS://EXAMPLE.ORG/X</A>"},
        {"mail mailto:ann@example.org now",
         "mail <A HREF=\"mailto:ann@example.org\">mailto:ann@example.org</A> now"},
        // A "www." directly behind ftp:// is left alone; behind http:// it is one link.
        {"ftp://www.example.org", "ftp://www.example.org"},
        {"http://www.example.org", "<A HREF=\"http://www.example.org\">http://www.example.org</A>"},
        // Only real schemes make links.
        {"httpd.conf and wwwroot", "httpd.conf and wwwroot"},
        {"javascript:alert(1)", "javascript:alert(1)"},
        // Markup in the text or in a link is escaped, never opened.
        {"<b>bold</b> & more", "&lt;b&gt;bold&lt;/b&gt; &amp; more"},
        {"http://x.org/\"onclick=\"alert(1)",
         "<A HREF=\"http://x.org/\">http://x.org/</A>&quot;onclick=&quot;alert(1)"},
        {"http://x.org/a?b=1&c=<2>",
         "<A HREF=\"http://x.org/a?b=1&amp;c=\">http://x.org/a?b=1&amp;c=</A>&lt;2&gt;"},
        {"<http://x.org/a?b=1&c=2>",
         "&lt;<A HREF=\"http://x.org/a?b=1&amp;c=2\">http://x.org/a?b=1&amp;c=2</A>&gt;"},
    };
    for (const TextCase& c : cases) EXPECT_EQ(ConvertBodyLine(c.in), c.out) << c.in;
}

TEST(PlainBody, LineEnds) {
    const TextCase cases[] = {
        {"a\r\nb\r\n", "a<BR>\r\nb<BR>\r\n"},
        {"a\r\n\r\nb", "a<BR>\r\n<BR>\r\nb<BR>\r\n"},
        {"a\n\nb", "a<BR>\r\n<BR>\r\nb<BR>\r\n"},
        // A lone CR keeps the character after it.
        {"a\rb", "a<BR>\r\nb<BR>\r\n"},
        {std::string("a\r\nb\0c\r\n", 8), "a<BR>\r\nb<BR>\r\n"},
        {"", ""},
    };
    for (const TextCase& c : cases) EXPECT_EQ(ConvertPlainBody(c.in), c.out) << c.in;
}

TEST(PlainBody, HtmlBodyTest) {
    struct Case {
        const char* body;
        bool messageMode, html;
    } cases[] = {
        {"   <HTML><BODY>x</BODY></HTML>", true, true},
        {"<!DOCTYPE html><html></html>", true, true},
        {"   <html><body>x</body></html>", true, false},
        {"<HTML>x", true, false}, // not longer than 8 characters
        {"<HTML><BODY>x</BODY></HTML>", false, false},
        {"\t<HTML><BODY>x</BODY></HTML>", true, false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsHtmlBody(c.body, c.messageMode), c.html) << c.body;
}

TEST(PlainBody, LongLinesAndLinksAreWrittenWhole) {
    const std::string line(100000, 'x');
    EXPECT_EQ(ConvertPlainBody(line), line + "<BR>\r\n");
    const std::string link = "http://example.org/" + std::string(100000, 'a');
    EXPECT_EQ(ConvertBodyLine(link), "<A HREF=\"" + link + "\">" + link + "</A>");
    const std::string angles(100000, '<');
    std::string escaped;
    for (int i = 0; i < 100000; ++i) escaped += "&lt;";
    EXPECT_EQ(ConvertBodyLine(angles), escaped);
}

} // namespace
