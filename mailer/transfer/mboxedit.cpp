#include "mailer/transfer/mboxedit.h"

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/settings/install_path.h"
#include "common/settings/fixed_text.h"
#include "common/settings/mailbox_keys.h"
#include "common/settings/registry_win32.h"
#include "common/settings/scramble.h"
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

int ServerIndex(MailServer server) { return server == MailServer::Pop3 ? 0 : 1; }

// The list's choices in the order of their values (kSecurityChoices of them).
const char* const kChoiceKeys[2][kSecurityChoices] = {
    {"MBOXWIZ_CPP_5", "MBOXWIZ_CPP_6", "MBOXWIZ_CPP_7"},
    {"MBOXWIZ_CPP_5", "MBOXWIZ_CPP_8", "MBOXWIZ_CPP_9"},
};

MailSecurity ChosenSecurity(HWND list) {
    const LRESULT index = ::SendMessageA(list, CB_GETCURSEL, 0, 0);
    return index > 0 && index < kSecurityChoices ? static_cast<MailSecurity>(index)
                                                 : MailSecurity::None;
}

} // namespace

MailboxWork StartMailboxWork(const MailboxEditData& data) {
    if (!EditsStoredRecord(data)) return NewMailboxWork(data.inFolderNum);
    const MailboxRecord& record = data.mailboxes->records[static_cast<size_t>(data.index)];
    MailboxWork work = WorkFromRecord(record);
    Win32SettingsRegistry registry(data.registryKey);
    std::string whole = MailboxPassword(registry, record);
    WipeText(work.password);
    work.password = PlainWhole(whole);
    WipeText(whole);
    return work;
}

void SecurityFields::Show(HWND dialog, const MailboxSecurity& security) {
    for (MailServer server : {MailServer::Pop3, MailServer::Smtp}) {
        const int i = ServerIndex(server);
        HWND list = ::GetDlgItem(dialog, i == 0 ? ids_.pop3List : ids_.smtpList);
        ::SendMessageA(list, CB_RESETCONTENT, 0, 0);
        for (const char* key : kChoiceKeys[i])
            ::SendMessageA(list, CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(CatalogText(catalog_, key, key).c_str()));
        shown_[i] = i == 0 ? security.pop3 : security.smtp;
        ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(shown_[i]), 0);
        ::SetDlgItemTextA(dialog, i == 0 ? ids_.pop3Port : ids_.smtpPort,
                          PortFieldText(security, server).c_str());
        ::SendDlgItemMessageA(dialog, i == 0 ? ids_.pop3Port : ids_.smtpPort, EM_LIMITTEXT, 5, 0);
    }
    ::SetDlgItemTextA(dialog, ids_.login, CatalogText(catalog_, "MBOXWIZ_CPP_10").c_str());
    ::CheckDlgButton(dialog, ids_.login, security.smtpLogin ? BST_CHECKED : BST_UNCHECKED);
}

void SecurityFields::MapChoices(MessageMap& map, const Dialog& dialog) {
    for (MailServer server : {MailServer::Pop3, MailServer::Smtp}) {
        const int list = server == MailServer::Pop3 ? ids_.pop3List : ids_.smtpList;
        map.OnCommand(list, [this, &dialog, server](int code, HWND) {
            if (code == CBN_SELCHANGE) Follow(dialog.Handle(), server);
        });
    }
}

void SecurityFields::Follow(HWND dialog, MailServer server) {
    const int i = ServerIndex(server);
    const int port = i == 0 ? ids_.pop3Port : ids_.smtpPort;
    const MailSecurity chosen =
        ChosenSecurity(::GetDlgItem(dialog, i == 0 ? ids_.pop3List : ids_.smtpList));
    ::SetDlgItemTextA(
        dialog, port,
        PortFieldAfterChoice(ItemText(dialog, port), server, shown_[i], chosen).c_str());
    shown_[i] = chosen;
}

bool SecurityFields::Read(HWND dialog, MailServer server, MailboxSecurity& security) const {
    const bool pop3 = server == MailServer::Pop3;
    const MailSecurity chosen =
        ChosenSecurity(::GetDlgItem(dialog, pop3 ? ids_.pop3List : ids_.smtpList));
    const int portId = pop3 ? ids_.pop3Port : ids_.smtpPort;
    std::uint16_t port = 0;
    if (!PortFromField(ItemText(dialog, portId), server, chosen, port)) {
        const std::string text = CatalogText(catalog_, "MBOXWIZ_CPP_13");
        ui::MessageBox(dialog, text.c_str(), ui::AppTitle(), MB_OK | MB_ICONEXCLAMATION);
        HWND field = ::GetDlgItem(dialog, portId);
        ::SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
        ::SendMessageA(field, EM_SETSEL, 0, -1);
        return false;
    }
    if (pop3) {
        security.pop3 = chosen;
        security.pop3Port = port;
    } else {
        security.smtp = chosen;
        security.smtpPort = port;
        security.smtpLogin = ::IsDlgButtonChecked(dialog, ids_.login) == BST_CHECKED;
    }
    return true;
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
    const bool stored = EditsStoredRecord(data);
    const MailboxRecord base =
        stored ? data.mailboxes->records[static_cast<size_t>(data.index)] : MailboxRecord{};
    const std::string name = StoredMailboxName(work.name);
    Win32SettingsRegistry registry(data.registryKey);
    if (stored) {
        RenameMailboxKey(registry, TextOf(base.name), name);
        // A certificate trusted for one server says nothing about another.
        if (TextOf(base.pop3Server) != work.pop3Server)
            WriteMailboxPin(registry, name, MailServer::Pop3, "");
        if (TextOf(base.smtpServer) != work.smtpServer)
            WriteMailboxPin(registry, name, MailServer::Smtp, "");
    } else {
        ForgetMailboxKey(registry, name); // nothing of a former mailbox of that name carries over
    }
    KeepMailboxPassword(registry, name, work.password);
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
