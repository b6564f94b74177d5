#include "mailer/ui/logic/mailmess_rows.h"

#include "common/schema/subject.h"

#include <algorithm>
#include <cstdio>

namespace lx {

MonthNames::MonthNames(const std::function<std::string(const char* key)>& text) {
    for (int m = 1; m <= 12; ++m) {
        char key[24];
        std::snprintf(key, sizeof key, "MAILMESS_CPP_%d", m);
        std::string name = text ? text(key) : std::string();
        if (name.size() > kMaxLen) name.resize(kMaxLen);
        names_[static_cast<size_t>(m)] = name;
    }
}

const std::string& MonthNames::Of(int month) const {
    return names_[month >= 1 && month <= 12 ? static_cast<size_t>(month) : 0];
}

std::string DateField(const StoreTime& date, const MonthNames& months) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d-%s-%4d", date.day, months.Of(date.month).c_str(),
                  date.year);
    return text;
}

std::string MessageRowText(char mesgType, const std::string& subject, const StoreTime& appDate,
                           const std::string& fromAdd, const std::string& firstTo,
                           const MonthNames& months) {
    const SubjectParts parts = ParseSubject(subject);
    std::string row(1, mesgType ? mesgType : ' ');
    if (parts.hasSuffix) {
        row += parts.unread ? 'N' : ' ';
        if (parts.hasFiles) row += 'F';
    }
    row += '\t';
    row += DateField(appDate, months);
    row += '\t';
    row += (mesgType == 'O' && !firstTo.empty()) ? firstTo : fromAdd;
    row += '\t';
    row += parts.shown;
    return row;
}

std::string PlaceholderRowText(const std::string& text) { return text + "\t\t\t"; }

std::array<std::string, 4> SplitRowFields(const std::string& row) {
    std::array<std::string, 4> fields{};
    size_t start = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        // The subject is the rest of the line, TABs and all.
        const size_t tab = i + 1 < fields.size() ? row.find('\t', start) : std::string::npos;
        fields[i] = row.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return fields;
}

RowIcon IconForFlags(const std::string& flags) {
    if (flags.empty() || flags[0] != 'I') return RowIcon::None;
    const bool fresh = flags.size() > 1 && flags[1] == 'N';
    const bool files = flags.find('F', 1) != std::string::npos;
    if (fresh) return files ? RowIcon::IncomingNewFiles : RowIcon::IncomingNew;
    return files ? RowIcon::IncomingFiles : RowIcon::Incoming;
}

bool IsDropTarget(long folderNum, long listedFolder, long inFolder) {
    return folderNum >= 0 && folderNum != listedFolder && folderNum != inFolder;
}

void ListSelection::Reset(int count) {
    selected_.assign(static_cast<size_t>(std::max(0, count)), false);
    anchor_ = 0;
}

void ListSelection::Click(int row, bool ctrl, bool shift) {
    if (row < 0 || row >= Count()) return;
    if (ctrl) {
        selected_[static_cast<size_t>(row)] = !selected_[static_cast<size_t>(row)];
        anchor_ = row;
        return;
    }
    ClearAll();
    if (!shift) {
        selected_[static_cast<size_t>(row)] = true;
        anchor_ = row;
        return;
    }
    const int from = std::min(std::min(anchor_, Count() - 1), row);
    const int to = std::max(std::min(anchor_, Count() - 1), row);
    for (int i = from; i <= to; ++i) selected_[static_cast<size_t>(i)] = true;
}

void ListSelection::SelectAll() { std::fill(selected_.begin(), selected_.end(), true); }
void ListSelection::ClearAll() { std::fill(selected_.begin(), selected_.end(), false); }

bool ListSelection::IsSelected(int row) const {
    return row >= 0 && row < Count() && selected_[static_cast<size_t>(row)];
}

std::vector<int> ListSelection::Selected() const {
    std::vector<int> rows;
    for (int i = 0; i < Count(); ++i)
        if (selected_[static_cast<size_t>(i)]) rows.push_back(i);
    return rows;
}

} // namespace lx
