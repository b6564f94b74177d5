#include "mailer/ui/viewlog.h"
#include "mailer/ui/logic/logtext.h"
#include "mailer/res/resource.h"
#include "common/catalog/msgcatalog.h"
#include "common/settings/install_path.h"
#include "common/win/dialog.h"
#include "common/win/uiseam.h"

#include <string>

namespace lx {
namespace {

class ViewLogDialog : public Dialog {
public:
    ViewLogDialog(HWND owner, ViewLogData* data) : Dialog(IDD_VIEWLOG, owner), data_(data) {
        Map().OnCommand(IDC_VIEWLOG_DELETE, [this](int, HWND) { OnDelete(); });
        Map().OnCommand(IDC_VIEWLOG_HELP, [this](int, HWND) { OnHelp(); });
    }

protected:
    BOOL OnInitDialog() override {
        std::string text;
        if (ReadLogForView(LogPath(), text)) {
            ::SetDlgItemTextA(Handle(), IDC_VIEWLOG_TEXT, text.c_str());
        } else {
            ::SetDlgItemTextA(Handle(), IDC_VIEWLOG_TEXT,
                              CatalogText(data_->catalog, "VIEWLOG_CPP_1").c_str());
            ::EnableWindow(Item(IDC_VIEWLOG_DELETE), FALSE);
        }
        // Focus on Cancel: the log is for reading, and a focused edit box would select it all.
        ::SetFocus(Item(IDCANCEL));
        return FALSE;
    }

private:
    std::string LogPath() const { return InstallFile(data_->installPath, kLogFileName); }

    void OnDelete() {
        // The text already shown stays until the dialog closes.
        if (::DeleteFileA(LogPath().c_str())) data_->deleted = true;
        // Focus must leave the button before it is disabled, or the keyboard is stranded.
        ::SetFocus(Item(IDCANCEL));
        ::EnableWindow(Item(IDC_VIEWLOG_DELETE), FALSE);
    }

    void OnHelp() {
        ui::Help(Handle(), HelpFileSpec(data_->installPath).c_str(), HELP_CONTEXT,
                 HELP_CONTEXT_VIEWLOG);
    }

    ViewLogData* data_;
};

} // namespace

INT_PTR ShowViewLogDialog(HWND owner, ViewLogData* data) {
    if (!data || !data->installPath) return -1;
    data->deleted = false;
    ViewLogDialog dialog(owner, data);
    return dialog.DoModal();
}

} // namespace lx
