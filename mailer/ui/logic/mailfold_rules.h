// The folder pane's rules that need no window: special folder numbers, which folders a store
// still lacks, name clashes, the default-folder guard and the row under a point. Portable.
#pragma once
#include <string>
#include <vector>

namespace lx {

struct MailboxList;
struct MailboxRecord;

// One row of Folders as the pane keeps it.
struct FolderRow {
    long num = 0;
    std::string name;        // at most 16 characters
    std::string type;        // "S" or "U"
    std::string description; // at most 32 characters
};

// The FolderNum of each special folder, found by name after every fill of the folder pane;
// -1 until found. The main frame owns the one set and hands it to whoever needs it.
struct SpecialFolderNumbers {
    long in = -1;
    long out = -1;
    long desk = -1;
    long draft = -1;
    long sent = -1;
    long trashcan = -1;
};
// Records the numbers of the special folders in `rows` (exact names) into `numbers`; the others
// keep their value.
void RecordSpecialFolderNumbers(const std::vector<FolderRow>& rows, SpecialFolderNumbers& numbers);

// List positions the pane relies on (special folders sort first: _DESK, _DRAFT, _IN, _OUT,
// _SENT, _TRASHCAN).
constexpr int kInFolderIndex = 2;
constexpr int kTrashcanIndex = 5;
constexpr int kFirstUserFolderIndex = 6;

// Which special folders a store lacks: all six when it has no folder at all, only _TRASHCAN
// when the others are there but it is not (older stores), else none.
enum class MissingSpecialFolders { None, All, Trashcan };
MissingSpecialFolders FindMissingSpecialFolders(const std::vector<FolderRow>& rows);

// True when a folder other than `exceptNum` (-1: none excepted) already has exactly this name.
bool FolderNameTaken(const std::vector<FolderRow>& rows, const std::string& name, long exceptNum);

// Names beginning with "_" or "-" are kept for the special folders.
bool IsReservedFolderName(const char* name);

// The mailbox account whose default folder is this folder (by name or number), or nullptr.
const MailboxRecord* MailboxUsingFolder(const MailboxList& list, const FolderRow& folder);

// The list index under a point `y` pixels below the list's top, or -1 beyond the last item.
int IndexAtPoint(int topIndex, int y, int itemHeight, int count);

// Item height of a list for a font: text height + external leading + 4, at least 18.
int ListItemHeight(int textHeight, int externalLeading);

} // namespace lx
