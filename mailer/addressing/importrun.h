// What the two import dialogs share: reading the source file, the status box and storing the
// addresses of an import script.
#pragma once
#include "mailer/addressing/logic/import_steps.h"

#include <windows.h>

#include <string>

class odbcvantConnection;

namespace lx {
class MessageCatalog;

enum class ImportFileRead { Read, NotOpened, ReadFailed };

// Reads the whole existing file, opened for this process alone while it is read.
ImportFileRead ReadImportFile(const std::string& path, std::string* bytes);

// Lets the status box hold long imports (the edit control's own limit is about 30,000 characters).
void PrepareStatusBox(HWND box);

// Adds one line (text and CR LF) to a read-only multi-line edit, scrolled to its last line and
// repainted at once.
void AddStatusLine(HWND box, const MessageCatalog* catalog, const StatusLine& line);

// Walks the script: each address is inserted into AddBook, each line goes to the status box
// `boxId` of `dialog`.
ImportTally RunImport(HWND dialog, int boxId, const MessageCatalog* catalog,
                      odbcvantConnection* conn, const ImportScript& script, const ImportKeys& keys);

} // namespace lx
