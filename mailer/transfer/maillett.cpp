#include "mailer/transfer/maillett.h"

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/schema/schema.h"
#include "common/settings/install_path.h"
#include "common/settings/registry_win32.h"
#include "common/win/dialog.h"
#include "common/win/handles.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/logic/mboxedit_rules.h"
#include "mailer/transfer/logic/sendprep.h"
#include "mailer/transfer/logic/sendrun.h"
#include "mailer/transfer/logic/sendsettings.h"
#include "mailer/transfer/logic/signatureindex.h"
#include "mailer/transfer/logic/smtpstatus.h"
#include "mailer/transfer/logic/ternsink.h"
#include "mailer/transfer/certtrust.h"
#include "mailer/transfer/sessionsecurity.h"
#include "mailer/transfer/store/maillett_store.h"
#include "mailer/ui/logic/cmdplug.h"
#include "netlib/tern32.h"

#include <cstring>
#include <new>
#include <vector>

namespace lx {
namespace {

constexpr char kStatusPreparing[] = "MAILLETT_CPP_2";
constexpr char kStatusConnecting[] = "MAILLETT_CPP_10";
// Posted once a refused certificate may be trusted, after the status that brought the refusal.
constexpr UINT kTrustMessage = WM_USER + 64;

// Whether an attached file can be opened for reading now (the preparer opens it later).
bool FileReadable(const std::string& path) {
    UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid();
}

class SendMailDialog : public Dialog {
public:
    SendMailDialog(HWND owner, SendMailData* data)
        : Dialog(IDD_MAILLETT, owner), data_(data),
          mark_(data->marks ? &data->marks->sending : nullptr) {
        Map().On(WM_SHOWWINDOW, [this](WPARAM shown, LPARAM) -> LRESULT {
            if (shown) OnShown();
            return 0;
        });
        Map().On(WM_LX_SEND_START, [this](WPARAM, LPARAM) -> LRESULT {
            OnStart();
            return 0;
        });
        Map().On(WM_LX_SMTP_STATUS, [this](WPARAM code, LPARAM value) -> LRESULT {
            OnStatus(static_cast<int>(code), value);
            return 0;
        });
        Map().On(kTrustMessage, [this](WPARAM, LPARAM) -> LRESULT {
            OfferTrust();
            return 0;
        });
        Map().On(WM_TIMER, [this](WPARAM id, LPARAM) -> LRESULT {
            if (id == kSendTimeoutTimer) OnTimeout();
            return 0;
        });
        Map().On(WM_HELP, [this](WPARAM, LPARAM) -> LRESULT {
            OnHelp();
            return TRUE;
        });
        Map().On(WM_DESTROY, [this](WPARAM, LPARAM) -> LRESULT {
            ::KillTimer(Handle(), kSendTimeoutTimer);
            CloseSession();
            return 0;
        });
        Map().OnCommand(IDC_MAILLETT_HELP, [this](int, HWND) { OnHelp(); });
    }
    ~SendMailDialog() override { CloseSession(); }

protected:
    BOOL OnInitDialog() override {
        SetStatus(kStatusPreparing);
        signatures_.Open(InstallFile(data_->installPath, kSignatureFile));
        FindFolders();
        QueueSize size;
        if (data_->outFolder >= 0) CountQueued(data_->conn, data_->outFolder, Handle(), &size);
        queued_ = size.count;
        largest_ = size.largest;
        ::SetDlgItemInt(Handle(), IDC_MAILLETT_QUEUED, static_cast<UINT>(queued_), FALSE);
        ::SetDlgItemInt(Handle(), IDC_MAILLETT_PREPARED, 0, FALSE);
        ::SetDlgItemInt(Handle(), IDC_MAILLETT_SENT, 0, FALSE);
        if (queued_ <= 0) {
            ::SetDlgItemTextA(Handle(), IDC_MAILLETT_STATUS, "");
            Log("MAILLETT_CPP_3");
            stop_ = true;
            return TRUE;
        }
        Win32SettingsRegistry registry(data_->registryKey);
        settings_ = ReadSendingSettings(registry);
        for (const char* key : SendingSettingsProblems(settings_)) {
            Log(key);
            stop_ = true;
        }
        return TRUE;
    }

