// What the simple view (the presentation without a browser control) shows: the header box, the
// body box and the attachment list.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "viewer/core/msgrecord.h"

namespace lx::viewer {

// Labels of the header box, in order: from, subject, date sent, date received, message id,
// To, Cc.
using SimpleViewLabels = std::array<std::string, 7>;

struct SimpleViewTexts {
    std::string header;                   // upper read-only box
    std::string body;                     // lower read-only box
    std::vector<std::string> attachments; // list lines
    bool viewFileEnabled = false;         // "&View File" button
};

// The header box holds each label and value followed by CR LF; the plain To and Cc lists end
// their lines themselves. The body box holds the message text as stored (up to MesgSize bytes,
// never past the buffer).
SimpleViewTexts MakeSimpleViewTexts(const MessageRecord& record, std::size_t bufferSize,
                                    const RecipientList& to, const RecipientList& cc,
                                    const AttachmentList& attachments,
                                    const SimpleViewLabels& labels, const MonthNames& months);

} // namespace lx::viewer
