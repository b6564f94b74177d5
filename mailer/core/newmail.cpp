#include "mailer/core/newmail.h"
#include "mailer/core/splash.h"
#include "mailer/ui/composer.h"
#include "mailer/ui/viewerlaunch.h"
#include "mailer/ui/editfram.h"
#include "mailer/ui/mainfrm.h"
#include "mailer/ui/automail.h"
#include "mailer/ui/findmesg.h"
#include "mailer/ui/msgprint.h"
#include "mailer/ui/signatur.h"
#include "mailer/addressing/asciiimp.h"
#include "mailer/addressing/impaddr.h"
#include "mailer/addressing/maillist.h"
#include "mailer/addressing/newabook.h"
#include "mailer/addressing/seladdrs.h"
#include "mailer/transfer/maillett.h"
#include "mailer/transfer/sendmmf.h"
#include "mailer/transfer/mboxlist.h"
#include "mailer/transfer/filtlist.h"
#include "mailer/transfer/pop3stat.h"
#include "mailer/transfer/autodial.h"
#include "mailer/res/resource.h"
#include "common/settings/install_path.h"
#include "common/settings/mailbox_file.h"
#include "common/settings/registry_win32.h"
#include "common/settings/window_file.h"
#include "common/win/settingsnotice.h"
#include "common/win/uiseam.h"
#include "odbcvant/odbcvant.h"
#include "netlib/tern32.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace lx {
namespace {

// Only start-up text that is not in the catalogue: the catalogue is what failed.
constexpr char kNoCatalogueText[] = "Unable to load Lorvex String File : DGROUP.VSF";
constexpr WORD kWinsockVersion = 0x0101;
// Folder number of _IN until the folder pane knows the store's special folders.
constexpr std::int32_t kUnknownFolderNum = 0;
// The worker takes a moment; exit waits this long for it before the fonts are released.
constexpr DWORD kWorkerExitWaitMillis = 10000;
constexpr char kFontReceiverClass[] = "LorvexFontReceiver";
constexpr char kOldMailboxRenamed[] = "NEWMAIL_CPP_10";
constexpr char kOldMailboxLeft[] = "NEWMAIL_CPP_11";

// Store errors are shown through the UI seam like every other box.
void ReportStoreError(void* window, const char* text, const char* caption) {
    ui::MessageBox(static_cast<HWND>(window), text, caption, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

LorvexApp::LorvexApp() = default;
LorvexApp::~LorvexApp() = default;

HFONT LorvexApp::MessageFontHandle(MessageFont which) const {
    return fonts_ ? fonts_->fonts[static_cast<int>(which)].Get() : nullptr;
}

void LorvexApp::AdoptMessageFonts(std::unique_ptr<MessageFontSet> fonts) {
    if (!fonts) return;
    for (const std::string& where : fonts->notSaved)
        LogIfNotSaved(false, installPath_, catalog_.get(), where.c_str());
    fonts_ = std::move(fonts);
}

LorvexApp::FontReceiver::FontReceiver(LorvexApp& app) : app_(app) {
    Map().On(WM_LX_MESSAGE_FONTS, [this](WPARAM, LPARAM lParam) -> LRESULT {
        app_.AdoptMessageFonts(TakeMessageFonts(lParam));
        return 0;
    });
}

bool LorvexApp::FontReceiver::Create() {
    return RegisterClass(kFontReceiverClass, 0, nullptr, nullptr) &&
           Window::Create(kFontReceiverClass, "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr);
}

void LorvexApp::FontReceiver::Drain() {
    if (!Handle()) return;
    MSG msg;
    while (::PeekMessageA(&msg, Handle(), WM_LX_MESSAGE_FONTS, WM_LX_MESSAGE_FONTS, PM_REMOVE))
        app_.AdoptMessageFonts(TakeMessageFonts(msg.lParam));
}

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
    PlugMessagePrinting(frame_->Plugs(), MessagePrintContext{catalog_.get(), store_.Get(),
                                                             [this](MessageFont which) {
                                                                 return MessageFontHandle(which);
                                                             }});
    PlugMailSending(frame_->Plugs(),
                    SendMailContext{installPath_, catalog_.get(), store_.Get(), &transferMarks_,
                                    [this](long* out, long* sent) {
                                        *out = frame_->SpecialFolders().out;
                                        *sent = frame_->SpecialFolders().sent;
                                    }});
    PlugMailMerge(frame_->Plugs(), MailMergeContext{installPath_, catalog_.get(), &transferMarks_});
    PlugMailboxSetup(frame_->Plugs(), MailboxSetup());
    PlugFilterManager(frame_->Plugs(),
                      FilterListData{catalog_.get(), store_.Get(), installPath_,
                                     [this](HWND owner, char* address, size_t size) {
                                         return PickAddress(owner, address, size);
                                     }});
    PlugSignatureFiles(frame_->Plugs(), SignatureFilesData{catalog_.get(), installPath_});
    PlugMailRetrieval(frame_->Plugs(),
                      MailRetrievalContext{catalog_.get(), store_.Get(), installPath_,
                                           &transferMarks_, &frame_->SpecialFolders()});
    PlugMessageSearch(frame_->Plugs(),
                      MessageSearchData{catalog_.get(), store_.Get(), installPath_, nullptr});

    PlugComposers();
    PlugAddressing();
    PlugMailCheck();

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

// The composers open new messages, stored outgoing ones and (through the viewer's requests)
// replies; incoming messages go to the viewer.
void LorvexApp::PlugComposers() {
    ComposerContext context;
    context.installPath = installPath_;
    context.catalog = catalog_.get();
    context.conn = store_.Get();
    context.spell = &frame_->Spell();
    context.mailboxes = &mailboxes_;
    context.plugs = &frame_->Plugs();
    context.outFolder = [this] { return frame_->SpecialFolders().out; };
    context.trashFolder = [this] { return frame_->SpecialFolders().trashcan; };
    composers_.reset(new (std::nothrow) ComposerSet(context));
    ViewerLaunchContext viewer;
    viewer.installPath = installPath_;
    viewer.catalog = catalog_.get();
    viewer.conn = store_.Get();
    viewer.mutex = mutex_.Get();
    viewer.trashFolder = context.trashFolder;
    if (composers_) PlugComposer(frame_->Plugs(), *composers_, MakeViewerLaunch(viewer));
}

// Dialer Setup edits the automatic check's settings, which the check's mail run serves.
void LorvexApp::PlugMailCheck() {
    DialerSetupData setup;
    setup.catalog = catalog_.get();
    setup.installPath = installPath_;
    setup.mailboxes = &mailboxes_;
    setup.ras = &frame_->Ras().Entry();
    setup.settings = &dialer_;
    PlugDialerSetup(frame_->Plugs(), setup);
    AutoMailContext run;
    run.catalog = catalog_.get();
    run.conn = store_.Get();
    run.installPath = installPath_;
    run.marks = &transferMarks_;
    run.specialFolders = &frame_->SpecialFolders();
    run.mailboxes = &mailboxes_;
    run.dialer = &dialer_;
    run.log = &frame_->CheckLog();
    PlugAutoMailRun(frame_->Plugs(), run);
}

// The address book with its import dialogs, and the mailing lists.
void LorvexApp::PlugAddressing() {
    const auto font = [this](MessageFont which) { return MessageFontHandle(which); };
    AddressBookData book;
    book.catalog = catalog_.get();
    book.conn = store_.Get();
    book.installPath = installPath_;
    book.font = font;
    book.importAddresses = [this](HWND owner, int kind) {
        ImportAddressesData data;
        data.source = static_cast<ImportSourceKind>(kind);
        data.catalog = catalog_.get();
        data.conn = store_.Get();
        data.installPath = installPath_;
        ShowImportAddressesDialog(owner, &data);
    };
    book.importAscii = [this](HWND owner) {
        AsciiImportData data;
        data.catalog = catalog_.get();
        data.conn = store_.Get();
        data.installPath = installPath_;
        ShowAsciiImportDialog(owner, &data);
    };
    PlugAddressBook(frame_->Plugs(), book);
    PlugMailingLists(frame_->Plugs(),
                     MailingListData{catalog_.get(), store_.Get(), installPath_, font});
}

// "Select Address" for the filter rules: the chosen AddDest into the caller's buffer.
bool LorvexApp::PickAddress(HWND owner, char* address, size_t size) {
    SelectAddressData data;
    data.catalog = catalog_.get();
    data.conn = store_.Get();
    data.installPath = installPath_;
    if (ShowSelectAddressDialog(owner, &data) != IDOK || !address || size == 0) return false;
    std::snprintf(address, size, "%s", data.address.c_str());
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
    switch (store_.Open()) {
    case StoreConnection::Outcome::Connected: return true;
    case StoreConnection::Outcome::NotCreated:
        ui::CatalogAppBox(*catalog_, "NEWMAIL_CPP_2", MB_OK);
        return false;
    case StoreConnection::Outcome::Refused: break;
    }
    ui::CatalogAppBox(*catalog_, "NEWMAIL_CPP_3", MB_OK);
    return false;
}

bool LorvexApp::CreateMainFrame(int showState) {
    MainFrameContext context{installPath_, catalog_.get(), store_.Get(), &mailboxes_};
    context.dialer = &dialer_;
    context.transfers = &transferMarks_;
    frame_.reset(new (std::nothrow) CMainFrame(context));
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

long LorvexApp::InFolderNum() const {
    const long in = frame_ ? frame_->SpecialFolders().in : -1;
    return in >= 0 ? in : kUnknownFolderNum;
}

MailboxSetupContext LorvexApp::MailboxSetup() {
    return MailboxSetupContext{catalog_.get(), store_.Get(), installPath_, &mailboxes_,
                               [this] { return InFolderNum(); }};
}

// The mailbox list. Older mailbox files convert with the _IN folder the folder pane found; with
// no mailbox at all the set-up wizard runs over the main window. Filling the selector makes the
// chosen mailbox current in the registry and writes the list back.
void LorvexApp::LoadMailboxList() {
    MailboxLoadNote note;
    lx::LoadMailboxes(installPath_, static_cast<std::int32_t>(InFolderNum()), mailboxes_, &note);
    NoteOldMailboxFile(note);
    if (MailboxCount(mailboxes_) == 0) {
        // The wizard waits for the user: the splash, on top of everything, gives way.
        splash_.reset();
        RunFirstMailboxSetup(frame_->Handle(), MailboxSetup());
    }
    frame_->FillMailboxSelector(true);
    if (CurrentMailboxIndex(mailboxes_) < 0)
        LogIfNotSaved(SaveMailboxes(installPath_, mailboxes_), installPath_, catalog_.get(),
                      kMailboxFile);
}

// A converted mailbox file that could not be removed is named in the log, so that the user
// knows which file to clear away.
void LorvexApp::NoteOldMailboxFile(const MailboxLoadNote& note) {
    if (!catalog_ || note.fate == OldMailboxFile::None) return;
    if (note.fate == OldMailboxFile::RenamedAside)
        LogNotice(installPath_, *catalog_, kOldMailboxRenamed, {note.oldFile, note.keptAs});
    else
        LogNotice(installPath_, *catalog_, kOldMailboxLeft, {note.oldFile, note.oldFile});
}

void LorvexApp::PlaceMainFrame() {
    MainWindowPlacement placement;
    if (ReadMainWindowFile(installPath_, placement)) frame_->ApplyPlacement(placement);
}

void LorvexApp::ArmMailCheck() { frame_->RestartMailCheck(); }

// The worker gets its own copy of the folder and posts the fonts back: it never touches the
// application object, so it may even outlive exit's bounded wait harmlessly.
void LorvexApp::StartWorker() {
    fontReceiver_.Create();
    worker_ = StartStartupWorker(installPath_, fontReceiver_.Handle());
}

int LorvexApp::Run() {
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        HWND frame = frame_ ? frame_->Handle() : nullptr;
        // A composer's keys are its own (Ctrl+D there deletes no folder); its form is a child
        // dialog, so Tab and the mnemonics move between its controls.
        if (HWND form = ComposerFormOf(msg.hwnd)) {
            if (::IsDialogMessageA(form, &msg)) continue;
        } else if (frame && frame_->Accelerators() &&
                   ::TranslateAcceleratorA(frame, frame_->Accelerators(), &msg)) {
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int LorvexApp::ExitInstance() {
    // Fonts the worker is still making arrive by message: wait (bounded), then take what came.
    if (worker_.Valid()) ::WaitForSingleObject(worker_.Get(), kWorkerExitWaitMillis);
    worker_.Reset();
    fontReceiver_.Drain();
    fontReceiver_.Destroy();

    ui::SetCatalog(nullptr);
    if (catalog_) catalog_->Close();
    catalog_.reset();
    store_.Close(); // the connection, then the environment
    if (netStarted_) TERNEndWinSock();
    netStarted_ = false;
    mutex_.Reset();
    fonts_.reset();
    ui::SetMainWindow(nullptr);
    composers_.reset();
    frame_.reset();
    splash_.reset();
    return 0;
}

} // namespace lx
