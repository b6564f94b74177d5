#include "viewer/mainfrm.h"

#include <commctrl.h>

#include <new>

#include "common/catalog/msgcatalog.h"
#include "common/settings/install_path.h"
#include "common/settings/registry_win32.h"
#include "common/settings/settings_registry.h"
#include "common/settings/win32_forms.h"
#include "common/settings/window_file.h"
#include "common/win/uiseam.h"
#include "viewer/core/viewertexts.h"
#include "viewer/res/resource.h"
#include "viewer/win/urlwindow.h"

namespace lx::viewer {

namespace {

// The WebBrowser control is sent home a second time this long after the page is ready.
constexpr UINT_PTR kSecondHomeTimer = 1;
constexpr UINT kSecondHomeMillis = 50;
constexpr int kToolbarGlyphWidth = 16;
constexpr int kToolbarGlyphHeight = 15;

// Toolbar buttons by glyph in the toolbar bitmap; 0 separates groups.
constexpr int kToolbarCommands[] = {ID_ACTION_REPLY,
                                    ID_ACTION_DELETE,
                                    ID_ACTION_FILE,
                                    ID_ACTION_ADDRESSES,
                                    0,
                                    ID_FILE_PRINT,
                                    0,
                                    ID_VIEW_BACK,
                                    ID_VIEW_FORWARD,
                                    ID_VIEW_STOP,
                                    ID_VIEW_RELOAD,
                                    ID_VIEW_HOME};

// A menu item's text as a tool tip: without its mnemonic, accelerator and trailing dots.
std::string TipFromMenu(HMENU menu, int id) {
    char text[128] = "";
    ::GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    std::string tip;
    for (const char* p = text; *p && *p != '\t'; ++p)
        if (*p != '&') tip += *p;
    while (!tip.empty() && (tip.back() == '.' || tip.back() == ' ')) tip.pop_back();
    return tip;
}

} // namespace

ViewerFrame::ViewerFrame(FrameSettings settings)
    : settings_(std::move(settings)), catalog_(*settings_.catalog) {
    MapCommands();
}

ViewerFrame::~ViewerFrame() {
    ReleaseSharedMutex();
    if (job_) job_->handover.Abandon();
    if (writer_.joinable()) writer_.join();
    // A loader still in the store keeps its own share of the job and ends by itself.
    if (loader_.joinable()) loader_.detach();
}

int ViewerFrame::ReadReaderType() const {
    Win32SettingsRegistry registry;
    const std::int32_t value = ReadDwordOr(registry, kRegReaderType, 1) & 0xFFFF;
    return value == 2 || value == 3 ? value : 1;
}

bool ViewerFrame::Create(int showState) {
    readerType_ = ReadReaderType();
    const ViewerCommandLine& line = settings_.commandLine;
    messageMode_ = IsMessageMode(line);
    // In browse mode the wait page stays the browser's home (see CreatePresentation).
    if (messageMode_) {
        try {
            job_ = std::make_shared<MessageJob>();
            job_->mesgNum = line.mesgNum;
            job_->bufferSize = static_cast<std::size_t>(line.mesgSize);
            job_->installFolder = settings_.installFolder;
            job_->loadTexts = {StoreUnreachableText(catalog_), MessageUnreadableText(catalog_)};
            job_->pageTexts = PageTextsFrom(catalog_);
            job_->stageDelayMillis = settings_.stageDelayMillis;
        } catch (const std::bad_alloc&) {
            job_.reset(); // no message is loaded, but the window still opens
        }
    }

    if (!RegisterClass(kViewerFrameClass, CS_HREDRAW | CS_VREDRAW,
                       ::LoadIconA(nullptr, IDI_APPLICATION),
                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)))
        return false;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    Rect32 stored;
    if (ReadWindowRectFile(settings_.installFolder, kViewerWindowFile, stored) &&
        stored.right > stored.left && stored.bottom > stored.top) {
        x = stored.left;
        y = stored.top;
        width = stored.right - stored.left;
        height = stored.bottom - stored.top;
    }
    char title[64] = "Lorvex Viewer";
    ::LoadStringA(::GetModuleHandleA(nullptr), IDR_MAINFRAME, title, sizeof title);
    Menu menu = Menu::Load(IDR_MAINFRAME);
    if (!Window::Create(kViewerFrameClass, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, x, y,
                        width, height, nullptr, menu.Get()))
        return false;
    menu.Release(); // the window's now
    accelerators_ =
        ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ui::SetMainWindow(Handle());

