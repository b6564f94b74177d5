#include "common/schema/newmessage.h"

#include "common/schema/newkey.h"

#include "common/schema/schema.h"
#include "common/schema/scripts.h"
#include "common/schema/storetables.h"

#include <string>

namespace lx {

namespace {

// A text value as the store takes it: at most `width` characters.
std::string Fit(const std::string& value, int width) {
    std::string text(value.c_str());
    if (text.size() > static_cast<size_t>(width)) text.resize(static_cast<size_t>(width));
    return text;
}

const char* MesgType(NewMessageKind kind) {
    return kind == NewMessageKind::Retrieved ? kMesgTypeIncoming : kMesgTypeOwn;
}

long StoredSize(const NewMessage& m) {
    return m.mesgSize >= 0 ? m.mesgSize : static_cast<long>(m.mailData.size());
}

// One child row (ToList, CcList or Files) per value, each with the message's key.
bool InsertChildren(odbcvantConnection* conn, const char* table, const char* column, int width,
                    long mesgNum, const std::vector<std::string>& values, HWND owner) {
    if (values.empty()) return true;
    odbcvantTableInfo info(conn, table);
    SQLINTEGER key = static_cast<SQLINTEGER>(mesgNum);
    for (const std::string& value : values) {
        const std::string text = Fit(value, width);
        ODBCVANT_PBIND p[2];
        odbcvantSetParamBind(p[0], "MesgNum", &key);
        odbcvantSetParamBind(p[1], column, text.c_str());
        odbcvantStmt stmt(conn, &info);
        if (!ReportedOutcome(stmt, stmt.PrepareInsert(p, 2) && stmt.InsertRow(), owner))
            return false;
    }
    return true;
}

} // namespace

std::string SqlFindNewMessage(const NewMessage& m) {
    switch (m.kind) {
    case NewMessageKind::Retrieved:
        return SqlFindRetrievedMessage(m.appDate, StoredSize(m), Fit(m.mesgId, kMesgIdLen));
    case NewMessageKind::Written:
        return SqlFindWrittenMessage(m.appDate, static_cast<int>(m.folderNum));
    case NewMessageKind::Merged: break;
    }
    return SqlFindMergedMessage(m.appDate);
}

StoreOutcome InsertMessageRow(odbcvantConnection* conn, const NewMessage& m, HWND owner,
                              long* mesgNum) {
    if (mesgNum) *mesgNum = -1;
    SQLINTEGER folder = static_cast<SQLINTEGER>(m.folderNum);
    SQLINTEGER size = static_cast<SQLINTEGER>(StoredSize(m));
    TIMESTAMP_STRUCT appDate = ToOdbcTimestamp(m.appDate);
    const std::string mesgId = Fit(m.mesgId, kMesgIdLen);
    const std::string from = Fit(m.fromAdd, kFromAddLen);
    const std::string date = Fit(m.mesgDate, kMesgDateLen);
    const std::string subject = Fit(m.subject, kSubjectLen);
    ODBCVANT_PBIND p[9];
    odbcvantSetParamBind(p[0], "FolderNum", &folder);
    odbcvantSetParamBind(p[1], "MesgId", mesgId.c_str());
    odbcvantSetParamBind(p[2], "FromAdd", from.c_str());
    odbcvantSetParamBind(p[3], "MesgDate", date.c_str());
    odbcvantSetParamBind(p[4], "AppDate", &appDate);
    odbcvantSetParamBind(p[5], "Subject", subject.c_str());
    odbcvantSetParamBind(p[6], "MailData", m.mailData.c_str());
    odbcvantSetParamBind(p[7], "MesgType", MesgType(m.kind));
    odbcvantSetParamBind(p[8], "MesgSize", &size);
    {
        odbcvantTableInfo messages(conn, "Messages");
        odbcvantStmt stmt(conn, &messages);
        if (!ReportedOutcome(stmt, stmt.PrepareInsert(p, 9) && stmt.InsertRow(), owner))
            return StoreOutcome::RowNotWritten;
    }

    // The select-back form alone cannot tell apart two messages of one second with the same
    // values (a merge run writes many): the store's own new key decides, the form confirms it.
    const long key = FindNewRowKey(conn, SqlFindNewMessage(m), "MesgNum");
    if (key <= 0) return StoreOutcome::KeyNotCertain;
    if (mesgNum) *mesgNum = key;
    return StoreOutcome::Stored;
}

StoreOutcome StoreNewMessage(odbcvantConnection* conn, const NewMessage& m, HWND owner,
                             long* mesgNum) {
    long key = -1;
    const StoreOutcome row = InsertMessageRow(conn, m, owner, &key);
    if (mesgNum) *mesgNum = key;
    if (row != StoreOutcome::Stored) return row;
    if (!InsertChildren(conn, "ToList", "ToName", kToNameLen, key, m.to, owner) ||
        !InsertChildren(conn, "CcList", "CcName", kCcNameLen, key, m.cc, owner) ||
        !InsertChildren(conn, "Files", "FileName", kFileNameLen, key, m.files, owner))
        return StoreOutcome::ChildNotWritten;
    return StoreOutcome::Stored;
}

} // namespace lx
