#include "mailer/transfer/filtmgr.h"

#include "common/catalog/msgcatalog.h"
#include "common/folderdlg/selfolde.h"
#include "common/settings/fixed_text.h"
#include "common/settings/install_path.h"
#include "common/win/dialog.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/logic/filterform.h"

namespace lx {
namespace {

static_assert(IDC_FILTMGR_CHOICE9 - IDC_FILTMGR_CHOICE0 + 1 == kFilterChoiceCount,
              "one radio button per choice, with consecutive ids");

class ManageFilterDialog : public Dialog {
public:
    ManageFilterDialog(HWND owner, ManageFilterData* data)
        : Dialog(IDD_FILTMGR, owner), data_(data), form_(FormFromRule(data->rule)) {
        CopyText(name_, form_.name.c_str());
        CopyText(address_, form_.address.c_str());
        CopyText(subject_, form_.subject.c_str());
        CopyText(message_, form_.message.c_str());
        CopyText(folder_, form_.folderName.c_str());
        BindText(IDC_FILTMGR_NAME, name_, sizeof name_, 15);
        BindText(IDC_FILTMGR_ADDRESS, address_, sizeof address_, 80);
        BindText(IDC_FILTMGR_SUBJECT, subject_, sizeof subject_, 31);
        BindText(IDC_FILTMGR_MESSAGE, message_, sizeof message_, 31);
        BindText(IDC_FILTMGR_FOLDER, folder_, sizeof folder_, 16);
        for (int id = IDC_FILTMGR_CHOICE0; id <= IDC_FILTMGR_CHOICE9; ++id)
            Map().OnCommand(id, [this](int, HWND) { EnableFields(); });
        Map().OnCommand(IDC_FILTMGR_DELETE, [this](int, HWND) { EnableFields(); });
        Map().OnCommand(IDC_FILTMGR_FILE, [this](int, HWND) { EnableFields(); });
        Map().OnCommand(IDC_FILTMGR_PICKADDRESS, [this](int, HWND) { PickAddress(); });
        Map().OnCommand(IDC_FILTMGR_PICKFOLDER, [this](int, HWND) { PickFolder(); });
        Map().OnCommand(IDC_FILTMGR_HELP, [this](int, HWND) {
            ui::Help(Handle(), HelpFileSpec(data_->installPath).c_str(), HELP_CONTEXT,
                     HELP_CONTEXT_FILTMGR);
        });
    }

protected:
    BOOL OnInitDialog() override {
        ::CheckRadioButton(Handle(), IDC_FILTMGR_CHOICE0, IDC_FILTMGR_CHOICE9,
                           IDC_FILTMGR_CHOICE0 + static_cast<int>(form_.choice));
        ::CheckRadioButton(Handle(), IDC_FILTMGR_DELETE, IDC_FILTMGR_FILE,
                           form_.fileInFolder ? IDC_FILTMGR_FILE : IDC_FILTMGR_DELETE);
        ::EnableWindow(Item(IDC_FILTMGR_NAME), !data_->editing);
        EnableFields();
        return TRUE;
    }

    void OnOK() override {
        if (!UpdateData(true)) return;
        ReadChoices();
        form_.name = name_;
        form_.address = address_;
        form_.subject = subject_;
        form_.message = message_;
        form_.folderName = folder_;
        const FilterFormCheck check = CheckFilterForm(form_);
        if (check.key) {
            ui::CatalogBox(Handle(), *data_->catalog, check.key, "FILTMGR_CPP_2",
                           MB_OK | MB_ICONEXCLAMATION);
            FocusField(check.field);
            return;
        }
        if (data_->acceptName && !data_->acceptName(Handle(), form_.name)) {
            FocusField(FilterFormField::Name);
            return;
        }
        data_->rule = RuleFromForm(form_);
        End(IDOK);
    }

private:
    void ReadChoices() {
        for (std::size_t i = 0; i < kFilterChoiceCount; ++i) {
            if (::IsDlgButtonChecked(Handle(), IDC_FILTMGR_CHOICE0 + static_cast<int>(i)))
                form_.choice = i;
        }
        form_.fileInFolder = ::IsDlgButtonChecked(Handle(), IDC_FILTMGR_FILE) == BST_CHECKED;
    }

    // A choice enables exactly the texts it uses; Delete needs no folder.
    void EnableFields() {
        ReadChoices();
        const FilterChoice& choice = kFilterChoices[form_.choice];
        ::EnableWindow(Item(IDC_FILTMGR_ADDRESS), choice.address);
        ::EnableWindow(Item(IDC_FILTMGR_PICKADDRESS),
                       choice.address && static_cast<bool>(data_->pickAddress));
        ::EnableWindow(Item(IDC_FILTMGR_SUBJECT), choice.subject);
        ::EnableWindow(Item(IDC_FILTMGR_MESSAGE), choice.message);
        ::EnableWindow(Item(IDC_FILTMGR_FOLDER), form_.fileInFolder);
        ::EnableWindow(Item(IDC_FILTMGR_PICKFOLDER), form_.fileInFolder);
    }

    void FocusField(FilterFormField field) {
        int id = IDC_FILTMGR_NAME;
        switch (field) {
        case FilterFormField::Address: id = IDC_FILTMGR_ADDRESS; break;
        case FilterFormField::Subject: id = IDC_FILTMGR_SUBJECT; break;
        case FilterFormField::Message: id = IDC_FILTMGR_MESSAGE; break;
        // The folder is chosen through its button, the field itself is read-only.
        case FilterFormField::Folder: id = IDC_FILTMGR_PICKFOLDER; break;
        default: break;
        }
        ::SetFocus(Item(id));
    }

    void PickAddress() {
        if (!data_->pickAddress) return;
        char address[81] = "";
        if (data_->pickAddress(Handle(), address, sizeof address))
            ::SetDlgItemTextA(Handle(), IDC_FILTMGR_ADDRESS, address);
    }

    void PickFolder() {
        long number = form_.folderNum;
        char name[17] = "";
        if (ShowSelectFolderDialog(Handle(), *data_->catalog, data_->conn, &number, name,
                                   sizeof name, HelpFileSpec(data_->installPath)) != IDOK)
            return;
        form_.folderNum = static_cast<std::int32_t>(number);
        ::SetDlgItemTextA(Handle(), IDC_FILTMGR_FOLDER, name);
    }

    ManageFilterData* data_;
    FilterForm form_;
    char name_[16] = {};
    char address_[81] = {};
    char subject_[32] = {};
    char message_[32] = {};
    char folder_[17] = {};
};

} // namespace

INT_PTR ShowManageFilterDialog(HWND owner, ManageFilterData* data) {
    if (!data || !data->catalog) return -1;
    ManageFilterDialog dialog(owner, data);
    return dialog.DoModal();
}

} // namespace lx
