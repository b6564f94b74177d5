#include "mailer/ui/store/msgprint_store.h"

#include "common/schema/schema.h"
#include "common/schema/subject.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace lx {

namespace {

// A body that fills its buffer may go on: the read is repeated with a buffer this many times
// larger, up to kMostBody bytes.
constexpr std::size_t kGrowth = 8;
constexpr std::size_t kMostBody = std::size_t(64) << 20;

std::string FirstRecipient(odbcvantConnection* conn, long mesgNum) {
    char sql[96];
    std::snprintf(sql, sizeof sql, "SELECT ToName FROM ToList WHERE MesgNum = %ld", mesgNum);
    odbcvantCursor cursor(conn, sql);
    char name[kToNameLen + 1] = "";
    cursor.SetSingleResult();
    if (!cursor.BindColumns(1, ODBCVANT_TEXT, name, sizeof name) || !cursor.ExecuteStmt() ||
        !cursor.SingleFetch())
        return std::string();
    return name;
}

} // namespace

bool ReadPrintedMessage(odbcvantConnection* conn, HWND owner, long mesgNum, PrintedMessage* out) {
    if (!conn) return false;
    odbcvantTableInfo table(conn, "Messages");
    char sql[160];
    std::snprintf(sql, sizeof sql,
                  "SELECT MesgId, MesgDate, MailData, MesgType, FromAdd, Subject, AppDate FROM "
                  "Messages WHERE MesgNum = %ld",
                  mesgNum);
    char mesgId[kMesgIdLen + 1], mesgDate[kMesgDateLen + 1], type[kMesgTypeLen + 1];
    char from[kFromAddLen + 1], subject[kSubjectLen + 1];
    TIMESTAMP_STRUCT appDate{};
    std::vector<char> body(kPrintTextBuffer);
    for (;;) {
        mesgId[0] = mesgDate[0] = type[0] = from[0] = subject[0] = '\0';
        body[0] = '\0';
        ODBCVANT_CURSORBIND b[7];
        odbcvantSetColumnBind(b[0], "MesgId", mesgId, sizeof mesgId, &table);
        odbcvantSetColumnBind(b[1], "MesgDate", mesgDate, sizeof mesgDate, &table);
        odbcvantSetColumnBind(b[2], "MailData", body.data(), static_cast<int>(body.size()), &table);
        odbcvantSetColumnBind(b[3], "MesgType", type, sizeof type, &table);
        odbcvantSetColumnBind(b[4], "FromAdd", from, sizeof from, &table);
        odbcvantSetColumnBind(b[5], "Subject", subject, sizeof subject, &table);
        odbcvantSetColumnBind(b[6], "AppDate", &appDate, 0, &table);
        odbcvantCursor cursor(conn, sql);
        cursor.SetSingleResult();
        if (!table.IsValid() || !cursor.BindColumns(b, 7) || !cursor.ExecuteStmt()) {
            cursor.ReportError(owner);
            return false;
        }
        if (!cursor.SingleFetch()) return false; // the message is gone
        // A body that filled the buffer was cut: read it again into a larger one.
        if (std::strlen(body.data()) + 1 < body.size() || body.size() >= kMostBody) break;
        body.assign(body.size() * kGrowth, '\0');
    }
    out->mesgNum = mesgNum;
    out->incoming = std::strcmp(type, kMesgTypeIncoming) == 0;
    out->address = from;
    out->firstTo = out->incoming ? std::string() : FirstRecipient(conn, mesgNum);
    out->subject = ParseSubject(subject).shown;
    out->mesgId = mesgId;
    out->mesgDate = mesgDate;
    out->appDate = StoreTime{appDate.year, appDate.month,  appDate.day,
                             appDate.hour, appDate.minute, appDate.second};
    out->body = body.data();
    return true;
}

} // namespace lx