    CreateBars();
    CreatePresentation();
    StartWorkers();
    Layout();
    UpdateCommands();
    ::ShowWindow(Handle(), showState);
    ::UpdateWindow(Handle());
    return true;
}

void ViewerFrame::CreateBars() {
    TBBUTTON buttons[sizeof kToolbarCommands / sizeof kToolbarCommands[0]] = {};
    int glyph = 0;
    for (std::size_t i = 0; i < sizeof kToolbarCommands / sizeof kToolbarCommands[0]; ++i) {
        TBBUTTON& b = buttons[i];
        b.idCommand = kToolbarCommands[i];
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = b.idCommand ? TBSTYLE_BUTTON : TBSTYLE_SEP;
        b.iBitmap = b.idCommand ? glyph++ : 0;
    }
    toolbar_ = ::CreateToolbarEx(Handle(), WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_TOP,
                                 IDC_TOOLBAR, glyph, ::GetModuleHandleA(nullptr), IDR_MAINFRAME,
                                 buttons, static_cast<int>(sizeof buttons / sizeof buttons[0]),
                                 kToolbarGlyphWidth, kToolbarGlyphHeight, kToolbarGlyphWidth,
                                 kToolbarGlyphHeight, sizeof(TBBUTTON));
    status_ =
        ::CreateStatusWindowA(WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, "", Handle(), IDC_STATUSBAR);
}

void ViewerFrame::CreatePresentation() {
    if (readerType_ > 1) {
        BrowserEvents events;
        events.beforeNavigate = [this](const std::string& url) { return OnBeforeNavigate(url); };
        events.downloadBegin = [this] {
            nav_.DownloadBegin();
            UpdateCommands();
        };
        events.downloadComplete = [this] {
            nav_.DownloadComplete(browser_ ? browser_->LocationUrl() : std::string());
            UpdateCommands();
        };
        events.commandStateChange = [this](int command, bool enable) {
            nav_.CommandStateChange(command, enable);
            UpdateCommands();
        };
        events.statusText = [this](const std::string& text) { ShowStatusText(text); };
        browser_ = CreateBrowserHost(Handle(), readerType_, std::move(events));
    }
    if (browser_) {
        nav_ =
            NavigationState(readerType_ == 3 ? BrowserKind::WebBrowser : BrowserKind::HtmlControl,
                            settings_.commandLine.waitPage);
        urlWindow_ = CreateUrlWindow(Handle());
        browser_->Navigate(nav_.HomeTarget());
        return;
    }
    // No control (or none asked for): the simple view, silently.
    simpleView_ = std::make_unique<SimpleView>(catalog_, settings_.installFolder);
    if (!simpleView_->Create(Handle())) simpleView_.reset();
    // Without a message (browse mode) nothing is coming: the view stays empty.
    if (simpleView_ && !job_) simpleView_->Show(SimpleViewTexts{});
}

void ViewerFrame::StartWorkers() {
    if (!job_) return;
    loader_ = StartLoader(job_, Handle());
    // The page is written whenever a browser control was asked for: it is what that control (or,
    // after a fall-back, printing of the browser's page) shows.
    if (readerType_ > 1) writer_ = StartPageWriter(job_, Handle(), messageMode_);
}

