#include "common/schema/storetables.h"

#include "common/schema/schema.h"
#include "common/schema/scripts.h"

#include <string>

namespace lx {

bool CreateStoreTables(odbcvantConnection& conn) {
    if (!conn.IsConnected()) return false;
    const char* script = StoreCreationScript(StoreEngineFromDbmsName(conn.GetDbmsName()));
    for (const std::string& statement : SplitSqlScript(script)) {
        if (!conn.ExecuteDirect(statement.c_str())) return false;
    }
    return true;
}

TIMESTAMP_STRUCT ToOdbcTimestamp(const StoreTime& t) {
    TIMESTAMP_STRUCT ts;
    ts.year = static_cast<SQLSMALLINT>(t.year);
    ts.month = static_cast<SQLUSMALLINT>(t.month);
    ts.day = static_cast<SQLUSMALLINT>(t.day);
    ts.hour = static_cast<SQLUSMALLINT>(t.hour);
    ts.minute = static_cast<SQLUSMALLINT>(t.minute);
    ts.second = static_cast<SQLUSMALLINT>(t.second);
    ts.fraction = 0;
    return ts;
}

StoreTime FromOdbcTimestamp(const TIMESTAMP_STRUCT& ts) {
    StoreTime t;
    t.year = ts.year;
    t.month = ts.month;
    t.day = ts.day;
    t.hour = ts.hour;
    t.minute = ts.minute;
    t.second = ts.second;
    return t;
}

bool EmptyStoreTables(odbcvantConnection& conn) {
    if (!conn.IsConnected()) return false;
    // Children before parents, so relations never hold a dangling key meanwhile.
    const TableDef* tables = StoreTables();
    for (int i = kStoreTableCount - 1; i >= 0; --i) {
        std::string sql = std::string("DELETE FROM ") + tables[i].name;
        if (!conn.ExecuteDirect(sql.c_str())) return false;
    }
    return true;
}

bool ReportedOutcome(odbcvantStmt& stmt, bool ok, HWND owner) {
    if (!ok) stmt.ReportError(owner);
    return ok;
}

bool MoveMessagesTo(odbcvantConnection* conn, odbcvantTableInfo* messages, long folderNum,
                    const std::string& condition, HWND owner) {
    SQLINTEGER target = static_cast<SQLINTEGER>(folderNum);
    ODBCVANT_PBIND p;
    odbcvantSetParamBind(p, "FolderNum", &target);
    odbcvantStmt stmt(conn, messages);
    return ReportedOutcome(stmt, stmt.PrepareUpdate(&p, 1, condition.c_str()) && stmt.UpdateRow(),
                           owner);
}

bool DeleteRowsWhere(odbcvantConnection* conn, odbcvantTableInfo* table,
                     const std::string& condition, HWND owner) {
    odbcvantStmt stmt(conn, table);
    return ReportedOutcome(stmt, stmt.PrepareDelete(condition.c_str()) && stmt.DeleteRow(), owner);
}

} // namespace lx
