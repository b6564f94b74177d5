// Picking destination addresses from the address book: "Select Recipients" (individual addresses
// into To and Cc), "Select Mailing List" (whole lists into To and Cc) and "Select Address" (one
// address, for the filter editor). The dialogs read AddBook, Distribution and DistroAdd and never
// change the store.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

class odbcvantConnection;

namespace lx {
class MessageCatalog;

struct RecipientPickData {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    // "Manage Address Book ...": runs the address book over `owner`; none: the button is disabled.
    std::function<void(HWND owner)> manageAddressBook;
    // Out (IDOK): the To and Cc entries in the order added, joined with CR LF (no separator after
    // the last; empty when none).
    std::string to;
    std::string cc;
    // The folder of the help file; empty: the installation folder the registry names.
    std::string installPath;
};

// "Select Recipients": IDOK with `to`/`cc` filled, IDCANCEL, -1 when it could not be created.
INT_PTR ShowSelectRecipientsDialog(HWND owner, RecipientPickData* data);
// "Select Mailing List": the same results, filled from whole lists.
INT_PTR ShowSelectMailingListDialog(HWND owner, RecipientPickData* data);

struct SelectAddressData {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    std::string address; // out (IDOK): the chosen AddDest, at most 80 characters
    // The folder of the help file; empty: the installation folder the registry names.
    std::string installPath;
};

// "Select Address": IDOK with `address` filled, IDCANCEL, -1 when it could not be created.
INT_PTR ShowSelectAddressDialog(HWND owner, SelectAddressData* data);

} // namespace lx
