#include "mailer/core/newmail.h"
#include "mailer/core/splash.h"
#include "mailer/core/startwork.h"
#include "mailer/ui/mainfrm.h"
#include "mailer/ui/msgprint.h"
#include "mailer/res/resource.h"
#include "common/settings/install_path.h"
#include "common/settings/mailbox_file.h"
#include "common/settings/registry_win32.h"
#include "common/settings/window_file.h"
#include "common/win/uiseam.h"
#include "odbcvant/odbcvant.h"
#include "netlib/tern32.h"

#include <process.h>
#include <cstring>
#include <new>

namespace lx {
namespace {

// Only start-up text that is not in the catalogue: the catalogue is what failed.
constexpr char kNoCatalogueText[] = "Unable to load Lorvex String File : DGROUP.VSF";
constexpr WORD kWinsockVersion = 0x0101;
// Folder number of _IN until the folder pane knows the store's special folders.
constexpr std::int32_t kUnknownFolderNum = 0;
// The worker takes a moment; exit waits this long for it before releasing the fonts.
constexpr DWORD kWorkerExitWaitMillis = 10000;

int FontIndex(MessageFont which) { return static_cast<int>(which); }

// Store errors are shown through the UI seam like every other box.
void ReportStoreError(void* window, const char* text, const char* caption) {
    ui::MessageBox(static_cast<HWND>(window), text, caption, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

LorvexApp::LorvexApp() = default;
LorvexApp::~LorvexApp() = default;

HFONT LorvexApp::MessageFontHandle(MessageFont which) const { return fonts_[FontIndex(which)]; }

void LorvexApp::AdoptMessageFont(MessageFont which, HFONT font) { fonts_[FontIndex(which)] = font; }

bool LorvexApp::InitInstance(const char* commandLine, int showState) {
    commandLine_ = commandLine ? commandLine : "";
    char title[64] = "";
    if (::LoadStringA(::GetModuleHandleA(nullptr), IDR_MAINFRAME, title, sizeof title) > 0)
        ui::SetAppTitle(title);

    LoadInstallPath();
    if (!OpenCatalogue()) return false;

    splash_.reset(new (std::nothrow) SplashWindow);
    if (splash_ && !splash_->Show()) splash_.reset();

    if (!HoldSingleInstance()) return false;
    if (!ConnectStore()) return false;
    TERNStartWinSock(kWinsockVersion);
    netStarted_ = true;
    if (!CreateMainFrame(showState)) return false;
    PlugMessagePrinting(MessagePrintContext{catalog_.get(), connection_, [this](MessageFont which) {
                                                return MessageFontHandle(which);
                                            }});

    LoadMailboxList();
    PlaceMainFrame();
    dialer_ = LoadDialerAtStartup(installPath_);
    ArmMailCheck();
    if (!commandLine_.empty())
        ::PostMessageA(frame_->Handle(), WM_LX_COMMAND_LINE, 0,
                       reinterpret_cast<LPARAM>(commandLine_.c_str()));
    StartWorker();
    return true;
}

// The registry's InstallPath in its short form. A missing value leaves the path
// empty, and the catalogue then cannot be found.
bool LorvexApp::LoadInstallPath() {
    const std::string stored = ReadInstallPath();
    installPath_[0] = '\0';
    if (stored.empty()) return false;
    const DWORD got = ::GetShortPathNameA(stored.c_str(), installPath_, sizeof installPath_);
    if (got == 0 || got >= sizeof installPath_) {
        // No short form (e.g. the folder is gone): keep the stored text as it is.
        std::strncpy(installPath_, stored.c_str(), sizeof installPath_ - 1);
        installPath_[sizeof installPath_ - 1] = '\0';
    }
    return true;
}

bool LorvexApp::OpenCatalogue() {
    catalog_.reset(new (std::nothrow) MessageCatalog);
    if (catalog_ &&
        catalog_->Open(InstallFile(installPath_, kCatalogueFile).c_str(), CatalogMagic::Exact) &&
        catalog_->Loaded()) {
        ui::SetCatalog(catalog_.get());
        return true;
    }
    catalog_.reset();
    ui::MessageBox(nullptr, kNoCatalogueText, ui::AppTitle(), MB_OK);
    return false;
}

bool LorvexApp::HoldSingleInstance() {
    mutex_.Reset(::CreateMutexA(nullptr, FALSE, kInstanceMutex));
    if (!mutex_.Valid()) return false;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ui::CatalogAppBox(*catalog_, "NEWMAIL_CPP_1", MB_OK);
        return false;
    }
    ::WaitForSingleObject(mutex_.Get(), INFINITE);
    return true;
}

bool LorvexApp::ConnectStore() {
    odbcvantSetErrorReporter(&ReportStoreError);
    // Nothing half-made stays behind a failure: the user hears which step failed.
    auto fail = [this](const char* key) {
        delete connection_;
        delete environment_;
        connection_ = nullptr;
        environment_ = nullptr;
        ui::CatalogAppBox(*catalog_, key, MB_OK);
        return false;
    };
    environment_ = new (std::nothrow) odbcvantEnvironment;
    if (environment_ && environment_->IsValid())
        connection_ = new (std::nothrow) odbcvantConnection(environment_);
    if (!environment_ || !environment_->IsValid() || !connection_ || !connection_->IsValid())
        return fail("NEWMAIL_CPP_2");
    char dsn[128] = "";
    const DWORD got = ::GetEnvironmentVariableA(kDataSourceOverride, dsn, sizeof dsn);
    if (got == 0 || got >= sizeof dsn) std::strcpy(dsn, kDataSource);
    if (!connection_->ConnectTo(dsn, kDataSourceUser, kDataSourcePassword))
        return fail("NEWMAIL_CPP_3");
    return true;
}

bool LorvexApp::CreateMainFrame(int showState) {
    frame_.reset(new (std::nothrow) CMainFrame(
        MainFrameContext{installPath_, catalog_.get(), connection_, &mailboxes_}));
    if (!frame_ || !frame_->CreateFrame()) {
        frame_.reset();
        return false;
    }
    ::ShowWindow(frame_->Handle(), showState);
    ::UpdateWindow(frame_->Handle());
    if (splash_) splash_->Raise(frame_->Handle());
    ui::SetMainWindow(frame_->Handle());
    return true;
}

// The mailbox list. Older mailbox files convert with the _IN folder the folder pane found; the
// first-run wizard comes with mailbox set-up. Filling the selector makes the chosen mailbox
// current in the registry and writes the list back.
void LorvexApp::LoadMailboxList() {
    const long in = frame_->SpecialFolders().in;
    lx::LoadMailboxes(installPath_, in >= 0 ? static_cast<std::int32_t>(in) : kUnknownFolderNum,
                      mailboxes_);
    frame_->FillMailboxSelector(true);
    if (CurrentMailboxIndex(mailboxes_) < 0) SaveMailboxes(installPath_, mailboxes_);
}

void LorvexApp::PlaceMainFrame() {
    MainWindowPlacement placement;
    if (ReadMainWindowFile(installPath_, placement)) frame_->ApplyPlacement(placement);
}

void LorvexApp::ArmMailCheck() { frame_->ArmMailCheck(dialer_.checkInterval); }

void LorvexApp::StartWorker() {
    const uintptr_t thread = _beginthreadex(nullptr, 0, &StartupWorker, this, 0, nullptr);
    worker_.Reset(reinterpret_cast<HANDLE>(thread));
}

int LorvexApp::Run() {
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        HWND frame = frame_ ? frame_->Handle() : nullptr;
        if (frame && frame_->Accelerators() &&
            ::TranslateAcceleratorA(frame, frame_->Accelerators(), &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int LorvexApp::ExitInstance() {
    // The worker may still be creating fonts: they are released only once it has ended.
    bool workerDone = true;
    if (worker_.Valid())
        workerDone = ::WaitForSingleObject(worker_.Get(), kWorkerExitWaitMillis) == WAIT_OBJECT_0;
    worker_.Reset();

    ui::SetCatalog(nullptr);
    if (catalog_) catalog_->Close();
    catalog_.reset();
    delete connection_;
    connection_ = nullptr;
    delete environment_;
    environment_ = nullptr;
    if (netStarted_) TERNEndWinSock();
    netStarted_ = false;
    mutex_.Reset();
    if (workerDone) {
        for (HFONT& font : fonts_) {
            if (font) ::DeleteObject(font);
            font = nullptr;
        }
    }
    ui::SetMainWindow(nullptr);
    frame_.reset();
    splash_.reset();
    return 0;
}

} // namespace lx
