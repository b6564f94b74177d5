// Reading integer fields of dialogs (portable).
#pragma once

namespace lx {

// Reads a whole decimal integer: optional blanks, an optional sign, digits, optional blanks.
// False for anything else or a value outside the int range.
bool ParseInt(const char* text, int* value);

} // namespace lx
