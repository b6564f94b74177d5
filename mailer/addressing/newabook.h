// "Address Book": the user's addresses by letter tab, each with the mailing lists it is in;
// adding, editing and deleting them, printing the book, exporting it to LXADBOOK.TXT and
// importing addresses through the import dialogs.
#pragma once
#include "common/settings/font_desc.h"

#include <windows.h>

#include <functional>
#include <string>

class odbcvantConnection;

namespace lx {
class MessageCatalog;
class CommandPlugs;

// The source kinds "Import Addresses" takes from the three program buttons.
constexpr int kImportPegasus = 0;
constexpr int kImportEudoraLight = 1;
constexpr int kImportExchange = 2;

struct AddressBookData {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    std::string installPath; // LXADBOOK.TXT and the help file
    // The head, tags, text and foot fonts of printing; none: the printer's default font.
    std::function<HFONT(MessageFont which)> font;
    // Not empty: the dialog opens on a new address with this destination ("Name <address>" also
    // fills the name), as "Addresses From Message" and the composer ask.
    std::string preset;
    // "Import Addresses" over `owner` with a source kind (kImportPegasus ...), and "Import
    // Adresses From ASCII File"; the list is read again afterwards. Empty: the buttons are off.
    std::function<void(HWND owner, int kind)> importAddresses;
    std::function<void(HWND owner)> importAscii;
};

// Modal; IDCANCEL when closed, -1 when it could not be created.
INT_PTR ShowAddressBookDialog(HWND owner, AddressBookData* data);

// Plugs the dialog into the main window's ID_ADDRESS_BOOK; the command's argument is the preset.
void PlugAddressBook(CommandPlugs& plugs, const AddressBookData& data);

} // namespace lx
