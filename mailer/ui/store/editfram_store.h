// The composer's store work: reading a stored outgoing message with its recipients and files,
// saving a composed message (replacing the opened one only once the new one is whole), and
// deleting it. Store access component only; failures are reported to the owner window by the
// store's own error report.
#pragma once

#include <string>
#include <vector>

#include "common/schema/sqlforms.h"
#include "odbcvant/odbcvant.h"

namespace lx {

// A stored message as the composer opens it.
struct StoredMessage {
    long mesgNum = -1;
    long folderNum = -1;
    std::string mesgId;
    std::string fromAdd;
    std::string subject; // as stored, flag suffix included
    std::string mailData;
    std::string mesgType;
    long mesgSize = 0;
};

// The message's row (its whole text, however long); false when it is gone or cannot be read.
bool ReadStoredMessage(odbcvantConnection* conn, HWND owner, long mesgNum, StoredMessage* out);

// Writes the message's Subject (the read mark cleared); failures are not reported.
bool WriteMessageSubject(odbcvantConnection* conn, long mesgNum, const std::string& subject);

// The To names, Cc names or file paths of a message, in the order the store returns them.
enum class MessageList { To, Cc, Files };
bool ReadMessageList(odbcvantConnection* conn, HWND owner, MessageList which, long mesgNum,
                     std::vector<std::string>* out);

// What the composer stores.
struct ComposedMessage {
    long folderNum = -1;
    std::string signature;     // MesgId
    std::string returnAddress; // FromAdd
    std::string subjectText;   // without the flag suffix
    std::string body;
    std::vector<std::string> to, cc, files;
    StoreTime appDate;
};

enum class SaveResult {
    Saved,   // the message and all its rows are stored (an opened message replaced)
    NotSaved // nothing changed; an opened message is kept whole
};

// Stores the message as written mail. With `replaceMesgNum` >= 0 the opened message is removed
// (its row and its ToList, CcList and Files rows) only after the new one is stored whole; a new
// message that could not be stored whole is taken out again.
SaveResult SaveComposedMessage(odbcvantConnection* conn, HWND owner, const ComposedMessage& m,
                               long replaceMesgNum, long* newMesgNum);

// Deletes the message's row and its ToList, CcList and Files rows.
bool DeleteMessageWithRows(odbcvantConnection* conn, HWND owner, long mesgNum);
// Puts the message into `folderNum` (Delete Message outside _TRASHCAN).
bool MoveComposedMessage(odbcvantConnection* conn, HWND owner, long mesgNum, long folderNum);

} // namespace lx
