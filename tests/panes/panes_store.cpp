#include "tests/panes/panes_store.h"

#include <cstdio>

namespace lxtest {

long CountOf(odbcvantConnection& conn, const std::string& sql) {
    odbcvantCursor cur(&conn, sql.c_str());
    SQLINTEGER value = 0;
    cur.SetSingleResult();
    if (!cur.BindColumns(1, ODBCVANT_INT32, &value, 0) || !cur.ExecuteStmt() || !cur.SingleFetch())
        return -1;
    return static_cast<long>(value);
}

long AddMessage(odbcvantConnection& conn, long folderNum, char mesgType, const std::string& fromAdd,
                const std::string& subject, const lx::StoreTime& appDate) {
    char head[96];
    std::snprintf(head, sizeof head, "%ld, ", folderNum);
    const std::string sql = "INSERT INTO Messages (FolderNum, MesgId, FromAdd, MesgDate, AppDate, "
                            "Subject, MailData, MesgType, MesgSize) "
                            "VALUES (" +
                            std::string(head) + lx::SqlQuote("<id@test>") + ", " +
                            lx::SqlQuote(fromAdd) + ", " + lx::SqlQuote("Mon, 1 Jan 2026") + ", " +
                            lx::TimestampLiteral(appDate) + ", " + lx::SqlQuote(subject) + ", " +
                            lx::SqlQuote("Body") + ", " + lx::SqlQuote(std::string(1, mesgType)) +
                            ", 4)";
    if (!conn.ExecuteDirect(sql.c_str())) return -1;
    return CountOf(conn, "SELECT MAX(MesgNum) FROM Messages");
}

bool AddRecipient(odbcvantConnection& conn, long mesgNum, const std::string& toName) {
    char head[64];
    std::snprintf(head, sizeof head, "INSERT INTO ToList (MesgNum, ToName) VALUES (%ld, ", mesgNum);
    return conn.ExecuteDirect((head + lx::SqlQuote(toName) + ")").c_str()) != 0;
}

long FolderNumOf(odbcvantConnection& conn, const std::string& name) {
    return CountOf(conn, "SELECT FolderNum FROM Folders WHERE Folder = " + lx::SqlQuote(name));
}

} // namespace lxtest
