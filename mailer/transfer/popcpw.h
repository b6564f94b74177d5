// "Change Password": changes the password of one mailbox on its mail server through the
// password-change client of TERN32, and hands the new password back to its caller.
#pragma once
#include "common/settings/mailbox_record.h"

#include <windows.h>
#include <cstddef>
#include <string>

namespace lx {
class MessageCatalog;

// The password-change session's status message to the dialog.
constexpr UINT WM_LX_PASSWORD_STATUS = WM_USER + 40;

struct ChangePasswordData {
    MessageCatalog* catalog = nullptr;
    std::string installPath;                // the help file
    const MailboxList* mailboxes = nullptr; // the mailbox's server, user and name
    int index = -1;                         // the mailbox's record; -1: none
    // The caller's buffer: the mailbox's present password in clear text. It receives the new
    // password once the server has taken it, and changes at no other time.
    char* password = nullptr;
    std::size_t passwordSize = 0;
    bool changed = false; // out: `password` holds the new password
};

INT_PTR ShowChangePasswordDialog(HWND owner, ChangePasswordData* data);

} // namespace lx
