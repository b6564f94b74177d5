#include "mailer/transfer/mboxwiz.h"

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/win/dialog.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/logic/mboxwiz_steps.h"

namespace lx {
namespace {

// The explanation text of each step, in step order.
constexpr int kStepTexts[kWizardStepCount] = {
    IDC_MBOXWIZ_TEXT_WELCOME,  IDC_MBOXWIZ_TEXT_NAME,     IDC_MBOXWIZ_TEXT_POP3,
    IDC_MBOXWIZ_TEXT_SMTP,     IDC_MBOXWIZ_TEXT_ADDRESS,  IDC_MBOXWIZ_TEXT_USER,
    IDC_MBOXWIZ_TEXT_PASSWORD, IDC_MBOXWIZ_TEXT_DELIVERY,
};
constexpr int kPasswordInputs[] = {IDC_MBOXWIZ_PASSWORD, IDC_MBOXWIZ_APOP};
constexpr int kDeliveryInputs[] = {IDC_MBOXWIZ_DELETE, IDC_MBOXWIZ_FOLDER_LABEL,
                                   IDC_MBOXWIZ_FOLDER};
// The server steps show their security beside the server's name.
constexpr SecurityControlIds kSecurityIds = {IDC_MBOXWIZ_POP3SEC, IDC_MBOXWIZ_POP3PORT,
                                             IDC_MBOXWIZ_SMTPSEC, IDC_MBOXWIZ_SMTPPORT,
                                             IDC_MBOXWIZ_SMTPLOGIN};
constexpr int kPop3SecurityInputs[] = {IDC_MBOXWIZ_POP3SEC, IDC_MBOXWIZ_POP3PORT};
constexpr int kSmtpSecurityInputs[] = {IDC_MBOXWIZ_SMTPSEC, IDC_MBOXWIZ_SMTPPORT,
                                       IDC_MBOXWIZ_SMTPLOGIN};
constexpr int kSecurityLabels[] = {IDC_MBOXWIZ_SEC_LABEL, IDC_MBOXWIZ_PORT_LABEL};

// The wizard offers no server names of its own: a new mailbox starts with empty server fields,
// and a mailbox being edited keeps its servers.
class MailboxWizard : public Dialog {
public:
    MailboxWizard(HWND owner, MailboxEditData* data)
        : Dialog(IDD_MBOXWIZ, owner), data_(data), work_(StartMailboxWork(*data)),
          steps_(work_, *data->mailboxes, data->index), security_(kSecurityIds, data->catalog) {
        MapClick(Map(), IDC_MBOXWIZ_NEXT, [this] { OnNext(); });
        MapClick(Map(), IDC_MBOXWIZ_PREVIOUS, [this] { OnPrevious(); });
        MapClick(Map(), IDC_MBOXWIZ_FINISH, [this] { OnFinish(); });
        security_.MapChoices(Map(), *this);
        MapHelp(Map(), *this, data_->installPath, HELP_CONTEXT_MBOXWIZ);
    }
    ~MailboxWizard() override { WipeText(work_.password); }

protected:
    BOOL OnInitDialog() override {
        FillDefaultFolderList(Item(IDC_MBOXWIZ_FOLDER), *data_, work_.defaultFolder, Handle());
        ::SetDlgItemTextA(Handle(), IDC_MBOXWIZ_SEC_LABEL,
                          CatalogText(data_->catalog, "MBOXWIZ_CPP_11").c_str());
        ::SetDlgItemTextA(Handle(), IDC_MBOXWIZ_PORT_LABEL,
                          CatalogText(data_->catalog, "MBOXWIZ_CPP_12").c_str());
        security_.Show(Handle(), work_.security);
        ShowStep();
        return FALSE;
    }
    // Enter presses the step's default button.
    void OnOK() override {
        if (steps_.Step() == WizardStep::Delivery)
            OnFinish();
        else
            OnNext();
    }

private:
    WizardInput ReadInput() const {
        WizardInput input;
        input.text = ItemText(Handle(), IDC_MBOXWIZ_EDIT);
        input.password = ItemText(Handle(), IDC_MBOXWIZ_PASSWORD);
        input.apop = ::IsDlgButtonChecked(Handle(), IDC_MBOXWIZ_APOP) == BST_CHECKED;
        input.deleteMail = ::IsDlgButtonChecked(Handle(), IDC_MBOXWIZ_DELETE) == BST_CHECKED;
        return input;
    }

    // The security of the server whose step is shown; false when its port is not valid.
    bool ReadSecurity() {
        if (steps_.Step() == WizardStep::Pop3Server)
            return security_.Read(Handle(), MailServer::Pop3, work_.security);
        if (steps_.Step() == WizardStep::SmtpServer)
            return security_.Read(Handle(), MailServer::Smtp, work_.security);
        return true;
    }

    void OnNext() {
        if (!ReadSecurity()) return;
        WizardInput input = ReadInput();
        const WorkCheck check = steps_.Next(input);
        WipeText(input.password);
        if (check.refusal != WorkRefusal::None) {
            // A refused name is the one just typed.
            ShowWorkRefusal(Handle(), data_->catalog, check,
                            check.field == MailboxField::Name ? input.text : work_.name);
            FocusInput();
            return;
        }
        ShowStep();
    }

