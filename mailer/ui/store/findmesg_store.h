// The message search's store work: running a search query over all folders and making its
// result rows, newest first. Portable (store access component only). Failures are reported by
// the store access objects to the owner window.
#pragma once
#include "mailer/ui/store/mailmess_store.h"

#include <memory>
#include <string>
#include <vector>

namespace lx {

class MessageSearchStore {
public:
    MessageSearchStore(odbcvantConnection* conn, HWND owner);
    ~MessageSearchStore();
    MessageSearchStore(const MessageSearchStore&) = delete;
    MessageSearchStore& operator=(const MessageSearchStore&) = delete;

    // False when the cursor or the table description could not be made: nothing can be searched.
    bool Ready() const;
    void SetOwner(HWND owner) { owner_ = owner; }

    enum class Outcome { Listed, QueryFailed, CountFailed };
    // Runs `sql` (SearchSql) and makes one row per hit in query order, fetched five at a time;
    // `count` is the total row count (-1 when it could not be taken).
    Outcome Search(const std::string& sql, const MonthNames& months,
                   std::vector<ListedMessage>& rows, long& count);

private:
    // The first ToList row of an own message; empty when it has none.
    std::string FirstRecipient(long mesgNum);

    odbcvantConnection* conn_;
    HWND owner_;
    std::unique_ptr<odbcvantTableInfo> messages_;
    std::unique_ptr<odbcvantCursor> cursor_;
    std::unique_ptr<odbcvantCursor> toCursor_;
};

} // namespace lx
