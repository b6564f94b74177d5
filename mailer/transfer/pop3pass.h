// "Enter Mail Server Password": asked when the current mailbox keeps no password.
#pragma once
#include <windows.h>

namespace lx {

struct Pop3PassData {
    char password[128] = ""; // out: the password typed (at most 15 characters)
};

// IDOK when the user confirmed a password.
INT_PTR ShowPop3PassDialog(HWND owner, Pop3PassData* data);

} // namespace lx
