// The application object of the main program: start-up, the state it holds for the whole
// run, and the exit path.
#pragma once
#include "common/catalog/msgcatalog.h"
#include "common/schema/storeconnection.h"
#include "common/settings/dialer_settings.h"
#include "common/settings/font_desc.h"
#include "common/settings/mailbox_file.h"
#include "common/settings/mailbox_record.h"
#include "common/win/handles.h"
#include "common/win/window.h"
#include "mailer/core/startwork.h"
#include "mailer/transfer/logic/transfermarks.h"
#include <windows.h>
#include <memory>
#include <string>

namespace lx {
class CMainFrame;
class ComposerSet;
class SplashWindow;
struct MailboxSetupContext;

constexpr char kInstanceMutex[] = "Lorvex_Mutex";
constexpr char kCatalogueFile[] = "DGROUP.VSF";

class LorvexApp {
public:
    LorvexApp();
    ~LorvexApp();
    LorvexApp(const LorvexApp&) = delete;
    LorvexApp& operator=(const LorvexApp&) = delete;

    // Start-up; true to run the message loop.
    bool InitInstance(const char* commandLine, int showState);
    int Run();
    // Releases everything start-up created, in the fixed order; the process exit code.
    int ExitInstance();

    const char* InstallPath() const { return installPath_; }
    MessageCatalog* Catalog() { return catalog_.get(); }
    odbcvantConnection* Connection() { return store_.Get(); }
    HANDLE InstanceMutex() const { return mutex_.Get(); }
    MailboxList& Mailboxes() { return mailboxes_; }
    DialerSettings& Dialer() { return dialer_; }
    CMainFrame* MainFrame() { return frame_.get(); }
    TransferMarks& Transfers() { return transferMarks_; }
    // Null until the start-up worker's fonts have arrived.
    HFONT MessageFontHandle(MessageFont which) const;

private:
    // Message-only window of the interface thread that receives the worker's fonts.
    class FontReceiver : public Window {
    public:
        explicit FontReceiver(LorvexApp& app);
        bool Create();
        // Takes fonts posted but not yet dispatched (exit).
        void Drain();

    private:
        LorvexApp& app_;
    };

    void AdoptMessageFonts(std::unique_ptr<MessageFontSet> fonts);
    bool LoadInstallPath();
    // The address book's picker the filter rules use.
    bool PickAddress(HWND owner, char* address, size_t size);
    bool OpenCatalogue();
    bool HoldSingleInstance();
    bool ConnectStore();
    bool CreateMainFrame(int showState);
    void LoadMailboxList();
    // FolderNum of _IN as the folder pane knows it (0 until it does).
    long InFolderNum() const;
    MailboxSetupContext MailboxSetup();
    void NoteOldMailboxFile(const MailboxLoadNote& note);
    void PlaceMainFrame();
    void ArmMailCheck();
    void StartWorker();
    void PlugComposers();
    void PlugAddressing();
    void PlugMailCheck();

    char installPath_[MAX_PATH] = "";
    std::string commandLine_;
    std::unique_ptr<MessageCatalog> catalog_;
    std::unique_ptr<SplashWindow> splash_;
    UniqueHandle mutex_;
    StoreConnection store_;
    bool netStarted_ = false;
    std::unique_ptr<CMainFrame> frame_;
    // The open composers; they go before the main window.
    std::unique_ptr<ComposerSet> composers_;
    MailboxList mailboxes_{};
    DialerSettings dialer_{};
    std::unique_ptr<MessageFontSet> fonts_;
    FontReceiver fontReceiver_{*this};
    UniqueHandle worker_;
    // Which transfer dialogs are open, for the automatic mail run.
    TransferMarks transferMarks_;
};

} // namespace lx
