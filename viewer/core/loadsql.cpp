#include "viewer/core/loadsql.h"

#include "common/schema/sqlforms.h"

namespace lx::viewer {

namespace {

struct ListTable {
    const char* table;
    const char* nameColumn;
};

ListTable TableOf(MessageList list) {
    switch (list) {
    case MessageList::To: return {"ToList", "ToName"};
    case MessageList::Cc: return {"CcList", "CcName"};
    case MessageList::Files: return {"Files", "FileName"};
    }
    return {"ToList", "ToName"};
}

std::string WhereMesgNum(std::int32_t mesgNum) { return " WHERE " + ConditionMesgNum(mesgNum); }

} // namespace

std::string SqlMessageRow(std::int32_t mesgNum) {
    return "SELECT FolderNum, MesgId, MesgDate, MailData, MesgSize, FromAdd, Subject, AppDate "
           "FROM Messages" +
           WhereMesgNum(mesgNum);
}

std::string SqlListCount(MessageList list, std::int32_t mesgNum) {
    return std::string("SELECT COUNT(*) FROM ") + TableOf(list).table + WhereMesgNum(mesgNum);
}

std::string SqlListNames(MessageList list, std::int32_t mesgNum) {
    const ListTable t = TableOf(list);
    return std::string("SELECT ") + t.nameColumn + " FROM " + t.table + WhereMesgNum(mesgNum);
}

} // namespace lx::viewer
