// The SQL forms several parts of both programs share. Every text value placed inside SQL text
// goes through SqlEscape, so a name or subject with an apostrophe cannot break the statement.
#pragma once

#include <string>

#include "common/clock/localtime.h"

namespace lx {

// The value with every apostrophe doubled (for use inside '...').
std::string SqlEscape(const std::string& value);
// The value as a complete SQL string literal: quotes around SqlEscape(value).
std::string SqlQuote(const std::string& value);

// Local date and time to the second, as the store keeps AppDate.
using StoreTime = LocalTime;

// "{ts 'YYYY-MM-DD hh:mm:ss'}"
std::string TimestampLiteral(const StoreTime& t);

// Row conditions for updates and deletes.
std::string ConditionMesgNum(long mesgNum);     // "MesgNum = %ld"
std::string ConditionFolderNum(long folderNum); // "FolderNum = %ld"
std::string ConditionAddNum(int addNum);        // "AddNum = %d"
std::string ConditionDistroNum(int distroNum);  // "DistroNum = %d"

// Selecting a new row back by the values just written. For messages these forms alone are not
// unique (two messages of one second can share them): StoreNewMessage (newmessage.h) takes the
// store's own new key and uses them only to confirm it.
std::string SqlFindRetrievedMessage(const StoreTime& appDate, long mesgSize,
                                    const std::string& mesgId);
std::string SqlFindWrittenMessage(const StoreTime& appDate, int folderNum);
std::string SqlFindMergedMessage(const StoreTime& appDate);
std::string SqlFindAddress(const std::string& addName, const std::string& addDest);
std::string SqlFindDistribution(const std::string& distroName);

// Folder lists: special folders first, each group by name.
extern const char kSqlFolderList[]; // "SELECT * FROM Folders ORDER BY FolderType, Folder"
extern const char
    kSqlFolderNames[]; // "SELECT FolderNum, Folder FROM Folders ORDER BY FolderType, Folder"
// Row order of every message list, newest first.
extern const char kSqlMessageListOrder[]; // " ORDER BY M.AppDate DESC"

} // namespace lx
