// Escaping of texts from a message for the message page, so that no sender, subject, recipient
// or file name can add markup or script to the page.
#pragma once

#include <string>
#include <string_view>

namespace lx::viewer {

// Text content: "&", "<", ">", double quote and apostrophe become character references.
std::string EscapeText(std::string_view text);

// A header value (sender, message id, dates, subject, names): escaped as text, and each line end
// (CR, with the LF after it, or a lone LF) becomes "<BR>".
std::string EscapeHeader(std::string_view text);

// An attribute value between double quotes: the same references as text, and control
// characters dropped (browsers ignore them inside URLs, which would hide a scheme).
std::string EscapeAttribute(std::string_view text);

} // namespace lx::viewer
