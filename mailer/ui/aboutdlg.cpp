#include "mailer/ui/aboutdlg.h"

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/win/dialog.h"
#include "mailer/res/resource.h"

namespace lx {
namespace {

class AboutDialog : public Dialog {
public:
    AboutDialog(HWND owner, AboutData* data) : Dialog(IDD_ABOUT, owner), data_(data) {}

protected:
    BOOL OnInitDialog() override {
        SetText(0, "ABOUTDLG_CPP_1");
        SetText(IDC_ABOUT_NAME, "ABOUTDLG_CPP_2");
        const std::string format = Text("ABOUTDLG_CPP_3");
        data_->shownVersion = FormatTextOr(format.c_str(), {LX_VERSION_TEXT}, LX_VERSION_TEXT);
        ::SetDlgItemTextA(Handle(), IDC_ABOUT_VERSION, data_->shownVersion.c_str());
        SetText(IDC_ABOUT_TEXT, "ABOUTDLG_CPP_4");
        return TRUE;
    }

private:
    std::string Text(const char* key) const {
        const char* text = data_->catalog ? data_->catalog->Lookup(key) : nullptr;
        return text ? text : "";
    }
    // A control's text (0: the caption) from the catalogue, when it has the key.
    void SetText(int id, const char* key) {
        const std::string text = Text(key);
        if (text.empty()) return;
        if (id == 0)
            ::SetWindowTextA(Handle(), text.c_str());
        else
            ::SetDlgItemTextA(Handle(), id, text.c_str());
    }

    AboutData* data_;
};

} // namespace

INT_PTR ShowAboutDialog(HWND owner, AboutData* data) {
    if (!data) return -1;
    AboutDialog dialog(owner, data);
    return dialog.DoModal();
}

} // namespace lx
