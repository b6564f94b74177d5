#include "mailer/transfer/store/mboxfolders.h"

#include "common/schema/schema.h"
#include "common/schema/sqlforms.h"
#include "mailer/transfer/logic/mboxedit_rules.h"

#include <cstring>

namespace lx {

bool LoadDefaultFolderEntries(odbcvantConnection* conn, HWND owner,
                              std::vector<std::string>& entries) {
    if (!conn) return false;
    odbcvantCursor cursor(conn, kSqlFolderNames);
    SQLINTEGER number = 0;
    char name[kFolderLen + 1] = {};
    if (!cursor.IsValid() || !cursor.SetSingleResult() ||
        !cursor.BindColumns(1, ODBCVANT_INT32, &number, 0) ||
        !cursor.BindColumns(2, ODBCVANT_TEXT, name, sizeof name) || !cursor.ExecuteStmt()) {
        cursor.ReportError(owner);
        return false;
    }
    std::vector<std::string> loaded;
    while (cursor.SingleFetch()) {
        name[kFolderLen] = '\0';
        if (IsOfferedAsDefaultFolder(name))
            loaded.push_back(FolderEntryText(name, static_cast<long>(number)));
        std::memset(name, 0, sizeof name);
    }
    entries.swap(loaded);
    return true;
}

} // namespace lx
