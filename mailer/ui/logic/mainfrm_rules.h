// The main frame's rules that need no window: help contexts, the mailbox switch, the reader
// choices and the dictionary's lexicon key.
#pragma once
#include "common/settings/install_path.h" // HelpFileSpec
#include "common/settings/mailbox_record.h"
#include "common/settings/settings_registry.h"
#include <string>

namespace lx {

// The help context for a command or control id (0 for every id without its own topic).
int HelpContextFor(int id);

// Makes the first record named `name` current: clears every other record's current flag and
// mirrors it into the registry. False, with nothing changed, when no record has that name.
// `mirrored` (when given) tells whether the registry values were all written.
bool SwitchMailbox(MailboxList& list, const std::string& name, SettingsRegistry& registry,
                   bool* mirrored = nullptr);

// The record the mailbox selector shows after filling (-1 for an empty list).
int SelectorMailboxIndex(const MailboxList& list);

// Dictionary choices: 1 American English, 0 British English.
constexpr int kDictionaryAmerican = 1;
constexpr int kDictionaryBritish = 0;
// Reader types.
constexpr int kReaderSimple = 1;
constexpr int kReaderInternal = 2;
constexpr int kReaderIe3 = 3;
// Catalogue key whose text lists the lexicon files of a dictionary.
const char* LexiconKeyFor(int dictionary);

// The stored choices: defaults (dictionary 1, reader 1) unless the registry holds values.
struct ReaderChoices {
    int dictionary = kDictionaryAmerican;
    int readerType = kReaderSimple;
};
ReaderChoices ReadReaderChoices(SettingsRegistry& registry);
// Writes both values ("Dictionary" as 1 or 0); false when a write failed.
bool WriteReaderChoices(SettingsRegistry& registry, const ReaderChoices& choices);

// The check countdown in status pane 2: seconds (0 or more) formatted with hours, minutes and
// seconds by `countdownFormat`; kCountdownOff and kCountdownChecking pick their own texts.
constexpr int kCountdownOff = -1;
constexpr int kCountdownChecking = -2;
const char* CountdownKey(int seconds); // "MAINFRM_CPP_44", "_45" or "_46"
std::string CountdownText(int seconds, const char* text);

} // namespace lx
