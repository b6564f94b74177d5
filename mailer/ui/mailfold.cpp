#include "mailer/ui/mailfold.h"

#include "common/win/handles.h"
#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/folderdlg/newfolde.h"
#include "common/settings/font_desc.h"
#include "common/settings/install_path.h"
#include "common/settings/mailbox_record.h"
#include "common/win/bitmaps.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/ui/logic/cmdgate.h"

#include <commctrl.h>
#include <cstdio>
#include <cstring>

namespace lx {

namespace {

constexpr char kClassName[] = "LxFolderPane";
constexpr COLORREF kDropColour = RGB(0, 255, 255);

std::string ItemText(HWND list, int index) {
    const LRESULT length = ::SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::strlen(text.c_str()));
    return text;
}

} // namespace

FolderPane::FolderPane(const PaneContext& context) : context_(context) {
    if (!context_.specialFolders) context_.specialFolders = &ownSpecialFolders_;
}

// The windows go while the whole pane still stands: the list's last messages reach its handlers.
FolderPane::~FolderPane() { Destroy(); }

bool FolderPane::Create(HWND parent, int id) {
    const HINSTANCE module = ::GetModuleHandleA(nullptr);
    const int ids[4] = {IDB_FOLDER_USER, IDB_FOLDER_USER_SEL, IDB_FOLDER_SPECIAL,
                        IDB_FOLDER_SPECIAL_SEL};
    for (int i = 0; i < 4; ++i) bitmaps_[i] = LoadBitmapResource(ids[i]);
    if (!CreatePane(parent, kClassName, 0, id)) return false;
    LoadFont(context_.installPath, kFolderPaneFontFile);
    store_ = std::make_unique<FolderStore>(context_.conn, Handle());
    tooltip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 Handle(), nullptr, module, nullptr);
    Fill();
    return true;
}

std::string FolderPane::Text(const char* key) const { return CatalogText(context_.catalog, key); }

void FolderPane::Box(const char* textKey, const char* captionKey, UINT flags) {
    if (context_.catalog) ui::CatalogBox(Handle(), *context_.catalog, textKey, captionKey, flags);
}

void FolderPane::Help() {
    ui::Help(Handle(), HelpFileSpec(context_.installPath).c_str(), HELP_CONTEXT, kHelpContext);
}

bool FolderPane::Reload() {
    std::vector<FolderRow> rows;
    const bool ok =
        store_ && store_->Ready() &&
        store_->LoadEnsuringSpecialFolders(rows, [this](const char* key) { return Text(key); });
    // A failed refill keeps what the pane showed (the store has reported the error); only a
    // pane that never listed a folder shows the fixed line.
    if (!ok && !rows_.empty()) return false;
    HWND list = List();
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    if (ok) {
        rows_.swap(rows);
        for (const FolderRow& r : rows_)
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(r.name.c_str()));
        RecordSpecialFolderNumbers(rows_, *context_.specialFolders);
    } else {
        const std::string line = Text("MAILFOLD_CPP_18");
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    RebuildTooltips();
    return ok;
}

void FolderPane::Fill() {
    Reload();
    ::SendMessageA(List(), LB_SETCURSEL, kInFolderIndex, 0);
}

void FolderPane::Refresh() {
    ::SendMessageA(List(), LB_SETCURSEL, kInFolderIndex, 0);
    lastIndex_ = -1;
    SelectionChanged();
}

