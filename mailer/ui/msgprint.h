// "&Print Message ...": the selected messages of the list printed with the print engine, all in
// one job, each from a new page numbered from 1.
#pragma once
#include "common/msgprint/win/printjob.h"
#include "common/settings/font_desc.h"

#include <windows.h>

#include <functional>
#include <vector>

class odbcvantConnection;

namespace lx {
class MessageCatalog;
class CommandPlugs;

struct MessagePrintContext {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    // The four print fonts; nullptr (or no function) prints in the printer's default font.
    std::function<HFONT(MessageFont which)> font;
};

// Prints the messages in the given order. The print dialog comes first (cancelling it prints
// nothing); a message that cannot be read ends the job cleanly after the pages before it.
PrintOutcome PrintMessages(HWND owner, const MessagePrintContext& context,
                           const std::vector<long>& mesgNums);

// Plugs the command into `plugs` (the main window's): its argument names the messages ("12,15").
void PlugMessagePrinting(CommandPlugs& plugs, const MessagePrintContext& context);

} // namespace lx
