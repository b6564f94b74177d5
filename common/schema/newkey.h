// Learning the key the store gave a row just inserted on this connection: the engine's own
// new-key value, confirmed by the select-back form of the row's values; on an engine without one,
// the select-back form when exactly one row answers it.
#pragma once

#include <string>

#include "odbcvant/odbcvant.h"

namespace lx {

// The store's own value for the key of the row this connection inserted last: SQLite's
// last_insert_rowid(), PostgreSQL's lastval(); chosen by the engine's SQL_DBMS_NAME.
// -1 for an engine that has neither, or on failure.
long LastInsertedKey(odbcvantConnection* conn);

// The one key (column 1) a query yields; -1 for none, for several or for a failure.
long OnlyKey(odbcvantConnection* conn, const std::string& sql);

// The key of the row just inserted: LastInsertedKey when the select-back form `form` (a SELECT of
// the key with a WHERE clause) confirms it with "AND <keyColumn> = key", else the form's only
// answer. -1 when the row cannot be told apart.
long FindNewRowKey(odbcvantConnection* conn, const std::string& form, const char* keyColumn);

} // namespace lx
