// CMainFrame: the main program's top-level window: menu, accelerators, toolbar with the
// mailbox selector, status bar, and the MailboxSplitter with the folder pane and message list.
// Every command handler runs through the command gate.
#pragma once
#include "mailer/ui/logic/cmdgate.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/logic/mailfold_rules.h"
#include "mailer/ui/logic/mainfrm_rules.h"
#include "mailer/ui/printchoice.h"
#include "mailer/ui/rasapi.h"
#include "common/settings/dialer_settings.h"
#include "common/log/logwriter.h"
#include "common/schema/storeconnection.h"
#include "common/settings/mailbox_record.h"
#include "common/settings/window_file.h"
#include "common/win/window.h"
#include "spellcheck/ssced.h"
#include <windows.h>
#include <memory>
#include <string>

namespace lx {
class MessageCatalog;
class MailboxSplitter;
class AutoCheck;
struct TransferMarks;

// Private messages of the frame.
constexpr UINT WM_LX_MAILRUN_DONE = WM_USER + 1993; // automatic run ended / restart timer
constexpr UINT WM_LX_MAILRUN_NOW = WM_USER + 1994;  // run the automatic mail run now
constexpr UINT WM_LX_COMMAND_LINE = WM_USER + 1995; // lParam: the program's command line
constexpr WPARAM kRestartCheckTimer = 101;          // WM_LX_MAILRUN_DONE from the monitor

constexpr char kMainFrameClass[] = "CMainFrame";

struct MainFrameContext {
    const char* installPath;
    MessageCatalog* catalog;
    // The program's store connection; when none is given the frame opens its own.
    odbcvantConnection* connection = nullptr;
    // The program's mailbox account list; when none is given the frame loads its own.
    MailboxList* mailboxes = nullptr;
    // The automatic check's settings; when none are given the frame keeps its own (all zero).
    DialerSettings* dialer = nullptr;
    // Which transfer dialogs are open, so the check does not dial under one.
    const TransferMarks* transfers = nullptr;
    // The dial-up library's pauses: between status readings and after a hang-up.
    unsigned dialWaitMillis = 3000;
    // The dial-up library loaded by name.
    const char* rasLibrary = kRasLibrary;
};

// Status pane 1 of the main frame above `wnd` (a pane or any window inside the frame) shows
// "Messages : %d"; nothing happens outside a main frame.
void ShowMessageCount(HWND wnd, long count);

class CMainFrame : public Window {
public:
    explicit CMainFrame(const MainFrameContext& context);
    ~CMainFrame() override;

    // Creates the window from resource 128 with its toolbar, status bar and splitter; false
    // when it cannot.
    bool CreateFrame();
    HACCEL Accelerators() const { return accel_; }

    // Placement read at start-up: maximise, or move to the stored rectangle; the column cells
    // go to the splitter.
    void ApplyPlacement(const MainWindowPlacement& placement);
    // The automatic check's timer (id 1993, 1000 ms) when `intervalSeconds` is 1 or more: the
    // status bar counts the seconds down, and at 0 a check cycle starts. The interval and the
    // countdown go into the check's settings.
    void ArmMailCheck(int intervalSeconds);
    // The timer again from the settings' interval and countdown (after Dialer Setup).
    void RestartMailCheck();
    // The command line handed over at start-up (a mailto: request), kept for the composer.
    const std::string& PendingCommandLine() const { return commandLine_; }

    // Fills the mailbox selector from the account list, selects the current account, writes
    // it to the registry and, when `save`, writes the list to MAILBOXX.STP.
    void FillMailboxSelector(bool save);
    // Status bar texts.
    void SetMessageCount(long count);
    void SetCountdownText(const char* text);
    // Countdown seconds, or kCountdownOff / kCountdownChecking, in the catalogue's words.
    void ShowCountdown(int seconds);
    long MessageCount() const { return messageCount_; }

    // The frame's pieces, for tests and for the commands wired in from elsewhere.
    HWND Toolbar() const { return toolbar_; }
    HWND StatusBar() const { return statusBar_; }
    HWND MailboxSelector() const { return selector_; }
    MailboxSplitter* Splitter() const { return splitter_.get(); }
    odbcvantConnection* Connection() const { return connection_; }
    MailboxList& Mailboxes() { return *mailboxes_; }
    const ReaderChoices& Choices() const { return choices_; }
    const RasApi& Ras() const { return ras_; }
    // The spell checker the frame loaded with the chosen dictionary's lexicons.
    SpellChecker& Spell() { return spell_; }
    // The printer chosen in Printer Setup, for printing.
    const PrinterChoice& Printer() const { return printer_; }
    CommandRunner& Commands() { return commands_; }
    // The commands whose dialogs live outside this window plug in here.
    CommandPlugs& Plugs() { return plugs_; }
    // The special folder numbers the folder pane found (-1 for each until then).
    const SpecialFolderNumbers& SpecialFolders() const { return specialFolders_; }
    // The selector's Arial, or the stock system font when it could not be made.
    HFONT TitleFont() const;

    // The automatic check: its log while a cycle writes it, its settings, and its state (timer,
    // dial, run); the log is closed and a dialled line hung up when the window is destroyed.
    LogWriter& CheckLog() { return checkLog_; }
    DialerSettings& Dialer() { return *dialer_; }
    AutoCheck& MailCheck() { return *autoCheck_; }

private:
    void MapMessages();
    void MapCommands();
    bool OnCreate();
    bool CreateToolbar();
    bool CreateStatusBar();
    bool CreateSplitter();
    void Layout();
    void OnClose();
    void OnDestroy();
    void OnHelpInfo(const HELPINFO* info);
    void OnInitMenuPopup(HMENU menu);
    void OnMenuSelect(UINT id, UINT flags, HMENU menu);
    LRESULT OnNotify(const NMHDR* header);
    void OnMailboxSelected();
    void ChangeDictionary(int dictionary);
    void ChangeReaderType(int readerType);
    void ToggleBar(HWND bar);
    void OnViewLog();
    void OnAbout();
    void OnPrintSetup();
    void OnSendMail();
    void OnRetrieveMail();
    // A command whose dialog is wired in through the plug-in point; true when it ended with OK.
    bool RunPlugged(int id, const char* argument = nullptr);
    void Gated(void (CMainFrame::*body)());
    std::string PromptOf(UINT id, bool tooltip) const;
    void ShowPrompt(const std::string& text);
    void OpenOwnConnection();

    MainFrameContext context_;
    HACCEL accel_ = nullptr;
    MainWindowPlacement placement_{};
    std::string commandLine_;
    long messageCount_ = 0;
    ReaderChoices choices_{};
    SpellChecker spell_;
    RasApi ras_;
    PrinterChoice printer_;
    CommandRunner commands_;
    CommandPlugs plugs_;
    StoreConnection ownStore_;
    odbcvantConnection* connection_ = nullptr;
    MailboxList ownMailboxes_{};
    MailboxList* mailboxes_ = nullptr;
    Font titleFont_;
    HWND toolbar_ = nullptr;
    HWND selector_ = nullptr;
    HWND statusBar_ = nullptr;
    SpecialFolderNumbers specialFolders_;
    std::unique_ptr<MailboxSplitter> splitter_;
    LogWriter checkLog_;
    DialerSettings ownDialer_{};
    DialerSettings* dialer_ = nullptr;
    std::unique_ptr<AutoCheck> autoCheck_;
    char tip_[80] = ""; // the tooltip text handed to the tooltip control
};

} // namespace lx
