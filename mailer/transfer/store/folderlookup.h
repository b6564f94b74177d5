// A folder's number by its name, for the transfer dialogs that file mail into special folders.
#pragma once

#include <string>

#include "odbcvant/odbcvant.h"

namespace lx {

// The FolderNum of the folder named `name`; -1 when there is none or the query fails (reported
// to `owner`).
long FindFolderNum(odbcvantConnection* conn, const std::string& name, HWND owner);

} // namespace lx
