// The message store's tables, widths and special folders: the one definition both programs use.
#pragma once

#include <cstddef>

namespace lx {

// Text widths in characters; programs keep buffers one byte longer.
constexpr int kFolderLen = 16;
constexpr int kFolderTypeLen = 1;
constexpr int kDescriptionLen = 32;
constexpr int kMesgIdLen = 64;
constexpr int kFromAddLen = 80;
constexpr int kMesgDateLen = 40;
constexpr int kSubjectLen = 255;
constexpr int kMesgTypeLen = 1;
constexpr int kToNameLen = 80;
constexpr int kCcNameLen = 80;
constexpr int kFileNameLen = 255;
constexpr int kAddNameLen = 48;
constexpr int kAddDestLen = 80;
constexpr int kAddNoteLen = 80;
constexpr int kDistroNameLen = 32;

enum class ColumnKind {
    Key,       // integer numbered by the store
    Integer,   // signed 32-bit
    Text,      // at most `width` characters
    LongText,  // any length
    Timestamp, // to the second
    Bit        // 0 or 1
};

struct ColumnDef {
    const char* name;
    ColumnKind kind;
    int width; // characters for Text, 0 otherwise
};

struct TableDef {
    const char* name;
    const ColumnDef* columns;
    int columnCount;
};

// The eight tables: Folders, Messages, ToList, CcList, Files, AddBook, Distribution, DistroAdd.
constexpr int kStoreTableCount = 8;
const TableDef* StoreTables();
const TableDef* FindStoreTable(const char* name); // exact name, nullptr if none
const ColumnDef* FindStoreColumn(const TableDef& table, const char* name);

// Codes kept in text columns.
extern const char kFolderTypeSpecial[]; // "S"
extern const char kFolderTypeUser[];    // "U"
extern const char kMesgTypeIncoming[];  // "I"
extern const char kMesgTypeOwn[];       // "O"

struct SpecialFolder {
    const char* name;           // "_IN"
    const char* descriptionKey; // catalogue key of its description
};

// The six special folders in the order an empty store receives them.
constexpr int kSpecialFolderCount = 6;
const SpecialFolder* SpecialFolders();
extern const char kFolderIn[];
extern const char kFolderOut[];
extern const char kFolderDesk[];
extern const char kFolderDraft[];
extern const char kFolderSent[];
extern const char kFolderTrashcan[];
bool IsSpecialFolderName(const char* name);

} // namespace lx
