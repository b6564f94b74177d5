#include "mailer/ui/store/mailmess_store.h"

#include "common/schema/schema.h"
#include "common/schema/sqlforms.h"
#include "common/schema/storetables.h"

#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace lx {

namespace {

constexpr int kRowSet = 5;

} // namespace

std::string MessageListSql(long folderNum) {
    char sql[256];
    std::snprintf(
        sql, sizeof sql,
        "SELECT M.MesgNum, M.FromAdd, M.Subject, M.MesgSize, M.AppDate, M.MesgType FROM Messages M "
        "WHERE M.FolderNum = %ld",
        folderNum);
    return std::string(sql) + kSqlMessageListOrder;
}

MessageListStore::MessageListStore(odbcvantConnection* conn, HWND owner)
    : conn_(conn), owner_(owner) {
    if (!conn_) return;
    messages_ = std::make_unique<odbcvantTableInfo>(conn_, "Messages");
    toList_ = std::make_unique<odbcvantTableInfo>(conn_, "ToList");
    cursor_ = std::make_unique<odbcvantCursor>(conn_, MessageListSql(0).c_str());
    toCursor_ = std::make_unique<odbcvantCursor>(
        conn_, "SELECT MesgNum, ToName FROM ToList WHERE MesgNum = 0");
}

MessageListStore::~MessageListStore() = default;

bool MessageListStore::Ready() const {
    return conn_ && messages_ && messages_->IsValid() && cursor_ && cursor_->IsValid();
}

MessageListStore::Outcome MessageListStore::Load(long folderNum, const MonthNames& months,
                                                 std::vector<ListedMessage>& rows, long& count) {
    rows.clear();
    count = -1;
    SQLINTEGER num[kRowSet] = {};
    char from[kRowSet][kFromAddLen + 1] = {};
    char subject[kRowSet][kSubjectLen + 1] = {};
    SQLINTEGER size[kRowSet] = {};
    TIMESTAMP_STRUCT date[kRowSet] = {};
    char type[kRowSet][kMesgTypeLen + 1] = {};
    odbcvantTableInfo* t = messages_.get();
    ODBCVANT_CURSORBIND b[6];
    odbcvantSetColumnBind(b[0], "MesgNum", num, 0, t);
    odbcvantSetColumnBind(b[1], "FromAdd", from, sizeof from[0], t);
    odbcvantSetColumnBind(b[2], "Subject", subject, sizeof subject[0], t);
    odbcvantSetColumnBind(b[3], "MesgSize", size, 0, t);
    odbcvantSetColumnBind(b[4], "AppDate", date, 0, t);
    odbcvantSetColumnBind(b[5], "MesgType", type, sizeof type[0], t);
    const std::string sql = MessageListSql(folderNum);
    cursor_->ReUseHandle();
    if (!cursor_->ResetQuery(sql.c_str()) || !cursor_->SetRowSetSize(kRowSet) ||
        !cursor_->BindColumns(b, 6) || !cursor_->ExecuteStmt()) {
        cursor_->ReportError(owner_);
        return Outcome::QueryFailed;
    }
    count = cursor_->GetTotalResultRows();
    if (count < 0) {
        cursor_->ReportError(owner_);
        return Outcome::CountFailed;
    }
    struct Raw {
        long mesgNum;
        char type;
        std::string from, subject;
        StoreTime date;
    };
    std::vector<Raw> raw;
    raw.reserve(static_cast<size_t>(count));
    bool anyOwn = false;
    int got = 0;
    for (int ok = cursor_->FetchFirst(&got); ok && got > 0 && static_cast<long>(raw.size()) < count;
         ok = cursor_->FetchNext(&got)) {
        for (int i = 0; i < got && i < kRowSet && static_cast<long>(raw.size()) < count; ++i) {
            from[i][kFromAddLen] = subject[i][kSubjectLen] = type[i][kMesgTypeLen] = '\0';
            raw.push_back({static_cast<long>(num[i]), type[i][0], from[i], subject[i],
                           FromOdbcTimestamp(date[i])});
            anyOwn = anyOwn || type[i][0] == 'O';
        }
    }
    if (got < 0) cursor_->ReportError(owner_);
    // Own mail shows its first recipient: one query for the whole folder, not one per message.
    std::unordered_map<long, std::string> firstTo;
    if (anyOwn) FirstRecipients(folderNum, firstTo);
    rows.reserve(raw.size());
    for (const Raw& r : raw) {
        auto to = r.type == 'O' ? firstTo.find(r.mesgNum) : firstTo.end();
        rows.push_back(
            {r.mesgNum, MessageRowText(r.type, r.subject, r.date, r.from,
                                       to == firstTo.end() ? std::string() : to->second, months)});
    }
    return Outcome::Listed;
}

void MessageListStore::FirstRecipients(long folderNum,
                                       std::unordered_map<long, std::string>& firstTo) {
    if (!toCursor_ || !toCursor_->IsValid()) return;
    char sql[200];
    std::snprintf(
        sql, sizeof sql,
        "SELECT T.MesgNum, T.ToName FROM ToList T, Messages M WHERE T.MesgNum = M.MesgNum AND "
        "M.FolderNum = %ld AND M.MesgType = 'O'",
        folderNum);
    SQLINTEGER num = 0;
    char name[kToNameLen + 1] = {};
    toCursor_->ReUseHandle();
    if (!toCursor_->ResetQuery(sql) || !toCursor_->SetSingleResult() ||
        !toCursor_->BindColumns(1, ODBCVANT_INT32, &num, 0) ||
        !toCursor_->BindColumns(2, ODBCVANT_TEXT, name, sizeof name) || !toCursor_->ExecuteStmt())
        return;
    while (toCursor_->SingleFetch()) {
        name[kToNameLen] = '\0';
        // The first row of a message is its first recipient; later rows do not replace it.
        firstTo.emplace(static_cast<long>(num), name);
        name[0] = '\0';
    }
}

bool MessageListStore::Move(long mesgNum, long folderNum) {
    return Ready() &&
           MoveMessagesTo(conn_, messages_.get(), folderNum, ConditionMesgNum(mesgNum), owner_);
}

bool MessageListStore::Delete(long mesgNum) {
    return Ready() && DeleteRowsWhere(conn_, messages_.get(), ConditionMesgNum(mesgNum), owner_);
}

} // namespace lx
