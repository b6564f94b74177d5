#include "mailer/ui/mailmess.h"

#include "common/win/handles.h"
#include "common/catalog/msgcatalog.h"
#include "common/win/bitmaps.h"
#include "common/settings/font_desc.h"
#include "common/settings/install_path.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/ui/logic/cmdgate.h"

#include <commctrl.h>
#include <cstdio>
#include <algorithm>
#include <cstring>

namespace lx {

namespace {

constexpr char kClassName[] = "LxMessageList";

bool KeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

} // namespace

std::string MessageCountText(long count) {
    char text[40];
    std::snprintf(text, sizeof text, "Messages : %d", static_cast<int>(count < 0 ? 0 : count));
    return text;
}

MessageListPane::MessageListPane(const PaneContext& context) : context_(context) {
    if (!context_.specialFolders) context_.specialFolders = &ownSpecialFolders_;
    Map().On(WM_LX_MESSAGE_CHANGED, [this](WPARAM, LPARAM) -> LRESULT {
        Reload();
        return 0;
    });
    MapViewerRequests();
}

// The windows go while the whole pane still stands: the list's last messages reach its handlers.
MessageListPane::~MessageListPane() {
    StopViewerRequests();
    Destroy();
}

void MessageListPane::StopViewerRequests() {
    closing_ = true;
    requests_.Stop();
}

std::string MessageListPane::Text(const char* key) const {
    return CatalogText(context_.catalog, key);
}

bool MessageListPane::Create(HWND parent, int id) {
    const HINSTANCE module = ::GetModuleHandleA(nullptr);
    const int ids[4] = {IDB_MESG_NEW_FILES, IDB_MESG_NEW, IDB_MESG_FILES, IDB_MESG_READ};
    for (int i = 0; i < 4; ++i) icons_[i] = LoadBitmapResource(ids[i]);
    noDrop_ = ::LoadCursorA(module, MAKEINTRESOURCEA(IDC_DRAG_NONE));
    drop_ = ::LoadCursorA(module, MAKEINTRESOURCEA(IDC_DRAG_FOLDER));
    months_ = MonthNames([this](const char* key) { return Text(key); });
    if (!CreatePane(parent, kClassName, LBS_EXTENDEDSEL | LBS_NODATA, id)) return false;
    ::SetWindowContextHelpId(List(), kContextHelpId);
    LoadFont(context_.installPath, kMessageListFontFile);
    store_ = std::make_unique<MessageListStore>(context_.conn, Handle());
    LoadFolder(context_.specialFolders->in);
    // Without the mailslot the viewers' requests fail on their side; the list works on.
    requests_.Start(Handle());
    return true;
}

void MessageListPane::LoadFolder(long folderNum) {
    folder_ = folderNum;
    Reload();
}

void MessageListPane::ShowLine(const char* key) { placeholder_ = PlaceholderRowText(Text(key)); }

std::string MessageListPane::RowText(int index) const {
    if (rows_.empty()) return index == 0 ? placeholder_ : std::string();
    return index >= 0 && index < static_cast<int>(rows_.size())
               ? rows_[static_cast<size_t>(index)].text
               : std::string();
}

void MessageListPane::Reload() {
    HWND list = List();
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    rows_.clear();
    placeholder_.clear();
    ClearDropTarget();
    if (!store_ || !store_->Ready()) {
        count_ = -1;
        ShowLine("MAILMESS_CPP_17");
    } else {
        switch (store_->Load(folder_, months_, rows_, count_)) {
        case MessageListStore::Outcome::QueryFailed: ShowLine("MAILMESS_CPP_19"); break;
        case MessageListStore::Outcome::CountFailed: ShowLine("MAILMESS_CPP_17"); break;
        case MessageListStore::Outcome::Listed:
            if (rows_.empty()) ShowLine("MAILMESS_CPP_18");
            break;
        }
    }
    // The list keeps no strings of its own: it draws from rows_, so a fill of thousands of
    // messages costs one call.
    ::SendMessageA(list, LB_SETCOUNT, rows_.empty() ? 1 : rows_.size(), 0);
    selection_.Reset(static_cast<int>(rows_.size()));
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    if (onCount_) onCount_(count_ < 0 ? 0 : count_);
}

std::vector<long> MessageListPane::SelectedMessages() const {
    std::vector<long> nums;
    for (int row : selection_.Selected())
        if (row < static_cast<int>(rows_.size()))
            nums.push_back(rows_[static_cast<size_t>(row)].mesgNum);
    return nums;
}

void MessageListPane::SyncSelection() {
    HWND list = List();
    ::SendMessageA(list, LB_SETSEL, FALSE, -1);
    for (int row : selection_.Selected()) ::SendMessageA(list, LB_SETSEL, TRUE, row);
    if (selection_.Count() > 0)
        ::SendMessageA(list, LB_SETCARETINDEX, static_cast<WPARAM>(selection_.Anchor()), FALSE);
}

void MessageListPane::ClickRow(int row, bool ctrl, bool shift) {
    if (rows_.empty()) return;
    selection_.Click(row, ctrl, shift);
    SyncSelection();
}

void MessageListPane::SelectAll() {
    selection_.SelectAll();
    SyncSelection();
}

bool MessageListPane::MoveMessage(long mesgNum, long folderNum) {
    GateScope gate;
    if (!gate.Open() || !store_) return false;
    return store_->Move(mesgNum, folderNum);
}

void MessageListPane::DeleteSelected() {
    GateScope gate;
    if (!gate.Open() || !store_) return;
    const std::vector<long> chosen = SelectedMessages();
    if (chosen.empty()) return;
    const long trashcan = context_.specialFolders->trashcan;
    if (folder_ != trashcan) {
        // Without a known _TRASHCAN nothing is moved: the messages would be lost from view.
        if (trashcan < 0) return;
        for (long mesgNum : chosen)
            if (!store_->Move(mesgNum, trashcan)) break;
    } else {
        if (!context_.catalog || ui::CatalogBox(Handle(), *context_.catalog, "MAILMESS_CPP_15",
                                                "MAILMESS_CPP_16", MB_YESNO | MB_ICONSTOP) != IDYES)
            return;
        for (long mesgNum : chosen)
            if (!store_->Delete(mesgNum)) break;
    }
    Reload();
    ::SetFocus(List());
}

void MessageListPane::Open(int flag) {
    const int caret = selection_.Anchor();
    const std::vector<int> chosen = selection_.Selected();
    if (rows_.empty() || chosen.empty()) {
        if (context_.catalog)
            ui::MessageBox(Handle(), Text("MAILMESS_CPP_24").c_str(), ui::AppTitle(),
                           MB_OK | MB_ICONINFORMATION);
    } else {
        const long mesgNum = selection_.IsSelected(caret)
                                 ? rows_[static_cast<size_t>(caret)].mesgNum
                                 : rows_[static_cast<size_t>(chosen.front())].mesgNum;
        if (onOpen_) onOpen_(mesgNum, flag);
    }
    // The list may have been reloaded meanwhile: the row at the former caret is selected again.
    if (!rows_.empty() && selection_.Selected().empty()) {
        selection_.Click(caret < static_cast<int>(rows_.size()) ? caret : 0, false, false);
        SyncSelection();
    }
    ::SetFocus(List());
}

void MessageListPane::ChooseFont() {
    if (ChooseAndSaveFont(context_.installPath, kMessageListFontFile))
        ::InvalidateRect(List(), nullptr, TRUE);
}

void MessageListPane::Help() {
    ui::Help(Handle(), HelpFileSpec(context_.installPath).c_str(), HELP_CONTEXT, kHelpContext);
}

int MessageListPane::DateTextWidth() const {
    WindowDC dc(List());
    if (!dc.Get()) return 0;
    SelectGuard font(dc.Get(), Font());
    int widest = 0;
    for (int month = 1; month <= 12; ++month) {
        // Day 28 and a four-digit year: the widest digits a date of that month shows.
        const std::string text = DateField(StoreTime{2028, month, 28, 0, 0, 0}, months_);
        SIZE size{};
        if (::GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size))
            widest = std::max(widest, static_cast<int>(size.cx));
    }
    return widest;
}

