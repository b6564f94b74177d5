// The catalogue texts the viewer's page, simple view and load errors use, looked up once.
#pragma once

#include <string>

#include "common/catalog/msgcatalog.h"
#include "viewer/core/pagewriter.h"
#include "viewer/core/simpletext.h"

namespace lx::viewer {

// The month names (MAINFRM_CPP_1 to 12) and the text for a part that could not be read
// (MAINFRM_CPP_43).
PageTexts PageTextsFrom(const MessageCatalog& catalog);
// The simple view's labels (SIMPLEVW_CPP_1 to 7).
SimpleViewLabels SimpleViewLabelsFrom(const MessageCatalog& catalog);
// What the message id holds when the message could not be read (MAINFRM_CPP_13) or the store
// could not be reached (MAINFRM_CPP_48); both contain "Error:".
std::string MessageUnreadableText(const MessageCatalog& catalog);
std::string StoreUnreachableText(const MessageCatalog& catalog);

} // namespace lx::viewer
