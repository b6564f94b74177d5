// Scan(): the incoming spool file read back with the MIME scanner and every message stored in its
// folder, the incoming filters deciding. Store access and the scanner only, no windows of its own:
// the dialog hands in the owner of the store's error boxes and takes each line it should log.
#pragma once

#include <functional>
#include <string>

#include "odbcvant/odbcvant.h"

namespace lx {
class MessageCatalog;

struct ScanJob {
    std::string spoolPath;  // the incoming spool file
    std::string attachDir;  // where attachments are written
    std::string filterPath; // LORVEX.FLT
    std::string defaultFolder;
    long defaultFolderNum = 0;
    long inFolderNum = -1; // `_IN`; -1: looked up in the store
    // The connection's counts: a run cut short stores only its complete messages.
    int messagesStored = 0;
    int messageTotal = 0;
    HWND owner = nullptr; // owner of the store's error reports
    // Called after each message: the dialog answers the window messages that came meanwhile, so
    // it stays responsive through a long spool.
    std::function<void()> betweenMessages;
    // When set, each message is read from the spool on a thread of its own while this runs on the
    // caller's thread until `read()` answers true, so that a large message does not keep the
    // dialog from answering; `readDone` is called from the reading thread once it has finished.
    std::function<void(const std::function<bool()>& read)> whileReading;
    std::function<void()> readDone;
};

enum class ScanResult {
    AllStored, // every message handled, none of them damaged
    Damaged,   // every message handled, but some arrived damaged or lost their children
    Failed     // no scanner, no messages, a file of a message that could not be saved, or a
               // message the store refused: nothing of the scan is stored (its rows are rolled
               // back, its attachment files removed)
};

struct ScanCounts {
    int handled = 0;  // messages taken from the spool
    int stored = 0;   // Messages rows written (and kept)
    int deleted = 0;  // dropped by a delete rule
    int cutShort = 0; // messages the spool file ends inside
};

using ScanLog = std::function<void(const std::string& line)>;

ScanResult ScanAndStore(odbcvantConnection* conn, const MessageCatalog* catalog, const ScanJob& job,
                        const ScanLog& log, ScanCounts* counts = nullptr);

} // namespace lx
