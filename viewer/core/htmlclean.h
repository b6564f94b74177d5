// An HTML message body made safe to show: the body file the message page links to holds the
// message's markup without anything that runs or loads active content.
#pragma once

#include <string>
#include <string_view>

namespace lx::viewer {

// Rebuilds the markup tag by tag:
// - script, style, iframe, object, applet, frameset, noscript, noframes, noembed, svg, math, xml
//   and template elements are dropped with their content; embed, frame, base, meta, link,
//   param, bgsound and keygen tags are dropped;
// - comments, declarations and processing instructions are dropped;
// - event attributes ("on..."), data binding attributes and styles that could run script are
//   dropped; URL attributes are kept only with http, https, mailto, ftp, cid or news (or no
//   scheme at all);
// - every kept attribute value is written double-quoted; a "<" that opens no tag becomes "&lt;".
std::string CleanHtmlBody(std::string_view html);

} // namespace lx::viewer