int FolderPane::SelectedIndex() const {
    const LRESULT index = ::SendMessageA(List(), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void FolderPane::SelectIndex(int index) {
    ::SendMessageA(List(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SelectionChanged();
}

void FolderPane::SelectionChanged() {
    const int index = static_cast<int>(::SendMessageA(List(), LB_GETCARETINDEX, 0, 0));
    if (index == lastIndex_) return;
    if (index >= 0 && index < static_cast<int>(rows_.size()) && onSelected_)
        onSelected_(rows_[static_cast<size_t>(index)].num);
    lastIndex_ = index;
}

void FolderPane::OnListNotify(int code) {
    if (code == LBN_SELCHANGE) SelectionChanged();
}

long FolderPane::FolderAt(POINT listPoint, int* index) const {
    const int at = IndexAt(listPoint.y);
    if (index) *index = at;
    if (at < 0 || at >= static_cast<int>(rows_.size())) return -1;
    return rows_[static_cast<size_t>(at)].num;
}

bool FolderPane::RunFolderDialog(const FolderRow* preset, long exceptNum, std::string& name,
                                 std::string& description) {
    if (!context_.catalog) return false;
    NewFolderData start, entered;
    if (preset) {
        std::snprintf(start.name, sizeof start.name, "%s", preset->name.c_str());
        std::snprintf(start.description, sizeof start.description, "%s",
                      preset->description.c_str());
    }
    const std::string help = HelpFileSpec(context_.installPath);
    // Centred on the main window rather than on this narrow pane.
    HWND owner = ::GetAncestor(Handle(), GA_ROOT);
    // Until the name is free or the user cancels. The dialog comes back with what was typed:
    // editing keeps both fields; a new folder keeps its description (a preset name would make
    // it the editing dialog).
    for (;;) {
        if (ShowNewFolderDialog(owner, *context_.catalog, &start, &entered, help) != IDOK)
            return false;
        if (!FolderNameTaken(rows_, entered.name, exceptNum)) break;
        Box("MAILFOLD_CPP_2", "MAILFOLD_CPP_3");
        if (preset) std::snprintf(start.name, sizeof start.name, "%s", entered.name);
        std::snprintf(start.description, sizeof start.description, "%s", entered.description);
    }
    name = entered.name;
    description = entered.description;
    return true;
}

void FolderPane::NewFolder() {
    std::string name, description;
    if (!RunFolderDialog(nullptr, -1, name, description)) return;
    if (!store_ || !store_->Insert(name, kFolderTypeUser, description)) {
        Box("MAILFOLD_CPP_4", "MAILFOLD_CPP_5");
        return;
    }
    if (!Reload()) return;
    lastIndex_ = -1;
    // The new folder, wherever its name sorts (the last item only when it sorts last).
    int index = Count() - 1;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].name == name.substr(0, kFolderLen)) index = static_cast<int>(i);
    SelectIndex(index);
}

void FolderPane::EditFolder() {
    const int index = SelectedIndex();
    if (index < 0) return;
    if (index < kFirstUserFolderIndex) {
        Box("MAILFOLD_CPP_20", "MAILFOLD_CPP_21");
        return;
    }
    if (index >= static_cast<int>(rows_.size())) return;
    const FolderRow row = rows_[static_cast<size_t>(index)];
    std::string name, description;
    if (!RunFolderDialog(&row, row.num, name, description)) return;
    if (!store_ || !store_->Update(row.num, name, description)) return;
    if (!Reload()) return;
    lastIndex_ = -1;
    SelectIndex(0);
}

void FolderPane::DeleteFolder() {
    const int index = SelectedIndex();
    if (index < 0) return;
    if (index < kFirstUserFolderIndex) {
        Box("MAILFOLD_CPP_6", "MAILFOLD_CPP_7");
        return;
    }
    if (index >= static_cast<int>(rows_.size())) {
        Box("MAILFOLD_CPP_10", "MAILFOLD_CPP_11");
        return;
    }
    const FolderRow row = rows_[static_cast<size_t>(index)];
    if (context_.mailboxes) {
        if (const MailboxRecord* owner = MailboxUsingFolder(*context_.mailboxes, row)) {
            char folder[sizeof owner->defaultFolder + 1] = {};
            std::memcpy(folder, owner->defaultFolder, sizeof owner->defaultFolder);
            const std::string format = Text("MAILFOLD_CPP_22");
            const std::string caption = Text("MAILFOLD_CPP_23");
            const std::string text =
                FormatTextOr(format.c_str(), {folder[0] ? folder : row.name.c_str()}, format);
            ui::MessageBox(Handle(), text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    }
    if (context_.catalog && ui::CatalogBox(Handle(), *context_.catalog, "MAILFOLD_CPP_8",
                                           "MAILFOLD_CPP_9", MB_YESNO | MB_ICONSTOP) != IDYES)
        return;
    // The folder's messages go to _TRASHCAN rather than staying behind where no list shows them.
    if (!store_ || !store_->Delete(row.num, context_.specialFolders->trashcan)) return;
    if (!Reload()) return;
    lastIndex_ = -1;
    SelectIndex(0);
}

void FolderPane::ChooseFont() {
    if (!ChooseAndSaveFont(context_.installPath, kFolderPaneFontFile)) return;
    RebuildTooltips();
    ::InvalidateRect(List(), nullptr, TRUE);
}

void FolderPane::PopupMenu(POINT listPoint) {
    const int index = IndexAt(listPoint.y);
    if (index >= 0) SelectIndex(index);
    const Menu menus = Menu::Load(IDR_PANE_POPUPS);
    HMENU menu = menus.Sub(0);
    if (!menu) return;
    GreyMenu(menu, index, static_cast<int>(rows_.size()), SelectedIndex());
    POINT screen = listPoint;
    ::ClientToScreen(List(), &screen);
    const UINT command = ::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                          screen.x, screen.y, 0, Handle(), nullptr);
    if (command) RunMenuCommand(command);
}

void FolderPane::RunMenuCommand(UINT command) {
    GateScope gate;
    if (!gate.Open()) return;
    switch (command) {
    case ID_POPUP_NEWFOLDER: NewFolder(); break;
    case ID_POPUP_EDITFOLDER: EditFolder(); break;
    case ID_POPUP_DELETEFOLDER: DeleteFolder(); break;
    case ID_EMPTY_TRASH:
        if (onEmptyTrash_) onEmptyTrash_();
        break;
    case ID_FOLDER_FONTS: ChooseFont(); break;
    case ID_FOLDER_HELP: Help(); break;
    default: break;
    }
}

void FolderPane::GreyMenu(HMENU menu, int indexUnderMouse, int count, int selectedIndex) {
    const UINT editable = CanEditOrDeleteAt(indexUnderMouse, count) ? MF_ENABLED : MF_GRAYED;
    ::EnableMenuItem(menu, ID_POPUP_EDITFOLDER, MF_BYCOMMAND | editable);
    ::EnableMenuItem(menu, ID_POPUP_DELETEFOLDER, MF_BYCOMMAND | editable);
    ::EnableMenuItem(menu, ID_EMPTY_TRASH,
                     MF_BYCOMMAND | (selectedIndex == kTrashcanIndex ? MF_ENABLED : MF_GRAYED));
}

LRESULT FolderPane::OnListMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_DELETE || wParam == VK_INSERT || wParam == VK_TAB) {
            handled = true;
            if (wParam == VK_TAB) {
                if (tabTarget_) ::SetFocus(tabTarget_);
                return 0;
            }
            GateScope gate;
            if (!gate.Open()) return 0;
            if (wParam == VK_DELETE)
                DeleteFolder();
            else
                NewFolder();
        }
        return 0;
    case WM_RBUTTONDOWN:
        handled = true;
        PopupMenu(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    case WM_HELP:
        handled = true;
        Help();
        return TRUE;
    case WM_SIZE:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL: {
        const LRESULT r = ::DefSubclassProc(List(), message, wParam, lParam);
        handled = true;
        RebuildTooltips();
        return r;
    }
    case WM_NOTIFY: {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        if (info->hdr.code != TTN_GETDISPINFOA) return 0;
        handled = true;
        const size_t row = static_cast<size_t>(info->hdr.idFrom);
        tipText_ =
            (row >= 1 && row <= rows_.size()) ? rows_[row - 1].description : Text("MAILFOLD_CPP_1");
        info->lpszText = const_cast<char*>(tipText_.c_str());
        return 0;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        if (tooltip_) {
            MSG relay{List(), message, wParam, lParam, 0, {}};
            ::SendMessageA(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
        }
        return 0;
    default: return 0;
    }
}

void FolderPane::RebuildTooltips() {
    if (!tooltip_ || !List()) return;
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    while (::SendMessageA(tooltip_, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool))) {
        ::SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        tool = TOOLINFOA{};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
    }
    RECT client{};
    ::GetClientRect(List(), &client);
    const int top = static_cast<int>(::SendMessageA(List(), LB_GETTOPINDEX, 0, 0));
    for (int i = top; i < static_cast<int>(rows_.size()); ++i) {
        RECT item{};
        if (::SendMessageA(List(), LB_GETITEMRECT, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(&item)) == LB_ERR)
            break;
        if (item.top >= client.bottom) break;
        TOOLINFOA add{};
        add.cbSize = TTTOOLINFOA_V1_SIZE;
        add.hwnd = List();
        add.uId = static_cast<UINT_PTR>(i + 1);
        add.rect = item;
        add.lpszText = LPSTR_TEXTCALLBACKA;
        ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&add));
    }
    ::SendMessageA(tooltip_, TTM_ACTIVATE, TRUE, 0);
}

