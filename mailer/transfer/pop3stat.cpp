#include "mailer/transfer/pop3stat.h"

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/clock/localtime.h"
#include "common/settings/install_path.h"
#include "common/settings/mailbox_keys.h"
#include "common/settings/registry_win32.h"
#include "common/settings/scramble.h"
#include "common/win/dialog.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/logic/filterfile.h"
#include "mailer/transfer/logic/pop3stat_rules.h"
#include "mailer/transfer/logic/transfermarks.h"
#include "mailer/transfer/certtrust.h"
#include "mailer/transfer/pop3pass.h"
#include "mailer/transfer/sessionsecurity.h"
#include "mailer/transfer/store/pop3scan.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/logic/mailfold_rules.h"
#include "netlib/tern32.h"

#include <algorithm>
#include <string>
#include <vector>

namespace lx {
namespace {

// The Messages box holds the whole run's log (a long run writes far more than the edit
// control's default 32 KB).
constexpr WPARAM kLogLimit = 4 * 1024 * 1024;
// Between two stored messages the dialog answers what came in for at most this long.
constexpr ULONGLONG kAnswerSliceMillis = 50;
// The reading thread wakes the dialog when it is done; this bounds the wait should a wake be missed.
constexpr DWORD kReadPollMillis = 100;
// Posted once a refused certificate may be trusted: the question waits until the status that
// brought the refusal has been handled.
constexpr UINT kTrustMessage = WM_USER + 64;

// What the current mailbox's registry values say.
struct MailboxValues {
    char server[128] = "";
    char user[128] = "";
    char password[kRegPasswordSize] = "";
    std::int32_t deleteMail = 0;
    std::int32_t apop = 0;
    char defaultFolder[17] = "";
    std::int32_t defaultFolderNum = 0;
    ServerSecurity security;
};

class Pop3StatDialog : public Dialog {
public:
    Pop3StatDialog(HWND owner, Pop3StatData* data)
        : Dialog(IDD_POP3STAT, owner), data_(data),
          mark_(data->marks ? &data->marks->retrieving : nullptr) {
        Map().On(WM_SHOWWINDOW, [this](WPARAM shown, LPARAM status) -> LRESULT {
            OnShowWindow(shown != 0, static_cast<int>(status));
            return ::DefWindowProcA(Handle(), WM_SHOWWINDOW, shown, status);
        });
        Map().On(kPop3StartMessage, [this](WPARAM, LPARAM) -> LRESULT {
            Start();
            return 0;
        });
        Map().On(kPop3StatusMessage, [this](WPARAM code, LPARAM value) -> LRESULT {
            OnStatus(static_cast<int>(code), value);
            return 0;
        });
        Map().On(kTrustMessage, [this](WPARAM, LPARAM) -> LRESULT {
            OfferTrust();
            return 0;
        });
        Map().On(WM_TIMER, [this](WPARAM id, LPARAM) -> LRESULT {
            if (id == kPop3WatchdogTimer) OnWatchdog();
            if (id == kPop3LogTimer) FlushLog();
            return 0;
        });
        Map().On(WM_DESTROY, [this](WPARAM, LPARAM) -> LRESULT {
            OnDestroy();
            return 0;
        });
        Map().OnCommand(IDC_POP3STAT_HELP, [this](int, HWND) {
            ui::Help(Handle(), HelpFileSpec(data_->installPath).c_str(), HELP_CONTEXT,
                     HELP_CONTEXT_POP3STAT);
        });
    }

protected:
    BOOL OnInitDialog() override {
        ::SendDlgItemMessageA(Handle(), IDC_POP3STAT_LOG, EM_SETLIMITTEXT, kLogLimit, 0);
        SetField(IDC_POP3STAT_CONNECTION, Text(kKeyConnecting));
        return TRUE;
    }
    void OnCancel() override { Close(); }

private:
    HWND MainWindow() const {
        return data_->mainWindow ? data_->mainWindow : ::GetWindow(Handle(), GW_OWNER);
    }

