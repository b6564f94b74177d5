#include "mailer/transfer/logic/filterrule.h"

#include "common/settings/fixed_text.h"

namespace lx {

const FilterChoice kFilterChoices[kFilterChoiceCount] = {
    // letter, address, subject, message, either
    {'A', true, false, false, false}, // Address Field
    {'S', false, true, false, false}, // Subject Field
    {'M', false, false, true, false}, // Message Text
    {'N', true, true, false, false},  // Address And Subject
    {'O', true, true, false, true},   // Address OR Subject
    {'P', true, false, true, false},  // Address AND Message Text
    {'Q', true, false, true, true},   // Address OR Message Text
    {'R', false, true, true, false},  // Subject AND Message Text
    {'U', false, true, true, true},   // Subject OR Message Text
    {'T', true, true, true, false},   // Address And Subject AND Message Text
};

std::size_t FilterChoiceOf(char letter) {
    std::size_t all = 0;
    for (std::size_t i = 0; i < kFilterChoiceCount; ++i) {
        if (kFilterChoices[i].letter == letter) return i;
        if (kFilterChoices[i].letter == 'T') all = i;
    }
    return all;
}

std::string FilterUpper(const std::string& text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

FilterMessage UpperFilterMessage(const FilterMessage& message) {
    return {FilterUpper(message.from), FilterUpper(message.subject), FilterUpper(message.text)};
}

namespace {

enum class Search { Unused, Found, Missing };

Search Look(bool used, const std::string& ruleText, const std::string& upperHaystack) {
    if (!used || ruleText.empty()) return Search::Unused;
    return upperHaystack.find(FilterUpper(ruleText)) != std::string::npos ? Search::Found
                                                                          : Search::Missing;
}

} // namespace

bool FilterRuleMatches(const FilterRule& rule, const FilterMessage& upperMessage) {
    const FilterChoice& choice = kFilterChoices[FilterChoiceOf(rule.fields)];
    // The address is tried first, as an "either" rule stops at its first find.
    const Search searches[] = {
        Look(choice.address, TextOf(rule.address), upperMessage.from),
        Look(choice.subject, TextOf(rule.subject), upperMessage.subject),
        Look(choice.message, TextOf(rule.message), upperMessage.text),
    };
    bool anyUsed = false;
    for (Search s : searches) {
        if (s == Search::Unused) continue;
        anyUsed = true;
        if (choice.either && s == Search::Found) return true;
        if (!choice.either && s == Search::Missing) return false;
    }
    return anyUsed && !choice.either;
}

} // namespace lx
