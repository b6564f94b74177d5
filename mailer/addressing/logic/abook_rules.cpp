#include "mailer/addressing/logic/abook_rules.h"

#include <utility>

namespace lx {

AddressBookState AddressBookStep(const AddressBookState& state, AddressBookEvent event) {
    AddressBookState next = state;
    switch (event) {
    case AddressBookEvent::Add: next = {AddressBookMode::Editing, AddressSaveKind::Insert}; break;
    case AddressBookEvent::Edit: next = {AddressBookMode::Editing, AddressSaveKind::Update}; break;
    case AddressBookEvent::Save:
    case AddressBookEvent::Clear:
    case AddressBookEvent::TabChange:
    case AddressBookEvent::Delete: next.mode = AddressBookMode::Browsing; break;
    }
    return next;
}

AddressBookEnabling EnablingFor(AddressBookMode mode, bool tabHasRows, bool canImportAddresses,
                                bool canImportAscii) {
    const bool editing = mode == AddressBookMode::Editing;
    AddressBookEnabling e;
    e.fields = e.memberLists = e.save = e.clear = editing;
    e.add = e.print = e.exportFile = e.addressList = !editing;
    e.edit = e.remove = !editing && tabHasRows;
    e.importAddresses = !editing && canImportAddresses;
    e.importAscii = !editing && canImportAscii;
    return e;
}

void MembershipPick::Reset(std::vector<MailingListRow> lists, const std::vector<long>& memberOf) {
    lists_ = std::move(lists);
    member_.assign(lists_.size(), false);
    for (std::size_t i = 0; i < lists_.size(); ++i)
        for (const long num : memberOf)
            if (lists_[i].distroNum == num) member_[i] = true;
}

bool MembershipPick::Join(std::size_t possibleIndex) {
    const std::size_t at = Nth(false, possibleIndex);
    if (at >= lists_.size()) return false;
    member_[at] = true;
    return true;
}

bool MembershipPick::Leave(std::size_t memberIndex) {
    const std::size_t at = Nth(true, memberIndex);
    if (at >= lists_.size()) return false;
    member_[at] = false;
    return true;
}

std::vector<long> MembershipPick::MemberNums() const {
    std::vector<long> nums;
    for (std::size_t i = 0; i < lists_.size(); ++i)
        if (member_[i]) nums.push_back(lists_[i].distroNum);
    return nums;
}

std::vector<std::string> MembershipPick::Names(bool members) const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < lists_.size(); ++i)
        if (member_[i] == members) names.push_back(lists_[i].name);
    return names;
}

std::size_t MembershipPick::Nth(bool members, std::size_t index) const {
    for (std::size_t i = 0; i < lists_.size(); ++i)
        if (member_[i] == members && index-- == 0) return i;
    return lists_.size();
}

namespace {

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

void SplitPresetAddress(const std::string& preset, std::string* name, std::string* dest) {
    const std::string text = Trimmed(preset);
    const std::size_t open = text.rfind('<');
    const std::size_t close = text.rfind('>');
    std::string shownName, address = text;
    if (open != std::string::npos && close != std::string::npos && close > open &&
        close == text.size() - 1) {
        address = Trimmed(text.substr(open + 1, close - open - 1));
        shownName = Trimmed(text.substr(0, open));
        if (shownName.size() >= 2 && shownName.front() == '"' && shownName.back() == '"')
            shownName = Trimmed(shownName.substr(1, shownName.size() - 2));
    }
    *name = FitText(shownName, kAddNameLen);
    *dest = FitText(address, kAddDestLen);
}

} // namespace lx
