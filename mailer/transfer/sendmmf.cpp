#include "mailer/transfer/sendmmf.h"

#include "common/catalog/msgcatalog.h"
#include "common/settings/install_path.h"
#include "common/settings/registry_win32.h"
#include "common/win/choosefile.h"
#include "common/win/dialog.h"
#include "common/win/handles.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/certtrust.h"
#include "mailer/transfer/logic/mboxedit_rules.h"
#include "mailer/transfer/logic/transfermarks.h"
#include "mailer/transfer/maillett.h"
#include "mailer/transfer/mergerun.h"
#include "mailer/ui/logic/cmdplug.h"

namespace lx {
namespace {

constexpr int kPathChars = 255;    // a path the preparer takes
constexpr int kSubjectChars = 255; // the longest subject the preparer takes
// Posted once a refused certificate may be trusted, after the status that brought the refusal.
constexpr UINT kTrustMessage = WM_USER + 67;

// The fields a user fills in; read-only while a run is on.
constexpr int kInputs[] = {IDC_SENDMMF_ADDRESSFILE,  IDC_SENDMMF_BROWSEADDRESS,
                           IDC_SENDMMF_MESSAGEFILE,  IDC_SENDMMF_BROWSEMESSAGE,
                           IDC_SENDMMF_SUBJECT,      IDC_SENDMMF_ATTACHMENT,
                           IDC_SENDMMF_BROWSEATTACH, IDC_SENDMMF_START};

class MailMergeDialog : public Dialog, private MergeRunView {
public:
    MailMergeDialog(HWND owner, MailMergeData* data)
        : Dialog(IDD_SENDMMF, owner), data_(data), run_(data->catalog, *this),
          mark_(data->marks ? &data->marks->sending : nullptr) {
        Map().On(WM_LX_MERGE_STATUS, [this](WPARAM code, LPARAM value) -> LRESULT {
            run_.OnStatus(static_cast<int>(code), value);
            return 0;
        });
        Map().On(kTrustMessage, [this](WPARAM, LPARAM) -> LRESULT {
            OfferTrust();
            return 0;
        });
        Map().On(WM_HELP, [this](WPARAM, LPARAM) -> LRESULT {
            OnHelp();
            return TRUE;
        });
        Map().OnCommand(IDC_SENDMMF_HELP, [this](int, HWND) { OnHelp(); });
        Map().OnCommand(IDC_SENDMMF_START, [this](int, HWND) { OnStart(); });
        Map().OnCommand(IDC_SENDMMF_BROWSEADDRESS, [this](int, HWND) {
            Browse(IDC_SENDMMF_ADDRESSFILE, "SENDMMF_CPP_3", "SENDMMF_CPP_4");
        });
        Map().OnCommand(IDC_SENDMMF_BROWSEMESSAGE, [this](int, HWND) {
            Browse(IDC_SENDMMF_MESSAGEFILE, "SENDMMF_CPP_7", "SENDMMF_CPP_8");
        });
        Map().OnCommand(IDC_SENDMMF_BROWSEATTACH, [this](int, HWND) {
            Browse(IDC_SENDMMF_ATTACHMENT, "SENDMMF_CPP_32", "SENDMMF_CPP_33");
        });
    }

protected:
    BOOL OnInitDialog() override {
        for (int id : {IDC_SENDMMF_ADDRESSFILE, IDC_SENDMMF_MESSAGEFILE, IDC_SENDMMF_ATTACHMENT})
            ::SendDlgItemMessageA(Handle(), id, EM_LIMITTEXT, kPathChars, 0);
        ::SendDlgItemMessageA(Handle(), IDC_SENDMMF_SUBJECT, EM_LIMITTEXT, kSubjectChars, 0);
        Preparing(0);
        SentSuccessfully(0);
        return TRUE;
    }

private:
    std::string Field(int id) const {
        char text[kPathChars + 1] = "";
        ::GetDlgItemTextA(Handle(), id, text, sizeof text);
        return text;
    }
    void Show(int id, const std::string& text) {
        ::SetDlgItemTextA(Handle(), id, text.c_str());
        ::UpdateWindow(Item(id));
    }

    void Browse(int field, const char* titleKey, const char* filterKey) {
        const std::string path = ChooseFileToOpen(Handle(), CatalogText(data_->catalog, titleKey),
                                                  CatalogText(data_->catalog, filterKey));
        if (!path.empty()) ::SetDlgItemTextA(Handle(), field, path.c_str());
    }

