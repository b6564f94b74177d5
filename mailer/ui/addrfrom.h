// The "Addresses From Message" dialog: the addresses of a message a viewer sent (sender, To and
// Cc without the user's own), each of which "Add ..." (or a double-click) takes to the address
// book as a new entry's address.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace lx {
class CommandPlugs;

struct AddressesFromMessageData {
    std::vector<std::string> addresses;
    const CommandPlugs* plugs = nullptr; // the address book is its ID_ADDRESS_BOOK command
};

INT_PTR ShowAddressesFromMessageDialog(HWND owner, AddressesFromMessageData* data);

} // namespace lx
