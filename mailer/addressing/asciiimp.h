// "Import Adresses From ASCII File": fills the address book from a delimited text file (the
// address book's own export LXADBOOK.TXT among others), one address per line.
#pragma once
#include <windows.h>

#include <string>

class odbcvantConnection;

namespace lx {
class MessageCatalog;

struct AsciiImportData {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    // The folder of the help file; empty: the installation folder the registry names.
    std::string installPath;
    // Out: the counts of the last import run in the dialog.
    long stored = 0;
    long refused = 0;
};

// Runs the dialog modally: IDCANCEL when closed, -1 when it could not be created. Afterwards the
// caller reads its address list again.
INT_PTR ShowAsciiImportDialog(HWND owner, AsciiImportData* data);

} // namespace lx
