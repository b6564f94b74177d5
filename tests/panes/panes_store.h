// Rows for the pane tests and the benchmark, written straight into a store.
#pragma once
#include "common/schema/sqlforms.h"
#include "odbcvant/odbcvant.h"

#include <string>

namespace lxtest {

// Inserts a Messages row and returns its MesgNum (-1 on failure).
long AddMessage(odbcvantConnection& conn, long folderNum, char mesgType, const std::string& fromAdd,
                const std::string& subject, const lx::StoreTime& appDate);
bool AddRecipient(odbcvantConnection& conn, long mesgNum, const std::string& toName);
// The FolderNum of a folder name, -1 when there is none.
long FolderNumOf(odbcvantConnection& conn, const std::string& name);
// Number of rows a query counts (first column of its one row), -1 on failure.
long CountOf(odbcvantConnection& conn, const std::string& sql);

} // namespace lxtest
