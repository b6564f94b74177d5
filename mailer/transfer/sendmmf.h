// "Send Mail [SMTP] - Mail Merge": sends one prepared message (a message file as its text, a
// subject, optionally one attached file) to every address of a merge file, each address getting a
// message of its own with itself as the only To. Reads files only; the store is not touched.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/settings/settings_registry.h"

namespace lx {
class MessageCatalog;
class CommandPlugs;
struct TransferMarks;

struct MailMergeData {
    const char* installPath = nullptr; // the spool file TernSmtp.Txt lies here
    MessageCatalog* catalog = nullptr;
    // Its `sending` mark is held while the dialog exists: the merge writes the same spool file
    // as "Send Mail [SMTP]".
    TransferMarks* marks = nullptr;
    const char* registryKey = kRegistryKey; // the sender address and the SMTP server
    // Out: every log line as shown, and the figures of the last run.
    std::vector<std::string> log;
    int prepared = 0;
    int sentSuccessfully = 0;
};

// IDCANCEL when the user closes it; -1 when it could not be created.
INT_PTR ShowMailMergeDialog(HWND owner, MailMergeData* data);

struct MailMergeContext {
    const char* installPath = nullptr;
    MessageCatalog* catalog = nullptr;
    TransferMarks* marks = nullptr;
};

// Plugs Mail Merge into `plugs` (the main window's). The owner window is the main window.
void PlugMailMerge(CommandPlugs& plugs, const MailMergeContext& context);

} // namespace lx