void ViewerFrame::Layout() {
    RECT area;
    ::GetClientRect(Handle(), &area);
    if (toolbar_ && ::IsWindowVisible(toolbar_)) {
        ::SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
        RECT r;
        ::GetWindowRect(toolbar_, &r);
        area.top += r.bottom - r.top;
    }
    if (status_ && ::IsWindowVisible(status_)) {
        ::SendMessageA(status_, WM_SIZE, 0, 0);
        RECT r;
        ::GetWindowRect(status_, &r);
        area.bottom -= r.bottom - r.top;
    }
    // The URL window sits between the toolbar and the browser, across the frame's width.
    if (urlWindow_ && ::IsWindowVisible(urlWindow_))
        area.top += PlaceUrlWindow(urlWindow_, area.top, area.right - area.left);
    if (area.bottom < area.top) area.bottom = area.top;
    if (browser_) browser_->Move(area);
    if (simpleView_) simpleView_->Move(area);
}

void ViewerFrame::ReleaseSharedMutex() {
    if (!settings_.sharedMutex) return;
    ::ReleaseMutex(settings_.sharedMutex.Get());
    settings_.sharedMutex.Reset();
}

ViewerState ViewerFrame::State() const {
    ViewerState s;
    s.messageMode = messageMode_;
    s.messageLoaded = loaded_;
    s.storeOpen = loaded_ && job_ && job_->store.Get();
    s.nav = nav_;
    return s;
}

void ViewerFrame::UpdateCommands() {
    const CommandStates c = EnabledCommands(State());
    const std::pair<int, bool> states[] = {{ID_ACTION_ADDRESSES, c.addresses},
                                           {ID_ACTION_REPLY, c.reply},
                                           {ID_ACTION_DELETE, c.remove},
                                           {ID_ACTION_FILE, c.file},
                                           {ID_FAVORITE_OPEN, c.favorites},
                                           {ID_FAVORITE_ADD, c.favorites},
                                           {ID_VIEW_HOME, c.home},
                                           {ID_VIEW_FORWARD, c.forward},
                                           {ID_VIEW_BACK, c.back},
                                           {ID_VIEW_STOP, c.stop},
                                           {ID_VIEW_RELOAD, c.reload},
                                           {ID_VIEW_URLWINDOW, browser_ != nullptr}};
    HMENU menu = ::GetMenu(Handle());
    for (const auto& [id, enabled] : states) {
        if (menu) ::EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        if (toolbar_) ::SendMessageA(toolbar_, TB_ENABLEBUTTON, id, MAKELONG(enabled, 0));
    }
    if (menu) {
        ::CheckMenuItem(menu, ID_VIEW_TOOLBAR,
                        MF_BYCOMMAND | (::IsWindowVisible(toolbar_) ? MF_CHECKED : MF_UNCHECKED));
        ::CheckMenuItem(menu, ID_VIEW_STATUS_BAR,
                        MF_BYCOMMAND | (::IsWindowVisible(status_) ? MF_CHECKED : MF_UNCHECKED));
        const bool urlShown = urlWindow_ && ::IsWindowVisible(urlWindow_);
        ::CheckMenuItem(menu, ID_VIEW_URLWINDOW,
                        MF_BYCOMMAND | (urlShown ? MF_CHECKED : MF_UNCHECKED));
    }
}

bool ViewerFrame::TranslateKey(MSG* msg) {
    if (accelerators_ && ::TranslateAcceleratorA(Handle(), accelerators_, msg)) return true;
    // Enter in the URL window presses "Go", Tab moves between its controls.
    if (urlWindow_ && ::IsWindowVisible(urlWindow_) && ::IsDialogMessageA(urlWindow_, msg))
        return true;
    return browser_ && browser_->TranslateKey(msg);
}

