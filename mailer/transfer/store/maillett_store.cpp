#include "mailer/transfer/store/maillett_store.h"

#include "common/schema/schema.h"
#include "common/schema/sqlforms.h"
#include "common/schema/storetables.h"

#include <cstring>

namespace lx {

namespace {

// A text that fills its buffer may go on: it is read again into one this many times larger,
// up to kMostText bytes.
constexpr std::size_t kGrowth = 8;
constexpr std::size_t kMostText = std::size_t(256) << 20;

std::string QueuedCondition(long outFolder) {
    return ConditionFolderNum(outFolder) + " AND MesgType = " + SqlQuote(kMesgTypeOwn);
}

} // namespace

bool CountQueued(odbcvantConnection* conn, long outFolder, HWND owner, QueueSize* size) {
    *size = QueueSize{};
    if (!conn) return false;
    const std::string sql =
        "SELECT COUNT(*), MAX(MesgSize) FROM Messages WHERE " + QueuedCondition(outFolder);
    odbcvantCursor cursor(conn, sql.c_str());
    SQLINTEGER count = 0, largest = 0;
    cursor.SetSingleResult();
    if (!cursor.BindColumns(1, ODBCVANT_INT32, &count, 0) ||
        !cursor.BindColumns(2, ODBCVANT_INT32, &largest, 0) || !cursor.ExecuteStmt()) {
        cursor.ReportError(owner);
        return false;
    }
    if (!cursor.SingleFetch()) return true;
    size->count = count;
    size->largest = count > 0 ? largest : 0;
    return true;
}

bool MoveMessageToFolder(odbcvantConnection* conn, long mesgNum, long folder, HWND owner) {
    if (!conn) return false;
    odbcvantTableInfo messages(conn, "Messages");
    return MoveMessagesTo(conn, &messages, folder, ConditionMesgNum(mesgNum), owner);
}

QueuedMessageReader::QueuedMessageReader(odbcvantConnection* conn, HWND owner)
    : conn_(conn), owner_(owner) {}

QueuedMessageReader::~QueuedMessageReader() = default;

bool QueuedMessageReader::Open(long outFolder, std::size_t textBuffer) {
    failed_ = true;
    if (!conn_) return false;
    text_.assign(textBuffer < 2 ? 2 : textBuffer, '\0');
    table_.reset(new odbcvantTableInfo(conn_, "Messages"));
    const std::string sql =
        "SELECT MesgNum, Subject, MailData, MesgSize, MesgID, FromAdd FROM Messages WHERE " +
        QueuedCondition(outFolder);
    cursor_.reset(new odbcvantCursor(conn_, sql.c_str()));
    ODBCVANT_CURSORBIND b[6];
    odbcvantSetColumnBind(b[0], "MesgNum", &mesgNum_, 0, table_.get());
    odbcvantSetColumnBind(b[1], "Subject", subject_, sizeof subject_, table_.get());
    odbcvantSetColumnBind(b[2], "MailData", text_.data(), static_cast<int>(text_.size()),
                          table_.get());
    odbcvantSetColumnBind(b[3], "MesgSize", &mesgSize_, 0, table_.get());
    odbcvantSetColumnBind(b[4], "MesgId", mesgId_, sizeof mesgId_, table_.get());
    odbcvantSetColumnBind(b[5], "FromAdd", fromAdd_, sizeof fromAdd_, table_.get());
    cursor_->SetSingleResult();
    if (!table_->IsValid() || !cursor_->BindColumns(b, 6) || !cursor_->ExecuteStmt()) {
        cursor_->ReportError(owner_);
        return false;
    }
    failed_ = false;
    return true;
}

bool QueuedMessageReader::Next(QueuedMessage* message) {
    if (failed_ || !cursor_) return false;
    subject_[0] = mesgId_[0] = fromAdd_[0] = '\0';
    text_[0] = '\0';
    int rows = 0;
    if (!cursor_->FetchNext(&rows) || rows <= 0) {
        if (rows < 0) {
            failed_ = true;
            cursor_->ReportError(owner_);
        }
        return false;
    }
    QueuedMessage m;
    m.mesgNum = mesgNum_;
    m.subject = subject_;
    m.mesgSize = mesgSize_;
    m.mesgId = mesgId_;
    m.fromAdd = fromAdd_;
    // A text that filled the buffer was cut (its MesgSize was too small): it is read again whole.
    if (std::strlen(text_.data()) + 1 < text_.size())
        m.mailData = text_.data();
    else if (!ReadWholeText(m.mesgNum, &m.mailData))
        return !(failed_ = true);
    if (!ReadNames("ToList", "ToName", m.mesgNum, kToNameLen, &m.to) ||
        !ReadNames("CcList", "CcName", m.mesgNum, kCcNameLen, &m.cc) ||
        !ReadNames("Files", "FileName", m.mesgNum, kFileNameLen, &m.files))
        return !(failed_ = true);
    *message = std::move(m);
    return true;
}

bool QueuedMessageReader::ReadWholeText(long mesgNum, std::string* text) {
    const std::string sql = "SELECT MailData FROM Messages WHERE " + ConditionMesgNum(mesgNum);
    std::vector<char> body(text_.size() * kGrowth);
    for (;;) {
        body[0] = '\0';
        odbcvantCursor cursor(conn_, sql.c_str());
        cursor.SetSingleResult();
        if (!cursor.BindColumns(1, ODBCVANT_TEXT, body.data(), static_cast<int>(body.size())) ||
            !cursor.ExecuteStmt()) {
            cursor.ReportError(owner_);
            return false;
        }
        if (!cursor.SingleFetch()) return false;
        if (std::strlen(body.data()) + 1 < body.size() || body.size() >= kMostText) break;
        body.assign(body.size() * kGrowth, '\0');
    }
    *text = body.data();
    return true;
}

bool QueuedMessageReader::ReadNames(const char* table, const char* column, long mesgNum, int width,
                                    std::vector<std::string>* names) {
    names->clear();
    const std::string sql =
        std::string("SELECT ") + column + " FROM " + table + " WHERE " + ConditionMesgNum(mesgNum);
    odbcvantCursor cursor(conn_, sql.c_str());
    std::vector<char> name(static_cast<std::size_t>(width) + 1);
    cursor.SetSingleResult();
    if (!cursor.BindColumns(1, ODBCVANT_TEXT, name.data(), static_cast<int>(name.size())) ||
        !cursor.ExecuteStmt()) {
        cursor.ReportError(owner_);
        return false;
    }
    for (;;) {
        name[0] = '\0';
        int rows = 0;
        if (!cursor.FetchNext(&rows) || rows <= 0) return rows == 0;
        if (name[0]) names->push_back(name.data());
    }
}

} // namespace lx
