// Reading a message to print: its row, its whole body (however long) and its first recipient.
// Portable (store access component only); failures are reported to the owner window.
#pragma once
#include "common/msgprint/msgprint_layout.h"
#include "odbcvant/odbcvant.h"

namespace lx {

// The body is read into a buffer of this size first, and a larger one when it filled it.
constexpr std::size_t kPrintTextBuffer = 8192;

// False when the message is gone or cannot be read.
bool ReadPrintedMessage(odbcvantConnection* conn, HWND owner, long mesgNum, PrintedMessage* out);

} // namespace lx
