// The mailbox account files: MAILBOXX.STP and the two older formats converted at start-up.
#pragma once

#include <cstdint>
#include <string>

#include "common/settings/mailbox_record.h"

namespace lx {

constexpr char kMailboxFile[] = "MAILBOXX.STP";
constexpr char kMailSetXFile[] = "MAILSETX.STP";
constexpr char kMailSet3File[] = "MAILSET3.STP";

// What became of an older mailbox file once its table was in MAILBOXX.STP.
enum class OldMailboxFile {
    None,         // there was none to convert, or it was removed
    RenamedAside, // it could not be removed and was renamed to `keptAs`
    LeftInPlace,  // it could be neither removed nor renamed
};

struct MailboxLoadNote {
    OldMailboxFile fate = OldMailboxFile::None;
    std::string oldFile; // the older file's name (MAILSET3.STP or MAILSETX.STP)
    std::string keptAs;  // its new name when renamed aside
};

// Loads the account list from the installation folder, converting MAILSET3.STP or MAILSETX.STP
// into MAILBOXX.STP first when one exists. inFolderNum is the FolderNum of _IN, given to records
// converted from MAILSET3.STP. Returns whether a file was read; list.count is 0 when nothing was.
// A count outside 0..10 is clamped and only records present in full are taken.
// A converted file is removed, or else renamed aside; an older file that stays beside a
// MAILBOXX.STP written no earlier than it is not converted again, so later changes to the
// mailboxes are never overwritten. `note` (optional) tells what could not be removed.
bool LoadMailboxes(const std::string& folder, std::int32_t inFolderNum, MailboxList& list,
                   MailboxLoadNote* note = nullptr);

// The name an older mailbox file is renamed to when it cannot be removed (MAILSET3.OLD).
std::string AsideName(const std::string& oldFile);

// Writes MAILBOXX.STP whole; false when it cannot be written.
bool SaveMailboxes(const std::string& folder, const MailboxList& list);

} // namespace lx
