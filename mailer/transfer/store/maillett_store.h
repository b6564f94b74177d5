// The store work of the "Send Mail [SMTP]" dialog: counting the queued messages of _OUT, reading
// each with its recipients and files, and moving the sent ones to _SENT. Store access component
// only; failures are reported to the owner window by the store's own error report.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "mailer/transfer/logic/sendrun.h"
#include "mailer/transfer/store/folderlookup.h"
#include "odbcvant/odbcvant.h"

namespace lx {

struct QueueSize {
    long count = 0;   // queued messages (MesgType "O") in the folder
    long largest = 0; // the largest MesgSize among them, 0 when none
};

// "SELECT COUNT(*), MAX(MesgSize) FROM Messages WHERE FolderNum = n AND MesgType = 'O'".
bool CountQueued(odbcvantConnection* conn, long outFolder, HWND owner, QueueSize* size);

// Moves one message into `folder` (sending moves it from _OUT to _SENT).
bool MoveMessageToFolder(odbcvantConnection* conn, long mesgNum, long folder, HWND owner);

// The queued messages of a folder, one at a time, in the order the store returns them.
class QueuedMessageReader {
public:
    QueuedMessageReader(odbcvantConnection* conn, HWND owner);
    ~QueuedMessageReader();
    QueuedMessageReader(const QueuedMessageReader&) = delete;
    QueuedMessageReader& operator=(const QueuedMessageReader&) = delete;

    // Runs the query; texts are read into a buffer of `textBuffer` bytes first (a longer text is
    // read again whole). False when the query fails.
    bool Open(long outFolder, std::size_t textBuffer);
    // The next message with its To, Cc and file rows; false at the end or on a failure (Failed()).
    bool Next(QueuedMessage* message);
    bool Failed() const { return failed_; }

private:
    bool ReadWholeText(long mesgNum, std::string* text);
    bool ReadNames(const char* table, const char* column, long mesgNum, int width,
                   std::vector<std::string>* names);

    odbcvantConnection* conn_;
    HWND owner_;
    std::unique_ptr<odbcvantTableInfo> table_;
    std::unique_ptr<odbcvantCursor> cursor_;
    std::vector<char> text_;
    SQLINTEGER mesgNum_ = 0, mesgSize_ = 0;
    char subject_[256] = "", mesgId_[65] = "", fromAdd_[81] = "";
    bool failed_ = false;
};

} // namespace lx
