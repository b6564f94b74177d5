// The composer's portable rules: what its command line asks for, recipient lines as they are
// stored, merging picked recipients, the quoted body of a reply, the limits every step honours,
// and the body rebuilt from its display lines.
#pragma once

#include "common/settings/fixed_text.h"
#include <cstddef>
#include <string>
#include <vector>

namespace lx {

// The body the composer stores and sends: at most this many characters.
constexpr std::size_t kMaxBodyChars = 32000;
// Attached files per message. The sending side carries any number of paths of up to 255
// characters, while a received message lists at most 12 attachments: 12 is the one limit that
// Select File, the command line, reopening a stored message and saving all keep.
constexpr std::size_t kMaxAttachments = 12;
// A path is attached only when shorter than this (the Files column holds 255 characters).
constexpr std::size_t kAttachmentPathLimit = 256;
// Widths of the form's return address and signature name (characters).
constexpr std::size_t kReturnAddressChars = 80;
constexpr std::size_t kSignatureNameChars = 32;
// The signature list's first entry: no signature.
constexpr char kNoSignature[] = "<NONE>";

// What a composer's command line asks for.
struct CommandLineIntent {
    std::string attachment; // a file path to attach (the Attachments tab is shown)
    std::string toAddress;  // the text after "mailto:"'s first colon, for the To text
    bool keepCommandLine = true;
};
// A line whose second character is ":" is a file path; one holding "mailto:" gives the text
// after its first ":" as an address (surrounding quotes and blanks dropped) and is used up.
CommandLineIntent InterpretCommandLine(const std::string& commandLine);

// The line with every blank (space, TAB) removed.
std::string RemoveBlanks(const std::string& line);
// The stored form of a To or Cc text: one entry per non-empty line (CR LF, CR or LF
// separated), every blank removed, lines that are empty afterwards dropped.
std::vector<std::string> RecipientLines(const std::string& text);
// Appends each CR LF separated line of `picked` that `text` does not already contain,
// preceded by CR LF when `text` is not empty.
void MergeRecipients(std::string& text, const std::string& picked);

// The four texts around a quoted earlier body (EDITFRAM_CPP_2 .. EDITFRAM_CPP_5).
struct QuoteTexts {
    std::string beginBefore, beginAfter, endBefore, endAfter;
};
// begin texts around the sender, CR LF, the earlier body, CR LF, end texts around the sender,
// CR LF.
std::string QuotedReplyBody(const std::string& sender, const std::string& earlierBody,
                            const QuoteTexts& texts);

// Whether a body of `chars` characters may be stored.
inline bool BodyFits(std::size_t chars) { return chars <= kMaxBodyChars; }
// Whether one more file may be attached to a list holding `count`.
inline bool CanAttachMore(std::size_t count) { return count < kMaxAttachments; }
// Whether a path may be attached (not empty, shorter than kAttachmentPathLimit).
inline bool AttachablePath(const std::string& path) {
    return !path.empty() && path.size() < kAttachmentPathLimit;
}
// Adds `path` unless the list is full or already holds it; true when added.
bool AddAttachment(std::vector<std::string>& files, const std::string& path);

// The line-break option: each display line (as wrapped on screen, read whole) followed by
// CR LF. A display line ends where the edit control wrapped it or at a hard line end.
std::string BodyWithLineBreaks(const std::vector<std::string>& displayLines);

} // namespace lx
