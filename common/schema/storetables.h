// Creating and emptying the store's tables through a store connection, and the row writes
// several windows share.
#pragma once

#include <string>

#include "common/schema/sqlforms.h"
#include "odbcvant/odbcvant.h"

namespace lx {

// Runs the creation script of the connection's engine; tables that exist are kept as they are.
// On failure the connection holds the error (ReportError).
bool CreateStoreTables(odbcvantConnection& conn);

// AppDate values as the store access component moves them; the fraction is always 0.
TIMESTAMP_STRUCT ToOdbcTimestamp(const StoreTime& t);
StoreTime FromOdbcTimestamp(const TIMESTAMP_STRUCT& ts);

// Deletes every row of the eight tables, children first.
bool EmptyStoreTables(odbcvantConnection& conn);

// The outcome of a statement's prepare-and-run: a failure is shown to owner by the store's own
// error report.
bool ReportedOutcome(odbcvantStmt& stmt, bool ok, HWND owner);
// Puts the Messages rows that meet `condition` into folder folderNum (a message moved, or a
// deleted folder's messages sent to the trash can).
bool MoveMessagesTo(odbcvantConnection* conn, odbcvantTableInfo* messages, long folderNum,
                    const std::string& condition, HWND owner);
// Deletes the rows of `table` that meet `condition`.
bool DeleteRowsWhere(odbcvantConnection* conn, odbcvantTableInfo* table,
                     const std::string& condition, HWND owner);

} // namespace lx
