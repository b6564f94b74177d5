// "Select Recipients": the addresses of a letter tab picked into To and Cc.
#include "common/catalog/msgcatalog.h"
#include "mailer/addressing/recippick.h"
#include "mailer/addressing/store/addrpick_store.h"
#include "mailer/res/resource.h"

namespace lx {
namespace {

class SelectRecipientsDialog : public RecipientPickDialog {
public:
    SelectRecipientsDialog(HWND owner, RecipientPickData* data)
        : RecipientPickDialog(IDD_SELRECIP, owner, data, IDC_SELRECIP_TO, IDC_SELRECIP_CC) {
        Map().OnCommand(IDC_SELRECIP_ADDTO, [this](int, HWND) { AddSelected(true); });
        Map().OnCommand(IDC_SELRECIP_ADDCC, [this](int, HWND) { AddSelected(false); });
        Map().OnCommand(IDC_SELRECIP_REMOVETO, [this](int, HWND) { RemoveSelected(true); });
        Map().OnCommand(IDC_SELRECIP_REMOVECC, [this](int, HWND) { RemoveSelected(false); });
        Map().OnCommand(IDC_SELRECIP_MANAGE, [this](int, HWND) { ManageAddressBook(); });
        Map().OnCommand(IDC_SELRECIP_HELP, [this](int, HWND) {
            ShowPickerHelp(Handle(), data_->installPath, HELP_CONTEXT_SELRECIP);
        });
        Map().On(WM_NOTIFY, [this](WPARAM, LPARAM notify) -> LRESULT {
            if (IsTabChange(notify, IDC_SELRECIP_TABS)) {
                ShowTab();
                FocusFirstLine();
            }
            return 0;
        });
    }

protected:
    BOOL OnInitDialog() override {
        AddLetterTabs(Item(IDC_SELRECIP_TABS));
        ::EnableWindow(Item(IDC_SELRECIP_MANAGE), static_cast<bool>(data_->manageAddressBook));
        ShowTab();
        return TRUE;
    }

private:
    // Runs the chosen tab's query into the list; ">>" only while there are rows to pick.
    void ShowTab() {
        const int tab = CurrentLetterTab(Item(IDC_SELRECIP_TABS));
        const bool read =
            ReadAddressRows(data_->conn, RecipientTabQuery(tab), true, &rows_, Handle());
        std::vector<std::string> lines;
        for (const AddressRow& row : rows_) lines.push_back(row.name);
        const char* none = data_->catalog->Lookup("NEWABOOK_CPP_15");
        if (read && rows_.empty()) lines.push_back(none ? none : "");
        FillLines(Item(IDC_SELRECIP_LIST), lines);
        ::EnableWindow(Item(IDC_SELRECIP_ADDTO), !rows_.empty());
        ::EnableWindow(Item(IDC_SELRECIP_ADDCC), !rows_.empty());
    }

    void FocusFirstLine() {
        HWND list = Item(IDC_SELRECIP_LIST);
        ::SetFocus(list);
        ::SendMessageA(list, LB_SETSEL, FALSE, -1);
        ::SendMessageA(list, LB_SETSEL, TRUE, 0);
    }

    void AddSelected(bool to) {
        for (const int line : SelectedLines(Item(IDC_SELRECIP_LIST))) {
            // A line without its row (the "no addresses" line) adds nothing.
            if (line < 0 || static_cast<size_t>(line) >= rows_.size()) continue;
            const std::string& dest = rows_[static_cast<size_t>(line)].dest;
            if (to)
                picked_.AddTo(dest);
            else
                picked_.AddCc(dest);
        }
        ShowPicked();
    }

    void RemoveSelected(bool to) {
        const LRESULT line =
            ::SendMessageA(Item(to ? IDC_SELRECIP_TO : IDC_SELRECIP_CC), LB_GETCURSEL, 0, 0);
        if (line == LB_ERR) return;
        if (to)
            picked_.RemoveTo(static_cast<size_t>(line));
        else
            picked_.RemoveCc(static_cast<size_t>(line));
        ShowPicked();
    }

    void ManageAddressBook() {
        if (!data_->manageAddressBook) return;
        data_->manageAddressBook(Handle());
        ShowTab();
    }

    std::vector<AddressRow> rows_; // the rows behind the list's lines
};

} // namespace

INT_PTR ShowSelectRecipientsDialog(HWND owner, RecipientPickData* data) {
    if (!data || !data->catalog) return -1;
    LoadTabControls();
    SelectRecipientsDialog dialog(owner, data);
    return dialog.DoModal();
}

} // namespace lx
