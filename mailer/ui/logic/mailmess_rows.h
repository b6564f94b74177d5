// The message list's row texts, icons and selection rules. Portable.
//
// A row is one list string of four TAB-separated fields: flags (message type, "N" while new,
// "F" with files), date, address (first recipient for own mail, else the sender) and subject.
#pragma once
#include "common/schema/sqlforms.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace lx {

// Month names from the catalogue: entry 1..12, entry 0 empty; each at most 7 characters.
class MonthNames {
public:
    static constexpr size_t kMaxLen = 7;
    MonthNames() = default;
    // `text` gives the catalogue text of "MAILMESS_CPP_1" .. "MAILMESS_CPP_12".
    explicit MonthNames(const std::function<std::string(const char* key)>& text);
    const std::string& Of(int month) const;

private:
    std::array<std::string, 13> names_{};
};

// The date field: "%02d-%s-%4d" (day, month name, year).
std::string DateField(const StoreTime& date, const MonthNames& months);

// The whole list string of a message. `firstTo` is used for own mail ("O") when not empty.
std::string MessageRowText(char mesgType, const std::string& subject, const StoreTime& appDate,
                           const std::string& fromAdd, const std::string& firstTo,
                           const MonthNames& months);

// A line without a message (empty folder, failed query): "%s\t\t\t".
std::string PlaceholderRowText(const std::string& text);

std::array<std::string, 4> SplitRowFields(const std::string& row);

// The icon of a row by its flags field; None for anything but incoming mail.
enum class RowIcon {
    None = 0,
    IncomingNewFiles = 182,
    IncomingNew = 183,
    IncomingFiles = 184,
    Incoming = 185
};
RowIcon IconForFlags(const std::string& flags);

// A folder is a drop target when it exists, is not the folder being listed and is not _IN.
bool IsDropTarget(long folderNum, long listedFolder, long inFolder);

// Mouse and keyboard selection of an extended-selection list: Ctrl toggles a row, Shift selects
// the range from the anchor, a plain click selects one row and makes it the anchor.
class ListSelection {
public:
    void Reset(int count);
    int Count() const { return static_cast<int>(selected_.size()); }
    void Click(int row, bool ctrl, bool shift);
    void SelectAll();
    void ClearAll();
    bool IsSelected(int row) const;
    std::vector<int> Selected() const; // in list order
    int Anchor() const { return anchor_; }

private:
    std::vector<bool> selected_;
    int anchor_ = 0;
};

} // namespace lx
