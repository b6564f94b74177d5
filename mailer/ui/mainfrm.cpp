#include "mailer/ui/mainfrm.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/mainspli.h"
#include "mailer/ui/autocheck.h"
#include "common/win/handles.h"
#include "mailer/ui/logic/mailfold_rules.h"
#include "mailer/ui/mailmess.h"
#include "mailer/ui/aboutdlg.h"
#include "mailer/ui/viewlog.h"
#include "mailer/ui/store/mainfrm_store.h"
#include "mailer/res/resource.h"
#include "common/catalog/msgcatalog.h"
#include "common/schema/storeconnection.h"
#include "common/settings/mailbox_file.h"
#include "common/settings/registry_win32.h"
#include "common/win/settingsnotice.h"
#include "common/win/uiseam.h"
#include "odbcvant/odbcvant.h"

#include <commctrl.h>
#include <cstdio>
#include <cstring>
#include <new>

namespace lx {

namespace {

constexpr int kToolbarImages = 14;
constexpr int kSelectorSlot = 7; // slots count from 0
constexpr int kSelectorWidth = 128;
constexpr int kSelectorTop = 3;
constexpr int kSelectorBottom = 203;
constexpr int kCountPaneWidth = 112;
constexpr int kCountdownPaneWidth = 136;
constexpr int kUpAndRunningContext = 65;
constexpr size_t kLexiconListSize = 256;

// One toolbar slot: a command button (with its image), or a separator of a given width.
struct Slot {
    int id;    // 0 for a plain separator
    int image; // -1 for separators
    int width; // separators: pixels, 0 for the default
};
constexpr Slot kSlots[] = {
    {ID_FOLDER_NEW, 0, 0},
    {ID_FOLDER_DELETE, 1, 0},
    {0, -1, 0},
    {ID_MESSAGE_NEW, 2, 0},
    {ID_MESSAGE_DELETE, 3, 0},
    {ID_MESSAGE_SEARCH, 4, 0},
    {0, -1, 24},
    {IDC_MAILBOX_SELECTOR, -1, kSelectorWidth},
    {0, -1, 6},
    {ID_MAILBOX_SETUP, 5, 0},
    {ID_MAIL_SEND, 6, 0},
    {ID_MAIL_RETRIEVE, 7, 0},
    {0, -1, 0},
    {ID_ADDRESS_BOOK, 8, 0},
    {ID_MAILING_LISTS, 9, 0},
    {ID_SIGNATURE_FILE, 10, 0},
    {ID_DIALER_SETUP, 11, 0},
    {ID_FILTER_MANAGER, 12, 0},
    {0, -1, 0},
    {ID_APP_ABOUT, 13, 0},
    {0, -1, 0},
    {0, -1, 0},
};
static_assert(sizeof kSlots / sizeof kSlots[0] == 22, "the toolbar has 22 slots");

HFONT CreateTitleFont() {
    return ::CreateFontA(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial");
}

bool Visible(HWND wnd) { return wnd && (::GetWindowLongA(wnd, GWL_STYLE) & WS_VISIBLE); }

} // namespace

void ShowMessageCount(HWND wnd, long count) {
    HWND root = wnd ? ::GetAncestor(wnd, GA_ROOT) : nullptr;
    char cls[32] = "";
    if (!root || !::GetClassNameA(root, cls, sizeof cls) || std::strcmp(cls, kMainFrameClass) != 0)
        return;
    if (auto* frame = static_cast<CMainFrame*>(Window::FromHandle(root)))
        frame->SetMessageCount(count);
}

CMainFrame::CMainFrame(const MainFrameContext& context) : context_(context) {
    // The reader choices, and the lexicon of the stored dictionary for the spell checker.
    {
        Win32SettingsRegistry registry;
        choices_ = ReadReaderChoices(registry);
    }
    if (spell_.Load() && context_.catalog) {
        char files[kLexiconListSize] = "";
        context_.catalog->LookupInto(LexiconKeyFor(choices_.dictionary), files, sizeof files);
        spell_.SetMainLexFiles(files);
    }
    connection_ = context_.connection;
    if (!connection_) OpenOwnConnection();
    mailboxes_ = context_.mailboxes;
    if (!mailboxes_) {
        LoadMailboxes(context_.installPath ? context_.installPath : "", 0, ownMailboxes_);
        mailboxes_ = &ownMailboxes_;
    }
    ras_.Load(context_.rasLibrary);
    dialer_ = context_.dialer ? context_.dialer : &ownDialer_;
    AutoCheckContext check;
    check.catalog = context_.catalog;
    check.installPath = context_.installPath ? context_.installPath : "";
    check.ras = &ras_;
    check.settings = dialer_;
    check.transfers = context_.transfers;
    check.log = &checkLog_;
    check.waitMillis = context_.dialWaitMillis;
    check.show = [this](int seconds) { ShowCountdown(seconds); };
    autoCheck_.reset(new AutoCheck(std::move(check)));
    MapMessages();
    MapCommands();
}

CMainFrame::~CMainFrame() {
    // The panes use the store while they close: windows first, then the connection.
    Destroy();
    autoCheck_.reset();
    splitter_.reset();
    ownStore_.Close();
}

HFONT CMainFrame::TitleFont() const {
    return titleFont_ ? titleFont_.Get() : static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
}

void CMainFrame::OpenOwnConnection() {
    if (ownStore_.Open() == StoreConnection::Outcome::Connected) connection_ = ownStore_.Get();
}

void CMainFrame::MapMessages() {
    Map().On(WM_CREATE, [this](WPARAM, LPARAM) -> LRESULT { return OnCreate() ? 0 : -1; });
    Map().On(WM_SIZE, [this](WPARAM, LPARAM) -> LRESULT {
        Layout();
        return 0;
    });
    Map().On(WM_CLOSE, [this](WPARAM, LPARAM) -> LRESULT {
        OnClose();
        return 0;
    });
    Map().On(WM_DESTROY, [this](WPARAM, LPARAM) -> LRESULT {
        OnDestroy();
        return 0;
    });
    Map().On(WM_TIMER, [this](WPARAM id, LPARAM) -> LRESULT {
        if (id == IDT_MAILCHECK) autoCheck_->Tick();
        return 0;
    });
    Map().On(WM_LX_MAILRUN_DONE, [this](WPARAM wParam, LPARAM) -> LRESULT {
        if (wParam == kRestartCheckTimer)
            autoCheck_->Restart(false);
        else if (splitter_)
            splitter_->Run(PaneAction::RefreshIn);
        return 0;
    });
    Map().On(WM_LX_MAILRUN_NOW, [this](WPARAM, LPARAM) -> LRESULT {
        autoCheck_->RunNow([this] { plugs_.Run(kPlugAutoMailRun, Handle(), nullptr, nullptr); });
        return 0;
    });
    Map().On(WM_LX_COMMAND_LINE, [this](WPARAM, LPARAM lParam) -> LRESULT {
        if (!lParam) return 0;
        commandLine_ = reinterpret_cast<const char*>(lParam);
        if (splitter_) splitter_->NewComposer(commandLine_.c_str());
        return 0;
    });
    Map().On(WM_HELP, [this](WPARAM, LPARAM lParam) -> LRESULT {
        OnHelpInfo(reinterpret_cast<const HELPINFO*>(lParam));
        return TRUE;
    });
    Map().On(WM_INITMENUPOPUP, [this](WPARAM wParam, LPARAM) -> LRESULT {
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    });
    Map().On(WM_MENUSELECT, [this](WPARAM wParam, LPARAM lParam) -> LRESULT {
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    });
    Map().On(WM_NOTIFY, [this](WPARAM, LPARAM lParam) -> LRESULT {
        return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    });
}

void CMainFrame::Gated(void (CMainFrame::*body)()) {
    commands_.RunGated([this, body] { (this->*body)(); });
}

void CMainFrame::MapCommands() {
    auto gated = [this](int id, void (CMainFrame::*body)()) {
        Map().OnCommand(id, [this, body](int, HWND) { Gated(body); });
    };
    auto gatedDo = [this](int id, std::function<void()> body) {
        Map().OnCommand(id, [this, body](int, HWND) { commands_.RunGated(body); });
    };
    auto ungatedDo = [this](int id, std::function<void()> body) {
        Map().OnCommand(id, [this, body](int, HWND) { commands_.RunUngated(body); });
    };
    auto plugged = [this, gatedDo](int id) { gatedDo(id, [this, id] { RunPlugged(id); }); };
    // A pane action needs the panes; the message actions also a message in the list.
    auto paneDo = [this, gatedDo](int id, PaneAction action, bool needsMessages) {
        gatedDo(id, [this, action, needsMessages] {
            if (splitter_ && (!needsMessages || messageCount_ > 0)) splitter_->Run(action);
        });
    };

    // The folder commands from the menu, the toolbar and the accelerators take the same gate
    // as the folder pane's own keys and pop-up menu.
    paneDo(ID_FOLDER_NEW, PaneAction::NewFolder, false);
    paneDo(ID_FOLDER_DELETE, PaneAction::DeleteFolder, false);
    paneDo(ID_FOLDER_EDIT, PaneAction::EditFolder, false);
    gated(ID_FILE_PRINT_SETUP, &CMainFrame::OnPrintSetup);
    ungatedDo(ID_PRINT_FONTS, [this] { RunPlugged(ID_PRINT_FONTS); });
    paneDo(ID_MESSAGE_PRINT, PaneAction::PrintMessages, true);
    paneDo(ID_MESSAGE_READ, PaneAction::OpenMessage, true);
    paneDo(ID_MESSAGE_DELETE, PaneAction::DeleteMessages, true);
    paneDo(ID_MESSAGE_SEARCH, PaneAction::SearchMessages, false);
    gatedDo(ID_MESSAGE_NEW, [this] {
        if (splitter_) splitter_->NewComposer(nullptr);
    });
    Map().OnCommand(ID_APP_EXIT, [this](int, HWND) { ::PostMessageA(Handle(), WM_CLOSE, 0, 0); });
    gated(ID_MAIL_SEND, &CMainFrame::OnSendMail);
    gated(ID_MAIL_RETRIEVE, &CMainFrame::OnRetrieveMail);
    for (int id :
         {ID_MAIL_MERGE, ID_ADDRESS_BOOK, ID_MAILING_LISTS, ID_SIGNATURE_FILE, ID_FILTER_MANAGER})
        plugged(id);
    gated(ID_APP_ABOUT, &CMainFrame::OnAbout);
    gatedDo(ID_DIALER_SETUP, [this] {
        if (RunPlugged(ID_DIALER_SETUP)) RestartMailCheck();
    });
    gatedDo(ID_MAILBOX_SETUP, [this] {
        if (plugs_.IsPlugged(ID_MAILBOX_SETUP)) {
            RunPlugged(ID_MAILBOX_SETUP);
            FillMailboxSelector(false);
        }
    });
    gatedDo(ID_DICT_AMERICAN, [this] { ChangeDictionary(kDictionaryAmerican); });
    gatedDo(ID_DICT_BRITISH, [this] { ChangeDictionary(kDictionaryBritish); });
    gatedDo(ID_READER_SIMPLE, [this] { ChangeReaderType(kReaderSimple); });
    gatedDo(ID_READER_INTERNAL, [this] { ChangeReaderType(kReaderInternal); });
    gatedDo(ID_READER_IE3, [this] { ChangeReaderType(kReaderIe3); });
    ungatedDo(ID_VIEW_TOOLBAR, [this] { ToggleBar(toolbar_); });
    ungatedDo(ID_VIEW_STATUS_BAR, [this] { ToggleBar(statusBar_); });
    gated(ID_VIEW_LOGFILE, &CMainFrame::OnViewLog);
    const std::string installPath = context_.installPath ? context_.installPath : "";
    ungatedDo(ID_HELP_INDEX, [this, installPath] {
        ui::Help(Handle(), HelpFileSpec(installPath).c_str(), HELP_FINDER, 0);
    });
    ungatedDo(ID_HELP_UPRUNNING, [this, installPath] {
        ui::Help(Handle(), HelpFileSpec(installPath).c_str(), HELP_CONTEXT, kUpAndRunningContext);
    });
    ungatedDo(ID_HELP_USING, [this] { ui::Help(Handle(), nullptr, HELP_HELPONHELP, 0); });
    Map().OnCommand(IDC_MAILBOX_SELECTOR, [this](int code, HWND) {
        if (code == CBN_SELCHANGE) commands_.RunGated([this] { OnMailboxSelected(); });
    });
}

bool CMainFrame::CreateFrame() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    HICON icon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (!RegisterClass(kMainFrameClass, CS_DBLCLKS, icon,
                       reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return false;
    char title[64] = "";
    if (::LoadStringA(instance, IDR_MAINFRAME, title, sizeof title) <= 0) return false;
    // The window takes the menu over once it stands; until then a failed creation frees it.
    Menu menu = Menu::Load(IDR_MAINFRAME);
    accel_ = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (!Create(kMainFrameClass, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, CW_USEDEFAULT,
                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu.Get())) {
        // A window destroyed during creation may already have destroyed its menu.
        if (!::IsMenu(menu.Get())) menu.Release();
        return false;
    }
    menu.Release();
    FillMailboxSelector(false);
    // The panes open their queries once the window stands, and the count is shown.
    if (splitter_) splitter_->Run(PaneAction::OpenQueries);
    SetMessageCount(messageCount_);
    return true;
}

bool CMainFrame::OnCreate() {
    autoCheck_->Attach(Handle());
    titleFont_.Reset(CreateTitleFont());
    if (!CreateToolbar() || !CreateStatusBar()) return false;
    if (!CreateSplitter()) return false;
    // The status panes must exist before the first count arrives, whenever WM_SIZE comes.
    Layout();
    return true;
}

bool CMainFrame::CreateToolbar() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    toolbar_ = ::CreateWindowExA(
        0, TOOLBARCLASSNAMEA, "",
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | CCS_TOP | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT, 0, 0,
        0, 0, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDW_TOOLBAR)), instance,
        nullptr);
    if (!toolbar_) return false;
    ::SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageA(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(20, 20));
    ::SendMessageA(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(27, 26));
    TBADDBITMAP bitmap{instance, IDB_TOOLBAR};
    ::SendMessageA(toolbar_, TB_ADDBITMAP, kToolbarImages, reinterpret_cast<LPARAM>(&bitmap));
    TBBUTTON buttons[sizeof kSlots / sizeof kSlots[0]] = {};
    int count = 0;
    for (const Slot& slot : kSlots) {
        TBBUTTON& b = buttons[count++];
        b.idCommand = slot.id;
        b.fsState = TBSTATE_ENABLED;
        if (slot.image >= 0) {
            b.iBitmap = slot.image;
            b.fsStyle = TBSTYLE_BUTTON;
        } else {
            b.iBitmap = slot.width;
            b.fsStyle = TBSTYLE_SEP;
        }
    }
    ::SendMessageA(toolbar_, TB_ADDBUTTONSA, count, reinterpret_cast<LPARAM>(buttons));
    ::SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);

    RECT slot{};
    ::SendMessageA(toolbar_, TB_GETITEMRECT, kSelectorSlot, reinterpret_cast<LPARAM>(&slot));
    slot.top = kSelectorTop;
    slot.bottom = kSelectorBottom;
    selector_ = ::CreateWindowExA(
        0, "COMBOBOX", "",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_SORT |
            CBS_DISABLENOSCROLL,
        slot.left, slot.top, slot.right - slot.left, slot.bottom - slot.top, toolbar_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_MAILBOX_SELECTOR)), instance, nullptr);
    if (!selector_) return false;
    ::SendMessageA(selector_, WM_SETFONT, reinterpret_cast<WPARAM>(TitleFont()), TRUE);
    // The selector's tooltip comes from its prompt like the buttons'.
    if (HWND tips = reinterpret_cast<HWND>(::SendMessageA(toolbar_, TB_GETTOOLTIPS, 0, 0))) {
        TOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(selector_);
        tool.lpszText = LPSTR_TEXTCALLBACKA;
        ::SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return true;
}

