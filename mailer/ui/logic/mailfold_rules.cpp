#include "mailer/ui/logic/mailfold_rules.h"

#include "common/schema/schema.h"
#include "common/settings/mailbox_file.h"
#include "common/settings/mailbox_record.h"

#include <algorithm>
#include <cstring>

namespace lx {

void RecordSpecialFolderNumbers(const std::vector<FolderRow>& rows, SpecialFolderNumbers& n) {
    const struct {
        const char* name;
        long* slot;
    } slots[] = {{kFolderIn, &n.in},       {kFolderOut, &n.out},   {kFolderDesk, &n.desk},
                 {kFolderDraft, &n.draft}, {kFolderSent, &n.sent}, {kFolderTrashcan, &n.trashcan}};
    for (const FolderRow& row : rows)
        for (const auto& s : slots)
            if (row.name == s.name) *s.slot = row.num;
}

MissingSpecialFolders FindMissingSpecialFolders(const std::vector<FolderRow>& rows) {
    if (rows.empty()) return MissingSpecialFolders::All;
    const bool hasTrash = std::any_of(rows.begin(), rows.end(),
                                      [](const FolderRow& r) { return r.name == kFolderTrashcan; });
    return hasTrash ? MissingSpecialFolders::None : MissingSpecialFolders::Trashcan;
}

bool FolderNameTaken(const std::vector<FolderRow>& rows, const std::string& name, long exceptNum) {
    return std::any_of(rows.begin(), rows.end(), [&](const FolderRow& r) {
        return r.name == name && (exceptNum < 0 || r.num != exceptNum);
    });
}

bool IsReservedFolderName(const char* name) { return name && (name[0] == '_' || name[0] == '-'); }

const MailboxRecord* MailboxUsingFolder(const MailboxList& list, const FolderRow& folder) {
    const int count = MailboxCount(list);
    for (int i = 0; i < count; ++i) {
        const MailboxRecord& r = list.records[static_cast<size_t>(i)];
        char name[sizeof r.defaultFolder + 1] = {};
        std::memcpy(name, r.defaultFolder, sizeof r.defaultFolder);
        if ((name[0] && folder.name == name) ||
            (r.defaultFolderNum != 0 && r.defaultFolderNum == folder.num))
            return &r;
    }
    return nullptr;
}

int IndexAtPoint(int topIndex, int y, int itemHeight, int count) {
    if (itemHeight <= 0 || y < 0 || topIndex < 0) return -1;
    const int index = topIndex + y / itemHeight;
    return index + 1 > count ? -1 : index;
}

int ListItemHeight(int textHeight, int externalLeading) {
    return std::max(18, textHeight + externalLeading + 4);
}

} // namespace lx
