// "Merge File": the name of the merge file written from a mailing list. Only a plain file name in
// the installation folder is accepted.
#include "mailer/addressing/maillist.h"

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/win/dialog.h"
#include "common/win/uiseam.h"
#include "mailer/addressing/lettertabs.h"
#include "mailer/addressing/logic/mergefile_rules.h"
#include "mailer/res/resource.h"

namespace lx {
namespace {

constexpr int kMergeNameField = 255;

class MergeFileDialog : public Dialog {
public:
    MergeFileDialog(HWND owner, MergeFileNameData* data) : Dialog(IDD_MMFNAME, owner), data_(data) {
        BindText(IDC_MMFNAME_NAME, name_, sizeof name_, kMergeNameField);
        Map().OnCommand(IDC_MMFNAME_HELP, [this](int, HWND) {
            ShowPickerHelp(Handle(), data_->installPath, HELP_CONTEXT_MMFNAME);
        });
    }

protected:
    void OnOK() override {
        if (!UpdateData(true)) return;
        const MergeNameCheck check = CheckMergeFileName(name_);
        if (check != MergeNameCheck::Ok) {
            Refuse(check);
            return;
        }
        data_->fileName = MergeFileName(name_);
        End(IDOK);
    }

private:
    void Refuse(MergeNameCheck check) {
        const char* caption = data_->catalog->Lookup("MAILLIST_CPP_5");
        const std::string title = caption ? caption : "";
        const char* text = data_->catalog->Lookup(
            check == MergeNameCheck::Empty ? "MAILLIST_CPP_11" : "MAILLIST_CPP_12");
        const std::string shown = FormatTextOr(text, {std::string(name_)}, text ? text : "");
        ui::MessageBox(Handle(), shown.c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(Item(IDC_MMFNAME_NAME));
    }

    MergeFileNameData* data_;
    char name_[kMergeNameField + 1] = "";
};

} // namespace

INT_PTR ShowMergeFileDialog(HWND owner, MergeFileNameData* data) {
    if (!data || !data->catalog) return -1;
    MergeFileDialog dialog(owner, data);
    return dialog.DoModal();
}

} // namespace lx
