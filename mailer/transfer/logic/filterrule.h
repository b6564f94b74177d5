// One incoming-mail filter rule: the texts it looks for, which of them count and how they combine,
// and what happens to a message it matches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lx {

// Text fields keep the 192-byte record's sizes so the dialog can bind them with their limits.
struct FilterRule {
    char name[16] = {};         // unique in the list, at most 15 characters
    char fields = 'A';          // which texts are checked: a letter of kFilterChoices
    char address[81] = {};      // looked for in the sender address
    char subject[32] = {};      // looked for in the subject
    char message[32] = {};      // looked for in the message text
    char action = 'D';          // kFilterActionDelete or kFilterActionFile
    char folderName[17] = {};   // target folder of a File rule, empty for Delete
    std::int32_t folderNum = 0; // its FolderNum
};

constexpr char kFilterActionDelete = 'D';
constexpr char kFilterActionFile = 'F';

// The texts of a retrieved message that the rules look at.
struct FilterMessage {
    std::string from, subject, text;
};

// One choice of "Check Which Field(s)": the letter stored for it, the texts it uses and whether
// one found text is enough ("either") or every used text must be found ("both", "all").
struct FilterChoice {
    char letter;
    bool address, subject, message;
    bool either;
};

// The ten choices in the dialog's order. "Subject OR Message Text" has the letter U of its own, so
// it survives a save and matches as "either"; a reader that does not know U takes it as T, whose
// "all" can only match fewer messages.
constexpr std::size_t kFilterChoiceCount = 10;
extern const FilterChoice kFilterChoices[kFilterChoiceCount];

// The index in kFilterChoices of the first choice with this letter; a letter not among them is
// taken as "all three" (T).
std::size_t FilterChoiceOf(char letter);

// Whether the rule's letter matches the message. Texts are compared in upper case, the rule's text
// as one substring of the message's. A rule text left empty takes no part (an "all" rule needs only
// its non-empty texts, an "either" rule one of them), and a rule without any text it uses never
// matches: an empty delete rule must not swallow every message.
bool FilterRuleMatches(const FilterRule& rule, const FilterMessage& upperMessage);

// The message with its three texts in upper case, as FilterRuleMatches takes it.
FilterMessage UpperFilterMessage(const FilterMessage& message);

// ASCII upper case; other bytes (national letters in any encoding) stay as they are.
std::string FilterUpper(const std::string& text);

} // namespace lx
