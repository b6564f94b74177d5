#include "mailer/transfer/logic/autodial_form.h"

#include <cctype>

#include "common/settings/fixed_text.h"

namespace lx {

namespace {

constexpr int kSecondsPerMinute = 60;

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(const std::string& text, const std::string& start) {
    if (start.size() > text.size()) return false;
    for (std::size_t i = 0; i < start.size(); ++i)
        if (Lower(text[i]) != Lower(start[i])) return false;
    return true;
}

bool SameNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

} // namespace

DialerForm OpenDialerForm(const DialerSettings& settings, const MailboxList& mailboxes) {
    DialerForm form;
    const int count = MailboxCount(mailboxes);
    for (int i = 0; i < count; ++i) form.accounts.push_back(TextOf(mailboxes.records[i].name));
    form.minutes = settings.checkInterval > 0 ? settings.checkInterval / kSecondsPerMinute : 0;
    form.localNetwork = settings.localNetwork != 0;
    form.sendToo = settings.sendToo != 0;
    form.entry = TextOf(settings.phoneBookEntry);
    form.user = TextOf(settings.dialUser);
    form.password = TextOf(settings.dialPassword);
    const int selected = DialerSelectedCount(settings);
    for (int i = 0; i < selected; ++i) {
        const std::string name = TextOf(settings.selectedMailboxes[i]);
        if (name.empty()) continue;
        form.selected.push_back(name);
        // The same account, not merely one whose name begins alike, leaves the left list.
        for (auto it = form.accounts.begin(); it != form.accounts.end(); ++it) {
            if (SameNoCase(*it, name)) {
                form.accounts.erase(it);
                break;
            }
        }
    }
    return form;
}

const char* DialerRefusalText(DialerRefusal why) {
    switch (why) {
    case DialerRefusal::NoEntry: return "AUTODIAL_CPP_6";
    case DialerRefusal::NoUserOrPassword: return "AUTODIAL_CPP_4";
    case DialerRefusal::NoMailbox: return "AUTODIAL_CPP_7";
    case DialerRefusal::None: break;
    }
    return "";
}

const char* DialerRefusalCaption(DialerRefusal why) {
    return why == DialerRefusal::NoUserOrPassword ? "AUTODIAL_CPP_3" : "AUTODIAL_CPP_5";
}

DialerRefusal SaveDialerForm(const DialerForm& form, DialerSettings& record) {
    DialerSettings made{};
    made.checkInterval = form.minutes * kSecondsPerMinute;
    made.checkCountdown = made.checkInterval;
    if (form.minutes != 0) {
        made.sendToo = form.sendToo ? 1 : 0;
        made.localNetwork = form.localNetwork ? 1 : 0;
        if (!form.localNetwork) {
            if (form.entry.empty()) return DialerRefusal::NoEntry;
            if (form.user.empty() || form.password.empty()) return DialerRefusal::NoUserOrPassword;
            CopyText(made.phoneBookEntry, form.entry.c_str());
            CopyText(made.dialUser, form.user.c_str());
            CopyText(made.dialPassword, form.password.c_str());
        }
        if (form.selected.empty()) return DialerRefusal::NoMailbox;
        int count = 0;
        for (const std::string& name : form.selected) {
            if (count == kDialerMailboxes) break;
            CopyText(made.selectedMailboxes[count++], name.c_str());
        }
        made.selectedCount = count;
    }
    record = made;
    return DialerRefusal::None;
}

int PickPhoneEntry(const std::vector<std::string>& entries, const std::string& stored) {
    if (entries.empty()) return -1;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (StartsWithNoCase(entries[i], stored)) return static_cast<int>(i);
    return 0;
}

bool MoveAccount(std::vector<std::string>& from, std::vector<std::string>& to, int index) {
    if (index < 0 || index >= static_cast<int>(from.size())) return false;
    to.push_back(from[static_cast<std::size_t>(index)]);
    from.erase(from.begin() + index);
    return true;
}

} // namespace lx
