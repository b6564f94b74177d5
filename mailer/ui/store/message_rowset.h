// Reading the rows of a Messages query five at a time, the way every message list reads them:
// the message list of one folder and the message search. Portable (store access component only).
#pragma once
#include "common/schema/sqlforms.h"
#include "odbcvant/odbcvant.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace lx {

struct FetchedMessage {
    long mesgNum = 0;
    char mesgType = ' ';
    std::string fromAdd;
    std::string subject; // as stored, flag suffix included
    StoreTime appDate;
};

enum class FetchOutcome { Fetched, QueryFailed, CountFailed };

// Re-aims `cursor` on `sql`, binds its result columns, named in select order (any of MesgNum,
// FromAdd, Subject, MesgSize, AppDate, MesgType, FolderNum), with a row set of 5, executes, and
// fetches the counted rows in query order. `count` is the total row count (-1 when it could not
// be taken). Failures are reported by the cursor to `owner`; a fetch that fails ends the rows.
FetchOutcome FetchMessages(odbcvantCursor& cursor, odbcvantTableInfo* messages,
                           const std::string& sql, std::initializer_list<const char*> columns,
                           HWND owner, std::vector<FetchedMessage>& rows, long& count);

} // namespace lx
