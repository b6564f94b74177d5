#include "mailer/ui/store/message_rowset.h"

#include "common/schema/schema.h"
#include "common/schema/storetables.h"

#include <cstring>

namespace lx {

namespace {

constexpr int kRowSet = 5;

// One row set of every column a message list may select.
struct RowSetBuffers {
    SQLINTEGER mesgNum[kRowSet] = {};
    char fromAdd[kRowSet][kFromAddLen + 1] = {};
    char subject[kRowSet][kSubjectLen + 1] = {};
    SQLINTEGER mesgSize[kRowSet] = {};
    TIMESTAMP_STRUCT appDate[kRowSet] = {};
    char mesgType[kRowSet][kMesgTypeLen + 1] = {};
    SQLINTEGER folderNum[kRowSet] = {};

    // False for a column name this buffer does not hold.
    bool Bind(ODBCVANT_CURSORBIND& b, const char* column, odbcvantTableInfo* t) {
        struct Column {
            const char* name;
            void* buffer;
            int length;
        };
        const Column columns[] = {{"MesgNum", mesgNum, 0},
                                  {"FromAdd", fromAdd, sizeof fromAdd[0]},
                                  {"Subject", subject, sizeof subject[0]},
                                  {"MesgSize", mesgSize, 0},
                                  {"AppDate", appDate, 0},
                                  {"MesgType", mesgType, sizeof mesgType[0]},
                                  {"FolderNum", folderNum, 0}};
        for (const Column& c : columns) {
            if (std::strcmp(c.name, column) != 0) continue;
            odbcvantSetColumnBind(b, c.name, c.buffer, c.length, t);
            return true;
        }
        return false;
    }

    FetchedMessage Row(int i) {
        fromAdd[i][kFromAddLen] = subject[i][kSubjectLen] = mesgType[i][kMesgTypeLen] = '\0';
        return {static_cast<long>(mesgNum[i]), mesgType[i][0], fromAdd[i], subject[i],
                FromOdbcTimestamp(appDate[i])};
    }
};

} // namespace

FetchOutcome FetchMessages(odbcvantCursor& cursor, odbcvantTableInfo* messages,
                           const std::string& sql, std::initializer_list<const char*> columns,
                           HWND owner, std::vector<FetchedMessage>& rows, long& count) {
    rows.clear();
    count = -1;
    RowSetBuffers buffers;
    std::vector<ODBCVANT_CURSORBIND> binds(columns.size());
    size_t n = 0;
    for (const char* column : columns)
        if (!buffers.Bind(binds[n++], column, messages)) return FetchOutcome::QueryFailed;
    cursor.ReUseHandle();
    if (!cursor.ResetQuery(sql.c_str()) || !cursor.SetRowSetSize(kRowSet) ||
        !cursor.BindColumns(binds.data(), static_cast<int>(binds.size())) ||
        !cursor.ExecuteStmt()) {
        cursor.ReportError(owner);
        return FetchOutcome::QueryFailed;
    }
    count = cursor.GetTotalResultRows();
    if (count < 0) {
        cursor.ReportError(owner);
        return FetchOutcome::CountFailed;
    }
    rows.reserve(static_cast<size_t>(count));
    int got = 0;
    for (int ok = cursor.FetchFirst(&got); ok && got > 0 && static_cast<long>(rows.size()) < count;
         ok = cursor.FetchNext(&got)) {
        for (int i = 0; i < got && i < kRowSet && static_cast<long>(rows.size()) < count; ++i)
            rows.push_back(buffers.Row(i));
    }
    if (got < 0) cursor.ReportError(owner);
    return FetchOutcome::Fetched;
}

} // namespace lx
