// A settings file or registry value that could not be written is never passed over in silence:
// a change the user asked for is answered with a box, a write the program makes on its own
// (start-up, closing) is noted in the log, Lorvex.Log.
#pragma once
#include "common/catalog/textformat.h"

#include <windows.h>
#include <vector>
#include <string>

namespace lx {
class MessageCatalog;

// What the registry writes are named as in the notices.
constexpr char kRegistrySettingsName[] =
    "the registry (HKEY_CURRENT_USER\\Software\\Quorbit\\Lorvex)";

// Tells the user that `where` (a settings file name, or kRegistrySettingsName) was not written:
// the change holds until Lorvex closes. Returns `written` so callers can pass a result through.
bool ReportIfNotSaved(bool written, HWND owner, MessageCatalog* catalog, const char* where);

// Notes the catalogue text `key`, filled with `args`, in the log of the installation folder as a
// block of its own framed by the two stamps. False when the log cannot be written.
bool LogNotice(const std::string& installPath, MessageCatalog& catalog, const char* key,
               const std::vector<FormatArg>& args);

// Notes in the log of the installation folder that `where` was not written, as a block of its
// own framed by the two stamps. Returns `written`.
bool LogIfNotSaved(bool written, const std::string& installPath, MessageCatalog* catalog,
                   const char* where);

} // namespace lx
