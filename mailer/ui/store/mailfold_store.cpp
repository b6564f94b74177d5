#include "mailer/ui/store/mailfold_store.h"

#include "common/schema/schema.h"
#include "common/schema/sqlforms.h"
#include "common/schema/storetables.h"

#include <cstdio>
#include <cstring>

namespace lx {

namespace {

constexpr int kRowSet = 5;

// Copies a value into a fixed column buffer, cut to the column's width.
template <size_t N>
void Fill(char (&buffer)[N], const std::string& value) {
    std::snprintf(buffer, N, "%s", value.c_str());
}

} // namespace

FolderStore::FolderStore(odbcvantConnection* conn, HWND owner) : conn_(conn), owner_(owner) {
    if (!conn_) return;
    table_ = std::make_unique<odbcvantTableInfo>(conn_, "Folders");
    cursor_ = std::make_unique<odbcvantCursor>(conn_, kSqlFolderList);
}

FolderStore::~FolderStore() = default;

bool FolderStore::Ready() const {
    return conn_ && table_ && table_->IsValid() && cursor_ && cursor_->IsValid();
}

bool FolderStore::Load(std::vector<FolderRow>& rows) {
    if (!Ready()) return false;
    SQLINTEGER num[kRowSet] = {};
    char name[kRowSet][kFolderLen + 1] = {};
    char type[kRowSet][kFolderTypeLen + 1] = {};
    char desc[kRowSet][kDescriptionLen + 1] = {};
    ODBCVANT_CURSORBIND b[4];
    odbcvantSetColumnBind(b[0], "FolderNum", num, 0, table_.get());
    odbcvantSetColumnBind(b[1], "Folder", name, sizeof name[0], table_.get());
    odbcvantSetColumnBind(b[2], "FolderType", type, sizeof type[0], table_.get());
    odbcvantSetColumnBind(b[3], "Description", desc, sizeof desc[0], table_.get());
    // The one cursor is re-aimed for every load.
    cursor_->ReUseHandle();
    if (!cursor_->ResetQuery(kSqlFolderList) || !cursor_->SetRowSetSize(kRowSet) ||
        !cursor_->BindColumns(b, 4) || !cursor_->ExecuteStmt()) {
        cursor_->ReportError(owner_);
        return false;
    }
    std::vector<FolderRow> loaded;
    int got = 0;
    for (int ok = cursor_->FetchFirst(&got); ok && got > 0; ok = cursor_->FetchNext(&got)) {
        for (int i = 0; i < got && i < kRowSet; ++i) {
            FolderRow r;
            r.num = static_cast<long>(num[i]);
            name[i][kFolderLen] = type[i][kFolderTypeLen] = desc[i][kDescriptionLen] = '\0';
            r.name = name[i];
            r.type = type[i];
            r.description = desc[i];
            loaded.push_back(std::move(r));
        }
    }
    if (got < 0) {
        cursor_->ReportError(owner_);
        return false;
    }
    rows.swap(loaded);
    return true;
}

bool FolderStore::LoadEnsuringSpecialFolders(std::vector<FolderRow>& rows, const TextOf& text) {
    if (!Load(rows)) return false;
    const MissingSpecialFolders missing = FindMissingSpecialFolders(rows);
    if (missing == MissingSpecialFolders::None) return true;
    const SpecialFolder* specials = SpecialFolders();
    for (int i = 0; i < kSpecialFolderCount; ++i) {
        if (missing == MissingSpecialFolders::Trashcan &&
            std::strcmp(specials[i].name, kFolderTrashcan) != 0)
            continue;
        if (!Insert(specials[i].name, kFolderTypeSpecial,
                    text ? text(specials[i].descriptionKey) : std::string()))
            return false;
    }
    return Load(rows);
}

bool FolderStore::Insert(const std::string& name, const char* type,
                         const std::string& description) {
    if (!Ready()) return false;
    char folder[kFolderLen + 1], kind[kFolderTypeLen + 1], desc[kDescriptionLen + 1];
    Fill(folder, name);
    Fill(kind, type);
    Fill(desc, description);
    ODBCVANT_PBIND p[3];
    odbcvantSetParamBind(p[0], "Folder", folder);
    odbcvantSetParamBind(p[1], "FolderType", kind);
    odbcvantSetParamBind(p[2], "Description", desc);
    odbcvantStmt stmt(conn_, table_.get());
    return ReportedOutcome(stmt, stmt.PrepareInsert(p, 3) && stmt.InsertRow(), owner_);
}

bool FolderStore::Update(long folderNum, const std::string& name, const std::string& description) {
    if (!Ready()) return false;
    char folder[kFolderLen + 1], desc[kDescriptionLen + 1];
    Fill(folder, name);
    Fill(desc, description);
    ODBCVANT_PBIND p[2];
    odbcvantSetParamBind(p[0], "Folder", folder);
    odbcvantSetParamBind(p[1], "Description", desc);
    odbcvantStmt stmt(conn_, table_.get());
    return ReportedOutcome(
        stmt, stmt.PrepareUpdate(p, 2, ConditionFolderNum(folderNum).c_str()) && stmt.UpdateRow(),
        owner_);
}

bool FolderStore::Delete(long folderNum, long trashcanNum) {
    if (!Ready()) return false;
    const std::string inFolder = ConditionFolderNum(folderNum);
    if (trashcanNum >= 0 && trashcanNum != folderNum) {
        odbcvantTableInfo messages(conn_, "Messages");
        if (!MoveMessagesTo(conn_, &messages, trashcanNum, inFolder, owner_)) return false;
    }
    return DeleteRowsWhere(conn_, table_.get(), inFolder, owner_);
}

} // namespace lx
