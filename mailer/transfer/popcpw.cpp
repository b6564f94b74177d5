#include "mailer/transfer/popcpw.h"

#include "common/catalog/msgcatalog.h"
#include "common/settings/fixed_text.h"
#include "common/win/dialog.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/logic/mboxedit_rules.h"
#include "mailer/transfer/logic/popcpw_rules.h"
#include "mailer/transfer/mboxedit.h"
#include "netlib/tern32.h"

#include <cstdio>
#include <cstring>

namespace lx {
namespace {

class ChangePasswordDialog : public Dialog {
public:
    ChangePasswordDialog(HWND owner, ChangePasswordData* data)
        : Dialog(IDD_POPCPW, owner), data_(data) {
        MapClick(Map(), IDC_POPCPW_CHANGE, [this] { OnChangeNow(); });
        Map().On(WM_LX_PASSWORD_STATUS, [this](WPARAM status, LPARAM lParam) -> LRESULT {
            OnStatus(static_cast<int>(status), lParam);
            return 0;
        });
        MapHelp(Map(), *this, data_->installPath, HELP_CONTEXT_POPCPW);
    }
    ~ChangePasswordDialog() override {
        CloseSession();
        WipeText(sent_);
    }

protected:
    BOOL OnInitDialog() override {
        const MailboxRecord* record = Record();
        if (!data_->password || data_->passwordSize == 0 || !record)
            ::EnableWindow(Item(IDC_POPCPW_CHANGE), FALSE);
        if (record) {
            char title[128] = "";
            ::GetWindowTextA(Handle(), title, sizeof title);
            const std::string shown = std::string(title) + " [" + TextOf(record->name) + "]";
            ::SetWindowTextA(Handle(), shown.c_str());
        }
        for (int id : {IDC_POPCPW_NEW, IDC_POPCPW_AGAIN})
            ::SendDlgItemMessageA(Handle(), id, EM_LIMITTEXT, kChangePasswordChars, 0);
        return TRUE;
    }
    // Enter presses Change Now.
    void OnOK() override { OnChangeNow(); }
    // Statuses already posted are taken before the session closes, so that a change the server
    // has made reaches the caller even when the dialog is closed during the run.
    void OnCancel() override {
        TakePostedStatuses();
        CloseSession();
        End(IDCANCEL);
    }

private:
    const MailboxRecord* Record() const {
        if (!data_->mailboxes || data_->index < 0 ||
            data_->index >= MailboxCount(*data_->mailboxes))
            return nullptr;
        return &data_->mailboxes->records[static_cast<size_t>(data_->index)];
    }

    std::string Current() const {
        return std::string(data_->password, strnlen(data_->password, data_->passwordSize));
    }

    void OnChangeNow() {
        const MailboxRecord* record = Record();
        if (!record || !data_->password || data_->passwordSize == 0) return;
        std::string newPassword = ItemText(Handle(), IDC_POPCPW_NEW);
        std::string again = ItemText(Handle(), IDC_POPCPW_AGAIN);
        const PasswordChangeRefusal refusal = CheckPasswordChange(
            TextOf(record->pop3Server), TextOf(record->user), Current(), newPassword, again);
        WipeText(again);
        if (refusal != PasswordChangeRefusal::None) {
            WipeText(newPassword);
            ui::CatalogBox(Handle(), *data_->catalog, PasswordRefusalKey(refusal),
                           kPasswordBoxCaptionKey, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        // What an earlier run has posted is taken while its session still holds the texts.
        TakePostedStatuses();
        CloseSession();
        WipeText(sent_);
        sent_ = newPassword;
        WipeText(newPassword);
        log_ = PasswordLogLine(CatalogText(data_->catalog, kPasswordRunStartKey) +
                               TextOf(record->name));
        ShowLog();
        if (TERNPOPCPWStartWindow(Handle(), WM_LX_PASSWORD_STATUS, &session_) != 0 || !session_) {
            session_ = 0;
            return;
        }
        std::string current = Current();
        TERNPOPCPWChangeNow(session_, TextOf(record->pop3Server).c_str(),
                            TextOf(record->user).c_str(), current.c_str(), sent_.c_str());
        WipeText(current);
    }

    // The run is over once 14 has come (it is always last): what a closed session had posted
    // after it, such as the server closing the connection after QUIT, belongs to no run.
    void OnStatus(int status, LPARAM lParam) {
        const PasswordStatusAction action = ActionForPasswordStatus(status);
        if (!session_ || !action.logKey) return;
        if (action.endsRun) CloseSession();
        const char* text = action.withText ? reinterpret_cast<const char*>(lParam) : nullptr;
        log_ += PasswordLogLine(CatalogText(data_->catalog, action.logKey), text);
        if (action.takeNewPassword) {
            std::snprintf(data_->password, data_->passwordSize, "%s", sent_.c_str());
            data_->changed = true;
        }
        ShowLog();
    }

    void TakePostedStatuses() {
        MSG msg;
        while (
            ::PeekMessageA(&msg, Handle(), WM_LX_PASSWORD_STATUS, WM_LX_PASSWORD_STATUS, PM_REMOVE))
            OnStatus(static_cast<int>(msg.wParam), msg.lParam);
    }

    void CloseSession() {
        if (session_) TERNPOPCPWClose(session_);
        session_ = 0;
    }

    void ShowLog() {
        HWND log = Item(IDC_POPCPW_LOG);
        ::SetWindowTextA(log, log_.c_str());
        const int end = ::GetWindowTextLengthA(log);
        ::SendMessageA(log, EM_SETSEL, static_cast<WPARAM>(end), end);
        ::SendMessageA(log, EM_SCROLLCARET, 0, 0);
    }

    ChangePasswordData* data_;
    TERNHANDLE session_ = 0;
    std::string sent_; // the new password of the run
    std::string log_;
};

} // namespace

INT_PTR ShowChangePasswordDialog(HWND owner, ChangePasswordData* data) {
    if (!data || !data->catalog) return -1;
    ChangePasswordDialog dialog(owner, data);
    return dialog.DoModal();
}

} // namespace lx