void MessageListPane::SetColumnEdges(int iconRight, int dateRight, int addressRight) {
    iconRight_ = iconRight;
    dateRight_ = dateRight;
    addressRight_ = addressRight;
    ::InvalidateRect(List(), nullptr, TRUE);
}

long MessageListPane::FolderUnder(POINT screen, int* index) const {
    if (index) *index = -1;
    if (!folderPane_ || ::WindowFromPoint(screen) != folderPane_->List()) return -1;
    POINT at = screen;
    ::ScreenToClient(folderPane_->List(), &at);
    return folderPane_->FolderAt(at, index);
}

void MessageListPane::ClearDropTarget() {
    if (folderPane_ && targetIndex_ >= 0) folderPane_->ShowDropHighlight(targetIndex_, false);
    targetFolder_ = -1;
    targetIndex_ = -1;
}

void MessageListPane::DragOver(POINT screen) {
    if (phase_ == DragPhase::None) phase_ = DragPhase::Started;
    int index = -1;
    const long folder = FolderUnder(screen, &index);
    if (IsDropTarget(folder, folder_, context_.specialFolders->in)) {
        if (index != targetIndex_) {
            ClearDropTarget();
            folderPane_->ShowDropHighlight(index, true);
        }
        targetFolder_ = folder;
        targetIndex_ = index;
        if (drop_) ::SetCursor(drop_);
        phase_ = DragPhase::OverFolder;
    } else {
        ClearDropTarget();
        if (noDrop_) ::SetCursor(noDrop_);
        phase_ = DragPhase::OverNothing;
    }
}

