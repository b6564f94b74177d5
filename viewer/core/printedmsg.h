// The shown message in the form the print layout takes.
#pragma once
#include "common/msgprint/msgprint_layout.h"
#include "viewer/core/pipeline.h"

namespace lx::viewer {

// Always titled and labelled as a received message: the viewer prints its sender, message id
// and date sent whatever the message's type. The body is the mail data up to MesgSize bytes.
PrintedMessage PrintedFromViewer(const MessageData& data);

} // namespace lx::viewer
