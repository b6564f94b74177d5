#include "mailer/transfer/autodial.h"

#include <new>

#include "common/catalog/msgcatalog.h"
#include "common/settings/fixed_text.h"
#include "common/settings/install_path.h"
#include "common/win/dialog.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/logic/autodial_form.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/rasapi.h"

namespace lx {
namespace {

constexpr DWORD kErrorTextSize = 512;
constexpr char kNoMemoryKey[] = "AUTODIAL_CPP_8";
constexpr char kNotListedKey[] = "AUTODIAL_CPP_9";

class DialerSetupDialog : public Dialog {
public:
    DialerSetupDialog(HWND owner, DialerSetupData* data)
        : Dialog(IDD_AUTODIAL, owner), data_(data),
          form_(OpenDialerForm(*data->settings, *data->mailboxes)),
          dialUp_(data->ras && data->ras->enumEntries && data->ras->getEntryDialParams &&
                  data->ras->getErrorString) {
        CopyText(user_, form_.user.c_str());
        CopyText(password_, form_.password.c_str());
        BindInt(IDC_AUTODIAL_MINUTES, &form_.minutes, 0, kDialerMaxMinutes);
        BindText(IDC_AUTODIAL_USER, user_, sizeof user_, kDialerTextChars);
        BindText(IDC_AUTODIAL_PASSWORD, password_, sizeof password_, kDialerTextChars);
        Map().OnCommand(IDC_AUTODIAL_LOCAL, [this](int, HWND) { EnableDialUp(); });
        Map().OnCommand(IDC_AUTODIAL_PHONES, [this](int code, HWND) {
            if (code == CBN_SELCHANGE) ShowDialParams();
        });
        Map().OnCommand(IDC_AUTODIAL_ADD, [this](int, HWND) { Move(true); });
        Map().OnCommand(IDC_AUTODIAL_REMOVE, [this](int, HWND) { Move(false); });
        Map().OnCommand(IDC_AUTODIAL_ACCOUNTS, [this](int code, HWND) {
            if (code == LBN_DBLCLK) Move(true);
        });
        Map().OnCommand(IDC_AUTODIAL_HELP, [this](int, HWND) { OnHelp(); });
        Map().On(WM_HELP, [this](WPARAM, LPARAM) -> LRESULT {
            OnHelp();
            return TRUE;
        });
    }

protected:
    BOOL OnInitDialog() override {
        FillList(IDC_AUTODIAL_ACCOUNTS, form_.accounts);
        FillList(IDC_AUTODIAL_SELECTED, form_.selected);
        if (dialUp_) ListPhoneEntries();
        if (!dialUp_) {
            form_.localNetwork = true;
            ::EnableWindow(Item(IDC_AUTODIAL_LOCAL), FALSE);
        }
        ::CheckDlgButton(Handle(), IDC_AUTODIAL_SENDTOO, form_.sendToo ? BST_CHECKED : 0);
        ::CheckDlgButton(Handle(), IDC_AUTODIAL_LOCAL, form_.localNetwork ? BST_CHECKED : 0);
        EnableDialUp();
        return TRUE;
    }

