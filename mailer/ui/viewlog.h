// The "View Log File" dialog: shows Lorvex.Log and can delete it.
#pragma once
#include <windows.h>

namespace lx {
class MessageCatalog;

struct ViewLogData {
    const char* installPath; // folder holding Lorvex.Log
    MessageCatalog* catalog; // texts
    bool deleted;            // out: the user deleted the log
};

INT_PTR ShowViewLogDialog(HWND owner, ViewLogData* data);

} // namespace lx
