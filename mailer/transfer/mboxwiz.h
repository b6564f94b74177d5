// "Mail Box Setup Wizard": one mailbox record edited in eight steps, from the "Mail Box List" and
// by itself at the first start.
#pragma once
#include "mailer/transfer/mboxedit.h"

#include <windows.h>

namespace lx {

// IDOK once `data->record` holds the finished record; IDCANCEL leaves everything as it was.
INT_PTR ShowMailboxWizardDialog(HWND owner, MailboxEditData* data);

} // namespace lx
