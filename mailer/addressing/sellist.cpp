// "Select Mailing List": the members of whole mailing lists picked into To and Cc.
#include "common/catalog/msgcatalog.h"
#include "mailer/addressing/recippick.h"
#include "mailer/addressing/store/addrpick_store.h"
#include "mailer/res/resource.h"

namespace lx {
namespace {

class SelectMailingListDialog : public RecipientPickDialog {
public:
    SelectMailingListDialog(HWND owner, RecipientPickData* data)
        : RecipientPickDialog(IDD_SELLIST, owner, data, IDC_SELLIST_TO, IDC_SELLIST_CC) {
        Map().OnCommand(IDC_SELLIST_ADD, [this](int, HWND) { AddSelectedLists(); });
        Map().OnCommand(IDC_SELLIST_HELP, [this](int, HWND) {
            ShowPickerHelp(Handle(), data_->installPath, HELP_CONTEXT_SELLIST);
        });
    }

protected:
    BOOL OnInitDialog() override {
        ReadMailingLists(data_->conn, &lists_, Handle());
        std::vector<std::string> names;
        for (const MailingListRow& list : lists_) names.push_back(list.name);
        FillLines(Item(IDC_SELLIST_LISTS), names);
        return TRUE;
    }

private:
    // List by list: its To members, then its Cc members, each skipping addresses already picked.
    void AddSelectedLists() {
        for (const int line : SelectedLines(Item(IDC_SELLIST_LISTS))) {
            if (line < 0 || static_cast<size_t>(line) >= lists_.size()) continue;
            const long distroNum = lists_[static_cast<size_t>(line)].distroNum;
            std::vector<std::string> to, cc;
            // A failed read has been reported; what is picked so far stays.
            if (!ReadMemberAddresses(data_->conn, distroNum, true, &to, Handle()) ||
                !ReadMemberAddresses(data_->conn, distroNum, false, &cc, Handle()))
                break;
            for (const std::string& dest : to) picked_.AddTo(dest);
            for (const std::string& dest : cc) picked_.AddCc(dest);
        }
        ShowPicked();
    }

    std::vector<MailingListRow> lists_; // the rows behind the list's lines
};

} // namespace

INT_PTR ShowSelectMailingListDialog(HWND owner, RecipientPickData* data) {
    if (!data || !data->catalog) return -1;
    SelectMailingListDialog dialog(owner, data);
    return dialog.DoModal();
}

} // namespace lx