void ViewerFrame::MapCommands() {
    MessageMap& m = Map();
    m.On(WM_SIZE, [this](WPARAM, LPARAM) -> LRESULT {
        Layout();
        return 0;
    });
    m.On(WM_LXV_LOADED, [this](WPARAM, LPARAM) -> LRESULT {
        OnLoaded();
        return 0;
    });
    m.On(WM_LXV_PAGE_READY, [this](WPARAM, LPARAM) -> LRESULT {
        OnPageReady();
        return 0;
    });
    m.On(WM_LXV_OPEN_ATTACHMENT, [this](WPARAM, LPARAM index) -> LRESULT {
        OpenAttachment(static_cast<int>(index));
        return 0;
    });
    static_assert(WM_LXV_NAVIGATE == kNavigateToUrl, "the URL window and the frame agree");
    m.On(WM_LXV_NAVIGATE, [this](WPARAM, LPARAM url) -> LRESULT {
        NavigateTo(reinterpret_cast<const char*>(url));
        return 0;
    });
    m.On(WM_TIMER, [this](WPARAM id, LPARAM) -> LRESULT {
        ::KillTimer(Handle(), id);
        if (id == kSecondHomeTimer) GoHome();
        return 0;
    });
    m.On(WM_INITMENUPOPUP, [this](WPARAM, LPARAM) -> LRESULT {
        UpdateCommands();
        return 0;
    });
    m.On(WM_NOTIFY, [this](WPARAM, LPARAM lParam) { return OnNotify(lParam); });
    m.On(WM_CLOSE, [this](WPARAM, LPARAM) -> LRESULT {
        OnClose();
        return 0;
    });
    m.On(WM_DESTROY, [](WPARAM, LPARAM) -> LRESULT {
        ::PostQuitMessage(0);
        return 0;
    });
    m.OnCommand(ID_APP_EXIT, [this](int, HWND) { ::PostMessageA(Handle(), WM_CLOSE, 0, 0); });
    m.OnCommand(ID_ACTION_ADDRESSES, [this](int, HWND) { OnAddresses(); });
    m.OnCommand(ID_ACTION_REPLY, [this](int, HWND) { OnReply(); });
    m.OnCommand(ID_ACTION_DELETE, [this](int, HWND) { OnDelete(); });
    m.OnCommand(ID_ACTION_FILE, [this](int, HWND) { OnFile(); });
    m.OnCommand(ID_FAVORITE_OPEN, [this](int, HWND) { OnOpenFavorite(); });
    m.OnCommand(ID_FAVORITE_ADD, [this](int, HWND) { OnAddFavorite(); });
    m.OnCommand(ID_FILE_PRINT_SETUP, [this](int, HWND) { OnPrintSetup(); });
    m.OnCommand(ID_FILE_PRINT, [this](int, HWND) { OnPrint(); });
    m.OnCommand(ID_HELP_USING, [this](int, HWND) { OnHelp(); });
    const std::pair<int, NavCommand> browsing[] = {{ID_VIEW_HOME, NavCommand::Home},
                                                   {ID_VIEW_FORWARD, NavCommand::Forward},
                                                   {ID_VIEW_BACK, NavCommand::Back},
                                                   {ID_VIEW_STOP, NavCommand::StopLoad},
                                                   {ID_VIEW_RELOAD, NavCommand::Reload}};
    for (const auto& [id, command] : browsing)
        m.OnCommand(id, [this, command = command](int, HWND) { Browse(command); });
    auto toggle = [this](int id, HWND* bar) {
        Map().OnCommand(id, [this, bar](int, HWND) {
            ::ShowWindow(*bar, ::IsWindowVisible(*bar) ? SW_HIDE : SW_SHOW);
            Layout();
            UpdateCommands();
        });
    };
    toggle(ID_VIEW_TOOLBAR, &toolbar_);
    toggle(ID_VIEW_STATUS_BAR, &status_);
    m.OnCommand(ID_VIEW_URLWINDOW, [this](int, HWND) {
        if (!urlWindow_) return;
        ShowUrlWindow(urlWindow_, !::IsWindowVisible(urlWindow_));
        Layout();
        UpdateCommands();
    });
}

LRESULT ViewerFrame::OnNotify(LPARAM lParam) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header && header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        const std::string tip = TipFromMenu(::GetMenu(Handle()), static_cast<int>(header->idFrom));
        std::snprintf(info->szText, sizeof info->szText, "%s", tip.c_str());
    }
    return 0;
}

