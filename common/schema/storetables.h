// Creating and emptying the store's tables through a store connection.
#ifndef LX_COMMON_SCHEMA_STORETABLES_H
#define LX_COMMON_SCHEMA_STORETABLES_H

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

}  // namespace lx

#endif
