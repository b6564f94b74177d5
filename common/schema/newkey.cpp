#include "common/schema/newkey.h"

#include "common/schema/scripts.h"

#include <cctype>
#include <vector>

namespace lx {
namespace {

// Up to `limit` keys the query yields (column 1); false when the query itself failed.
bool QueryKeys(odbcvantConnection* conn, const std::string& sql, std::vector<long>& keys,
               size_t limit) {
    keys.clear();
    odbcvantCursor cursor(conn, sql.c_str());
    SQLINTEGER key = 0;
    if (!cursor.SetSingleResult() || !cursor.BindColumns(1, ODBCVANT_INT32, &key, 0) ||
        !cursor.ExecuteStmt())
        return false;
    while (keys.size() < limit && cursor.SingleFetch()) keys.push_back(static_cast<long>(key));
    return true;
}

} // namespace

long OnlyKey(odbcvantConnection* conn, const std::string& sql) {
    std::vector<long> keys;
    if (!QueryKeys(conn, sql, keys, 2) || keys.size() != 1) return -1;
    return keys[0];
}

long LastInsertedKey(odbcvantConnection* conn) {
    if (!conn || !conn->IsConnected()) return -1;
    std::string dbms = conn->GetDbmsName();
    for (char& c : dbms) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const char* sql = nullptr;
    if (dbms.find("SQLITE") != std::string::npos)
        sql = "SELECT last_insert_rowid()";
    else if (StoreEngineFromDbmsName(dbms) == StoreEngine::PostgreSQL)
        sql = "SELECT lastval()";
    if (!sql) return -1;
    const long key = OnlyKey(conn, sql);
    return key > 0 ? key : -1;
}

long FindNewRowKey(odbcvantConnection* conn, const std::string& form, const char* keyColumn) {
    const long last = LastInsertedKey(conn);
    const long key = last > 0
                         ? OnlyKey(conn, form + " AND " + keyColumn + " = " + std::to_string(last))
                         : OnlyKey(conn, form); // no new-key value: only a unique answer
    return key > 0 ? key : -1;
}

} // namespace lx