void MessageListPane::DropAt(POINT screen) {
    const DragPhase phase = phase_;
    phase_ = DragPhase::None;
    ClearDropTarget();
    if (phase != DragPhase::Started && phase != DragPhase::OverFolder) return;
    const long folder = FolderUnder(screen, nullptr);
    if (folder < 0) {
        if (context_.catalog)
            ui::CatalogBox(Handle(), *context_.catalog, "MAILMESS_CPP_13", "MAILMESS_CPP_14",
                           MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // The point may have moved onto _IN or the listed folder since the last move.
    if (!IsDropTarget(folder, folder_, context_.specialFolders->in)) return;
    for (long mesgNum : SelectedMessages())
        if (!MoveMessage(mesgNum, folder)) break;
    Reload();
}

void MessageListPane::MouseDown(POINT at, WPARAM keys) {
    ::SetFocus(List());
    const int row = IndexAt(at.y);
    ::SetCapture(List());
    pressed_ = true;
    phase_ = DragPhase::None;
    pressedRow_ = row;
    pressedCtrl_ = (keys & MK_CONTROL) != 0;
    pressedShift_ = (keys & MK_SHIFT) != 0;
    pressedOnSelected_ = row >= 0 && selection_.IsSelected(row);
    if (!pressedOnSelected_ && row >= 0) ClickRow(row, pressedCtrl_, pressedShift_);
}

void MessageListPane::MouseUp(POINT at) {
    if (!pressed_) return;
    pressed_ = false;
    ::ReleaseCapture();
    if (phase_ == DragPhase::None) {
        // A click on a selected row without a drag selects as a click does.
        if (pressedOnSelected_ && pressedRow_ >= 0)
            ClickRow(pressedRow_, pressedCtrl_, pressedShift_);
        return;
    }
    POINT screen = at;
    ::ClientToScreen(List(), &screen);
    DropAt(screen);
    if (noDrop_ || drop_) ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
}

void MessageListPane::PopupMenu(POINT listPoint) {
    const int row = IndexAt(listPoint.y);
    const bool onMessage = !rows_.empty() && row >= 0;
    if (onMessage) {
        selection_.ClearAll();
        selection_.Click(row, false, false);
        SyncSelection();
    }
    const Menu menus = Menu::Load(IDR_PANE_POPUPS);
    HMENU menu = menus.Sub(1);
    if (!menu) return;
    GreyMenu(menu, onMessage);
    POINT screen = listPoint;
    ::ClientToScreen(List(), &screen);
    const UINT command = ::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                          screen.x, screen.y, 0, Handle(), nullptr);
    switch (command) {
    case ID_POPUP_READ: {
        GateScope gate;
        if (gate.Open()) Open(0);
        break;
    }
    case ID_POPUP_DELETE: DeleteSelected(); break;
    case ID_POPUP_PRINT:
        if (onPrint_) onPrint_(SelectedMessages());
        break;
    case ID_MESSAGE_FONT: ChooseFont(); break;
    case ID_MESSAGE_HELP: Help(); break;
    default: break;
    }
}

void MessageListPane::GreyMenu(HMENU menu, bool onMessage) {
    const UINT state = MF_BYCOMMAND | (onMessage ? MF_ENABLED : MF_GRAYED);
    ::EnableMenuItem(menu, ID_POPUP_READ, state);
    ::EnableMenuItem(menu, ID_POPUP_DELETE, state);
    ::EnableMenuItem(menu, ID_POPUP_PRINT, state);
}

void MessageListPane::OnListNotify(int code) {}

LRESULT MessageListPane::OnListMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
    case WM_LBUTTONDOWN:
        handled = true;
        MouseDown(at, wParam);
        return 0;
    case WM_MOUSEMOVE:
        if (pressed_ && pressedOnSelected_) {
            handled = true;
            POINT screen = at;
            ::ClientToScreen(List(), &screen);
            DragOver(screen);
        }
        return 0;
    case WM_LBUTTONUP:
        handled = true;
        MouseUp(at);
        return 0;
    case WM_LBUTTONDBLCLK: {
        handled = true;
        GateScope gate;
        if (gate.Open()) Open(0);
        return 0;
    }
    case WM_RBUTTONDOWN:
        handled = true;
        PopupMenu(at);
        return 0;
    case WM_HELP:
        handled = true;
        Help();
        return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (pressed_) {
            handled = true; // keys wait while a drag is under way
            return 0;
        }
        if (wParam == VK_TAB) {
            handled = true;
            if (folderPane_) ::SetFocus(folderPane_->List());
            return 0;
        }
        if (wParam == VK_DELETE) {
            handled = true;
            if (!rows_.empty()) DeleteSelected();
            return 0;
        }
        if (wParam == VK_RETURN) {
            handled = true;
            if (!rows_.empty()) {
                GateScope gate;
                if (gate.Open()) Open(KeyDown(VK_CONTROL) && KeyDown(VK_MENU) ? 1 : 0);
            }
            return 0;
        }
        if (message == WM_KEYDOWN && !rows_.empty()) {
            // Arrow keys and the like move the list's own selection: take it over afterwards.
            const LRESULT r = ::DefSubclassProc(List(), message, wParam, lParam);
            handled = true;
            selection_.ClearAll();
            const int n = static_cast<int>(::SendMessageA(List(), LB_GETSELCOUNT, 0, 0));
            std::vector<int> items(static_cast<size_t>(n > 0 ? n : 0));
            if (n > 0)
                ::SendMessageA(List(), LB_GETSELITEMS, static_cast<WPARAM>(n),
                               reinterpret_cast<LPARAM>(items.data()));
            for (int row : items) selection_.Click(row, true, false);
            return r;
        }
        return 0;
    default: return 0;
    }
}

