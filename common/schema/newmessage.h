// Storing a new message: its Messages row, then its ToList, CcList and Files rows under the key
// the store gave the row. Retrieval, sending, the composer and mail merge all store through here.
#pragma once

#include <string>
#include <vector>

#include "common/schema/newkey.h"
#include "common/schema/sqlforms.h"
#include "odbcvant/odbcvant.h"

namespace lx {

// Which select-back form confirms the new row (and finds it when the engine cannot tell).
enum class NewMessageKind {
    Retrieved, // MesgType "I": AppDate, MesgSize and MesgId
    Written,   // MesgType "O": AppDate and FolderNum
    Merged     // MesgType "O": AppDate only
};

struct NewMessage {
    NewMessageKind kind = NewMessageKind::Retrieved;
    long folderNum = 0;
    std::string mesgId;
    std::string fromAdd;
    std::string mesgDate;
    StoreTime appDate;
    std::string subject; // the stored value, flag suffix included (ComposeSubject)
    std::string mailData;
    long mesgSize = -1; // -1: the length of mailData
    std::vector<std::string> to;
    std::vector<std::string> cc;
    std::vector<std::string> files;
};

enum class StoreOutcome {
    Stored,         // the row and all its children are in the store
    RowNotWritten,  // the store refused the row; its error was reported to the owner
    KeyNotCertain,  // the row is stored but its key could not be told apart: no child written
    ChildNotWritten // the row is stored; a child row was refused (error reported to the owner)
};

// The select-back form of the message's kind.
std::string SqlFindNewMessage(const NewMessage& message);

// Inserts the Messages row (text values cut to their column widths) and learns its MesgNum:
// the store's new-key value, confirmed by the select-back form; on an engine without one, the
// select-back form when exactly one row answers it. `mesgNum` is -1 unless Stored.
StoreOutcome InsertMessageRow(odbcvantConnection* conn, const NewMessage& message, HWND owner,
                              long* mesgNum);

// InsertMessageRow, then one ToList, CcList and Files row per entry, each under that key.
// Children are written only when the key is certain.
StoreOutcome StoreNewMessage(odbcvantConnection* conn, const NewMessage& message, HWND owner,
                             long* mesgNum);

} // namespace lx
