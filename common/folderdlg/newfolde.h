// "Create New Folder": asks for a folder name and description when a folder is made or edited.
// The dialog writes nothing to the store; the caller does, and tests for existing names.
#pragma once
#include "common/schema/schema.h"
#include <windows.h>
#include <string>

namespace lx {

class MessageCatalog;

struct NewFolderData {
    char name[kFolderLen + 1] = {};
    char description[kDescriptionLen + 1] = {};
};

// Runs the dialog modally. When `preset` names a folder (editing), the caption becomes the
// editing caption and the fields start with its values (each only when not empty). On IDOK
// `result` holds the entered fields. `helpFile` names the help file and its window.
INT_PTR ShowNewFolderDialog(HWND owner, MessageCatalog& catalog, const NewFolderData* preset,
                            NewFolderData* result, const std::string& helpFile);

} // namespace lx