    void OnCancel() override { Close(); }

private:
    std::string Text(const char* key) const {
        const char* text = data_->catalog ? data_->catalog->Lookup(key) : nullptr;
        return text ? text : "";
    }
    std::string Format(const char* key, const std::vector<FormatArg>& args) const {
        const std::string format = Text(key);
        return FormatTextOr(format.c_str(), args, format);
    }

    // One log entry: the text and CR LF, the view scrolled to its last line.
    void LogText(const std::string& text) {
        const std::string entry = text + "\r\n";
        data_->log += entry;
        HWND edit = Item(IDC_MAILLETT_LOG);
        const int end = ::GetWindowTextLengthA(edit);
        ::SendMessageA(edit, EM_SETSEL, end, end);
        ::SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(entry.c_str()));
        ::SendMessageA(edit, EM_SCROLLCARET, 0, 0);
        ::UpdateWindow(Handle());
    }
    void Log(const char* key, const std::vector<FormatArg>& args = {}) {
        LogText(Format(key, args));
    }
    void SetStatus(const char* key) {
        ::SetDlgItemTextA(Handle(), IDC_MAILLETT_STATUS, Text(key).c_str());
        ::UpdateWindow(Handle());
    }

    void FindFolders() {
        if (data_->outFolder < 0)
            data_->outFolder = FindFolderNum(data_->conn, kFolderOut, Handle());
        if (data_->sentFolder < 0)
            data_->sentFolder = FindFolderNum(data_->conn, kFolderSent, Handle());
    }

    // An automatic run under a minimised main window works minimised too, and says so in the
    // main window's title.
    void OnShown() {
        if (shown_) return;
        shown_ = true;
        if (data_->automatic && data_->mainWindow && ::IsIconic(data_->mainWindow)) {
            char title[256] = "";
            ::GetWindowTextA(data_->mainWindow, title, sizeof title);
            oldTitle_ = title;
            ::SetWindowTextA(data_->mainWindow, Text("MAILLETT_CPP_41").c_str());
            titleChanged_ = true;
            ::ShowWindow(Handle(), SW_SHOWMINNOACTIVE);
        }
        ::PostMessageA(Handle(), WM_LX_SEND_START, 0, 0);
    }

    void OnStart() {
        if (data_->automatic) {
            ::KillTimer(Handle(), kSendTimeoutTimer);
            if (stop_) return Close();
        }
        if (queued_ <= 0 || stop_ || started_) return;
        started_ = true;
        const std::string spool = InstallFile(data_->installPath, kSmtpSpoolFile);
        if (!Prepare(spool)) return FinishRun();
        if (run_.Numbered() == 0) {
            Log("MAILLETT_CPP_40");
            return FinishRun();
        }
        TERNHANDLE session = 0;
        if (TERNSMTPStartWindow(Handle(), WM_LX_SMTP_STATUS, spool.c_str(), &session) != 0 ||
            session == 0) {
            Log("MAILLETT_CPP_17");
            return FinishRun();
        }
        session_ = session;
        if (data_->automatic)
            ::SetTimer(Handle(), kSendTimeoutTimer, data_->timeoutMillis, nullptr);
        trust_.question.catalog = data_->catalog;
        trust_.question.registryKey = data_->registryKey;
        trust_.question.server = MailServer::Smtp;
        trust_.question.serverName = settings_.server;
        trust_.question.pinned = !settings_.security.pin.empty();
        trust_.question.automatic = data_->automatic;
        ApplySmtpSecurity(session_, settings_);
        WipeText(settings_.password);
        TERNSMTPSendMail(session_, settings_.server.c_str());
    }

