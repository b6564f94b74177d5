#include "mailer/addressing/mapiaddr.h"

#include "common/win/handles.h"

#include <mapi.h>

namespace lx {
namespace {

// Log-on flags: the log-on dialog if needed, a session of our own, the address dialog allowed.
constexpr FLAGS kMapiLogonFlags = MAPI_LOGON_UI | MAPI_NEW_SESSION | MAPI_DIALOG; // 11

struct MapiEntries {
    LPMAPILOGON logon = nullptr;
    LPMAPILOGOFF logoff = nullptr;
    LPMAPIADDRESS address = nullptr;
    LPMAPIFREEBUFFER freeBuffer = nullptr;
};

// The entry points in the order the user is told about them; the key of the first missing one.
const char* BindEntries(const Module& library, MapiEntries* entries) {
    if (!library.Bind(entries->logon, "MAPILogon")) return "IMPORTAD_CPP_29";
    if (!library.Bind(entries->logoff, "MAPILogoff")) return "IMPORTAD_CPP_30";
    if (!library.Bind(entries->address, "MAPIAddress")) return "IMPORTAD_CPP_31";
    if (!library.Bind(entries->freeBuffer, "MAPIFreeBuffer")) return "IMPORTAD_CPP_32";
    return nullptr;
}

std::string TextOf(const char* text) { return text ? text : ""; }

} // namespace

MapiPick PickMapiRecipients(HWND parent, const char* library) {
    MapiPick pick;
    Module mapi(library);
    if (!mapi) {
        pick.missingKey = "IMPORTAD_CPP_28";
        return pick;
    }
    MapiEntries entries;
    pick.missingKey = BindEntries(mapi, &entries);
    if (pick.missingKey) return pick;

    const ULONG_PTR owner = reinterpret_cast<ULONG_PTR>(parent);
    LHANDLE session = 0;
    if (entries.logon(owner, nullptr, nullptr, kMapiLogonFlags, 0, &session) != SUCCESS_SUCCESS)
        return pick;
    char caption[] = "MAPI Address Book";
    char label[] = "Add";
    ULONG count = 0;
    lpMapiRecipDesc chosen = nullptr;
    if (entries.address(session, owner, caption, 1, label, 0, nullptr, 0, 0, &count, &chosen) ==
        SUCCESS_SUCCESS) {
        pick.chosen = true;
        for (ULONG i = 0; chosen && i < count; ++i)
            pick.recipients.push_back({TextOf(chosen[i].lpszName), TextOf(chosen[i].lpszAddress)});
    }
    if (chosen) entries.freeBuffer(chosen);
    entries.logoff(session, owner, 0, 0);
    return pick;
}

} // namespace lx
