#include "mailer/ui/logic/mainfrm_rules.h"
#include "common/catalog/textformat.h"

namespace lx {

namespace {
struct HelpEntry {
    int id;
    int context;
};
constexpr HelpEntry kHelpTable[] = {
    {32771, 32}, {32772, 33}, {32773, 39}, {32774, 40}, {32775, 44}, {32779, 17}, {32780, 28},
    {32783, 10}, {32784, 30}, {32785, 27}, {32786, 20}, {32787, 19}, {32788, 41}, {32790, 7},
    {32791, 7},  {32822, 7},  {32823, 7},  {32824, 7},  {32792, 43}, {32793, 13}, {32795, 64},
    {32805, 18}, {32808, 29}, {32809, 42}, {32810, 62}, {32820, 72}, {57600, 16}, {57664, 9},
    {57665, 21}, {57666, 12}, {57668, 9},  {59392, 8},  {59393, 8},
};
} // namespace

int HelpContextFor(int id) {
    for (const HelpEntry& entry : kHelpTable)
        if (entry.id == id) return entry.context;
    return 0;
}

bool SwitchMailbox(MailboxList& list, const std::string& name, SettingsRegistry& registry,
                   bool* mirrored) {
    const int index = FindMailbox(list, name.c_str());
    if (index < 0) return false;
    SetCurrentMailbox(list, index);
    const bool written = MakeCurrent(list, index, registry);
    if (mirrored) *mirrored = written;
    return true;
}

int SelectorMailboxIndex(const MailboxList& list) { return CurrentMailboxIndex(list); }

const char* LexiconKeyFor(int dictionary) {
    return dictionary != kDictionaryBritish ? "MAINFRM_CPP_1" : "MAINFRM_CPP_2";
}

ReaderChoices ReadReaderChoices(SettingsRegistry& registry) {
    ReaderChoices choices;
    choices.dictionary = ReadDwordOr(registry, kRegDictionary, choices.dictionary);
    choices.readerType = ReadDwordOr(registry, kRegReaderType, choices.readerType);
    return choices;
}

bool WriteReaderChoices(SettingsRegistry& registry, const ReaderChoices& choices) {
    const bool dictionary =
        registry.WriteDword(kRegDictionary, choices.dictionary != kDictionaryBritish ? 1 : 0);
    const bool reader = registry.WriteDword(kRegReaderType, choices.readerType);
    return dictionary && reader;
}

const char* CountdownKey(int seconds) {
    if (seconds == kCountdownOff) return "MAINFRM_CPP_45";
    if (seconds == kCountdownChecking) return "MAINFRM_CPP_46";
    return "MAINFRM_CPP_44";
}

std::string CountdownText(int seconds, const char* text) {
    if (seconds < 0) return text ? text : "";
    // A catalogue text that does not take three numbers shows nothing rather than garbage.
    return FormatTextOr(text, {seconds / 3600, (seconds / 60) % 60, seconds % 60}, "");
}

} // namespace lx
