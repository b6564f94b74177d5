// The message list's store work: the folder's messages as list rows, moving a message to
// another folder and deleting its Messages row. Portable (store access component only).
// Failures are reported by the store access objects to the owner window.
#pragma once
#include "mailer/ui/logic/mailmess_rows.h"
#include "odbcvant/odbcvant.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace lx {

struct ListedMessage {
    long mesgNum = 0;
    std::string text; // the list string
};

// The query of one folder's list, newest first.
std::string MessageListSql(long folderNum);

class MessageListStore {
public:
    MessageListStore(odbcvantConnection* conn, HWND owner);
    ~MessageListStore();
    MessageListStore(const MessageListStore&) = delete;
    MessageListStore& operator=(const MessageListStore&) = delete;

    bool Ready() const;
    void SetOwner(HWND owner) { owner_ = owner; }

    enum class Outcome { Listed, QueryFailed, CountFailed };
    // Runs the folder's query and makes its rows; `count` is the total row count (-1 when it
    // could not be taken).
    Outcome Load(long folderNum, const MonthNames& months, std::vector<ListedMessage>& rows,
                 long& count);

    bool Move(long mesgNum, long folderNum);
    bool Delete(long mesgNum);

private:
    // The first ToList row of every own message of the folder, by MesgNum.
    void FirstRecipients(long folderNum, std::unordered_map<long, std::string>& firstTo);

    odbcvantConnection* conn_;
    HWND owner_;
    std::unique_ptr<odbcvantTableInfo> messages_;
    std::unique_ptr<odbcvantTableInfo> toList_;
    std::unique_ptr<odbcvantCursor> cursor_;
    std::unique_ptr<odbcvantCursor> toCursor_;
};

} // namespace lx