    // Shown (or its owner restored): an automatic run under a minimised main window stays out of
    // sight and says so in the main window's title. The start request follows every show; Start
    // runs once.
    void OnShowWindow(bool shown, int status) {
        const bool appearing = status == SW_PARENTOPENING || (shown && status == 0);
        HWND main = MainWindow();
        if (data_->automatic && appearing && !titleChanged_ && main && ::IsIconic(main)) {
            char title[256] = "";
            ::GetWindowTextA(main, title, sizeof title);
            savedTitle_ = title;
            ::SetWindowTextA(main, Text(kKeyRetrievingTitle).c_str());
            titleChanged_ = true;
            ::PostMessageA(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        }
        if (shown || status == SW_PARENTOPENING) ::PostMessageA(Handle(), kPop3StartMessage, 0, 0);
    }

    void Start() {
        if (started_) return; // one connection per dialog
        started_ = true;
        // The watchdog guards every way an automatic run can stall, the start included.
        if (data_->automatic)
            ::SetTimer(Handle(), kPop3WatchdogTimer, data_->watchdogMillis, nullptr);
        ::SetFocus(Item(IDC_POP3STAT_LOG));
        const std::string spool = InstallFile(data_->installPath, kIncomingSpoolFile);
        if (TERNPOP3StartWindow(Handle(), kPop3StatusMessage, spool.c_str(), &connection_) != 0)
            connection_ = 0;
        if (!connection_) return;
        MailboxValues mailbox;
        if (!ReadMailbox(&mailbox)) return;
        defaultFolder_ = mailbox.defaultFolder;
        defaultFolderNum_ = mailbox.defaultFolderNum;
        deleteMail_ = mailbox.deleteMail != 0;
        if (!mailbox.password[0]) {
            Pop3PassData prompt;
            if (ShowPop3PassDialog(Handle(), &prompt) != IDOK) return;
            lstrcpynA(mailbox.password, prompt.password, sizeof mailbox.password);
        }
        // A manual run is watched too, from here on (not while the user types the password): a
        // server that stops answering would otherwise keep the dialog waiting for ever.
        if (!data_->automatic)
            ::SetTimer(Handle(), kPop3WatchdogTimer, data_->watchdogMillis, nullptr);
        trust_.question.catalog = data_->catalog;
        trust_.question.registryKey = data_->registryKey.c_str();
        trust_.question.server = MailServer::Pop3;
        trust_.question.serverName = mailbox.server;
        trust_.question.pinned = !mailbox.security.pin.empty();
        trust_.question.automatic = data_->automatic;
        ApplyPop3Security(connection_, mailbox.security);
        TERNPOP3PullMail(connection_, mailbox.server, mailbox.user, mailbox.password,
                         mailbox.deleteMail ? TERN_POP3_DELETE_WHEN_STORED : 0,
                         mailbox.apop ? 1 : 0);
        ::SecureZeroMemory(mailbox.password, sizeof mailbox.password);
    }

    bool ReadMailbox(MailboxValues* m) {
        Win32SettingsRegistry reg(data_->registryKey.c_str());
        if (!reg.IsOpen()) return false;
        reg.ReadString(kRegServer, m->server, sizeof m->server);
        reg.ReadString(kRegUser, m->user, sizeof m->user);
        reg.ReadString(kRegPassword, m->password, sizeof m->password);
        // A password longer than a record holds is scrambled whole.
        std::string plain = PlainWhole(m->password);
        lstrcpynA(m->password, plain.c_str(), sizeof m->password);
        if (!plain.empty()) ::SecureZeroMemory(&plain[0], plain.size());
        reg.ReadDword(kRegDelMail, m->deleteMail);
        reg.ReadDword(kRegApop, m->apop);
        reg.ReadString(kRegDefFolder, m->defaultFolder, sizeof m->defaultFolder);
        reg.ReadDword(kRegDefFolderNum, m->defaultFolderNum);
        m->security = ReadCurrentSecurity(reg, MailServer::Pop3);
        return true;
    }

    void OnStatus(int code, LPARAM value) {
        // Posts of a connection already closed (the server's goodbye after the end of the run)
        // belong to no run.
        if (!connection_) return;
        statusSeen_ = true;
        const StatusAction action = ActionForStatus(code);
        const char* text = reinterpret_cast<const char*>(value);
        switch (action.step) {
        case StatusStep::RunOver: RunOver(); return;
        case StatusStep::Refresh: break;
        case StatusStep::Show:
            if (action.connectionKey) SetField(IDC_POP3STAT_CONNECTION, Text(action.connectionKey));
            if (action.logKey) Log(Text(action.logKey));
            break;
        case StatusStep::ServerSaid:
            Log(Text(action.logKey));
            Log(text ? ServerReplyLine(text) : Text(kKeyNoReason));
            // An automatic run only says why nobody is asked.
            if (code == TERN_POP3_INSECURE && trust_.Keep(text)) {
                if (data_->automatic)
                    OfferTrust();
                else
                    ::PostMessageA(Handle(), kTrustMessage, 0, 0);
            }
            break;
        case StatusStep::Empty:
            SetField(IDC_POP3STAT_TOTAL, "0");
            Log(Text(action.logKey));
            break;
        case StatusStep::Stored: {
            const int n = static_cast<int>(value);
            if (n + 1 <= data_->messageTotal) {
                current_ = n + 1;
                percent_ = kNoPercentage;
            }
            data_->messagesStored = n;
            ShowFigures(n >= data_->messageTotal);
            break;
        }
        case StatusStep::Count:
            data_->messageTotal = static_cast<int>(value);
            SetField(IDC_POP3STAT_TOTAL, std::to_string(data_->messageTotal));
            SetField(IDC_POP3STAT_CURRENT, "1");
            SetField(IDC_POP3STAT_PERCENT, kNoPercentage);
            Log(Text(action.logKey));
            break;
        case StatusStep::ReceivedOk:
            Log(Text(action.logKey));
            data_->receivedOk = true;
            break;
        case StatusStep::Progress:
            percent_ = PercentageText(text);
            ShowFigures(false);
            break;
        case StatusStep::Spooled: {
            // The server deletes at the end of the session, once every message is in the store.
            // A damaged message is stored as it came and the spool's copy is kept, so it does not
            // hold the mail on the server, where it would come again, with every other message,
            // at each retrieval; a message refused by the store or cut short does.
            data_->receivedOk = true;
            const bool allStored =
                StoreSpool(true) != ScanResult::Failed && scanCounts_.cutShort == 0;
            if (!allStored) Log(Text(kKeyLeftOnServer));
            if (connection_) TERNPOP3Finish(connection_, allStored ? 1 : 0);
            break;
        }
        }
        if (action.error && data_->automatic) Close();
    }

    // Status 0: the connection's run is over; what it received in full is stored.
    void RunOver() {
        if (!connection_) return;
        CloseConnection();
        Log(Text(kKeyConnectionClosed));
        SetField(IDC_POP3STAT_CONNECTION, Text(kKeyDisconnected));
        if (data_->receivedOk && !spoolStored_) StoreSpool(true);
        FlushLog();
        if (data_->automatic) Close();
    }

    // Everything was received: the spool is backed up, then scanned into the store; the backup
    // stays when something could not be stored whole.
    ScanResult StoreSpool(bool receivedAll) {
        spoolStored_ = true;
        if (receivedAll) Log(Text(kKeyReceiveFinished));
        const std::string backupName = BackUpSpool();
        const std::string backup = InstallFile(data_->installPath, backupName.c_str());
        Log(Text(kKeyStoring));
        const ScanResult result = Scan();
        switch (result) {
        case ScanResult::AllStored:
            Log(Text(kKeyAllStored));
            ::DeleteFileA(backup.c_str());
            break;
        case ScanResult::Damaged:
            Log(FormatTextOr(Text(kKeyStoredDamaged).c_str(), {backupName},
                             Text(kKeyStoredDamaged)));
            break;
        case ScanResult::Failed:
            Log(FormatTextOr(Text(kKeyNothingStored).c_str(), {backupName},
                             Text(kKeyNotAllStored)));
            break;
        }
        return result;
    }

    // A copy of the spool as it is now ("BadFile-" and the time); its name.
    std::string BackUpSpool() {
        const std::string backupName = SpoolBackupName(LocalTimeNow());
        const std::string backup = InstallFile(data_->installPath, backupName.c_str());
        const std::string spool = InstallFile(data_->installPath, kIncomingSpoolFile);
        if (!::CopyFileA(spool.c_str(), backup.c_str(), FALSE)) Log(Text(kKeyBackupFailed));
        return backupName;
    }

    ScanResult Scan() {
        ScanJob job;
        job.spoolPath = InstallFile(data_->installPath, kIncomingSpoolFile);
        job.attachDir = InstallFile(data_->installPath, kAttachmentFolder);
        job.filterPath = InstallFile(data_->installPath, kFilterFile);
        job.defaultFolder = defaultFolder_;
        job.defaultFolderNum = defaultFolderNum_;
        job.inFolderNum = data_->inFolderNum;
        job.messagesStored = data_->messagesStored;
        job.messageTotal = data_->messageTotal;
        job.owner = Handle();
        job.betweenMessages = [this] { AnswerWaiting(); };
        job.whileReading = [this](const std::function<bool()>& read) { AnswerUntil(read); };
        job.readDone = [wnd = Handle()] { ::PostMessageA(wnd, WM_NULL, 0, 0); }; // wakes the wait
        scanning_ = true;
        const ScanResult result = ScanAndStore(
            data_->conn, data_->catalog, job, [this](const std::string& line) { Log(line); },
            &scanCounts_);
        scanning_ = false;
        // A close asked for during the scan is carried out now that the store work is done.
        if (closeAsked_) ::PostMessageA(Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return result;
    }

    // The window messages that came in while a message was stored: the dialog paints, answers and
    // takes the user's close (which waits for the end of the scan) before the next message.
    void AnswerWaiting() {
        if (quitSeen_) return;
        const ULONGLONG until = ::GetTickCount64() + kAnswerSliceMillis;
        MSG msg;
        while (::GetTickCount64() < until && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) { // the program is ending: its modal loops see it too
                quitSeen_ = true;
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            if (::IsDialogMessageA(Handle(), &msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }

    // The dialog answers its messages while the spool's next message is read on another thread.
    void AnswerUntil(const std::function<bool()>& read) {
        while (!read()) {
            if (quitSeen_) { // the quit message stays queued: wait without looking at the queue
                ::Sleep(kReadPollMillis);
                continue;
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kReadPollMillis, QS_ALLINPUT);
            AnswerWaiting();
        }
    }

    // The server's certificate was refused, and trusting it for this mailbox would mend that.
    void OfferTrust() {
        const std::string line = trust_.Ask(Handle());
        if (!line.empty()) Log(line);
        FlushLog();
    }

    // The automatic run gave no sign of life for a whole period: it ends like a finished run.
    void OnWatchdog() {
        if (scanning_) return; // storing what came is the run's sign of life
        const bool connecting = FieldText(IDC_POP3STAT_CONNECTION) == Text(kKeyConnecting);
        const bool seen = statusSeen_;
        statusSeen_ = false;
        if (!WatchdogEndsRun(connecting, seen)) return;
        ::KillTimer(Handle(), kPop3WatchdogTimer);
        if (connection_) {
            Log(Text(kKeyServerSilent));
            OnStatus(TERN_POP3_DONE, 0);
        } else
            Close(); // nothing was started: nothing to end but the dialog
    }

    // Closing: a run cut short after some complete messages stores those; then the dialog ends.
    void Close() {
        if (scanning_) closeAsked_ = true;
        if (closing_ || scanning_) return;
        closing_ = true;
        StopAutomatic();
        CloseConnection();
        if (!spoolStored_ && data_->messagesStored > 0) StoreCutShortRun();
        End(IDOK);
    }

    // The complete messages of a run cut short. When the server was to delete them it has not
    // (it deletes only when the session ends properly): they come again with the next
    // retrieval, so storing them now would store them twice. They are stored only when the
    // mailbox keeps its mail on the server anyway.
    void StoreCutShortRun() {
        if (!deleteMail_) {
            if (RunCutShort(data_->messagesStored, data_->messageTotal)) StoreSpool(false);
            return;
        }
        spoolStored_ = true;
        const std::string backupName = BackUpSpool();
        Log(FormatTextOr(Text(kKeyKeptOnServer).c_str(), {data_->messagesStored, backupName},
                         Text(kKeyKeptOnServer)));
    }

    void StopAutomatic() {
        if (!data_->automatic) return;
        ::KillTimer(Handle(), kPop3WatchdogTimer);
        if (titleChanged_) {
            ::SetWindowTextA(MainWindow(), savedTitle_.c_str());
            titleChanged_ = false;
        }
    }

    void CloseConnection() {
        if (!data_->automatic) ::KillTimer(Handle(), kPop3WatchdogTimer);
        if (!connection_) return;
        TERNPOP3Close(connection_);
        connection_ = 0;
    }

    // The fields and the log stay readable for the caller after the dialog has gone.
    void OnDestroy() {
        StopAutomatic();
        CloseConnection();
        FlushLog();
        data_->connectionStatus = FieldText(IDC_POP3STAT_CONNECTION);
        data_->totalWaiting = FieldText(IDC_POP3STAT_TOTAL);
        data_->retrievingMessage = FieldText(IDC_POP3STAT_CURRENT);
        data_->percentage = FieldText(IDC_POP3STAT_PERCENT);
        data_->messages = FieldText(IDC_POP3STAT_LOG);
    }

    // "Retrieving Message" and "Percentage Received" as the connection last gave them; unless
    // forced, at most kPop3ShowMillis apart.
    void ShowFigures(bool force) {
        const ULONGLONG now = ::GetTickCount64();
        if (!force && now - lastFiguresShown_ < kPop3ShowMillis) return;
        lastFiguresShown_ = now;
        SetField(IDC_POP3STAT_CURRENT, std::to_string(current_));
        SetField(IDC_POP3STAT_PERCENT, percent_);
    }

    // One line for the end of the Messages box. Lines are shown together, at most kPop3ShowMillis
    // apart and never more than a fifth of the time (a long log grows slow to add to), also while
    // the store work keeps the message loop waiting.
    void Log(const std::string& line) {
        pendingLog_ += line;
        pendingLog_ += "\r\n";
        const ULONGLONG gap = std::max<ULONGLONG>(kPop3ShowMillis, 4 * lastLogCost_);
        if (::GetTickCount64() - lastLogShown_ >= gap)
            FlushLog();
        else
            ::SetTimer(Handle(), kPop3LogTimer, static_cast<UINT>(gap), nullptr);
    }

    // The waiting lines at the end of the Messages box, in view, painted at once.
    void FlushLog() {
        ::KillTimer(Handle(), kPop3LogTimer);
        lastLogShown_ = ::GetTickCount64();
        if (pendingLog_.empty()) return;
        HWND box = Item(IDC_POP3STAT_LOG);
        const int end = ::GetWindowTextLengthA(box);
        ::SendMessageA(box, EM_SETSEL, end, end);
        ::SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(pendingLog_.c_str()));
        ::SendMessageA(box, EM_SCROLLCARET, 0, 0);
        pendingLog_.clear();
        ::UpdateWindow(Handle());
        lastLogCost_ = ::GetTickCount64() - lastLogShown_;
    }

    void SetField(int id, const std::string& text) {
        ::SetDlgItemTextA(Handle(), id, text.c_str());
    }
    std::string FieldText(int id) const {
        HWND control = Item(id);
        std::string text(static_cast<size_t>(::GetWindowTextLengthA(control)) + 1, '\0');
        text.resize(static_cast<size_t>(
            ::GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
        return text;
    }
    std::string Text(const char* key) const { return CatalogText(data_->catalog, key, key); }

    Pop3StatData* data_;
    TransferMarkHeld mark_;
    TERNHANDLE connection_ = 0;
    std::string defaultFolder_;
    long defaultFolderNum_ = 0;
    bool deleteMail_ = false; // the server deletes what this run stores
    std::string savedTitle_;
    bool started_ = false;
    bool titleChanged_ = false;
    bool statusSeen_ = false;
    bool scanning_ = false;
    std::string pendingLog_; // lines not yet in the Messages box
    ULONGLONG lastLogShown_ = 0;
    ULONGLONG lastLogCost_ = 0;           // how long showing the last lines took
    int current_ = 1;                     // the message being received
    std::string percent_ = kNoPercentage; // the connection's latest figure, shown or not
    ULONGLONG lastFiguresShown_ = 0;
    bool spoolStored_ = false; // the spool of this run has gone through the scan
    PendingTrust trust_;       // a refused certificate the user may yet trust
    bool closing_ = false;
    bool closeAsked_ = false; // the user closed the dialog while the scan ran
    bool quitSeen_ = false;   // WM_QUIT came during the scan (and was posted again)
    ScanCounts scanCounts_;   // of the last scan
};

} // namespace

INT_PTR ShowPop3StatDialog(HWND owner, Pop3StatData* data) {
    if (!data || !data->conn) return -1;
    data->messageTotal = 0;
    data->messagesStored = 0;
    data->receivedOk = false;
    Pop3StatDialog dialog(owner, data);
    return dialog.DoModal();
}

void PlugMailRetrieval(CommandPlugs& plugs, const MailRetrievalContext& context) {
    plugs.Plug(ID_MAIL_RETRIEVE, [context](void* owner, const char*) {
        Pop3StatData data;
        data.catalog = context.catalog;
        data.conn = context.conn;
        data.installPath = context.installPath ? context.installPath : "";
        data.marks = context.marks;
        if (context.specialFolders) data.inFolderNum = context.specialFolders->in;
        return static_cast<int>(ShowPop3StatDialog(static_cast<HWND>(owner), &data));
    });
}

} // namespace lx
