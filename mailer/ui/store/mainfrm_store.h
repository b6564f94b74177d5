// The main frame's one store query: how many messages a folder holds (the close question
// counts _OUT). Store access component only; failures are reported to the owner window.
#pragma once
#include "odbcvant/odbcvant.h"

namespace lx {

// "SELECT COUNT(*) FROM Messages WHERE FolderNum = %ld"; 0 when the folder is unknown (below
// 0), there is no connection, or the query fails (the cursor has reported it to `owner`).
long CountFolderMessages(odbcvantConnection* conn, long folderNum, HWND owner);

} // namespace lx
