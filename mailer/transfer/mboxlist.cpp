#include "mailer/transfer/mboxlist.h"

#include "common/catalog/msgcatalog.h"
#include "common/settings/fixed_text.h"
#include "common/settings/mailbox_file.h"
#include "common/settings/mailbox_keys.h"
#include "common/settings/registry_win32.h"
#include "common/settings/scramble.h"
#include "common/win/dialog.h"
#include "common/win/settingsnotice.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/logic/mboxlist_rules.h"
#include "mailer/transfer/mboxexpt.h"
#include "mailer/transfer/mboxwiz.h"
#include "mailer/transfer/popcpw.h"
#include "mailer/ui/logic/cmdplug.h"

#include <cstring>

namespace lx {
namespace {

long InFolderNumOf(const MailboxSetupContext& context) {
    return context.inFolderNum ? context.inFolderNum() : 0;
}

// The list box shows the mailboxes in list order, so an entry's index is its record's index.
class MailboxListDialog : public Dialog {
public:
    MailboxListDialog(HWND owner, MailboxListData* data)
        : Dialog(IDD_MBOXLIST, owner), data_(data) {
        MapClick(Map(), IDC_MBOXLIST_ADD, [this] { OnAdd(); });
        MapClick(Map(), IDC_MBOXLIST_EDIT, [this] { OnEdit(); });
        Map().OnCommand(IDC_MBOXLIST_LIST, [this](int code, HWND) {
            if (code == LBN_DBLCLK) OnEdit();
        });
        MapClick(Map(), IDC_MBOXLIST_DELETE, [this] { OnDelete(); });
        MapClick(Map(), IDC_MBOXLIST_PASSWORD, [this] { OnChangePassword(); });
        MapHelp(Map(), *this, data_->installPath, HELP_CONTEXT_MBOXLIST);
    }

protected:
    BOOL OnInitDialog() override {
        FillList(0);
        // The expert screen unless the user asks for the wizard each time.
        ::CheckDlgButton(Handle(), IDC_MBOXLIST_EXPERT, BST_CHECKED);
        return TRUE;
    }
    // Enter does not close the list; Close does.
    void OnOK() override {}

private:
    MailboxList& List() { return *data_->mailboxes; }

    // The selected mailbox's index, or -1.
    int Selected() const {
        const LRESULT index =
            ::SendDlgItemMessageA(Handle(), IDC_MBOXLIST_LIST, LB_GETCURSEL, 0, 0);
        if (index == LB_ERR || index < 0 || index >= MailboxCount(*data_->mailboxes)) return -1;
        return static_cast<int>(index);
    }

    void FillList(int select) {
        HWND list = Item(IDC_MBOXLIST_LIST);
        ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
        for (const std::string& name : MailboxNames(List()))
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        if (select >= 0 && select < MailboxCount(List()))
            ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(select), 0);
    }

    // Writes the changed list and shows it with `select` selected.
    void Changed(int select) {
        data_->changed = true;
        ReportIfNotSaved(SaveMailboxes(data_->installPath, List()), Handle(), data_->catalog,
                         kMailboxFile);
        FillList(select);
    }

    INT_PTR RunEditor(MailboxEditData& edit) {
        edit.catalog = data_->catalog;
        edit.conn = data_->conn;
        edit.installPath = data_->installPath;
        edit.mailboxes = data_->mailboxes;
        edit.inFolderNum = data_->inFolderNum;
        edit.registryKey = data_->registryKey;
        const bool expert = ::IsDlgButtonChecked(Handle(), IDC_MBOXLIST_EXPERT) == BST_CHECKED;
        return expert ? ShowMailboxExpertDialog(Handle(), &edit)
                      : ShowMailboxWizardDialog(Handle(), &edit);
    }

    void OnAdd() {
        if (!CanAddMailbox(List())) {
            ui::CatalogAppBox(*data_->catalog, "MBOXLIST_CPP_1", MB_OK | MB_ICONINFORMATION);
            return;
        }
        MailboxEditData edit;
        edit.index = MailboxCount(List());
        if (RunEditor(edit) == IDOK && AddMailbox(List(), edit.record))
            Changed(MailboxCount(List()) - 1);
    }

    // The edited mailbox becomes the current one.
    void OnEdit() {
        const int index = Selected();
        if (index < 0) return;
        MailboxEditData edit;
        edit.index = index;
        if (RunEditor(edit) == IDOK && ReplaceMailbox(List(), index, edit.record)) Changed(index);
    }

    // The first mailbox becomes current, also when the deleted one was not.
    void OnDelete() {
        const int index = Selected();
        if (index < 0) return;
        if (ui::CatalogBox(Handle(), *data_->catalog, "MBOXLIST_CPP_3", "MBOXLIST_CPP_4",
                           MB_YESNO | MB_ICONSTOP) != IDYES)
            return;
        const std::string name = TextOf(List().records[static_cast<size_t>(index)].name);
        if (!DeleteMailbox(List(), index)) return;
        // Its trusted certificates and kept password go with it.
        Win32SettingsRegistry registry(data_->registryKey);
        ForgetMailboxKey(registry, name);
        Changed(0);
    }

    // The stored password is unscrambled only into the dialog's buffer; the record changes only
    // when the server has taken the new password.
    void OnChangePassword() {
        const int index = Selected();
        if (index < 0) return;
        MailboxRecord& record = List().records[static_cast<size_t>(index)];
        char password[sizeof record.password];
        std::memcpy(password, record.password, sizeof password);
        password[sizeof password - 1] = '\0';
        Unscramble(password);
        ChangePasswordData change;
        change.catalog = data_->catalog;
        change.installPath = data_->installPath;
        change.mailboxes = data_->mailboxes;
        change.index = index;
        change.password = password;
        change.passwordSize = sizeof password;
        ShowChangePasswordDialog(Handle(), &change);
        if (change.changed) {
            Scramble(password);
            CopyText(record.password, password);
            Changed(index);
        }
        WipeText(password, sizeof password);
    }

    MailboxListData* data_;
};

} // namespace

INT_PTR ShowMailboxListDialog(HWND owner, MailboxListData* data) {
    if (!data || !data->mailboxes || !data->catalog) return -1;
    MailboxListDialog dialog(owner, data);
    return dialog.DoModal();
}

void PlugMailboxSetup(CommandPlugs& plugs, const MailboxSetupContext& context) {
    plugs.Plug(ID_MAILBOX_SETUP, [context](void* owner, const char*) {
        MailboxListData data;
        data.catalog = context.catalog;
        data.conn = context.conn;
        data.installPath = context.installPath;
        data.mailboxes = context.mailboxes;
        data.inFolderNum = InFolderNumOf(context);
        ShowMailboxListDialog(static_cast<HWND>(owner), &data);
        return data.changed ? kPlugOk : kPlugCancel;
    });
}

bool RunFirstMailboxSetup(HWND owner, const MailboxSetupContext& context) {
    if (!context.mailboxes || MailboxCount(*context.mailboxes) != 0) return false;
    MailboxEditData edit;
    edit.catalog = context.catalog;
    edit.conn = context.conn;
    edit.installPath = context.installPath;
    edit.mailboxes = context.mailboxes;
    edit.index = 0;
    edit.inFolderNum = InFolderNumOf(context);
    return ShowMailboxWizardDialog(owner, &edit) == IDOK &&
           AddMailbox(*context.mailboxes, edit.record);
}

} // namespace lx
