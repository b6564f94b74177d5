// "Select Address": one address of a letter tab, for the filter editor.
#include "mailer/addressing/seladdrs.h"

#include "common/catalog/msgcatalog.h"
#include "common/win/dialog.h"
#include "common/win/uiseam.h"
#include "mailer/addressing/lettertabs.h"
#include "mailer/addressing/logic/addrpick_rules.h"
#include "mailer/addressing/store/addrpick_store.h"
#include "mailer/res/resource.h"

namespace lx {
namespace {

class SelectAddressDialog : public Dialog {
public:
    SelectAddressDialog(HWND owner, SelectAddressData* data)
        : Dialog(IDD_SELADDRS, owner), data_(data) {
        Map().OnCommand(IDC_SELADDRS_SELECT, [this](int, HWND) { Select(); });
        Map().OnCommand(IDC_SELADDRS_LIST, [this](int code, HWND) {
            if (code == LBN_DBLCLK) Select();
        });
        Map().OnCommand(IDC_SELADDRS_HELP, [this](int, HWND) {
            ShowPickerHelp(Handle(), data_->installPath, HELP_CONTEXT_SELADDRS);
        });
        Map().On(WM_NOTIFY, [this](WPARAM, LPARAM notify) -> LRESULT {
            if (IsTabChange(notify, IDC_SELADDRS_TABS)) {
                ShowTab();
                HWND list = Item(IDC_SELADDRS_LIST);
                ::SetFocus(list);
                ::SendMessageA(list, LB_SETCURSEL, 0, 0);
            }
            return 0;
        });
    }

protected:
    BOOL OnInitDialog() override {
        AddLetterTabs(Item(IDC_SELADDRS_TABS));
        ShowTab();
        return TRUE;
    }

    // Enter: the default button's work.
    void OnOK() override { Select(); }

private:
    void ShowTab() {
        const int tab = CurrentLetterTab(Item(IDC_SELADDRS_TABS));
        // The store's own report is replaced by the picker's box.
        if (!ReadAddressRows(data_->conn, AddressTabQuery(tab), false, &rows_, nullptr))
            Box("SELADDRS_CPP_5", "SELADDRS_CPP_6");
        std::vector<std::string> lines;
        for (const AddressRow& row : rows_) lines.push_back(row.name);
        FillLines(Item(IDC_SELADDRS_LIST), lines);
    }

    void Select() {
        const LRESULT line = ::SendMessageA(Item(IDC_SELADDRS_LIST), LB_GETCURSEL, 0, 0);
        if (line == LB_ERR) {
            Box("SELADDRS_CPP_3", "SELADDRS_CPP_4");
            End(IDCANCEL);
            return;
        }
        if (static_cast<size_t>(line) >= rows_.size()) {
            Box("SELADDRS_CPP_1", "SELADDRS_CPP_2");
            End(IDCANCEL);
            return;
        }
        data_->address = rows_[static_cast<size_t>(line)].dest;
        End(IDOK);
    }

    void Box(const char* textKey, const char* captionKey) {
        ui::CatalogBox(Handle(), *data_->catalog, textKey, captionKey, MB_OK | MB_ICONEXCLAMATION);
    }

    SelectAddressData* data_;
    std::vector<AddressRow> rows_; // the rows behind the list's lines
};

} // namespace

INT_PTR ShowSelectAddressDialog(HWND owner, SelectAddressData* data) {
    if (!data || !data->catalog) return -1;
    LoadTabControls();
    SelectAddressDialog dialog(owner, data);
    return dialog.DoModal();
}

} // namespace lx
