#include "common/schema/schema.h"

#include <cstring>

namespace lx {

namespace {

const ColumnDef kFolders[] = {
    {"FolderNum", ColumnKind::Key, 0},
    {"Folder", ColumnKind::Text, kFolderLen},
    {"FolderType", ColumnKind::Text, kFolderTypeLen},
    {"Description", ColumnKind::Text, kDescriptionLen},
};
const ColumnDef kMessages[] = {
    {"MesgNum", ColumnKind::Key, 0},
    {"FolderNum", ColumnKind::Integer, 0},
    {"MesgId", ColumnKind::Text, kMesgIdLen},
    {"FromAdd", ColumnKind::Text, kFromAddLen},
    {"MesgDate", ColumnKind::Text, kMesgDateLen},
    {"AppDate", ColumnKind::Timestamp, 0},
    {"Subject", ColumnKind::Text, kSubjectLen},
    {"MailData", ColumnKind::LongText, 0},
    {"MesgType", ColumnKind::Text, kMesgTypeLen},
    {"MesgSize", ColumnKind::Integer, 0},
};
const ColumnDef kToList[] = {
    {"MesgNum", ColumnKind::Integer, 0},
    {"ToName", ColumnKind::Text, kToNameLen},
};
const ColumnDef kCcList[] = {
    {"MesgNum", ColumnKind::Integer, 0},
    {"CcName", ColumnKind::Text, kCcNameLen},
};
const ColumnDef kFiles[] = {
    {"FileNum", ColumnKind::Key, 0},
    {"MesgNum", ColumnKind::Integer, 0},
    {"FileName", ColumnKind::Text, kFileNameLen},
};
const ColumnDef kAddBook[] = {
    {"AddNum", ColumnKind::Key, 0},
    {"AddName", ColumnKind::Text, kAddNameLen},
    {"AddDest", ColumnKind::Text, kAddDestLen},
    {"AddNote", ColumnKind::Text, kAddNoteLen},
};
const ColumnDef kDistribution[] = {
    {"DistroNum", ColumnKind::Key, 0},
    {"DistroName", ColumnKind::Text, kDistroNameLen},
};
const ColumnDef kDistroAdd[] = {
    {"DistroNum", ColumnKind::Integer, 0},
    {"AddNum", ColumnKind::Integer, 0},
    {"IsTo", ColumnKind::Bit, 0},
};

template <size_t N>
constexpr TableDef Table(const char* name, const ColumnDef (&cols)[N]) {
    return TableDef{name, cols, static_cast<int>(N)};
}

const TableDef kTables[kStoreTableCount] = {
    Table("Folders", kFolders),
    Table("Messages", kMessages),
    Table("ToList", kToList),
    Table("CcList", kCcList),
    Table("Files", kFiles),
    Table("AddBook", kAddBook),
    Table("Distribution", kDistribution),
    Table("DistroAdd", kDistroAdd),
};

} // namespace

const char kFolderTypeSpecial[] = "S";
const char kFolderTypeUser[] = "U";
const char kMesgTypeIncoming[] = "I";
const char kMesgTypeOwn[] = "O";

const char kFolderIn[] = "_IN";
const char kFolderOut[] = "_OUT";
const char kFolderDesk[] = "_DESK";
const char kFolderDraft[] = "_DRAFT";
const char kFolderSent[] = "_SENT";
const char kFolderTrashcan[] = "_TRASHCAN";

namespace {
const SpecialFolder kSpecial[kSpecialFolderCount] = {
    {kFolderIn, "MAILFOLD_CPP_12"},   {kFolderOut, "MAILFOLD_CPP_13"},
    {kFolderDesk, "MAILFOLD_CPP_14"}, {kFolderDraft, "MAILFOLD_CPP_15"},
    {kFolderSent, "MAILFOLD_CPP_16"}, {kFolderTrashcan, "MAILFOLD_CPP_17"},
};
} // namespace

const TableDef* StoreTables() { return kTables; }

const TableDef* FindStoreTable(const char* name) {
    if (!name) return nullptr;
    for (const TableDef& t : kTables) {
        if (std::strcmp(t.name, name) == 0) return &t;
    }
    return nullptr;
}

const ColumnDef* FindStoreColumn(const TableDef& table, const char* name) {
    if (!name) return nullptr;
    for (int i = 0; i < table.columnCount; ++i) {
        if (std::strcmp(table.columns[i].name, name) == 0) return &table.columns[i];
    }
    return nullptr;
}

const SpecialFolder* SpecialFolders() { return kSpecial; }

bool IsSpecialFolderName(const char* name) {
    if (!name) return false;
    for (const SpecialFolder& f : kSpecial) {
        if (std::strcmp(f.name, name) == 0) return true;
    }
    return false;
}

} // namespace lx
