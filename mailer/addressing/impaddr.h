// "Import Addresses": fills the address book from another mail program's address file or from
// the mail system's address book (Simple MAPI). Mailing lists are not touched.
#pragma once
#include "mailer/addressing/mapiaddr.h"

#include <windows.h>

#include <string>

class odbcvantConnection;

namespace lx {
class MessageCatalog;

// Where the addresses come from; the caller chooses before the dialog opens.
enum class ImportSourceKind {
    FixedRecordFile = 0, // Pegasus address book
    AliasFile = 1,       // Eudora Light nickname file
    SimpleMapi = 2,      // the mail system's address book (MS Exchange)
    None = 3,
};

struct ImportAddressesData {
    ImportSourceKind source = ImportSourceKind::None;
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    // The folder of the help file; empty: the installation folder the registry names.
    std::string installPath;
    // The Simple MAPI library, loaded by name.
    std::string mapiLibrary = kMapiLibrary;
    // Out: the counts of the last import run in the dialog.
    long stored = 0;
    long refused = 0;
};

// Runs the dialog modally: IDCANCEL when closed, -1 when it could not be created. Afterwards the
// caller reads its address list again.
INT_PTR ShowImportAddressesDialog(HWND owner, ImportAddressesData* data);

} // namespace lx
