#include "viewer/store/storesource.h"

#include <windows.h>
#include <shellapi.h>

#include <cctype>
#include <vector>

#include "viewer/core/loadsql.h"

namespace lx::viewer {

namespace {

// The short form of a file's path; the path itself when it has none (the file is gone).
std::string ShortForm(const std::string& path) {
    char shortPath[MAX_PATH] = "";
    const DWORD got = ::GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    return got > 0 && got < sizeof shortPath ? std::string(shortPath) : path;
}

// The program the system opens the file with; empty when none is known.
std::string AssociatedProgram(const std::string& file) {
    char program[MAX_PATH] = "";
    const HINSTANCE found = ::FindExecutableA(file.c_str(), nullptr, program);
    return reinterpret_cast<INT_PTR>(found) > 32 ? std::string(program) : std::string();
}

} // namespace

bool StoreMessageSource::Connect() { return store_.Open() == StoreConnection::Outcome::Connected; }

bool StoreMessageSource::ReadRecord(MessageRecord& record) {
    odbcvantConnection* conn = store_.Get();
    odbcvantTableInfo table(conn, "Messages");
    std::int32_t folderNum = 0, mesgSize = 0;
    char mesgId[kMesgIdWidth] = "", mesgDate[kMesgDateWidth] = "";
    char fromAdd[kFromAddWidth] = "", subject[kSubjectWidth] = "";
    std::vector<char> mailData(bufferSize_ + 1, '\0');
    TIMESTAMP_STRUCT appDate{};
    ODBCVANT_CURSORBIND b[8];
    odbcvantSetColumnBind(b[0], "FolderNum", &folderNum, 0, &table);
    odbcvantSetColumnBind(b[1], "MesgId", mesgId, sizeof mesgId, &table);
    odbcvantSetColumnBind(b[2], "MesgDate", mesgDate, sizeof mesgDate, &table);
    odbcvantSetColumnBind(b[3], "MailData", mailData.data(), static_cast<int>(mailData.size()),
                          &table);
    odbcvantSetColumnBind(b[4], "MesgSize", &mesgSize, 0, &table);
    odbcvantSetColumnBind(b[5], "FromAdd", fromAdd, sizeof fromAdd, &table);
    odbcvantSetColumnBind(b[6], "Subject", subject, sizeof subject, &table);
    odbcvantSetColumnBind(b[7], "AppDate", &appDate, 0, &table);
    odbcvantCursor cursor(conn, SqlMessageRow(mesgNum_).c_str());
    cursor.SetSingleResult();
    if (!table.IsValid() || !cursor.BindColumns(b, 8) || !cursor.ExecuteStmt() ||
        !cursor.SingleFetch())
        return false;
    record.folderNum = folderNum;
    record.mesgSize = static_cast<std::uint32_t>(mesgSize);
    SetRecordTexts(record, mesgId, mesgDate, std::string(mailData.data()), bufferSize_, fromAdd,
                   subject);
    record.appDate = AppDate{appDate.year,
                             static_cast<std::int16_t>(appDate.month),
                             static_cast<std::int16_t>(appDate.day),
                             static_cast<std::int16_t>(appDate.hour),
                             static_cast<std::int16_t>(appDate.minute),
                             static_cast<std::int16_t>(appDate.second),
                             appDate.fraction};
    return true;
}

long StoreMessageSource::Count(MessageList which) {
    std::int32_t count = 0;
    odbcvantCursor cursor(store_.Get(), SqlListCount(which, mesgNum_).c_str());
    cursor.SetSingleResult();
    if (!cursor.BindColumns(1, ODBCVANT_INT32, &count, 0) || !cursor.ExecuteStmt() ||
        !cursor.SingleFetch())
        return -1;
    return count;
}

bool StoreMessageSource::Names(MessageList which, long count, std::size_t width,
                               std::vector<std::string>& names) {
    std::vector<char> name(width, '\0');
    odbcvantCursor cursor(store_.Get(), SqlListNames(which, mesgNum_).c_str());
    if (!cursor.SetRowSetSize(1) ||
        !cursor.BindColumns(1, ODBCVANT_TEXT, name.data(), static_cast<int>(name.size())) ||
        !cursor.ExecuteStmt())
        return false;
    int got = 0;
    for (int ok = cursor.FetchFirst(&got); ok && got > 0 && long(names.size()) < count;
         ok = cursor.FetchNext(&got))
        names.emplace_back(name.data());
    return got >= 0;
}

void StoreMessageSource::ReadRecipients(MessageList which, RecipientList& list) {
    const long count = Count(which);
    std::vector<std::string> names;
    if (count < 0 || (count > 0 && !Names(which, count, kRecipientNameWidth, names))) {
        list.failed = true;
        return;
    }
    for (const std::string& name : names) AddRecipient(list, name);
}

void StoreMessageSource::ReadAttachments(AttachmentList& attachments) {
    attachments = AttachmentList{};
    const long count = Count(MessageList::Files);
    std::vector<std::string> names;
    if (count < 0 ||
        (count > 0 && !Names(MessageList::Files, count, kAttachmentNameWidth, names))) {
        attachments.count = kAttachmentsFailed;
        return;
    }
    for (const std::string& name : names) {
        if (!AddAttachment(attachments, ShortForm(name))) break;
        // Asked with the full name: the short form cuts a longer extension to three letters.
        attachments.slots[attachments.count - 1].program = AssociatedProgram(name);
    }
}

} // namespace lx::viewer
