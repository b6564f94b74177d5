// Printing the shown message with the print engine, laid out as the main program prints messages,
// in the four print fonts of the message font files.
#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "common/msgprint/msgprint_layout.h"
#include "common/win/handles.h"
#include "viewer/core/pipeline.h"

namespace lx {
class MessageCatalog;
}

namespace lx::viewer {

class MessagePrinter {
public:
    // Loads the four print fonts from their files in `installFolder`; a missing file gives the
    // main program's default for that font.
    MessagePrinter(MessageCatalog& catalog, const std::string& installFolder);
    // Shows the print dialog, then prints the message as one job.
    void Print(HWND frame, const MessageData& data) const;

private:
    MessagePrintTexts texts_;
    std::array<Font, 4> fonts_;
};

} // namespace lx::viewer