    // Writes every queued message the preparer can take into the spool file; false when there
    // is nothing to send from.
    bool Prepare(const std::string& spool) {
        TernMimeSink sink;
        if (!sink.Start(spool.c_str(), settings_.address.c_str())) {
            Log("MAILLETT_CPP_11");
            return false;
        }
        QueuedMessageReader reader(data_->conn, Handle());
        try {
            if (!reader.Open(data_->outFolder, TextBufferSize(largest_))) return false;
            QueuedMessage message;
            while (reader.Next(&message)) PrepareOne(sink, message);
        } catch (const std::bad_alloc&) {
            Log("MAILLETT_CPP_5");
        }
        sink.Finish();
        Log("MAILLETT_CPP_9");
        SetStatus(kStatusConnecting);
        return true;
    }

    void PrepareOne(MimeSink& sink, const QueuedMessage& message) {
        const int row = run_.Rows() + 1;
        Log("MAILLETT_CPP_6", {row});
        const RefusalFound refusal = CheckQueuedMessage(message, &FileReadable);
        if (refusal.why != Refusal::None) {
            if (refusal.why == Refusal::NoRecipient)
                Log(RefusalKey(refusal.why), {row});
            else
                Log(RefusalKey(refusal.why), {row, refusal.detail});
            run_.AddRow(message.mesgNum, false);
        } else {
            const PrepOutcome outcome = PrepareQueuedMessage(
                sink, message, signatures_.TextOf(message.mesgId),
                [this](const std::string& file) { Log("MAILLETT_CPP_7", {file}); });
            run_.AddRow(message.mesgNum, outcome != PrepOutcome::NotEnded);
            Log(outcome == PrepOutcome::Ended ? "MAILLETT_CPP_8" : "MAILLETT_CPP_39", {row});
        }
        ::SetDlgItemInt(Handle(), IDC_MAILLETT_PREPARED, static_cast<UINT>(row), FALSE);
        ::UpdateWindow(Handle());
    }

    void OnStatus(int code, LPARAM value) {
        // A status after the run has ended (a late close by the server) is not this run's.
        if (!session_) return;
        if (data_->automatic)
            ::SetTimer(Handle(), kSendTimeoutTimer, data_->timeoutMillis, nullptr);
        const SmtpStatusAction a = ActionOfSmtpStatus(code, kMailSendingTexts);
        if (a.logKey) {
            if (a.logArg == StatusLogArg::Reply) {
                const char* reply = reinterpret_cast<const char*>(value);
                LogText(reply ? Text(a.logKey) + ReplyLogText(reply)
                              : Text(a.logKey) + Text(a.replyMissingKey));
            } else if (a.logArg == StatusLogArg::Number) {
                Log(a.logKey, {RowShown(static_cast<int>(value))});
            } else {
                Log(a.logKey);
            }
        }
        if (a.statusKey) SetStatus(a.statusKey);
        // An automatic run only says why nobody is asked.
        if (code == TERN_SMTP_INSECURE && trust_.Keep(reinterpret_cast<const char*>(value))) {
            if (data_->automatic)
                OfferTrust();
            else
                ::PostMessageA(Handle(), kTrustMessage, 0, 0);
        }
        if (a.sent && run_.MarkSent(static_cast<int>(value)))
            ::SetDlgItemInt(Handle(), IDC_MAILLETT_SENT,
                            static_cast<UINT>(run_.RowOfMessage(static_cast<int>(value))), FALSE);
        if (a.progress && value) {
            const std::string percent = reinterpret_cast<const char*>(value) + std::string("%");
            ::SetDlgItemTextA(Handle(), IDC_MAILLETT_PROGRESS, percent.c_str());
        }
        if (a.finish) FinishRun();
    }

    // The row a spool message number stands for, as the log numbers rows.
    int RowShown(int number) const {
        const int row = run_.RowOfMessage(number);
        return row ? row : number;
    }

