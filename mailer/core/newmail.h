// The application object of the main program: start-up, the state it holds for the whole
// run, and the exit path.
#pragma once
#include "common/catalog/msgcatalog.h"
#include "common/settings/dialer_settings.h"
#include "common/settings/font_desc.h"
#include "common/settings/mailbox_record.h"
#include "common/win/handles.h"
#include <windows.h>
#include <memory>
#include <string>

class odbcvantEnvironment;
class odbcvantConnection;

namespace lx {
class CMainFrame;
class SplashWindow;

// Data source of the store. LORVEX_DSN, when set and not empty, names another one: tests
// use it to reach an unreachable source without touching the ODBC configuration.
constexpr char kDataSource[] = "Lorvex";
constexpr char kDataSourceUser[] = "QBT";
constexpr char kDataSourcePassword[] = "lantern";
constexpr char kDataSourceOverride[] = "LORVEX_DSN";
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
    odbcvantConnection* Connection() { return connection_; }
    HANDLE InstanceMutex() const { return mutex_.Get(); }
    MailboxList& Mailboxes() { return mailboxes_; }
    DialerSettings& Dialer() { return dialer_; }
    CMainFrame* MainFrame() { return frame_.get(); }
    HFONT MessageFontHandle(MessageFont which) const;

    // The start-up worker hands each created message font to the application.
    void AdoptMessageFont(MessageFont which, HFONT font);

private:
    bool LoadInstallPath();
    bool OpenCatalogue();
    bool HoldSingleInstance();
    bool ConnectStore();
    bool CreateMainFrame(int showState);
    void LoadMailboxList();
    void PlaceMainFrame();
    void ArmMailCheck();
    void StartWorker();

    char installPath_[MAX_PATH] = "";
    std::string commandLine_;
    std::unique_ptr<MessageCatalog> catalog_;
    std::unique_ptr<SplashWindow> splash_;
    UniqueHandle mutex_;
    odbcvantEnvironment* environment_ = nullptr;
    odbcvantConnection* connection_ = nullptr;
    bool netStarted_ = false;
    std::unique_ptr<CMainFrame> frame_;
    MailboxList mailboxes_{};
    DialerSettings dialer_{};
    HFONT fonts_[kMessageFontCount] = {};
    UniqueHandle worker_;
};

} // namespace lx
