#include "mailer/transfer/logic/mboxlist_rules.h"

#include "common/settings/fixed_text.h"

#include <cctype>

namespace lx {
namespace {

bool IsMailbox(const MailboxList& list, int index) {
    return index >= 0 && index < MailboxCount(list);
}

} // namespace

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool CanAddMailbox(const MailboxList& list) { return MailboxCount(list) < kMaxMailboxes; }

bool AddMailbox(MailboxList& list, const MailboxRecord& record) {
    if (!CanAddMailbox(list)) return false;
    const int index = MailboxCount(list);
    list.records[static_cast<size_t>(index)] = record;
    list.count = static_cast<std::int16_t>(index + 1);
    return SetCurrentMailbox(list, index);
}

bool ReplaceMailbox(MailboxList& list, int index, const MailboxRecord& record) {
    if (!IsMailbox(list, index)) return false;
    list.records[static_cast<size_t>(index)] = record;
    return SetCurrentMailbox(list, index);
}

bool DeleteMailbox(MailboxList& list, int index) {
    if (!IsMailbox(list, index)) return false;
    const int count = MailboxCount(list);
    for (int i = index; i + 1 < count; ++i)
        list.records[static_cast<size_t>(i)] = list.records[static_cast<size_t>(i + 1)];
    list.records[static_cast<size_t>(count - 1)] = MailboxRecord{};
    list.count = static_cast<std::int16_t>(count - 1);
    if (list.count > 0) SetCurrentMailbox(list, 0);
    return true;
}

int MailboxNameTaken(const MailboxList& list, const std::string& name, int except) {
    const int count = MailboxCount(list);
    for (int i = 0; i < count; ++i)
        if (i != except &&
            SameNameIgnoringCase(TextOf(list.records[static_cast<size_t>(i)].name), name))
            return i;
    return -1;
}

std::vector<std::string> MailboxNames(const MailboxList& list) {
    std::vector<std::string> names;
    const int count = MailboxCount(list);
    for (int i = 0; i < count; ++i)
        names.push_back(TextOf(list.records[static_cast<size_t>(i)].name));
    return names;
}

} // namespace lx