bool CMainFrame::CreateStatusBar() {
    statusBar_ =
        ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0,
                          0, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDW_STATUSBAR)),
                          ::GetModuleHandleA(nullptr), nullptr);
    return statusBar_ != nullptr;
}

bool CMainFrame::CreateSplitter() {
    SplitterContext inputs;
    inputs.installPath = context_.installPath;
    inputs.catalog = context_.catalog;
    inputs.connection = connection_;
    inputs.mailboxes = mailboxes_;
    inputs.specialFolders = &specialFolders_;
    inputs.plugs = &plugs_;
    inputs.placement = placement_;
    splitter_.reset(new (std::nothrow) MailboxSplitter(inputs));
    if (!splitter_) {
        if (context_.catalog)
            ui::CatalogBox(Handle(), *context_.catalog, "MAINFRM_CPP_4", "MAINFRM_CPP_5",
                           MB_OK | MB_ICONSTOP);
        return false;
    }
    if (!splitter_->CreateSplitter(Handle(), IDW_SPLITTER)) {
        splitter_.reset();
        return false;
    }
    return true;
}

void CMainFrame::Layout() {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    int top = 0;
    int bottom = client.bottom;
    if (toolbar_) {
        ::SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
        if (Visible(toolbar_)) {
            RECT r{};
            ::GetWindowRect(toolbar_, &r);
            top = r.bottom - r.top;
        }
    }
    if (statusBar_) {
        ::SendMessageA(statusBar_, WM_SIZE, 0, 0);
        const int width = client.right;
        int edges[3] = {width - kCountPaneWidth - kCountdownPaneWidth, width - kCountdownPaneWidth,
                        -1};
        if (edges[0] < 0) edges[0] = 0;
        if (edges[1] < edges[0]) edges[1] = edges[0];
        ::SendMessageA(statusBar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
        if (Visible(statusBar_)) {
            RECT r{};
            ::GetWindowRect(statusBar_, &r);
            bottom -= r.bottom - r.top;
        }
    }
    if (splitter_ && splitter_->Handle())
        ::MoveWindow(splitter_->Handle(), 0, top, client.right, bottom > top ? bottom - top : 0,
                     TRUE);
}

void CMainFrame::ToggleBar(HWND bar) {
    if (!bar) return;
    ::ShowWindow(bar, Visible(bar) ? SW_HIDE : SW_SHOW);
    Layout();
}

void CMainFrame::ApplyPlacement(const MainWindowPlacement& placement) {
    placement_ = placement;
    if (splitter_) splitter_->SetPlacement(placement);
    if (IsMaximisedPlacement(placement.frame)) {
        ::ShowWindow(Handle(), SW_MAXIMIZE);
        return;
    }
    const Rect32& r = placement.frame;
    ::MoveWindow(Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    ::UpdateWindow(Handle());
}

void CMainFrame::ArmMailCheck(int intervalSeconds) {
    dialer_->checkInterval = intervalSeconds;
    dialer_->checkCountdown = intervalSeconds;
    RestartMailCheck();
}

void CMainFrame::RestartMailCheck() { autoCheck_->Restart(true); }

void CMainFrame::ShowCountdown(int seconds) {
    if (!statusBar_ || !context_.catalog) return;
    char text[128] = "";
    context_.catalog->LookupInto(CountdownKey(seconds), text, sizeof text);
    SetCountdownText(CountdownText(seconds, text).c_str());
}

void CMainFrame::SetMessageCount(long count) {
    messageCount_ = count;
    if (statusBar_)
        ::SendMessageA(statusBar_, SB_SETTEXTA, 1,
                       reinterpret_cast<LPARAM>(MessageCountText(count).c_str()));
    if (toolbar_)
        ::SendMessageA(toolbar_, TB_ENABLEBUTTON, ID_MESSAGE_DELETE, MAKELPARAM(count > 0, 0));
}

void CMainFrame::SetCountdownText(const char* text) {
    if (statusBar_)
        ::SendMessageA(statusBar_, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>(text ? text : ""));
}

void CMainFrame::FillMailboxSelector(bool save) {
    if (!selector_) return;
    ::SendMessageA(selector_, CB_RESETCONTENT, 0, 0);
    const int count = MailboxCount(*mailboxes_);
    for (int i = 0; i < count; ++i)
        ::SendMessageA(selector_, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(mailboxes_->records[i].name));
    const int current = SelectorMailboxIndex(*mailboxes_);
    if (current < 0) return;
    ::SendMessageA(selector_, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(mailboxes_->records[current].name));
    Win32SettingsRegistry registry;
    const std::string folder = context_.installPath ? context_.installPath : "";
    LogIfNotSaved(MakeCurrent(*mailboxes_, current, registry), folder, context_.catalog,
                  kRegistrySettingsName);
    if (save)
        LogIfNotSaved(SaveMailboxes(folder, *mailboxes_), folder, context_.catalog, kMailboxFile);
}

void CMainFrame::OnMailboxSelected() {
    const LRESULT index = ::SendMessageA(selector_, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    char name[64] = "";
    const LRESULT length = ::SendMessageA(selector_, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR || length >= static_cast<LRESULT>(sizeof name)) return;
    ::SendMessageA(selector_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(name));
    Win32SettingsRegistry registry;
    bool mirrored = true;
    if (SwitchMailbox(*mailboxes_, name, registry, &mirrored)) {
        ReportIfNotSaved(mirrored, Handle(), context_.catalog, kRegistrySettingsName);
        ReportIfNotSaved(
            SaveMailboxes(context_.installPath ? context_.installPath : "", *mailboxes_), Handle(),
            context_.catalog, kMailboxFile);
    }
}

void CMainFrame::ChangeDictionary(int dictionary) {
    char files[kLexiconListSize] = "";
    if (context_.catalog)
        context_.catalog->LookupInto(LexiconKeyFor(dictionary), files, sizeof files);
    if (spell_.SetMainLexFiles(files) == SSCED_ERR_NO_LEXICON) {
        if (context_.catalog)
            ui::CatalogBox(Handle(), *context_.catalog, "MAINFRM_CPP_11", "MAINFRM_CPP_12",
                           MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    choices_.dictionary = dictionary;
    Win32SettingsRegistry registry;
    ReportIfNotSaved(WriteReaderChoices(registry, choices_), Handle(), context_.catalog,
                     kRegistrySettingsName);
}

void CMainFrame::ChangeReaderType(int readerType) {
    choices_.readerType = readerType;
    Win32SettingsRegistry registry;
    ReportIfNotSaved(WriteReaderChoices(registry, choices_), Handle(), context_.catalog,
                     kRegistrySettingsName);
}

void CMainFrame::OnClose() {
    // Messages waiting in _OUT, whose number the folder pane found when it filled.
    if (CountFolderMessages(connection_, specialFolders_.out, Handle()) > 0 && context_.catalog) {
        const int answer = ui::CatalogBox(Handle(), *context_.catalog, "MAINFRM_CPP_13",
                                          "MAINFRM_CPP_14", MB_YESNO | MB_ICONSTOP);
        if (answer != IDNO) {
            Gated(&CMainFrame::OnSendMail);
            return;
        }
    }
    ::DestroyWindow(Handle());
}

void CMainFrame::OnDestroy() {
    autoCheck_->Stop();
    if (checkLog_.IsOpen() && context_.catalog)
        checkLog_.CloseAtExit(*context_.catalog, LocalTimeNow());
    ::PostQuitMessage(0);
}

void CMainFrame::OnHelpInfo(const HELPINFO* info) {
    if (!info || info->iCtrlId == 0) return;
    const std::string file = HelpFileSpec(context_.installPath ? context_.installPath : "");
    ui::Help(Handle(), file.c_str(), HELP_CONTEXT,
             static_cast<ULONG_PTR>(HelpContextFor(info->iCtrlId)));
}

void CMainFrame::OnInitMenuPopup(HMENU menu) {
    auto check = [menu](UINT id, bool on) {
        ::CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    };
    auto enable = [menu](UINT id, bool on) {
        ::EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    check(ID_DICT_AMERICAN, choices_.dictionary != 0);
    check(ID_DICT_BRITISH, choices_.dictionary == 0);
    check(ID_READER_SIMPLE, choices_.readerType == kReaderSimple);
    check(ID_READER_INTERNAL, choices_.readerType == kReaderInternal);
    check(ID_READER_IE3, choices_.readerType == kReaderIe3);
    check(ID_VIEW_TOOLBAR, Visible(toolbar_));
    check(ID_VIEW_STATUS_BAR, Visible(statusBar_));
    const bool hasMessages = messageCount_ > 0;
    enable(ID_MESSAGE_PRINT, hasMessages);
    enable(ID_MESSAGE_READ, hasMessages);
    enable(ID_MESSAGE_DELETE, hasMessages);
}

std::string CMainFrame::PromptOf(UINT id, bool tooltip) const {
    char text[256] = "";
    if (::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text) <= 0) return "";
    const char* cut = std::strchr(text, '\n');
    if (!tooltip)
        return cut ? std::string(text, static_cast<size_t>(cut - text)) : std::string(text);
    return cut ? std::string(cut + 1) : std::string();
}

void CMainFrame::ShowPrompt(const std::string& text) {
    if (statusBar_)
        ::SendMessageA(statusBar_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CMainFrame::OnMenuSelect(UINT id, UINT flags, HMENU menu) {
    if ((flags == 0xFFFF && !menu) || (flags & (MF_POPUP | MF_SEPARATOR))) {
        ShowPrompt("");
        return;
    }
    ShowPrompt(PromptOf(id, false));
}

LRESULT CMainFrame::OnNotify(const NMHDR* header) {
    if (!header) return 0;
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = const_cast<NMTTDISPINFOA*>(reinterpret_cast<const NMTTDISPINFOA*>(header));
        UINT id = static_cast<UINT>(header->idFrom);
        if (info->uFlags & TTF_IDISHWND)
            id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)));
        std::snprintf(tip_, sizeof tip_, "%s", PromptOf(id, true).c_str());
        info->lpszText = tip_;
        info->hinst = nullptr;
        return 0;
    }
    if (header->code == TBN_HOTITEMCHANGE && header->hwndFrom == toolbar_) {
        const auto* hot = reinterpret_cast<const NMTBHOTITEM*>(header);
        ShowPrompt((hot->dwFlags & HICF_LEAVING) ? std::string() : PromptOf(hot->idNew, false));
    }
    return 0;
}

bool CMainFrame::RunPlugged(int id, const char* argument) {
    int result = IDCANCEL;
    if (!plugs_.Run(id, Handle(), argument, &result)) return false;
    return result == IDOK;
}

void CMainFrame::OnSendMail() {
    if (!plugs_.IsPlugged(ID_MAIL_SEND)) return;
    RunPlugged(ID_MAIL_SEND);
    if (splitter_) splitter_->Run(PaneAction::ReloadMessages);
}

void CMainFrame::OnRetrieveMail() {
    if (!plugs_.IsPlugged(ID_MAIL_RETRIEVE)) return;
    RunPlugged(ID_MAIL_RETRIEVE);
    if (splitter_) splitter_->Run(PaneAction::RefreshIn);
}

void CMainFrame::OnPrintSetup() { printer_.RunSetup(Handle()); }

void CMainFrame::OnAbout() {
    AboutData data{context_.catalog};
    ShowAboutDialog(Handle(), &data);
}

void CMainFrame::OnViewLog() {
    ViewLogData data{context_.installPath, context_.catalog, false};
    ShowViewLogDialog(Handle(), &data);
}

} // namespace lx
