// The store's creation scripts, kept in the .sql files beside this header and built in.
#pragma once

#include <string>
#include <vector>

namespace lx {

enum class StoreEngine { SQLite, PostgreSQL };

// The engine a data source runs on, from its SQL_DBMS_NAME; anything unknown gets SQLite's script.
StoreEngine StoreEngineFromDbmsName(const std::string& dbmsName);

// The whole text of lorvex-sqlite.sql or lorvex-postgres.sql.
const char* StoreCreationScript(StoreEngine engine);

// Splits a script into single statements: at ";" outside string literals, quoted names,
// dollar-quoted bodies ($$ ... $$), comments and trigger bodies (BEGIN ... END). Comments are dropped, empty statements skipped.
std::vector<std::string> SplitSqlScript(const std::string& script);

} // namespace lx