    // Nothing heard from the session for the whole time-out (it is armed again by every status):
    // a server that accepted the connection and then fell silent ends the run as well as one
    // that never answered at all.
    void OnTimeout() {
        ::KillTimer(Handle(), kSendTimeoutTimer);
        if (!session_) return;
        Log("MAILLETT_CPP_43", {static_cast<int>(data_->timeoutMillis / 1000)});
        ::SendMessageA(Handle(), WM_LX_SMTP_STATUS, TERN_SMTP_DONE, 0);
    }

    // The server's certificate was refused, and trusting it for this mailbox would mend that.
    void OfferTrust() {
        const std::string line = trust_.Ask(Handle());
        if (!line.empty()) LogText(line);
    }

    void FinishRun() {
        if (finished_) return;
        finished_ = true;
        ::KillTimer(Handle(), kSendTimeoutTimer);
        if (session_) {
            CloseSession();
            Log("MAILLETT_CPP_12");
        }
        SetStatus("MAILLETT_CPP_13");
        for (int row = 1; row <= run_.Rows(); ++row) {
            if (!run_.IsSent(row)) continue;
            // Without a _SENT folder the message stays where it is rather than in no folder.
            if (data_->sentFolder >= 0 &&
                MoveMessageToFolder(data_->conn, run_.MesgNumOf(row), data_->sentFolder, Handle()))
                ++data_->movedToSent;
            else
                Log("MAILLETT_CPP_42", {row});
        }
        if (data_->automatic) Close();
    }

    // What the caller reads after the dialog has ended.
    void KeepSummary() {
        data_->queued = queued_;
        data_->lastAccepted =
            static_cast<int>(::GetDlgItemInt(Handle(), IDC_MAILLETT_SENT, nullptr, FALSE));
        char status[256] = "";
        ::GetDlgItemTextA(Handle(), IDC_MAILLETT_STATUS, status, sizeof status);
        data_->statusText = status;
    }

    void CloseSession() {
        if (session_) TERNSMTPClose(session_);
        session_ = 0;
    }

    void Close() {
        KeepSummary();
        if (titleChanged_ && data_->mainWindow)
            ::SetWindowTextA(data_->mainWindow, oldTitle_.c_str());
        titleChanged_ = false;
        End(finished_ ? IDOK : IDCANCEL);
    }

    void OnHelp() {
        ui::Help(Handle(), HelpFileSpec(data_->installPath).c_str(), HELP_CONTEXT,
                 HELP_CONTEXT_MAILLETT);
    }

    SendMailData* data_;
    TransferMarkHeld mark_;
    SignatureFile signatures_;
    SendingSettings settings_;
    SendingRun run_;
    long queued_ = 0;
    long largest_ = 0;
    TERNHANDLE session_ = 0;
    std::string oldTitle_;
    PendingTrust trust_; // a refused certificate the user may yet trust
    bool stop_ = false;
    bool shown_ = false;
    bool started_ = false;
    bool finished_ = false;
    bool titleChanged_ = false;
};

} // namespace

INT_PTR ShowSendMailDialog(HWND owner, SendMailData* data) {
    if (!data || !data->installPath) return -1;
    data->log.clear();
    data->movedToSent = 0;
    data->queued = 0;
    data->lastAccepted = 0;
    data->statusText.clear();
    SendMailDialog dialog(owner, data);
    return dialog.DoModal();
}

void PlugMailSending(CommandPlugs& plugs, const SendMailContext& context) {
    plugs.Plug(ID_MAIL_SEND, [context](void* owner, const char* argument) {
        SendMailData data;
        data.installPath = context.installPath;
        data.catalog = context.catalog;
        data.conn = context.conn;
        data.marks = context.marks;
        data.mainWindow = static_cast<HWND>(owner);
        data.automatic = argument && std::strcmp(argument, kSendAutomatic) == 0;
        if (context.folders) context.folders(&data.outFolder, &data.sentFolder);
        return static_cast<int>(ShowSendMailDialog(static_cast<HWND>(owner), &data));
    });
}

} // namespace lx
