// The mailbox account files: MAILBOXX.STP and the two older formats converted at start-up.
#pragma once

#include <cstdint>
#include <string>

#include "common/settings/mailbox_record.h"

namespace lx {

constexpr char kMailboxFile[] = "MAILBOXX.STP";
constexpr char kMailSetXFile[] = "MAILSETX.STP";
constexpr char kMailSet3File[] = "MAILSET3.STP";

// Loads the account list from the installation folder, converting MAILSET3.STP or MAILSETX.STP
// into MAILBOXX.STP first when one exists. inFolderNum is the FolderNum of _IN, given to records
// converted from MAILSET3.STP. Returns whether a file was read; list.count is 0 when nothing was.
// A count outside 0..10 is clamped and only records present in full are taken.
bool LoadMailboxes(const std::string& folder, std::int32_t inFolderNum, MailboxList& list);

// Writes MAILBOXX.STP whole; false when it cannot be written.
bool SaveMailboxes(const std::string& folder, const MailboxList& list);

} // namespace lx
