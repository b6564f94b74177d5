// Choosing recipients in the mail system's own address book through Simple MAPI: the library is
// loaded by name for the one pick and released afterwards.
#pragma once
#include "mailer/addressing/logic/mapi_import.h"

#include <windows.h>

#include <vector>

namespace lx {

// The Simple MAPI library of the system.
constexpr const char kMapiLibrary[] = "MAPI32.DLL";

struct MapiPick {
    // The status key telling that the library or one of its entry points is missing; nullptr
    // when the mail system could be asked.
    const char* missingKey = nullptr;
    // The user confirmed the address dialog; `recipients` holds the chosen ones.
    bool chosen = false;
    std::vector<MapiRecipient> recipients;
};

// Logs on (with `parent` as the owner of the mail system's windows), shows the address dialog
// "MAPI Address Book" with one field "Add", frees its result and logs off. A refused log-on or a
// cancelled dialog chooses nothing.
MapiPick PickMapiRecipients(HWND parent, const char* library = kMapiLibrary);

} // namespace lx
