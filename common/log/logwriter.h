// Writer of Lorvex.Log, the automatic mail check's log. A check run opens the log, appends its
// entries (each a text and CR LF) and closes it with a closing stamp; the file is only ever
// appended to, so it grows across runs, one block per run with an empty line between blocks.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "common/catalog/msgcatalog.h"
#include "common/clock/localtime.h"
#include "common/catalog/textformat.h"

namespace lx {

// Local date and time of a stamp.
using LogTime = LocalTime;

// A stamp text (six integer conversions: month, day, year, hour, minute, second) formatted
// with t; a text that does not hold exactly those conversions (or none) gives the fixed
// layout "MM/DD/YYYY HH:MM:SS".
std::string FormatLogStamp(const char* format, const LogTime& t);

class LogWriter {
public:
    LogWriter() = default;
    ~LogWriter();
    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;

    // Opens the log at path (created when missing) for appending. A log that cannot be
    // opened stays closed and every later write is silently dropped.
    bool Open(const std::string& path);
    bool IsOpen() const;

    // Appends text (nullptr writes an empty entry) and CR LF.
    void WriteEntry(const char* text);
    void WriteEntry(const std::string& text) { WriteEntry(text.c_str()); }
    // Appends the catalogue text of key as an entry.
    void WriteMessage(MessageCatalog& catalog, const char* key);
    // Appends the catalogue text of key formatted with args; a text whose conversions do not
    // fit the arguments is written as it stands with the arguments after it.
    void WriteMessage(MessageCatalog& catalog, const char* key, const std::vector<FormatArg>& args);
    // The date stamp that starts a run.
    void WriteDateStamp(MessageCatalog& catalog, const LogTime& t);
    // The closing stamp followed by an empty line; then closes the log.
    void CloseRun(MessageCatalog& catalog, const LogTime& t);
    // At program exit: when a run still has the log open, notes the interruption and closes
    // the run with its stamp.
    void CloseAtExit(MessageCatalog& catalog, const LogTime& t);
    // A tick that found a user command running: a block of its own holding the date stamp
    // and the busy notice, written to a log opened and closed around it.
    void WriteBusyBlock(const std::string& path, MessageCatalog& catalog, const LogTime& t);

private:
    void WriteLocked(const std::string& text);
    void CloseLocked(MessageCatalog& catalog, const LogTime& t);

    // The interface thread and the dial-up monitor thread both write entries.
    mutable std::mutex lock_;
    std::FILE* file_ = nullptr;
};

} // namespace lx
