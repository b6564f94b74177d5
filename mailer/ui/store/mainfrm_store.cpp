#include "mailer/ui/store/mainfrm_store.h"

#include <cstdio>

namespace lx {

long CountFolderMessages(odbcvantConnection* conn, long folderNum, HWND owner) {
    if (!conn || folderNum < 0) return 0;
    char sql[96];
    std::snprintf(sql, sizeof sql, "SELECT COUNT(*) FROM Messages WHERE FolderNum = %ld",
                  folderNum);
    odbcvantCursor cursor(conn, sql);
    SQLINTEGER count = 0;
    cursor.SetSingleResult();
    if (!cursor.BindColumns(1, ODBCVANT_INT32, &count, 0) || !cursor.ExecuteStmt()) {
        cursor.ReportError(owner);
        return 0;
    }
    return cursor.SingleFetch() ? static_cast<long>(count) : 0;
}

} // namespace lx
