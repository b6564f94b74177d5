// "Select Folder": the user picks the folder a message is filed into. Lists every folder but
// _IN, special folders first. The dialog writes nothing to the store.
#pragma once
#include <windows.h>
#include <string>

class odbcvantConnection;

namespace lx {

class MessageCatalog;

// Runs the dialog modally. On IDOK `*folderNum` holds the chosen FolderNum and `name` (when
// given, at least 17 bytes of `nameSize`) its name; on any other answer both are unchanged.
INT_PTR ShowSelectFolderDialog(HWND owner, MessageCatalog& catalog, odbcvantConnection* conn,
                               long* folderNum, char* name, size_t nameSize,
                               const std::string& helpFile);

// One line of the list: the name, a TAB and the number. Portable helpers for the dialog.
std::string SelectFolderLine(const char* name, long folderNum);
// Splits a line at its TAB; false when it has none or no number follows.
bool ParseSelectFolderLine(const std::string& line, std::string& name, long& folderNum);

} // namespace lx
