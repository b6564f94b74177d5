#include "mailer/transfer/logic/filterfile.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "common/settings/file_io.h"
#include "common/settings/fixed_text.h"
#include "common/settings/le_codec.h"

namespace lx {

namespace {

constexpr std::size_t kVersionSize = 13;
constexpr std::size_t kNoticeSize = 49;
constexpr std::size_t kCountOffset = 62;
constexpr char kNotice[] = "Incoming mail filters of Lorvex - do not edit";
static_assert(sizeof kNotice <= kNoticeSize, "the notice must fit its field");

void Letter(LeReader& r, char& c) { c = static_cast<char>(r.U8()); }
void Letter(LeWriter& w, char c) { w.U8(static_cast<std::uint8_t>(c)); }

// The 192-byte rule in field order.
struct RuleFields {
    template <class Codec, class Rec>
    static void Each(Codec& c, Rec& rule) {
        c.Field(rule.name);
        Letter(c, rule.fields);
        c.Field(rule.address);
        c.Field(rule.subject);
        c.Field(rule.message);
        Letter(c, rule.action);
        c.Field(rule.folderName);
        c.Field(rule.folderNum);
        c.Pad(8);
    }
};

bool CurrentLayout(const std::uint8_t* header) {
    char version[kVersionSize];
    std::memcpy(version, header, kVersionSize);
    version[kVersionSize - 1] = '\0';
    return std::strcmp(version, kFilterVersion) == 0;
}

} // namespace

void EncodeFilterRule(const FilterRule& rule, std::uint8_t* image) {
    EncodeFields<RuleFields>(rule, image, kFilterRuleSize);
}

FilterRule DecodeFilterRule(const std::uint8_t* image) {
    return DecodeFields<RuleFields, FilterRule>(image, kFilterRuleSize);
}

FilterRule DecodeOldFilterRule(const std::uint8_t* image) {
    FilterRule rule;
    LeReader r(image, kOldFilterRuleSize);
    r.Field(rule.name);
    Letter(r, rule.fields);
    r.Field(rule.address);
    char subject[24];
    r.Field(subject);
    CopyText(rule.subject, subject);
    Letter(r, rule.action);
    r.Field(rule.folderName);
    r.Field(rule.folderNum);
    r.Pad(8);
    return rule;
}

FilterList FilterList::Load(const std::string& path) {
    FilterList list;
    list.path_ = path;
    std::vector<std::uint8_t> bytes;
    if (path.empty()) return list;
    if (!ReadWholeFile(path, bytes)) {
        std::error_code ec;
        list.unreadable_ = std::filesystem::exists(path, ec);
        return list;
    }
    if (bytes.size() < kFilterHeaderSize) return list;
    const bool current = CurrentLayout(bytes.data());
    const std::size_t ruleSize = current ? kFilterRuleSize : kOldFilterRuleSize;
    const std::int16_t count = GetI16(bytes.data() + kCountOffset);
    for (std::int16_t i = 0; i < count; ++i) {
        const std::size_t at = kFilterHeaderSize + static_cast<std::size_t>(i) * ruleSize;
        // A file cut short ends the list with its last complete rule.
        if (at + ruleSize > bytes.size()) break;
        const std::uint8_t* image = bytes.data() + at;
        list.rules_.push_back(current ? DecodeFilterRule(image) : DecodeOldFilterRule(image));
    }
    return list;
}

int FilterList::Find(const char* name) const {
    if (name == nullptr) return -1;
    for (std::size_t i = 0; i < rules_.size(); ++i) {
        if (TextOf(rules_[i].name) == name) return static_cast<int>(i);
    }
    return -1;
}

bool FilterList::Append(const FilterRule& rule) {
    const std::string name = TextOf(rule.name);
    if (name.empty() || Find(name.c_str()) >= 0 || rules_.size() >= kMaxFilterRules) return false;
    rules_.push_back(rule);
    return true;
}

bool FilterList::Replace(int index, const FilterRule& rule) {
    if (index < 0 || static_cast<std::size_t>(index) >= rules_.size()) return false;
    const std::string name = TextOf(rule.name);
    const int holder = Find(name.c_str());
    if (name.empty() || (holder >= 0 && holder != index)) return false;
    rules_[static_cast<std::size_t>(index)] = rule;
    return true;
}

void FilterList::Remove(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= rules_.size()) return;
    rules_.erase(rules_.begin() + index);
}

bool FilterList::Save() const {
    if (path_.empty()) return false;
    std::vector<std::uint8_t> image(kFilterHeaderSize + rules_.size() * kFilterRuleSize);
    LeWriter w(image.data(), image.size());
    w.Text(kFilterVersion, kVersionSize);
    w.Text(kNotice, kNoticeSize);
    w.I16(static_cast<std::int16_t>(rules_.size()));
    for (const FilterRule& rule : rules_) RuleFields::Each(w, rule);
    return ReplaceFileBytes(path_, image.data(), image.size());
}

const FilterRule* FilterList::FirstMatch(char action, const FilterMessage& message) const {
    const FilterMessage upper = UpperFilterMessage(message);
    for (const FilterRule& rule : rules_) {
        if (rule.action == action && FilterRuleMatches(rule, upper)) return &rule;
    }
    return nullptr;
}

bool FilterList::DeleteMatch(const FilterMessage& message) const {
    return FirstMatch(kFilterActionDelete, message) != nullptr;
}

bool FilterList::FolderMatch(const FilterMessage& message, std::int32_t* folderNum,
                             std::string* folderName) const {
    const FilterRule* rule = FirstMatch(kFilterActionFile, message);
    if (rule == nullptr) return false;
    if (folderNum != nullptr) *folderNum = rule->folderNum;
    if (folderName != nullptr) *folderName = TextOf(rule->folderName);
    return true;
}

} // namespace lx