void ViewerFrame::OnLoaded() {
    // The main program waits for this before it goes on.
    ReleaseSharedMutex();
    if (loader_.joinable()) loader_.join();
    loaded_ = true;
    if (job_ && HasLoadError(job_->data.record)) messageMode_ = false;
    if (simpleView_ && job_) {
        const MessageData& m = job_->data;
        simpleView_->Show(MakeSimpleViewTexts(m.record, job_->bufferSize, m.to, m.cc, m.attachments,
                                              SimpleViewLabelsFrom(catalog_),
                                              PageTextsFrom(catalog_).months));
    }
    UpdateCommands();
}

void ViewerFrame::OnPageReady() {
    if (writer_.joinable()) writer_.join();
    if (!job_) return;
    std::string page;
    PageOutcome outcome;
    {
        std::lock_guard<std::mutex> guard(job_->pageLock);
        page = job_->pagePath;
        outcome = job_->pageOutcome;
    }
    const bool made =
        !page.empty() && (outcome == PageOutcome::Written || outcome == PageOutcome::ErrorPage);
    if (!browser_) return; // the simple view shows the message without the page
    if (!made) {
        messageMode_ = false;
        const std::string text = CatalogText(&catalog_, "MAINFRM_CPP_13");
        ui::MessageBox(Handle(), text.c_str(), ui::AppTitle(), MB_OK | MB_ICONEXCLAMATION);
        UpdateCommands();
        return;
    }
    if (outcome == PageOutcome::ErrorPage) messageMode_ = false;
    nav_.SetHomePage(page);
    GoHome();
    if (IsWebBrowser()) ::SetTimer(Handle(), kSecondHomeTimer, kSecondHomeMillis, nullptr);
}

void ViewerFrame::GoHome() {
    if (!browser_) return;
    if (browser_->Busy()) browser_->Stop();
    nav_.Home();
    UpdateCommands();
    browser_->Navigate(nav_.HomeTarget());
}

void ViewerFrame::Browse(NavCommand command) {
    if (!browser_ || !nav_.Enabled(command)) return;
    if (command == NavCommand::Home) return GoHome();
    if (command == NavCommand::StopLoad) {
        browser_->Stop();
        nav_.StopLoad();
        UpdateCommands();
        return;
    }
    // A load still running is stopped before the control goes elsewhere.
    if (browser_->Busy()) browser_->Stop();
    switch (command) {
    case NavCommand::Forward: nav_.Forward(); break;
    case NavCommand::Back: nav_.Back(); break;
    default: nav_.Reload(); break;
    }
    UpdateCommands(); // the buttons change before the control starts
    if (command == NavCommand::Forward)
        browser_->GoForward();
    else if (command == NavCommand::Back)
        browser_->GoBack();
    else
        browser_->Refresh();
}

void ViewerFrame::NavigateTo(const char* url) {
    if (!browser_ || !url || !*url) return;
    if (browser_->Busy()) browser_->Stop();
    browser_->Navigate(url);
}

void ViewerFrame::ShowStatusText(const std::string& text) {
    const std::string shown = StatusBarText(text, browser_ ? browser_->LocationUrl() : "");
    ::SendMessageA(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(shown.c_str()));
}

void ViewerFrame::OnClose() {
    if (job_) {
        job_->handover.Abandon();
        if (writer_.joinable()) writer_.join();
        std::lock_guard<std::mutex> guard(job_->pageLock);
        if (!job_->pagePath.empty()) ::DeleteFileA(job_->pagePath.c_str());
        if (!job_->bodyFilePath.empty()) ::DeleteFileA(job_->bodyFilePath.c_str());
    }
    if (browser_ && browser_->Busy()) browser_->Stop();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    RECT r{};
    // A minimised window's rectangle is off the screen: its normal place is kept instead.
    if (::IsIconic(Handle()) && ::GetWindowPlacement(Handle(), &placement))
        r = placement.rcNormalPosition;
    else
        ::GetWindowRect(Handle(), &r);
    WriteWindowRectFile(settings_.installFolder, kViewerWindowFile, FromRect(r));
    ReleaseSharedMutex();
    Destroy();
}

} // namespace lx::viewer
