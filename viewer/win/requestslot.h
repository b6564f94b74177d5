// Sends a viewer request record to the main program through its mailslot.
#pragma once
#include <windows.h>

#include "common/viewreq/viewreqrecord.h"

namespace lx {
class MessageCatalog;
}

namespace lx::viewer {

enum class RequestDelivery { Sent, NoMailslot, WriteFailed, ShortWrite };

// Writes the 4073 bytes in one piece to `mailslot` (an existing mailslot only). A failure is
// shown in a message box owned by `owner` with the catalogue's texts.
RequestDelivery SendViewerRequest(HWND owner, MessageCatalog& catalog, const ViewerRequest& request,
                                  const char* mailslot = kViewerMailslotName);

} // namespace lx::viewer
