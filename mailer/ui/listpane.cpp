#include "mailer/ui/listpane.h"

#include "common/settings/font_desc.h"
#include "common/settings/win32_forms.h"
#include "common/win/settingsnotice.h"
#include "common/win/uiseam.h"
#include "mailer/ui/logic/mailfold_rules.h"

#include <commctrl.h>

namespace lx {

namespace {
constexpr int kListId = 1;
constexpr UINT_PTR kSubclassId = 0x4C50;
} // namespace

ListPane::ListPane() {
    logFont_ = ToLogFont(DefaultPaneFont());
    Map().On(WM_SIZE, [this](WPARAM, LPARAM lParam) -> LRESULT {
        if (list_) {
            ::MoveWindow(list_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            // Rows are drawn to the list's width: a list box repaints only what a size change
            // uncovers, so the whole list is drawn again.
            ::InvalidateRect(list_, nullptr, TRUE);
        }
        return 0;
    });
    Map().On(WM_MEASUREITEM, [this](WPARAM, LPARAM lParam) -> LRESULT {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(itemHeight_);
        return TRUE;
    });
    Map().On(WM_DRAWITEM, [this](WPARAM, LPARAM lParam) -> LRESULT {
        OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    });
    Map().On(WM_SETFOCUS, [this](WPARAM, LPARAM) -> LRESULT {
        if (list_) ::SetFocus(list_);
        return 0;
    });
    Map().OnCommand(kListId, [this](int code, HWND) { OnListNotify(code); });
}

// A pane whose derived class is gone must not see the list's messages: a window still standing
// here (a derived pane that did not destroy it) loses the pane's handling first.
ListPane::~ListPane() {
    if (list_) ::RemoveWindowSubclass(list_, &ListPane::ListProc, kSubclassId);
    list_ = nullptr;
}

bool ListPane::CreatePane(HWND parent, const char* className, DWORD listStyle, int id) {
    RegisterClass(className, 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    RECT area{};
    if (parent) ::GetClientRect(parent, &area);
    if (!Create(className, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, area.right,
                area.bottom, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
        return false;
    ApplyFont();
    list_ = ::CreateWindowExA(0, "LISTBOX", "",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NOTIFY |
                                  LBS_NOINTEGRALHEIGHT |
                                  ((listStyle & LBS_NODATA) ? 0 : LBS_HASSTRINGS) | listStyle,
                              0, 0, area.right, area.bottom, Handle(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                              ::GetModuleHandleA(nullptr), nullptr);
    if (!list_) return false;
    ::SetWindowSubclass(list_, &ListPane::ListProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    ::SendMessageA(list_, LB_SETITEMHEIGHT, 0, itemHeight_);
    return true;
}

LRESULT CALLBACK ListPane::ListProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR self) {
    auto* pane = reinterpret_cast<ListPane*>(self);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(wnd, &ListPane::ListProc, kSubclassId);
        pane->list_ = nullptr;
        return ::DefSubclassProc(wnd, message, wParam, lParam);
    }
    bool handled = false;
    const LRESULT result = pane->OnListMessage(message, wParam, lParam, handled);
    return handled ? result : ::DefSubclassProc(wnd, message, wParam, lParam);
}

int ListPane::IndexAt(int y) const {
    if (!list_) return -1;
    const int top = static_cast<int>(::SendMessageA(list_, LB_GETTOPINDEX, 0, 0));
    return IndexAtPoint(top, y, itemHeight_, Count());
}

int ListPane::Count() const {
    if (!list_) return 0;
    const LRESULT n = ::SendMessageA(list_, LB_GETCOUNT, 0, 0);
    return n == LB_ERR ? 0 : static_cast<int>(n);
}

void ListPane::LoadFont(const std::string& folder, const char* file) {
    FontDesc desc;
    if (!ReadFontFile(folder, file, desc)) desc = DefaultPaneFont();
    logFont_ = ToLogFont(desc);
    ApplyFont();
}

bool ListPane::ChooseAndSaveFont(const std::string& folder, const char* file) {
    LOGFONTA chosen = logFont_;
    if (!ui::ChooseScreenFont(Handle(), &chosen)) return false;
    logFont_ = chosen;
    ReportIfNotSaved(WriteFontFile(folder, file, FromLogFont(chosen)), Handle(), ui::Catalog(),
                     file);
    ApplyFont();
    return true;
}

void ListPane::ApplyFont() {
    font_.Reset(::CreateFontIndirectA(&logFont_));
    TEXTMETRICA metrics{};
    {
        WindowDC dc(Handle());
        SelectGuard select(dc.Get(), font_.Get());
        ::GetTextMetricsA(dc.Get(), &metrics);
    }
    itemHeight_ = ListItemHeight(metrics.tmHeight, metrics.tmExternalLeading);
    if (list_) {
        ::SendMessageA(list_, LB_SETITEMHEIGHT, 0, itemHeight_);
        ::InvalidateRect(list_, nullptr, TRUE);
    }
}

void ListPane::DrawCell(HDC dc, const std::string& text, RECT cell) {
    if (cell.right <= cell.left) return;
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &cell,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT | DT_END_ELLIPSIS);
}

void ListPane::DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& area) {
    if (!bitmap) return;
    BITMAP info{};
    ::GetObjectA(bitmap, sizeof info, &info);
    MemoryDC source(dc);
    SelectGuard select(source.Get(), bitmap);
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 source.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

} // namespace lx
