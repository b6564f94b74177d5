#include "mailer/ui/store/findmesg_store.h"

#include "common/schema/schema.h"
#include "mailer/ui/logic/findmesg_query.h"
#include "mailer/ui/store/message_rowset.h"

#include <cstdio>

namespace lx {

MessageSearchStore::MessageSearchStore(odbcvantConnection* conn, HWND owner)
    : conn_(conn), owner_(owner) {
    if (!conn_) return;
    messages_ = std::make_unique<odbcvantTableInfo>(conn_, "Messages");
    cursor_ = std::make_unique<odbcvantCursor>(conn_, "SELECT * FROM Messages");
    toCursor_ = std::make_unique<odbcvantCursor>(conn_, "SELECT ToName FROM ToList");
}

MessageSearchStore::~MessageSearchStore() = default;

bool MessageSearchStore::Ready() const {
    return conn_ && messages_ && messages_->IsValid() && cursor_ && cursor_->IsValid();
}

MessageSearchStore::Outcome MessageSearchStore::Search(const std::string& sql,
                                                       const MonthNames& months,
                                                       std::vector<ListedMessage>& rows,
                                                       long& count) {
    rows.clear();
    count = -1;
    if (!Ready()) return Outcome::QueryFailed;
    std::vector<FetchedMessage> hits;
    switch (FetchMessages(
        *cursor_, messages_.get(), sql,
        {"MesgNum", "FromAdd", "Subject", "AppDate", "MesgType", "MesgSize", "FolderNum"}, owner_,
        hits, count)) {
    case FetchOutcome::QueryFailed: return Outcome::QueryFailed;
    case FetchOutcome::CountFailed: return Outcome::CountFailed;
    case FetchOutcome::Fetched: break;
    }
    // The recipients are read once the result cursor is done with, one own message at a time.
    rows.reserve(hits.size());
    for (const FetchedMessage& h : hits) {
        const std::string to = h.mesgType == 'O' ? FirstRecipient(h.mesgNum) : std::string();
        rows.push_back(
            {h.mesgNum, SearchRowText(h.mesgType, h.subject, h.appDate, h.fromAdd, to, months)});
    }
    return Outcome::Listed;
}

std::string MessageSearchStore::FirstRecipient(long mesgNum) {
    if (!toCursor_ || !toCursor_->IsValid()) return std::string();
    char sql[80];
    std::snprintf(sql, sizeof sql, "SELECT ToName FROM ToList WHERE MesgNum = %ld", mesgNum);
    char name[kToNameLen + 1] = {};
    toCursor_->ReUseHandle();
    if (!toCursor_->ResetQuery(sql) || !toCursor_->SetSingleResult() ||
        !toCursor_->BindColumns(1, ODBCVANT_TEXT, name, sizeof name) || !toCursor_->ExecuteStmt() ||
        !toCursor_->SingleFetch())
        return std::string();
    name[kToNameLen] = '\0';
    return name;
}

} // namespace lx
