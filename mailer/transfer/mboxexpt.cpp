#include "mailer/transfer/mboxexpt.h"

#include "common/catalog/msgcatalog.h"
#include "common/settings/fixed_text.h"
#include "common/win/dialog.h"
#include "mailer/res/resource.h"

namespace lx {
namespace {

// The text fields, their record-sized buffers and the most characters each takes.
struct ExpertField {
    int id;
    MailboxField field;
};
constexpr ExpertField kFields[] = {
    {IDC_MBOXEXPERT_NAME, MailboxField::Name},
    {IDC_MBOXEXPERT_POP3, MailboxField::Pop3Server},
    {IDC_MBOXEXPERT_SMTP, MailboxField::SmtpServer},
    {IDC_MBOXEXPERT_ADDRESS, MailboxField::Address},
    {IDC_MBOXEXPERT_USER, MailboxField::User},
    {IDC_MBOXEXPERT_PASSWORD, MailboxField::Password},
};
constexpr size_t kFieldCount = sizeof kFields / sizeof kFields[0];
// Large enough for every field's text and its NUL (the password is the longest).
constexpr size_t kFieldBuffer = 128;
constexpr SecurityControlIds kSecurityIds = {IDC_MBOXEXPERT_POP3SEC, IDC_MBOXEXPERT_POP3PORT,
                                             IDC_MBOXEXPERT_SMTPSEC, IDC_MBOXEXPERT_SMTPPORT,
                                             IDC_MBOXEXPERT_SMTPLOGIN};
// The labels of the secure-connection controls, from the catalogue.
const struct {
    int id;
    const char* key;
} kSecurityLabels[] = {
    {IDC_MBOXEXPERT_POP3SEC_LABEL, "MBOXWIZ_CPP_14"},
    {IDC_MBOXEXPERT_SMTPSEC_LABEL, "MBOXWIZ_CPP_15"},
    {IDC_MBOXEXPERT_POP3PORT_LABEL, "MBOXWIZ_CPP_16"},
    {IDC_MBOXEXPERT_SMTPPORT_LABEL, "MBOXWIZ_CPP_17"},
};

// Unlike the wizard, the expert screen shows the servers as they are, without defaults.
class MailboxExpertScreen : public Dialog {
public:
    MailboxExpertScreen(HWND owner, MailboxEditData* data)
        : Dialog(IDD_MBOXEXPERT, owner), data_(data), work_(StartMailboxWork(*data)),
          security_(kSecurityIds, data->catalog) {
        for (size_t i = 0; i < kFieldCount; ++i) {
            CopyText(buffers_[i], WorkField(work_, kFields[i].field).c_str());
            BindText(kFields[i].id, buffers_[i], sizeof buffers_[i],
                     static_cast<int>(MailboxFieldLimit(kFields[i].field)));
        }
        MapClick(Map(), IDC_MBOXEXPERT_SAVE, [this] { OnOK(); });
        security_.MapChoices(Map(), *this);
        MapHelp(Map(), *this, data_->installPath, HELP_CONTEXT_MBOXEXPERT);
    }
    ~MailboxExpertScreen() override {
        WipeText(work_.password);
        for (auto& buffer : buffers_) WipeText(buffer, sizeof buffer);
    }

protected:
    BOOL OnInitDialog() override {
        ::CheckDlgButton(Handle(), IDC_MBOXEXPERT_DELETE,
                         work_.deleteMail ? BST_CHECKED : BST_UNCHECKED);
        ::CheckDlgButton(Handle(), IDC_MBOXEXPERT_APOP, work_.apop ? BST_CHECKED : BST_UNCHECKED);
        FillDefaultFolderList(Item(IDC_MBOXEXPERT_FOLDER), *data_, work_.defaultFolder, Handle());
        for (const auto& label : kSecurityLabels)
            ::SetDlgItemTextA(Handle(), label.id, CatalogText(data_->catalog, label.key).c_str());
        security_.Show(Handle(), work_.security);
        return TRUE;
    }

    // Save: a field over its limit keeps the dialog open with the length message.
    void OnOK() override {
        if (!UpdateData(true)) return;
        MailboxWork work = work_;
        for (size_t i = 0; i < kFieldCount; ++i)
            WorkField(work, kFields[i].field) = TextOf(buffers_[i], sizeof buffers_[i]);
        work.deleteMail = ::IsDlgButtonChecked(Handle(), IDC_MBOXEXPERT_DELETE) == BST_CHECKED;
        work.apop = ::IsDlgButtonChecked(Handle(), IDC_MBOXEXPERT_APOP) == BST_CHECKED;
        if (!security_.Read(Handle(), MailServer::Pop3, work.security) ||
            !security_.Read(Handle(), MailServer::Smtp, work.security)) {
            WipeText(work.password);
            return;
        }
        const FolderChoice folder =
            ChosenDefaultFolder(Item(IDC_MBOXEXPERT_FOLDER), data_->inFolderNum);
        work.defaultFolder = folder.folder;
        work.defaultFolderNum = folder.folderNum;
        const WorkCheck check = CheckWork(work, *data_->mailboxes, data_->index);
        if (check.refusal != WorkRefusal::None) {
            ShowWorkRefusal(Handle(), data_->catalog, check, work.name);
            WipeText(work.password);
            FocusField(check.field);
            return;
        }
        data_->record = FinishedMailboxRecord(*data_, work);
        WipeText(work.password);
        End(IDOK);
    }

private:
    void FocusField(MailboxField field) {
        for (const ExpertField& f : kFields)
            if (f.field == field) {
                HWND control = Item(f.id);
                ::SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
                ::SendMessageA(control, EM_SETSEL, 0, -1);
            }
    }

    MailboxEditData* data_;
    MailboxWork work_;
    SecurityFields security_;
    char buffers_[kFieldCount][kFieldBuffer] = {};
};

} // namespace

INT_PTR ShowMailboxExpertDialog(HWND owner, MailboxEditData* data) {
    if (!data || !data->mailboxes) return -1;
    MailboxExpertScreen dialog(owner, data);
    return dialog.DoModal();
}

} // namespace lx
