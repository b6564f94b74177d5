#include "mailer/addressing/importrun.h"

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/win/handles.h"
#include "mailer/addressing/store/import_store.h"

namespace lx {

ImportFileRead ReadImportFile(const std::string& path, std::string* bytes) {
    bytes->clear();
    UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ImportFileRead::NotOpened;
    char block[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), block, sizeof block, &got, nullptr))
            return ImportFileRead::ReadFailed;
        if (got == 0) return ImportFileRead::Read;
        bytes->append(block, got);
    }
}

void PrepareStatusBox(HWND box) { ::SendMessageA(box, EM_SETLIMITTEXT, 0, 0); }

void AddStatusLine(HWND box, const MessageCatalog* catalog, const StatusLine& line) {
    const std::string text = CatalogText(catalog, line.key.c_str());
    const std::string entry =
        (line.formatted ? FormatTextOr(text.c_str(), {line.number}, text) : text + line.suffix) +
        "\r\n";
    const int end = ::GetWindowTextLengthA(box);
    ::SendMessageA(box, EM_SETSEL, end, end);
    ::SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(entry.c_str()));
    ::SendMessageA(box, EM_SCROLLCARET, 0, 0);
    ::UpdateWindow(box);
}

ImportTally RunImport(HWND dialog, int boxId, const MessageCatalog* catalog,
                      odbcvantConnection* conn, const ImportScript& script,
                      const ImportKeys& keys) {
    HWND box = ::GetDlgItem(dialog, boxId);
    AddressWriter writer(conn);
    // The wait cursor while the rows are written.
    const HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    const ImportTally tally = RunImportSteps(
        script, keys, [&](const ImportedAddress& address) { return writer.Insert(address); },
        [&](const StatusLine& line) { AddStatusLine(box, catalog, line); });
    ::SetCursor(previous);
    return tally;
}

} // namespace lx
