// The incoming-mail filter list and its file LORVEX.FLT in the installation folder: a 64-byte
// header ("Lorvex v2.0", a notice, the rule count) and 192-byte rules, little-endian. Files of the
// older layout (any other version text, 152-byte rules without message words) are read as well
// and written in the current layout at the next save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "mailer/transfer/logic/filterrule.h"

namespace lx {

constexpr char kFilterFile[] = "LORVEX.FLT";
constexpr char kFilterVersion[] = "Lorvex v2.0";
constexpr std::size_t kFilterHeaderSize = 64;
constexpr std::size_t kFilterRuleSize = 192;
constexpr std::size_t kOldFilterRuleSize = 152;
// The count is a signed 16-bit field.
constexpr std::size_t kMaxFilterRules = 32767;

class FilterList {
public:
    // A missing or unreadable file, an empty path or a header shorter than 64 bytes gives an empty
    // list (still bound to the path, so a first rule can be saved). The header's count says how
    // many rules follow; a file cut short gives the rules it holds in full.
    static FilterList Load(const std::string& path);

    const std::string& Path() const { return path_; }
    // Something is at the path but could not be read (locked, no permission, a folder): the
    // list is empty only because its rules could not be seen, and saving it would lose them.
    bool Unreadable() const { return unreadable_; }
    size_t Count() const { return rules_.size(); }
    const FilterRule& At(size_t index) const { return rules_.at(index); }

    // Index of the rule with exactly this name (case-sensitive), or -1.
    int Find(const char* name) const;

    // Adds the rule at the end; false (nothing added) for an empty or taken name or a full list.
    bool Append(const FilterRule& rule);
    // Puts the rule in place of the one at index; false for an index out of range or a name that
    // another rule has.
    bool Replace(int index, const FilterRule& rule);
    // Removes the rule at index; an index out of range changes nothing.
    void Remove(int index);

    // Writes the header and every rule in the current layout to a file beside the list's file and
    // renames it over the old one, so a save that fails leaves the old file whole.
    bool Save() const;

    // Whether a Delete rule matches the message.
    bool DeleteMatch(const FilterMessage& message) const;
    // Whether a File rule matches; the first one in list order gives the folder.
    bool FolderMatch(const FilterMessage& message, std::int32_t* folderNum,
                     std::string* folderName) const;

private:
    const FilterRule* FirstMatch(char action, const FilterMessage& message) const;

    std::string path_;
    std::vector<FilterRule> rules_;
    bool unreadable_ = false;
};

// The bytes of one rule in the current layout and back (image holds kFilterRuleSize bytes).
void EncodeFilterRule(const FilterRule& rule, std::uint8_t* image);
FilterRule DecodeFilterRule(const std::uint8_t* image);
// A rule of the older layout (kOldFilterRuleSize bytes): message words empty.
FilterRule DecodeOldFilterRule(const std::uint8_t* image);

} // namespace lx
