// "Mailing List" (all lists: add, edit, delete, print, write a merge file), "Build Mailing List"
// (one list's name and its To and Cc members) and "Merge File" (the name of a merge file).
#pragma once
#include "common/settings/font_desc.h"

#include <windows.h>

#include <functional>
#include <string>

class odbcvantConnection;

namespace lx {
class MessageCatalog;
class CommandPlugs;

struct MailingListData {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    std::string installPath; // merge files and the help file
    // The head, tags, text and foot fonts of printing; none: the printer's default font.
    std::function<HFONT(MessageFont which)> font;
};

// Modal; IDCANCEL when closed, -1 when it could not be created.
INT_PTR ShowMailingListDialog(HWND owner, MailingListData* data);
// Plugs the dialog into the main window's ID_MAILING_LISTS.
void PlugMailingLists(CommandPlugs& plugs, const MailingListData& data);

struct BuildMailingListData {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    std::string installPath;
    long distroNum = -1; // in: the list edited, -1 for a new one; out (IDOK): the list saved
    std::string name;    // in: its name
};
// IDOK once the list is saved, IDCANCEL, -1 when it could not be created.
INT_PTR ShowBuildMailingListDialog(HWND owner, BuildMailingListData* data);

struct MergeFileNameData {
    MessageCatalog* catalog = nullptr;
    std::string installPath;
    std::string fileName; // out (IDOK): a name CheckMergeFileName accepts, with ".MMF" added
};
// IDOK with an acceptable name; a name that is refused keeps the dialog open with the reason.
INT_PTR ShowMergeFileDialog(HWND owner, MergeFileNameData* data);

} // namespace lx
