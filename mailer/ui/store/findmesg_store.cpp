#include "mailer/ui/store/findmesg_store.h"

#include "common/schema/schema.h"
#include "common/schema/storetables.h"
#include "mailer/ui/logic/findmesg_query.h"

#include <cstdio>

namespace lx {

namespace {

constexpr int kRowSet = 5;

} // namespace

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
    SQLINTEGER num[kRowSet] = {};
    char from[kRowSet][kFromAddLen + 1] = {};
    char subject[kRowSet][kSubjectLen + 1] = {};
    TIMESTAMP_STRUCT date[kRowSet] = {};
    char type[kRowSet][kMesgTypeLen + 1] = {};
    SQLINTEGER size[kRowSet] = {};
    SQLINTEGER folder[kRowSet] = {};
    odbcvantTableInfo* t = messages_.get();
    ODBCVANT_CURSORBIND b[7];
    odbcvantSetColumnBind(b[0], "MesgNum", num, 0, t);
    odbcvantSetColumnBind(b[1], "FromAdd", from, sizeof from[0], t);
    odbcvantSetColumnBind(b[2], "Subject", subject, sizeof subject[0], t);
    odbcvantSetColumnBind(b[3], "AppDate", date, 0, t);
    odbcvantSetColumnBind(b[4], "MesgType", type, sizeof type[0], t);
    odbcvantSetColumnBind(b[5], "MesgSize", size, 0, t);
    odbcvantSetColumnBind(b[6], "FolderNum", folder, 0, t);
    cursor_->ReUseHandle();
    if (!cursor_->ResetQuery(sql.c_str()) || !cursor_->SetRowSetSize(kRowSet) ||
        !cursor_->BindColumns(b, 7) || !cursor_->ExecuteStmt()) {
        cursor_->ReportError(owner_);
        return Outcome::QueryFailed;
    }
    count = cursor_->GetTotalResultRows();
    if (count < 0) {
        cursor_->ReportError(owner_);
        return Outcome::CountFailed;
    }
    struct Hit {
        long mesgNum;
        char type;
        std::string from, subject;
        StoreTime date;
    };
    std::vector<Hit> hits;
    hits.reserve(static_cast<size_t>(count));
    int got = 0;
    for (int ok = cursor_->FetchFirst(&got);
         ok && got > 0 && static_cast<long>(hits.size()) < count; ok = cursor_->FetchNext(&got)) {
        for (int i = 0; i < got && i < kRowSet && static_cast<long>(hits.size()) < count; ++i) {
            from[i][kFromAddLen] = subject[i][kSubjectLen] = type[i][kMesgTypeLen] = '\0';
            hits.push_back({static_cast<long>(num[i]), type[i][0], from[i], subject[i],
                            FromOdbcTimestamp(date[i])});
        }
    }
    if (got < 0) cursor_->ReportError(owner_);
    // The recipients are read once the result cursor is done with, one own message at a time.
    rows.reserve(hits.size());
    for (const Hit& h : hits) {
        const std::string to = h.type == 'O' ? FirstRecipient(h.mesgNum) : std::string();
        rows.push_back({h.mesgNum, SearchRowText(h.type, h.subject, h.date, h.from, to, months)});
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
