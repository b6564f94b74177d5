// "Dialer Setup" without its window: what the dialog shows for a dialer record and the mailbox
// account list, and the record its Save makes from the fields, with the reason a Save is refused.
#pragma once
#include <string>
#include <vector>

#include "common/settings/dialer_settings.h"
#include "common/settings/mailbox_record.h"

namespace lx {

constexpr int kDialerMaxMinutes = 480;
constexpr int kDialerTextChars = 255; // user name and password

struct DialerForm {
    int minutes = 0;
    bool sendToo = false;
    bool localNetwork = false;
    std::string entry; // the chosen Phone Diary entry; empty when none is chosen
    std::string user;
    std::string password;
    std::vector<std::string> accounts; // "Mail Box Accounts"
    std::vector<std::string> selected; // "Selected Mail Box Accounts"
};

// The fields on opening. A selected name takes its account out of the left list (letter case
// ignored); an empty slot selects nothing.
DialerForm OpenDialerForm(const DialerSettings& settings, const MailboxList& mailboxes);

enum class DialerRefusal { None, NoEntry, NoUserOrPassword, NoMailbox };
// Catalogue keys of a refusal's text and caption.
const char* DialerRefusalText(DialerRefusal why);
const char* DialerRefusalCaption(DialerRefusal why);

// The record a Save writes: all zeros but the fields in use, the countdown starting at the whole
// interval. `record` is written only when nothing refuses the fields.
DialerRefusal SaveDialerForm(const DialerForm& form, DialerSettings& record);

// Which Phone Diary entry opens selected: the first that begins with the stored entry name
// (letter case ignored), else the first; -1 for none.
int PickPhoneEntry(const std::vector<std::string>& entries, const std::string& stored);

// Moves the name at `index` of `from` to the end of `to`; false when there is no such name.
bool MoveAccount(std::vector<std::string>& from, std::vector<std::string>& to, int index);

} // namespace lx
