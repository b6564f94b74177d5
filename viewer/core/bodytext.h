// The message body on the message page: the test for an HTML body, and a plain-text body turned
// into page lines with its web and mail links made into anchors.
#pragma once

#include <string>
#include <string_view>

namespace lx::viewer {

// An HTML body: in message mode a text longer than 8 characters that, after leading blanks,
// starts with "<HTML>" or "<!DOCTYPE" (exactly as written).
bool IsHtmlBody(std::string_view body, bool messageMode);

// The body as page lines: each line (ended by CR LF, a lone CR or a lone LF) escaped and
// followed by "<BR>\r\n"; "http://", "https://", "mailto:" and "www." links become anchors.
// The body ends at its first zero byte.
std::string ConvertPlainBody(std::string_view body);

// One line of text (no line ends) converted as above, without the "<BR>\r\n".
std::string ConvertBodyLine(std::string_view line);

} // namespace lx::viewer
