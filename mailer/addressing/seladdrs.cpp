#include "mailer/addressing/seladdrs.h"

namespace lx {

// Until the address pickers are built, nothing is picked.
INT_PTR ShowSelectRecipientsDialog(HWND, RecipientPickData*) { return IDCANCEL; }
INT_PTR ShowSelectMailingListDialog(HWND, RecipientPickData*) { return IDCANCEL; }
INT_PTR ShowSelectAddressDialog(HWND, SelectAddressData*) { return IDCANCEL; }

} // namespace lx
