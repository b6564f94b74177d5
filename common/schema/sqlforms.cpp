#include "common/schema/sqlforms.h"

#include <cstdio>

namespace lx {

const char kSqlFolderList[] = "SELECT * FROM Folders ORDER BY FolderType, Folder";
const char kSqlFolderNames[] = "SELECT FolderNum, Folder FROM Folders ORDER BY FolderType, Folder";
const char kSqlMessageListOrder[] = " ORDER BY M.AppDate DESC";

std::string SqlEscape(const std::string& value) {
    std::string out;
    out.reserve(value.size() + 8);
    for (char c : value) {
        if (c == '\0') break; // SQL text ends a value at NUL, as the stored column would
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

std::string SqlQuote(const std::string& value) { return "'" + SqlEscape(value) + "'"; }

std::string TimestampLiteral(const StoreTime& t) {
    char buf[96];
    std::snprintf(buf, sizeof(buf), "{ts '%d-%02d-%02d %02d:%02d:%02d'}", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return buf;
}

namespace {
std::string Condition(const char* column, long value) {
    char buf[64];
    std::snprintf(buf, sizeof(buf), "%s = %ld", column, value);
    return buf;
}
} // namespace

std::string ConditionMesgNum(long mesgNum) { return Condition("MesgNum", mesgNum); }
std::string ConditionFolderNum(long folderNum) { return Condition("FolderNum", folderNum); }
std::string ConditionAddNum(int addNum) { return Condition("AddNum", addNum); }
std::string ConditionDistroNum(int distroNum) { return Condition("DistroNum", distroNum); }

std::string SqlFindRetrievedMessage(const StoreTime& appDate, long mesgSize,
                                    const std::string& mesgId) {
    return "SELECT MesgNum FROM Messages WHERE AppDate = " + TimestampLiteral(appDate) +
           " AND MesgSize = " + std::to_string(mesgSize) + " AND MesgId = " + SqlQuote(mesgId);
}

std::string SqlFindWrittenMessage(const StoreTime& appDate, int folderNum) {
    return "SELECT MesgNum FROM Messages WHERE AppDate = " + TimestampLiteral(appDate) +
           " AND FolderNum = " + std::to_string(folderNum) + " AND MesgType = 'O'";
}

std::string SqlFindMergedMessage(const StoreTime& appDate) {
    return "SELECT MesgNum FROM Messages WHERE AppDate = " + TimestampLiteral(appDate) +
           " AND MesgType = 'O'";
}

std::string SqlFindAddress(const std::string& addName, const std::string& addDest) {
    return "SELECT AddNum FROM AddBook WHERE AddName = " + SqlQuote(addName) +
           " AND AddDest = " + SqlQuote(addDest);
}

std::string SqlFindDistribution(const std::string& distroName) {
    return "SELECT DistroNum FROM Distribution WHERE DistroName = " + SqlQuote(distroName);
}

} // namespace lx
