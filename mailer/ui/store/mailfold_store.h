// The folder pane's store work: reading the Folders table, creating the special folders, and
// inserting, renaming and deleting folders. Portable (store access component only). Failures
// are reported by the store access objects to the owner window and return false.
#pragma once
#include "mailer/ui/logic/mailfold_rules.h"
#include "odbcvant/odbcvant.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lx {

class FolderStore {
public:
    // `text` gives the catalogue text of a key (the special folders' descriptions).
    using TextOf = std::function<std::string(const char* key)>;
    FolderStore(odbcvantConnection* conn, HWND owner);
    ~FolderStore();
    FolderStore(const FolderStore&) = delete;
    FolderStore& operator=(const FolderStore&) = delete;

    bool Ready() const;
    void SetOwner(HWND owner) { owner_ = owner; }

    // Every folder, special folders first, each group by name.
    bool Load(std::vector<FolderRow>& rows);
    // Load, then create what FindMissingSpecialFolders names and load again.
    bool LoadEnsuringSpecialFolders(std::vector<FolderRow>& rows, const TextOf& text);

    bool Insert(const std::string& name, const char* type, const std::string& description);
    bool Update(long folderNum, const std::string& name, const std::string& description);
    // Deletes the Folders row. Its messages are first moved to `trashcanNum` (when it is 0 or
    // more), so that no message is left behind in a folder nobody can list; when that move fails
    // the folder is kept.
    bool Delete(long folderNum, long trashcanNum);

private:
    odbcvantConnection* conn_;
    HWND owner_;
    std::unique_ptr<odbcvantTableInfo> table_;
    std::unique_ptr<odbcvantCursor> cursor_;
};

} // namespace lx