    void OnStart() {
        if (run_.Running()) return;
        MergeRequest request;
        request.addressFile = Field(IDC_SENDMMF_ADDRESSFILE);
        request.messageFile = Field(IDC_SENDMMF_MESSAGEFILE);
        request.subject = Field(IDC_SENDMMF_SUBJECT);
        request.attachment = Field(IDC_SENDMMF_ATTACHMENT);
        Win32SettingsRegistry registry(data_->registryKey);
        SendingSettings settings = ReadSendingSettings(registry);
        trust_.question.catalog = data_->catalog;
        trust_.question.registryKey = data_->registryKey;
        trust_.question.server = MailServer::Smtp;
        trust_.question.serverName = settings.server;
        trust_.question.pinned = !settings.security.pin.empty();
        data_->log.clear();
        EnableInputs(false);
        const bool started = run_.Start(request, InstallFile(data_->installPath, kSmtpSpoolFile),
                                        settings, Handle(), WM_LX_MERGE_STATUS);
        WipeText(settings.password);
        data_->prepared = run_.Prepared();
        if (!started) EnableInputs(true);
    }

    void EnableInputs(bool enable) {
        for (int id : kInputs) ::EnableWindow(Item(id), enable ? TRUE : FALSE);
    }

    void OnHelp() {
        ui::Help(Handle(), HelpFileSpec(data_->installPath).c_str(), HELP_CONTEXT,
                 HELP_CONTEXT_SENDMMF);
    }

    // The run's view: the dialog's fields and its log list.
    void Log(const std::string& line) override {
        data_->log.push_back(line);
        HWND list = Item(IDC_SENDMMF_LOG);
        const LRESULT at =
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        if (at >= 0) ::SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(at), 0);
        WidenLog(list, line);
        ::UpdateWindow(list);
    }
    void ClearLog() override {
        ::SendDlgItemMessageA(Handle(), IDC_SENDMMF_LOG, LB_RESETCONTENT, 0, 0);
        ::SendDlgItemMessageA(Handle(), IDC_SENDMMF_LOG, LB_SETHORIZONTALEXTENT, 0, 0);
        logWidth_ = 0;
    }
    void ConnectionStatus(const std::string& text) override { Show(IDC_SENDMMF_STATUS, text); }
    void Preparing(int number) override {
        data_->prepared = number;
        Show(IDC_SENDMMF_PREPARING, std::to_string(number));
    }
    void DataSent(const std::string& percent) override { Show(IDC_SENDMMF_DATASENT, percent); }
    void SentSuccessfully(int count) override {
        data_->sentSuccessfully = count;
        Show(IDC_SENDMMF_SENTCOUNT, std::to_string(count));
    }
    void Finished() override { EnableInputs(true); }
    void CertificateRefused(const std::string& refusal) override {
        if (trust_.Keep(refusal.c_str())) ::PostMessageA(Handle(), kTrustMessage, 0, 0);
    }

    // The server's certificate was refused, and trusting it for this mailbox would mend that.
    void OfferTrust() {
        const std::string line = trust_.Ask(Handle());
        if (!line.empty()) Log(line);
    }

    // A long line (a server's reply) can be scrolled to sideways.
    void WidenLog(HWND list, const std::string& line) {
        WindowDC dc(list);
        if (!dc.Get()) return;
        SelectGuard font(dc.Get(),
                         reinterpret_cast<HGDIOBJ>(::SendMessageA(list, WM_GETFONT, 0, 0)));
        SIZE size{};
        if (!::GetTextExtentPoint32A(dc.Get(), line.c_str(), static_cast<int>(line.size()), &size))
            return;
        if (size.cx + 8 <= logWidth_) return;
        logWidth_ = size.cx + 8;
        ::SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(logWidth_), 0);
    }

    MailMergeData* data_;
    MailMergeRun run_;
    TransferMarkHeld mark_;
    int logWidth_ = 0;
    PendingTrust trust_; // a refused certificate the user may yet trust
};

} // namespace

INT_PTR ShowMailMergeDialog(HWND owner, MailMergeData* data) {
    if (!data || !data->installPath) return -1;
    data->log.clear();
    data->prepared = 0;
    data->sentSuccessfully = 0;
    MailMergeDialog dialog(owner, data);
    return dialog.DoModal();
}

void PlugMailMerge(CommandPlugs& plugs, const MailMergeContext& context) {
    plugs.Plug(ID_MAIL_MERGE, [context](void* owner, const char*) {
        MailMergeData data;
        data.installPath = context.installPath;
        data.catalog = context.catalog;
        data.marks = context.marks;
        return static_cast<int>(ShowMailMergeDialog(static_cast<HWND>(owner), &data));
    });
}

} // namespace lx
