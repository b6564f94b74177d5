// The changes mailbox set-up makes to the mailbox account list: adding, replacing and deleting a
// record, and which mailbox each change leaves current. Portable.
#pragma once
#include "common/settings/mailbox_record.h"

#include <string>
#include <vector>

namespace lx {

// Whether one more mailbox fits (the list holds at most kMaxMailboxes).
bool CanAddMailbox(const MailboxList& list);

// Appends `record` after the last mailbox and makes it the current one. False, with nothing
// changed, when the list is full.
bool AddMailbox(MailboxList& list, const MailboxRecord& record);

// Puts `record` in place of the mailbox at `index` and makes it the current one. False, with
// nothing changed, when there is no mailbox at `index`.
bool ReplaceMailbox(MailboxList& list, int index, const MailboxRecord& record);

// Removes the mailbox at `index`: every later record moves one place down, the place freed at the
// end is cleared, and the first remaining mailbox becomes current (also when the deleted one was
// not). False, with nothing changed, when there is no mailbox at `index`.
bool DeleteMailbox(MailboxList& list, int index);

// Whether two names are the same ignoring case.
bool SameNameIgnoringCase(const std::string& a, const std::string& b);

// The index of a mailbox other than `except` whose name equals `name` ignoring case, or -1.
// Names are kept unique this way so that finding a mailbox by its name (the list, the main
// window's selector, the automatic check's choice) always finds the one meant.
int MailboxNameTaken(const MailboxList& list, const std::string& name, int except);

// The names of the mailboxes in list order.
std::vector<std::string> MailboxNames(const MailboxList& list);

} // namespace lx
