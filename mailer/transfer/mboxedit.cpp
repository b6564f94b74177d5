#include "mailer/transfer/mboxedit.h"

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/settings/install_path.h"
#include "common/win/dialog.h"
#include "common/win/messagemap.h"
#include "common/win/uiseam.h"
#include "mailer/transfer/store/mboxfolders.h"

#include <vector>

namespace lx {
namespace {

// The most characters of a default-folder entry that are read back.
constexpr int kFolderEntryChars = 64;

bool EditsStoredRecord(const MailboxEditData& data) {
    return data.mailboxes && data.index >= 0 && data.index < MailboxCount(*data.mailboxes);
}

} // namespace

MailboxWork StartMailboxWork(const MailboxEditData& data) {
    if (EditsStoredRecord(data))
        return WorkFromRecord(data.mailboxes->records[static_cast<size_t>(data.index)]);
    return NewMailboxWork(data.inFolderNum);
}

void FillDefaultFolderList(HWND combo, const MailboxEditData& data, const std::string& folder,
                           HWND owner) {
    std::vector<std::string> entries;
    LoadDefaultFolderEntries(data.conn, owner, entries);
    for (const std::string& entry : entries)
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    const int pick = PickFolderEntry(entries, folder);
    if (pick >= 0) ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(pick), 0);
}

FolderChoice ChosenDefaultFolder(HWND combo, long inFolderNum) {
    const LRESULT index = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    std::string entry;
    if (index != CB_ERR) {
        const LRESULT length =
            ::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length != CB_ERR && length <= kFolderEntryChars) {
            char text[kFolderEntryChars + 1] = "";
            ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(text));
            entry = text;
        }
    }
    return FolderFromEntry(entry, inFolderNum);
}

void ShowWorkRefusal(HWND owner, MessageCatalog* catalog, const WorkCheck& check,
                     const std::string& name) {
    std::string text;
    switch (check.refusal) {
    case WorkRefusal::None:
    case WorkRefusal::Unfinished: return;
    case WorkRefusal::NameTooLong: text = CatalogText(catalog, "MBOXWIZ_CPP_1"); break;
    case WorkRefusal::FieldTooLong: {
        const std::string format = CatalogText(catalog, kFieldTooLongKey);
        const int limit = static_cast<int>(MailboxFieldLimit(check.field));
        text = FormatTextOr(format.c_str(), {limit}, format);
        break;
    }
    case WorkRefusal::NameTaken: {
        const std::string format = CatalogText(catalog, "MBOXWIZ_CPP_2");
        text = FormatTextOr(format.c_str(), {StoredMailboxName(name)}, format);
        break;
    }
    case WorkRefusal::PasswordNotPlain: text = CatalogText(catalog, "MBOXWIZ_CPP_3"); break;
    }
    ui::MessageBox(owner, text.c_str(), ui::AppTitle(), MB_OK | MB_ICONEXCLAMATION);
}

MailboxRecord FinishedMailboxRecord(const MailboxEditData& data, const MailboxWork& work) {
    const MailboxRecord base = EditsStoredRecord(data)
                                   ? data.mailboxes->records[static_cast<size_t>(data.index)]
                                   : MailboxRecord{};
    return RecordFromWork(work, base);
}

std::string ItemText(HWND dialog, int id) {
    HWND control = ::GetDlgItem(dialog, id);
    const int length = ::GetWindowTextLengthA(control);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = ::GetWindowTextA(control, &text[0], length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

void MapClick(MessageMap& map, int id, std::function<void()> action) {
    map.OnCommand(id, [action](int code, HWND) {
        if (code == BN_CLICKED) action();
    });
}

void MapHelp(MessageMap& map, const Dialog& dialog, const std::string& installPath, int context) {
    const std::string file = HelpFileSpec(installPath);
    auto help = [&dialog, file, context] {
        ui::Help(dialog.Handle(), file.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(context));
    };
    map.OnCommand(IDHELP, [help](int, HWND) { help(); });
    map.On(WM_HELP, [help](WPARAM, LPARAM) -> LRESULT {
        help();
        return TRUE;
    });
}

} // namespace lx
