// Printing messages with the print engine, as both programs do: one job, each message from a new
// page numbered from 1, with its title, header block, body pages and footer band.
#pragma once
#include "common/msgprint/msgprint_layout.h"
#include "common/msgprint/win/pageframe.h"
#include "common/settings/font_desc.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <functional>

namespace lx {

enum class PrintOutcome { Printed, NotStarted, Cancelled, StoppedAtRow };

struct MessagePrintRun {
    HWND owner = nullptr;
    const MessagePrintTexts* texts = nullptr;
    MessagePrintFonts fonts{};
    std::size_t count = 0;
    // Reads message `index`; false stops the job cleanly after the pages before it.
    std::function<bool(std::size_t index, PrintedMessage* message)> read;
    // Told when the engine cannot be made.
    std::function<void()> noMemory;
};

// Shows the print dialog (cancelling it prints nothing), then prints the messages in one job.
PrintOutcome PrintMessageRun(const MessagePrintRun& run);

} // namespace lx
