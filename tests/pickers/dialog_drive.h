// Driving the pickers' and the signature dialog's controls synchronously from a test.
#pragma once
#include "tests/startup/uitest.h"

namespace lxtest {

// A button's command, handled before this returns.
inline void Click(HWND dialog, int id) {
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

inline bool Enabled(HWND dialog, int id) {
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}

} // namespace lxtest
