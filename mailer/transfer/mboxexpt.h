// "Mailbox Setup [Expert Screen]": every field of one mailbox record on one page.
#pragma once
#include "mailer/transfer/mboxedit.h"

#include <windows.h>

namespace lx {

// IDOK once `data->record` holds the saved record; IDCANCEL leaves everything as it was.
INT_PTR ShowMailboxExpertDialog(HWND owner, MailboxEditData* data);

} // namespace lx