    void OnPrevious() {
        WizardInput input = ReadInput();
        steps_.Previous(input);
        WipeText(input.password);
        ShowStep();
    }

    void OnFinish() {
        // Both were valid when their steps were left.
        security_.Read(Handle(), MailServer::Pop3, work_.security);
        security_.Read(Handle(), MailServer::Smtp, work_.security);
        WizardInput input = ReadInput();
        const WorkCheck check = steps_.Finish(input);
        WipeText(input.password);
        if (check.refusal == WorkRefusal::Unfinished) return;
        if (check.refusal != WorkRefusal::None) {
            ShowWorkRefusal(Handle(), data_->catalog, check, work_.name);
            ShowStep();
            return;
        }
        const FolderChoice folder =
            ChosenDefaultFolder(Item(IDC_MBOXWIZ_FOLDER), data_->inFolderNum);
        work_.defaultFolder = folder.folder;
        work_.defaultFolderNum = folder.folderNum;
        data_->record = FinishedMailboxRecord(*data_, work_);
        End(IDOK);
    }

    void Show(int id, bool shown) { ::ShowWindow(Item(id), shown ? SW_SHOW : SW_HIDE); }

    // Shows the current step: its text, its input loaded with the working value, its buttons.
    void ShowStep() {
        const WizardStep step = steps_.Step();
        const int number = static_cast<int>(step);
        for (int i = 0; i < kWizardStepCount; ++i) Show(kStepTexts[i], i == number);
        const std::string format = CatalogText(data_->catalog, "MBOXWIZ_CPP_4", "Step %d");
        ::SetDlgItemTextA(Handle(), IDC_MBOXWIZ_STEP,
                          FormatTextOr(format.c_str(), {number}, "").c_str());

        const WizardInput shown = steps_.Shown();
        Show(IDC_MBOXWIZ_EDIT, steps_.UsesSharedEdit());
        if (steps_.UsesSharedEdit()) {
            ::SendDlgItemMessageA(Handle(), IDC_MBOXWIZ_EDIT, EM_LIMITTEXT,
                                  static_cast<WPARAM>(steps_.SharedEditLimit()), 0);
            ::SetDlgItemTextA(Handle(), IDC_MBOXWIZ_EDIT, shown.text.c_str());
        }
        for (int id : kPasswordInputs) Show(id, step == WizardStep::Password);
        ::SendDlgItemMessageA(Handle(), IDC_MBOXWIZ_PASSWORD, EM_LIMITTEXT,
                              static_cast<WPARAM>(MailboxFieldLimit(MailboxField::Password)), 0);
        ::SetDlgItemTextA(Handle(), IDC_MBOXWIZ_PASSWORD, shown.password.c_str());
        ::CheckDlgButton(Handle(), IDC_MBOXWIZ_APOP, shown.apop ? BST_CHECKED : BST_UNCHECKED);
        for (int id : kDeliveryInputs) Show(id, step == WizardStep::Delivery);
        for (int id : kPop3SecurityInputs) Show(id, step == WizardStep::Pop3Server);
        for (int id : kSmtpSecurityInputs) Show(id, step == WizardStep::SmtpServer);
        for (int id : kSecurityLabels)
            Show(id, step == WizardStep::Pop3Server || step == WizardStep::SmtpServer);
        ::CheckDlgButton(Handle(), IDC_MBOXWIZ_DELETE,
                         shown.deleteMail ? BST_CHECKED : BST_UNCHECKED);

        const WizardButtons buttons = steps_.Buttons();
        Show(IDC_MBOXWIZ_NEXT, buttons.nextShown);
        ::EnableWindow(Item(IDC_MBOXWIZ_PREVIOUS), buttons.previousEnabled);
        Show(IDC_MBOXWIZ_FINISH, buttons.finishShown);
        const int defaultButton = buttons.finishShown ? IDC_MBOXWIZ_FINISH : IDC_MBOXWIZ_NEXT;
        ::SendMessageA(Handle(), DM_SETDEFID, static_cast<WPARAM>(defaultButton), 0);
        FocusInput();
    }

    // Next on the welcome step, else the step's input.
    void FocusInput() {
        int id = IDC_MBOXWIZ_NEXT;
        switch (steps_.Step()) {
        case WizardStep::Welcome: break;
        case WizardStep::Password: id = IDC_MBOXWIZ_PASSWORD; break;
        case WizardStep::Delivery: id = IDC_MBOXWIZ_DELETE; break;
        default: id = IDC_MBOXWIZ_EDIT; break;
        }
        ::SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
    }

    MailboxEditData* data_;
    MailboxWork work_;
    MailboxWizardSteps steps_;
    SecurityFields security_;
};

} // namespace

INT_PTR ShowMailboxWizardDialog(HWND owner, MailboxEditData* data) {
    if (!data || !data->mailboxes) return -1;
    MailboxWizard dialog(owner, data);
    return dialog.DoModal();
}

} // namespace lx
