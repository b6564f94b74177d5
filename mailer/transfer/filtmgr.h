// "Manage Filter File": one incoming-mail filter rule, its texts, its action and target folder.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "mailer/transfer/logic/filterrule.h"

class odbcvantConnection;

namespace lx {
class MessageCatalog;

// Picks one address from the address book into `address` (`size` bytes, at least 81); true when
// the user chose one.
using AddressPicker = std::function<bool(HWND owner, char* address, size_t size)>;

struct ManageFilterData {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr; // the folders the folder "..." button offers
    std::string installPath;            // the help file's folder
    AddressPicker pickAddress;          // none: the address "..." button stays disabled
    FilterRule rule;                    // in: the rule shown; out (IDOK): the rule saved
    bool editing = false;               // an existing rule: its name cannot be changed
    // Asked after the Save checks: false refuses the name (the function tells the user why, its
    // boxes owned by `dialog`) and the dialog stays open on the name field.
    std::function<bool(HWND dialog, const std::string& name)> acceptName;
};

// IDOK when the rule was saved into data->rule.
INT_PTR ShowManageFilterDialog(HWND owner, ManageFilterData* data);

} // namespace lx