void MessageListPane::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    Brush brush(::CreateSolidBrush(::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW)));
    ::FillRect(dc, &item.rcItem, brush.Get());
    SelectGuard font(dc, Font());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const auto fields = SplitRowFields(RowText(static_cast<int>(item.itemID)));
    const RECT& r = item.rcItem;
    const int x0 = r.left;
    if (!fields[0].empty() && fields[0][0] == '*') {
        // A line without a message: its text runs across the row.
        DrawCell(dc, fields[0], RECT{x0 + 2, r.top, r.right, r.bottom});
    } else {
        const RowIcon icon = IconForFlags(fields[0]);
        int slot = -1;
        switch (icon) {
        case RowIcon::IncomingNewFiles: slot = 0; break;
        case RowIcon::IncomingNew: slot = 1; break;
        case RowIcon::IncomingFiles: slot = 2; break;
        case RowIcon::Incoming: slot = 3; break;
        case RowIcon::None: break;
        }
        if (slot >= 0)
            DrawBitmap(dc, icons_[slot].Get(), RECT{x0, r.top + 1, x0 + 36, r.bottom - 1});
        DrawCell(dc, fields[1], RECT{x0 + iconRight_ + 2, r.top, x0 + dateRight_ - 2, r.bottom});
        DrawCell(dc, fields[2], RECT{x0 + dateRight_ + 2, r.top, x0 + addressRight_ - 2, r.bottom});
        DrawCell(dc, fields[3], RECT{x0 + addressRight_ + 2, r.top, r.right, r.bottom});
    }
    if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &item.rcItem);
}

} // namespace lx
