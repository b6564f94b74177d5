#include "mailer/ui/store/mailmess_store.h"

#include "common/schema/schema.h"
#include "common/schema/sqlforms.h"
#include "common/schema/storetables.h"
#include "mailer/ui/store/message_rowset.h"

#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace lx {

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
    std::vector<FetchedMessage> raw;
    switch (FetchMessages(*cursor_, messages_.get(), MessageListSql(folderNum),
                          {"MesgNum", "FromAdd", "Subject", "MesgSize", "AppDate", "MesgType"},
                          owner_, raw, count)) {
    case FetchOutcome::QueryFailed: return Outcome::QueryFailed;
    case FetchOutcome::CountFailed: return Outcome::CountFailed;
    case FetchOutcome::Fetched: break;
    }
    bool anyOwn = false;
    for (const FetchedMessage& r : raw) anyOwn = anyOwn || r.mesgType == 'O';
    // Own mail shows its first recipient: one query for the whole folder, not one per message.
    std::unordered_map<long, std::string> firstTo;
    if (anyOwn) FirstRecipients(folderNum, firstTo);
    rows.reserve(raw.size());
    for (const FetchedMessage& r : raw) {
        auto to = r.mesgType == 'O' ? firstTo.find(r.mesgNum) : firstTo.end();
        rows.push_back(
            {r.mesgNum, MessageRowText(r.mesgType, r.subject, r.appDate, r.fromAdd,
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
