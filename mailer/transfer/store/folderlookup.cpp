#include "mailer/transfer/store/folderlookup.h"

#include "common/schema/sqlforms.h"

namespace lx {

long FindFolderNum(odbcvantConnection* conn, const std::string& name, HWND owner) {
    if (!conn) return -1;
    const std::string sql = "SELECT FolderNum FROM Folders WHERE Folder = " + SqlQuote(name);
    odbcvantCursor cursor(conn, sql.c_str());
    SQLINTEGER folder = -1;
    cursor.SetSingleResult();
    if (!cursor.BindColumns(1, ODBCVANT_INT32, &folder, 0) || !cursor.ExecuteStmt()) {
        cursor.ReportError(owner);
        return -1;
    }
    return cursor.SingleFetch() ? static_cast<long>(folder) : -1;
}

} // namespace lx
