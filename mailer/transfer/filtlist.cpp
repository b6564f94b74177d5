#include "mailer/transfer/filtlist.h"

#include "common/catalog/msgcatalog.h"
#include "common/settings/fixed_text.h"
#include "common/settings/install_path.h"
#include "common/win/dialog.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/logic/filterfile.h"
#include "mailer/ui/logic/cmdplug.h"

namespace lx {
namespace {

class FilterListDialog : public Dialog {
public:
    FilterListDialog(HWND owner, FilterListData* data)
        : Dialog(IDD_FILTLIST, owner), data_(data),
          list_(FilterList::Load(InstallFile(data->installPath, kFilterFile))) {
        Map().OnCommand(IDC_FILTLIST_ADD, [this](int, HWND) { OnAdd(); });
        Map().OnCommand(IDC_FILTLIST_EDIT, [this](int, HWND) { OnEdit(); });
        Map().OnCommand(IDC_FILTLIST_DELETE, [this](int, HWND) { OnDelete(); });
        Map().OnCommand(IDC_FILTLIST_LIST, [this](int code, HWND) {
            if (code == LBN_DBLCLK) OnEdit();
        });
        Map().OnCommand(IDC_FILTLIST_HELP, [this](int, HWND) {
            ui::Help(Handle(), HelpFileSpec(data_->installPath).c_str(), HELP_CONTEXT,
                     HELP_CONTEXT_FILTLIST);
        });
    }

    bool Changed() const { return changed_; }

protected:
    BOOL OnInitDialog() override {
        Fill(0);
        return TRUE;
    }

private:
    HWND ListBox() const { return Item(IDC_FILTLIST_LIST); }

    // Shows the rules' names in file order with `select` selected; Edit and Delete need entries.
    void Fill(int select) {
        ::SendMessageA(ListBox(), LB_RESETCONTENT, 0, 0);
        for (std::size_t i = 0; i < list_.Count(); ++i) {
            ::SendMessageA(ListBox(), LB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(TextOf(list_.At(i).name).c_str()));
        }
        const int count = static_cast<int>(list_.Count());
        if (count > 0)
            ::SendMessageA(ListBox(), LB_SETCURSEL, select < count ? select : count - 1, 0);
        ::EnableWindow(Item(IDC_FILTLIST_EDIT), count > 0);
        ::EnableWindow(Item(IDC_FILTLIST_DELETE), count > 0);
    }

    // A file that could not be read gives no list to change, so its rules are never replaced
    // by a list that does not hold them.
    bool ListReady() {
        if (!list_.Unreadable()) return true;
        Box("FILTLIST_CPP_5", "FILTLIST_CPP_6", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    int SelectedRule() const {
        const LRESULT sel = ::SendMessageA(ListBox(), LB_GETCURSEL, 0, 0);
        if (sel == LB_ERR) return -1;
        char name[64] = "";
        if (::SendMessageA(ListBox(), LB_GETTEXTLEN, static_cast<WPARAM>(sel), 0) >=
            static_cast<LRESULT>(sizeof name))
            return -1;
        ::SendMessageA(ListBox(), LB_GETTEXT, static_cast<WPARAM>(sel),
                       reinterpret_cast<LPARAM>(name));
        return list_.Find(name);
    }

    ManageFilterData RuleData() const {
        ManageFilterData rule;
        rule.catalog = data_->catalog;
        rule.conn = data_->conn;
        rule.installPath = data_->installPath;
        rule.pickAddress = data_->pickAddress;
        return rule;
    }

    int Box(const char* text, const char* caption, UINT flags) {
        return ui::CatalogBox(Handle(), *data_->catalog, text, caption, flags);
    }

    void OnAdd() {
        if (!ListReady()) return;
        ManageFilterData rule = RuleData();
        // A taken name is refused while the rule is still open, so nothing typed is lost.
        rule.acceptName = [this](HWND dialog, const std::string& name) {
            if (list_.Find(name.c_str()) < 0) return true;
            ui::CatalogBox(dialog, *data_->catalog, "FILTLIST_CPP_1", "FILTLIST_CPP_2",
                           MB_OK | MB_ICONEXCLAMATION);
            return false;
        };
        if (ShowManageFilterDialog(Handle(), &rule) != IDOK) return;
        if (!list_.Append(rule.rule)) {
            Box("FILTLIST_CPP_3", "FILTLIST_CPP_4", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        SaveAndShow(static_cast<int>(list_.Count()) - 1);
    }

    void OnEdit() {
        if (!ListReady()) return;
        const int index = SelectedRule();
        if (index < 0) {
            Box("FILTLIST_CPP_7", "FILTLIST_CPP_8", MB_OK | MB_ICONINFORMATION);
            return;
        }
        ManageFilterData rule = RuleData();
        rule.rule = list_.At(static_cast<std::size_t>(index));
        rule.editing = true;
        if (ShowManageFilterDialog(Handle(), &rule) != IDOK) return;
        if (!list_.Replace(index, rule.rule)) {
            Box("FILTLIST_CPP_5", "FILTLIST_CPP_6", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        SaveAndShow(index);
    }

    void OnDelete() {
        if (!ListReady()) return;
        const int index = SelectedRule();
        if (index < 0) {
            Box("FILTLIST_CPP_7", "FILTLIST_CPP_10", MB_OK | MB_ICONINFORMATION);
            return;
        }
        if (Box("FILTLIST_CPP_9", "FILTLIST_CPP_10", MB_YESNO | MB_ICONSTOP) == IDNO) return;
        list_.Remove(index);
        SaveAndShow(index);
    }

    // Saves the changed list. A file that cannot be written is reported and the list shown
    // again as the file still holds it, so the window never shows rules that are not kept.
    void SaveAndShow(int select) {
        if (list_.Save()) {
            changed_ = true;
        } else {
            Box("FILTLIST_CPP_11", "FILTLIST_CPP_12", MB_OK | MB_ICONEXCLAMATION);
            list_ = FilterList::Load(list_.Path());
        }
        Fill(select);
    }

    FilterListData* data_;
    FilterList list_;
    bool changed_ = false;
};

} // namespace

INT_PTR ShowFilterListDialog(HWND owner, FilterListData* data) {
    if (!data || !data->catalog) return -1;
    FilterListDialog dialog(owner, data);
    const INT_PTR result = dialog.DoModal();
    if (result == -1) return result;
    return dialog.Changed() ? IDOK : IDCANCEL;
}

void PlugFilterManager(CommandPlugs& plugs, const FilterListData& data) {
    plugs.Plug(ID_FILTER_MANAGER, [data](void* owner, const char*) {
        FilterListData shown = data;
        return static_cast<int>(ShowFilterListDialog(static_cast<HWND>(owner), &shown));
    });
}

} // namespace lx
