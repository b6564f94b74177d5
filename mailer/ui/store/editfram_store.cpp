#include "mailer/ui/store/editfram_store.h"

#include "common/schema/newmessage.h"
#include "common/schema/schema.h"
#include "common/schema/storetables.h"
#include "common/schema/subject.h"

#include <cstdio>
#include <cstring>

namespace lx {

namespace {

constexpr std::size_t kFirstTextBuffer = 8192;
constexpr std::size_t kGrowth = 8;
constexpr std::size_t kMostText = std::size_t(64) << 20;

struct ListColumn {
    const char* table;
    const char* column;
    int width;
};

ListColumn ColumnOf(MessageList which) {
    switch (which) {
    case MessageList::To: return {"ToList", "ToName", kToNameLen};
    case MessageList::Cc: return {"CcList", "CcName", kCcNameLen};
    case MessageList::Files: break;
    }
    return {"Files", "FileName", kFileNameLen};
}

// Deletes the rows of one table that belong to the message.
bool DeleteWhere(odbcvantConnection* conn, HWND owner, const char* table, long mesgNum) {
    odbcvantTableInfo info(conn, table);
    return DeleteRowsWhere(conn, &info, ConditionMesgNum(mesgNum), owner);
}

bool DeleteChildren(odbcvantConnection* conn, HWND owner, long mesgNum) {
    bool ok = true;
    for (MessageList which : {MessageList::To, MessageList::Cc, MessageList::Files})
        ok = DeleteWhere(conn, owner, ColumnOf(which).table, mesgNum) && ok;
    return ok;
}

} // namespace

bool ReadStoredMessage(odbcvantConnection* conn, HWND owner, long mesgNum, StoredMessage* out) {
    if (!conn) return false;
    odbcvantTableInfo table(conn, "Messages");
    const std::string sql =
        "SELECT FolderNum, MesgId, FromAdd, Subject, MailData, MesgType, MesgSize FROM Messages "
        "WHERE " +
        ConditionMesgNum(mesgNum);
    SQLINTEGER folder = 0, size = 0;
    char mesgId[kMesgIdLen + 1], from[kFromAddLen + 1], subject[kSubjectLen + 1];
    char type[kMesgTypeLen + 1];
    std::vector<char> body(kFirstTextBuffer);
    for (;;) {
        mesgId[0] = from[0] = subject[0] = type[0] = '\0';
        body[0] = '\0';
        ODBCVANT_CURSORBIND b[7];
        odbcvantSetColumnBind(b[0], "FolderNum", &folder, 0, &table);
        odbcvantSetColumnBind(b[1], "MesgId", mesgId, sizeof mesgId, &table);
        odbcvantSetColumnBind(b[2], "FromAdd", from, sizeof from, &table);
        odbcvantSetColumnBind(b[3], "Subject", subject, sizeof subject, &table);
        odbcvantSetColumnBind(b[4], "MailData", body.data(), static_cast<int>(body.size()), &table);
        odbcvantSetColumnBind(b[5], "MesgType", type, sizeof type, &table);
        odbcvantSetColumnBind(b[6], "MesgSize", &size, 0, &table);
        odbcvantCursor cursor(conn, sql.c_str());
        cursor.SetSingleResult();
        if (!table.IsValid() || !cursor.BindColumns(b, 7) || !cursor.ExecuteStmt()) {
            cursor.ReportError(owner);
            return false;
        }
        if (!cursor.SingleFetch()) return false; // the message is gone
        // A text that filled the buffer was cut: it is read again into a larger one.
        if (std::strlen(body.data()) + 1 < body.size() || body.size() >= kMostText) break;
        body.assign(body.size() * kGrowth, '\0');
    }
    out->mesgNum = mesgNum;
    out->folderNum = folder;
    out->mesgId = mesgId;
    out->fromAdd = from;
    out->subject = subject;
    out->mailData = body.data();
    out->mesgType = type;
    out->mesgSize = size;
    return true;
}

bool WriteMessageSubject(odbcvantConnection* conn, long mesgNum, const std::string& subject) {
    if (!conn) return false;
    odbcvantTableInfo messages(conn, "Messages");
    char value[kSubjectLen + 1] = "";
    std::snprintf(value, sizeof value, "%s", subject.c_str());
    ODBCVANT_PBIND p;
    odbcvantSetParamBind(p, "Subject", value);
    odbcvantStmt stmt(conn, &messages);
    return messages.IsValid() && stmt.PrepareUpdate(&p, 1, ConditionMesgNum(mesgNum).c_str()) &&
           stmt.UpdateRow();
}

bool ReadMessageList(odbcvantConnection* conn, HWND owner, MessageList which, long mesgNum,
                     std::vector<std::string>* out) {
    out->clear();
    if (!conn) return false;
    const ListColumn c = ColumnOf(which);
    const std::string sql = std::string("SELECT ") + c.column + " FROM " + c.table + " WHERE " +
                            ConditionMesgNum(mesgNum);
    odbcvantCursor cursor(conn, sql.c_str());
    std::vector<char> name(static_cast<std::size_t>(c.width) + 1);
    cursor.SetSingleResult();
    if (!cursor.BindColumns(1, ODBCVANT_TEXT, name.data(), static_cast<int>(name.size())) ||
        !cursor.ExecuteStmt()) {
        cursor.ReportError(owner);
        return false;
    }
    for (;;) {
        name[0] = '\0';
        if (!cursor.SingleFetch()) break;
        out->push_back(name.data());
    }
    return true;
}

SaveResult SaveComposedMessage(odbcvantConnection* conn, HWND owner, const ComposedMessage& m,
                               long replaceMesgNum, long* newMesgNum) {
    if (newMesgNum) *newMesgNum = -1;
    if (!conn) return SaveResult::NotSaved;
    NewMessage message;
    message.kind = NewMessageKind::Written;
    message.folderNum = m.folderNum;
    message.mesgId = m.signature;
    message.fromAdd = m.returnAddress;
    message.appDate = m.appDate;
    message.subject = ComposeSubject(m.subjectText, false, !m.files.empty());
    message.mailData = m.body;
    message.to = m.to;
    message.cc = m.cc;
    message.files = m.files;
    long key = -1;
    const StoreOutcome outcome = StoreNewMessage(conn, message, owner, &key);
    if (outcome != StoreOutcome::Stored) {
        // Half a message is no message: what was written of it goes again.
        if (outcome == StoreOutcome::ChildNotWritten && key > 0)
            DeleteMessageWithRows(conn, owner, key);
        return SaveResult::NotSaved;
    }
    // The opened message stays as it was when its row cannot go; its copy must not stay beside
    // it then.
    if (replaceMesgNum >= 0 && !DeleteMessageWithRows(conn, owner, replaceMesgNum)) {
        DeleteMessageWithRows(conn, owner, key);
        return SaveResult::NotSaved;
    }
    if (newMesgNum) *newMesgNum = key;
    return SaveResult::Saved;
}

bool DeleteMessageWithRows(odbcvantConnection* conn, HWND owner, long mesgNum) {
    if (!conn) return false;
    if (!DeleteWhere(conn, owner, "Messages", mesgNum)) return false;
    DeleteChildren(conn, owner, mesgNum);
    return true;
}

bool MoveComposedMessage(odbcvantConnection* conn, HWND owner, long mesgNum, long folderNum) {
    if (!conn) return false;
    odbcvantTableInfo messages(conn, "Messages");
    return MoveMessagesTo(conn, &messages, folderNum, ConditionMesgNum(mesgNum), owner);
}

} // namespace lx
