// The folders a mailbox may take as its default folder, read from the store for the editors'
// "Default Folder" list. Portable (store access component only).
#pragma once
#include "odbcvant/odbcvant.h"

#include <string>
#include <vector>

namespace lx {

// One "<folder> [<FolderNum>]" entry per folder in the order of the folder list (special folders
// first, each group by name), except _OUT and _SENT. False, with the error reported to `owner`
// and `entries` untouched, when the query fails.
bool LoadDefaultFolderEntries(odbcvantConnection* conn, HWND owner,
                              std::vector<std::string>& entries);

} // namespace lx
