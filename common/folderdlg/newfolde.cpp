#include "common/folderdlg/newfolde.h"

#include "common/catalog/msgcatalog.h"
#include "common/folderdlg/folderres.h"
#include "common/win/dialog.h"
#include "common/win/uiseam.h"

#include <cstring>

namespace lx {

namespace {

class NewFolderDialog : public Dialog {
public:
    NewFolderDialog(HWND owner, MessageCatalog& catalog, const NewFolderData* preset,
                    const std::string& helpFile)
        : Dialog(IDD_NEWFOLDER, owner), catalog_(catalog), helpFile_(helpFile) {
        if (preset && preset->name[0]) {
            std::memcpy(fields_.name, preset->name, sizeof fields_.name);
            editing_ = true;
        }
        if (preset && preset->description[0])
            std::memcpy(fields_.description, preset->description, sizeof fields_.description);
        fields_.name[kFolderLen] = fields_.description[kDescriptionLen] = '\0';
        BindText(IDC_NEWFOLDER_NAME, fields_.name, sizeof fields_.name, kFolderLen);
        BindText(IDC_NEWFOLDER_DESC, fields_.description, sizeof fields_.description,
                 kDescriptionLen);
        Map().OnCommand(IDC_NEWFOLDER_HELP, [this](int, HWND) {
            ui::Help(Handle(), helpFile_.c_str(), HELP_CONTEXT, HELP_CONTEXT_NEWFOLDER);
        });
    }
    const NewFolderData& Fields() const { return fields_; }

protected:
    BOOL OnInitDialog() override {
        if (editing_) {
            if (const char* caption = catalog_.Lookup("NEWFOLDE_CPP_3"))
                ::SetWindowTextA(Handle(), caption);
        }
        return TRUE;
    }
    void OnOK() override {
        if (!UpdateData(true)) return;
        // Names beginning with "_" or "-" are kept for the special folders; a blank name would
        // make a row nobody can see or pick.
        if (fields_.name[0] == '_' || fields_.name[0] == '-') {
            Refuse("NEWFOLDE_CPP_1");
            return;
        }
        if (std::strspn(fields_.name, " \t") == std::strlen(fields_.name)) {
            Refuse("NEWFOLDE_CPP_4");
            return;
        }
        End(IDOK);
    }

private:
    void Refuse(const char* textKey) {
        ui::CatalogBox(Handle(), catalog_, textKey, "NEWFOLDE_CPP_2", MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(Item(IDC_NEWFOLDER_NAME));
    }

    MessageCatalog& catalog_;
    std::string helpFile_;
    NewFolderData fields_;
    bool editing_ = false;
};

} // namespace

INT_PTR ShowNewFolderDialog(HWND owner, MessageCatalog& catalog, const NewFolderData* preset,
                            NewFolderData* result, const std::string& helpFile) {
    NewFolderDialog dialog(owner, catalog, preset, helpFile);
    const INT_PTR answer = dialog.DoModal();
    if (answer == IDOK && result) *result = dialog.Fields();
    return answer;
}

} // namespace lx
