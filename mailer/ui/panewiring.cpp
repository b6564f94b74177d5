#include "mailer/ui/panewiring.h"

#include "mailer/ui/mailfold.h"
#include "mailer/ui/mailmess.h"

namespace lx {

void WirePanes(FolderPane& folder, MessageListPane& list, PaneReports reports) {
    list.SetFolderPane(&folder);
    folder.SetTabTarget(list.List());
    folder.SetOnFolderSelected([&list, selected = std::move(reports.folderSelected)](long num) {
        list.LoadFolder(num);
        if (selected) selected(num);
    });
    folder.SetOnEmptyTrash([&list] {
        list.SelectAll();
        list.DeleteSelected();
    });
    if (reports.count) list.SetOnCount(std::move(reports.count));
    if (reports.open) list.SetOnOpen(std::move(reports.open));
    if (reports.print) list.SetOnPrint(std::move(reports.print));
}

} // namespace lx
