// "Incoming Mail Filter List": the rules of LORVEX.FLT by name, with adding, editing and deleting
// through "Manage Filter File". Every change is saved to the file at once.
#pragma once
#include <windows.h>

#include <string>

#include "mailer/transfer/filtmgr.h"

class odbcvantConnection;

namespace lx {
class MessageCatalog;
class CommandPlugs;

struct FilterListData {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr; // the folders a rule can file into
    std::string installPath;            // LORVEX.FLT and the help file
    AddressPicker pickAddress;          // the address book's picker, once there is one
};

// IDOK when the list was changed, IDCANCEL otherwise.
INT_PTR ShowFilterListDialog(HWND owner, FilterListData* data);

// Plugs the dialog into the main window's "Filter Manager" command.
void PlugFilterManager(CommandPlugs& plugs, const FilterListData& data);

} // namespace lx