    void OnOK() override {
        if (!UpdateData(true)) return;
        form_.sendToo = ::IsDlgButtonChecked(Handle(), IDC_AUTODIAL_SENDTOO) == BST_CHECKED;
        form_.localNetwork = ::IsDlgButtonChecked(Handle(), IDC_AUTODIAL_LOCAL) == BST_CHECKED;
        form_.entry = phonesListed_ ? SelectedPhone() : std::string();
        form_.user = user_;
        form_.password = password_;
        DialerSettings made{};
        const DialerRefusal why = SaveDialerForm(form_, made);
        if (why != DialerRefusal::None) {
            ui::CatalogBox(Handle(), *data_->catalog, DialerRefusalText(why),
                           DialerRefusalCaption(why), MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        if (!WriteDialerFile(data_->installPath, made)) {
            ui::CatalogBox(Handle(), *data_->catalog, "AUTODIAL_CPP_2", "AUTODIAL_CPP_1",
                           MB_OK | MB_ICONEXCLAMATION);
            End(IDCANCEL);
            return;
        }
        *data_->settings = made;
        End(IDOK);
    }

private:
    void FillList(int id, const std::vector<std::string>& names) {
        ::SendDlgItemMessageA(Handle(), id, LB_RESETCONTENT, 0, 0);
        for (const std::string& name : names)
            ::SendDlgItemMessageA(Handle(), id, LB_ADDSTRING, 0,
                                  reinterpret_cast<LPARAM>(name.c_str()));
    }

    // ">>" and "<<": the selected name changes sides; without a selection nothing happens.
    void Move(bool select) {
        const int from = select ? IDC_AUTODIAL_ACCOUNTS : IDC_AUTODIAL_SELECTED;
        const int index =
            static_cast<int>(::SendDlgItemMessageA(Handle(), from, LB_GETCURSEL, 0, 0));
        auto& source = select ? form_.accounts : form_.selected;
        auto& target = select ? form_.selected : form_.accounts;
        if (!MoveAccount(source, target, index)) return;
        FillList(IDC_AUTODIAL_ACCOUNTS, form_.accounts);
        FillList(IDC_AUTODIAL_SELECTED, form_.selected);
    }

    void ListPhoneEntries() {
        HWND phones = Item(IDC_AUTODIAL_PHONES);
        DWORD error = 0;
        std::vector<RasEntryNameRecord> entries;
        try {
            entries = RasListOf<RasEntryNameRecord>(
                [this](RasEntryNameRecord* r, DWORD* bytes, DWORD* count) {
                    return data_->ras->enumEntries(nullptr, nullptr, r, bytes, count);
                },
                &error);
        } catch (const std::bad_alloc&) {
            AddPhoneText(CatalogText(data_->catalog, kNoMemoryKey));
            return;
        }
        if (error != 0) {
            const std::string text = RasErrorText(*data_->ras, error, kErrorTextSize);
            AddPhoneText(text.empty() ? CatalogText(data_->catalog, kNotListedKey) : text);
            return;
        }
        std::vector<std::string> names;
        for (const RasEntryNameRecord& e : entries) {
            names.push_back(TextOf(e.szEntryName));
            AddPhoneText(names.back());
        }
        phonesListed_ = true;
        const int pick = PickPhoneEntry(names, form_.entry);
        if (pick < 0) return;
        ::SendMessageA(phones, CB_SETCURSEL, static_cast<WPARAM>(pick), 0);
        ShowDialParams();
    }

    void AddPhoneText(const std::string& text) {
        ::SendDlgItemMessageA(Handle(), IDC_AUTODIAL_PHONES, CB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(text.c_str()));
    }

    std::string SelectedPhone() const {
        const LRESULT sel =
            ::SendDlgItemMessageA(Handle(), IDC_AUTODIAL_PHONES, CB_GETCURSEL, 0, 0);
        if (sel == CB_ERR) return {};
        char name[sizeof(RasEntryNameRecord::szEntryName)] = "";
        if (::SendDlgItemMessageA(Handle(), IDC_AUTODIAL_PHONES, CB_GETLBTEXTLEN,
                                  static_cast<WPARAM>(sel), 0) >= static_cast<LRESULT>(sizeof name))
            return {};
        ::SendDlgItemMessageA(Handle(), IDC_AUTODIAL_PHONES, CB_GETLBTEXT, static_cast<WPARAM>(sel),
                              reinterpret_cast<LPARAM>(name));
        return name;
    }

    // The stored user name and password of the chosen entry, when the library has them.
    void ShowDialParams() {
        if (!phonesListed_) return;
        const std::string entry = SelectedPhone();
        if (entry.empty()) return;
        RasDialParamsRecord params{};
        params.dwSize = sizeof params;
        CopyText(params.szEntryName, entry.c_str());
        BOOL hasPassword = FALSE;
        if (data_->ras->getEntryDialParams(nullptr, &params, &hasPassword) != 0) return;
        ::SetDlgItemTextA(Handle(), IDC_AUTODIAL_USER, TextOf(params.szUserName).c_str());
        ::SetDlgItemTextA(Handle(), IDC_AUTODIAL_PASSWORD, TextOf(params.szPassword).c_str());
    }

    void EnableDialUp() {
        const bool dial = ::IsDlgButtonChecked(Handle(), IDC_AUTODIAL_LOCAL) != BST_CHECKED;
        for (int id : {IDC_AUTODIAL_PHONES, IDC_AUTODIAL_USER, IDC_AUTODIAL_PASSWORD})
            ::EnableWindow(Item(id), dial);
    }

    void OnHelp() {
        ui::Help(Handle(), HelpFileSpec(data_->installPath).c_str(), HELP_CONTEXT,
                 HELP_CONTEXT_AUTODIAL);
    }

    DialerSetupData* data_;
    DialerForm form_;
    bool dialUp_;
    bool phonesListed_ = false; // the Phone Diary holds entries, not a notice
    char user_[kDialerTextChars + 1] = "";
    char password_[kDialerTextChars + 1] = "";
};

} // namespace

INT_PTR ShowDialerSetupDialog(HWND owner, DialerSetupData* data) {
    if (!data || !data->catalog || !data->mailboxes || !data->settings) return -1;
    DialerSetupDialog dialog(owner, data);
    return dialog.DoModal();
}

void PlugDialerSetup(CommandPlugs& plugs, const DialerSetupData& data) {
    plugs.Plug(ID_DIALER_SETUP, [data](void* owner, const char*) {
        DialerSetupData shown = data;
        return static_cast<int>(ShowDialerSetupDialog(static_cast<HWND>(owner), &shown));
    });
}

} // namespace lx
