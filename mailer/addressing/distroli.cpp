// "Build Mailing List": one list's name, and its members picked from the letter tabs into TO
// Names and CC Names. Save refuses a name another list carries and replaces the members.
#include "mailer/addressing/maillist.h"

#include "common/catalog/msgcatalog.h"
#include "common/win/dialog.h"
#include "common/win/uiseam.h"
#include "mailer/addressing/lettertabs.h"
#include "mailer/addressing/logic/addrpick_rules.h"
#include "mailer/addressing/store/distro_store.h"
#include "mailer/addressing/waitcursor.h"
#include "mailer/res/resource.h"

#include <cstdio>
#include <vector>

namespace lx {
namespace {

std::vector<std::string> EntryLines(const std::vector<ListEntry>& entries) {
    std::vector<std::string> lines;
    for (const ListEntry& e : entries) lines.push_back(ListEntryText(e));
    return lines;
}

class BuildMailingListDialog : public Dialog {
public:
    BuildMailingListDialog(HWND owner, BuildMailingListData* data)
        : Dialog(IDD_DISTROLI, owner), data_(data) {
        std::snprintf(name_, sizeof name_, "%s", data_->name.c_str());
        BindText(IDC_DISTROLI_NAME, name_, sizeof name_, kDistroNameLen);
        Map().OnCommand(IDC_DISTROLI_ADDTO, [this](int, HWND) { AddSelected(true); });
        Map().OnCommand(IDC_DISTROLI_ADDCC, [this](int, HWND) { AddSelected(false); });
        Map().OnCommand(IDC_DISTROLI_REMOVETO, [this](int, HWND) { RemoveSelected(true); });
        Map().OnCommand(IDC_DISTROLI_REMOVECC, [this](int, HWND) { RemoveSelected(false); });
        Map().OnCommand(IDC_DISTROLI_HELP, [this](int, HWND) {
            ShowPickerHelp(Handle(), data_->installPath, HELP_CONTEXT_DISTROLI);
        });
        Map().On(WM_NOTIFY, [this](WPARAM, LPARAM notify) -> LRESULT {
            if (IsTabChange(notify, IDC_DISTROLI_TABS)) {
                ShowTab();
                HWND list = Item(IDC_DISTROLI_ADDRESSES);
                ::SetFocus(list);
                ::SendMessageA(list, LB_SETSEL, FALSE, -1);
                ::SendMessageA(list, LB_SETSEL, TRUE, 0);
            }
            return 0;
        });
    }

protected:
    BOOL OnInitDialog() override {
        AddLetterTabs(Item(IDC_DISTROLI_TABS));
        ShowTab();
        if (data_->distroNum >= 0) {
            std::vector<ListEntry> to, cc;
            if (ReadListMembers(data_->conn, data_->distroNum, &to, &cc, Handle()))
                members_.Set(to, cc);
            ShowMembers();
        }
        return TRUE;
    }

    void OnOK() override {
        if (!UpdateData(true)) return;
        ListToSave list;
        list.distroNum = data_->distroNum;
        list.name = name_;
        if (list.name.find_first_not_of(" \t") == std::string::npos) {
            Box("DISTROLI_CPP_5", "DISTROLI_CPP_6");
            ::SetFocus(Item(IDC_DISTROLI_NAME));
            return;
        }
        list.to = members_.To();
        list.cc = members_.Cc();
        long saved = -1;
        ListSaveOutcome outcome;
        {
            WaitCursor wait(Handle());
            outcome = SaveMailingList(data_->conn, list, Handle(), &saved);
        }
        switch (outcome) {
        case ListSaveOutcome::NameTaken:
            Box("DISTROLI_CPP_4", "DISTROLI_CPP_3");
            ::SetFocus(Item(IDC_DISTROLI_NAME));
            return;
        case ListSaveOutcome::NotSaved: return; // reported; the dialog stays for another try
        case ListSaveOutcome::KeyNotFound: Box("DISTROLI_CPP_7", "DISTROLI_CPP_6"); break;
        case ListSaveOutcome::MembersNotSaved: // reported
        case ListSaveOutcome::Saved: break;
        }
        data_->distroNum = saved;
        data_->name = list.name;
        End(IDOK);
    }

private:
    void Box(const char* textKey, const char* captionKey) {
        ui::CatalogBox(Handle(), *data_->catalog, textKey, captionKey, MB_OK | MB_ICONEXCLAMATION);
    }

    // The chosen tab's addresses; ">>" only while there are addresses to pick.
    void ShowTab() {
        const int tab = CurrentLetterTab(Item(IDC_DISTROLI_TABS));
        const bool read =
            ReadListEntries(data_->conn, ListAddressTabQuery(tab), &entries_, Handle());
        std::vector<std::string> lines = EntryLines(entries_);
        const char* none = data_->catalog->Lookup("NEWABOOK_CPP_15");
        if (read && entries_.empty()) lines.push_back(none ? none : "");
        FillLines(Item(IDC_DISTROLI_ADDRESSES), lines);
        ::EnableWindow(Item(IDC_DISTROLI_ADDTO), !entries_.empty());
        ::EnableWindow(Item(IDC_DISTROLI_ADDCC), !entries_.empty());
    }

    void ShowMembers() {
        FillLines(Item(IDC_DISTROLI_TO), EntryLines(members_.To()));
        FillLines(Item(IDC_DISTROLI_CC), EntryLines(members_.Cc()));
    }

    void AddSelected(bool to) {
        std::vector<ListEntry> picked;
        for (const int line : SelectedLines(Item(IDC_DISTROLI_ADDRESSES)))
            if (line >= 0 && static_cast<size_t>(line) < entries_.size())
                picked.push_back(entries_[static_cast<size_t>(line)]);
        members_.Add(picked, to);
        ShowMembers();
    }

    void RemoveSelected(bool to) {
        members_.Remove(SelectedLines(Item(to ? IDC_DISTROLI_TO : IDC_DISTROLI_CC)), to);
        ShowMembers();
    }

    BuildMailingListData* data_;
    std::vector<ListEntry> entries_; // the tab's addresses, behind the address list's lines
    ListMembers members_;
    char name_[kDistroNameLen + 1] = "";
};

} // namespace

INT_PTR ShowBuildMailingListDialog(HWND owner, BuildMailingListData* data) {
    if (!data || !data->catalog || !data->conn) return -1;
    LoadTabControls();
    BuildMailingListDialog dialog(owner, data);
    return dialog.DoModal();
}

} // namespace lx