void FolderPane::ShowDropHighlight(int index, bool on) {
    if (index < 0 || index >= Count()) return;
    highlighted_ = on ? index : (highlighted_ == index ? -1 : highlighted_);
    RECT item{};
    ::SendMessageA(List(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&item));
    ::InvalidateRect(List(), &item, TRUE);
    ::UpdateWindow(List());
}

void FolderPane::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const int index = static_cast<int>(item.itemID);
    HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool dropTarget = index == highlighted_;
    COLORREF back = ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    COLORREF fore = ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    if (dropTarget) {
        back = kDropColour;
        fore = ::GetSysColor(COLOR_WINDOWTEXT);
    }
    Brush brush(::CreateSolidBrush(back));
    ::FillRect(dc, &item.rcItem, brush.Get());
    const std::string name = ItemText(item.hwndItem, index);
    const bool special = !name.empty() && name[0] == '_';
    const int bitmap = (special ? 2 : 0) + (selected ? 1 : 0);
    if (index < static_cast<int>(rows_.size())) {
        const RECT icon{item.rcItem.left, item.rcItem.top, item.rcItem.left + 16,
                        item.rcItem.bottom};
        DrawBitmap(dc, bitmaps_[bitmap].Get(), icon);
    }
    SelectGuard font(dc, Font());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, fore);
    RECT text = item.rcItem;
    text.left += 17;
    DrawCell(dc, name, text);
    if ((item.itemState & ODS_FOCUS) && !dropTarget) ::DrawFocusRect(dc, &item.rcItem);
}

} // namespace lx
