// TERNGetServerNameDlg: the modal "Network Browser" dialog. A worker thread enumerates the
// network; the dialog shows the tree in an owner-drawn list and returns the chosen server's name.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/win/handles.h"
#include "netlib/tern32.h"
#include "netlib/win/library.h"
#include "netlib/win/netbrowse_tls.h"
#include "netlib/win/netbrowse_worker.h"
#include "netlib/win/netenum.h"

using namespace lx::net;
using lx::SelectGuard;

namespace {

constexpr int kListId = 1001;
constexpr int kRefreshId = 1002;
constexpr UINT kEnumDone = TERN_NETBROWSE_DONE;
constexpr int kIndent = 16;

constexpr int kGlyphs = 5;

// Everything one open dialog holds: the caller's result buffer, the tree, its drawing objects and
// its enumeration worker; stored with the dialog at WM_INITDIALOG.
struct BrowseData {
    char* result = nullptr;
    std::unique_ptr<NetTree> tree;
    bool busy = false;
    lx::Font font;
    lx::Brush glyphs[kGlyphs];
    EnumWorker worker;
};

void createDrawingObjects(BrowseData& d) {
    d.font.Reset(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
    const COLORREF colours[kGlyphs] = {RGB(128, 128, 128), RGB(0, 128, 0), RGB(0, 0, 160),
                                       RGB(160, 120, 0), RGB(128, 0, 128)};
    for (int i = 0; i < kGlyphs; ++i) d.glyphs[i].Reset(CreateSolidBrush(colours[i]));
}

// Glyph by display type: generic, domain, server, share, network.
int glyphOf(DWORD displayType) {
    switch (displayType) {
    case RESOURCEDISPLAYTYPE_DOMAIN: return 1;
    case RESOURCEDISPLAYTYPE_SERVER: return 2;
    case RESOURCEDISPLAYTYPE_SHARE: return 3;
    case RESOURCEDISPLAYTYPE_NETWORK: return 4;
    default: return 0;
    }
}

bool expandable(const NetEntry& e) {
    return e.displayType == RESOURCEDISPLAYTYPE_NETWORK ||
           e.displayType == RESOURCEDISPLAYTYPE_DOMAIN ||
           e.displayType == RESOURCEDISPLAYTYPE_GENERIC;
}

BrowseData* dataOf(HWND dlg) {
    return reinterpret_cast<BrowseData*>(GetWindowLongPtrA(dlg, DWLP_USER));
}

void setBusy(HWND dlg, bool busy) {
    EnableWindow(GetDlgItem(dlg, IDOK), !busy);
    EnableWindow(GetDlgItem(dlg, IDCANCEL), !busy);
    EnableWindow(GetDlgItem(dlg, kRefreshId), !busy);
}

void showText(HWND list, const char* text) {
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    const LRESULT i = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessageA(list, LB_SETITEMDATA, i, 0);
}

void insertEntry(HWND list, int at, NetEntry* e) {
    const LRESULT i =
        SendMessageA(list, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(e->name.c_str()));
    SendMessageA(list, LB_SETITEMDATA, i, reinterpret_cast<LPARAM>(e));
}

void startEnumeration(HWND dlg) {
    BrowseData* d = dataOf(dlg);
    d->busy = true;
    // The list lets go of the old entries before they are freed.
    showText(GetDlgItem(dlg, kListId), "Working...");
    d->tree.reset();
    setBusy(dlg, true);
    if (!d->worker.start(dlg)) PostMessageA(dlg, kEnumDone, 0, 0);
}

void onEnumerated(HWND dlg, NetTree* tree, bool ok) {
    BrowseData* d = dataOf(dlg);
    d->worker.finished();
    d->busy = false;
    d->tree.reset(tree);
    HWND list = GetDlgItem(dlg, kListId);
    if (!ok || !tree) {
        showText(list, "Network Error");
    } else {
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        int at = 0;
        for (auto& e : tree->top) {
            e->expanded = false;
            insertEntry(list, at++, e.get());
        }
    }
    setBusy(dlg, false);
}

// Expands an entry (its children below it) or collapses it (its descendants removed).
void toggle(HWND list, int index, NetEntry* e) {
    if (e->expanded) {
        for (;;) {
            const LRESULT v = SendMessageA(list, LB_GETITEMDATA, index + 1, 0);
            if (v == LB_ERR || v == 0 || reinterpret_cast<NetEntry*>(v)->level <= e->level) break;
            reinterpret_cast<NetEntry*>(v)->expanded = false;
            SendMessageA(list, LB_DELETESTRING, index + 1, 0);
        }
        e->expanded = false;
    } else {
        int at = index + 1;
        for (auto& c : e->children) {
            c->expanded = false;
            insertEntry(list, at++, c.get());
        }
        e->expanded = true;
    }
}

// OK or a double click on the selected entry. True when the dialog ends with a server name.
bool activate(HWND dlg) {
    HWND list = GetDlgItem(dlg, kListId);
    const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return false;
    const LRESULT v = SendMessageA(list, LB_GETITEMDATA, index, 0);
    if (v == LB_ERR || v == 0) return false;
    auto* e = reinterpret_cast<NetEntry*>(v);
    if (e->displayType == RESOURCEDISPLAYTYPE_SERVER) {
        const char* name = e->name.c_str();
        while (*name == '\\') ++name;
        BrowseData* d = dataOf(dlg);
        const std::size_t n = strnlen(name, TERN_SERVERNAME_SIZE - 1);
        std::memcpy(d->result, name, n);
        d->result[n] = '\0';
        return true;
    }
    if (expandable(*e)) toggle(list, static_cast<int>(index), e);
    return false;
}

void drawItem(const BrowseData& d, const DRAWITEMSTRUCT* di) {
    if (di->itemID == static_cast<UINT>(-1)) return;
    const bool selected = (di->itemState & ODS_SELECTED) != 0;
    FillRect(di->hDC, &di->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(di->hDC, TRANSPARENT);
    SetTextColor(di->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SelectGuard font(di->hDC, d.font ? d.font.Get() : GetStockObject(DEFAULT_GUI_FONT));
    auto* e = reinterpret_cast<NetEntry*>(di->itemData);
    RECT r = di->rcItem;
    std::string text;
    if (e) {
        r.left += 2 + e->level * kIndent;
        RECT glyph{r.left, r.top + 3, r.left + 10, r.bottom - 3};
        FillRect(di->hDC, &glyph, d.glyphs[glyphOf(e->displayType)].Get());
        r.left += 14;
        text = e->name;
    } else {
        char buf[64] = "";
        if (SendMessageA(di->hwndItem, LB_GETTEXTLEN, di->itemID, 0) <
            static_cast<LRESULT>(sizeof buf))
            SendMessageA(di->hwndItem, LB_GETTEXT, di->itemID, reinterpret_cast<LPARAM>(buf));
        r.left += 2;
        text = buf;
    }
    DrawTextA(di->hDC, text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// The dialog ends: its worker stops and is waited for; a result it posted meanwhile is freed.
void endBrowsing(HWND dlg) {
    BrowseData* d = dataOf(dlg);
    if (!d) return;
    d->worker.stop();
    MSG m;
    while (PeekMessageA(&m, dlg, kEnumDone, kEnumDone, PM_REMOVE))
        delete reinterpret_cast<NetTree*>(m.wParam);
}

INT_PTR CALLBACK browseProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: {
        auto* d = reinterpret_cast<BrowseData*>(lParam);
        SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(d));
        netBrowseTlsSet(d);
        createDrawingObjects(*d);
        startEnumeration(dlg);
        return TRUE;
    }
    case kEnumDone: onEnumerated(dlg, reinterpret_cast<NetTree*>(wParam), lParam != 0); return TRUE;
    case WM_MEASUREITEM: reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 16; return TRUE;
    case WM_DRAWITEM:
        if (BrowseData* d = dataOf(dlg))
            drawItem(*d, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (activate(dlg)) EndDialog(dlg, 1);
            return TRUE;
        case IDCANCEL: EndDialog(dlg, 0); return TRUE;
        case kRefreshId:
            if (!dataOf(dlg)->busy) startEnumeration(dlg);
            return TRUE;
        case kListId:
            if (HIWORD(wParam) == LBN_DBLCLK && activate(dlg)) EndDialog(dlg, 1);
            return TRUE;
        default: return FALSE;
        }
    case WM_CLOSE:
        // Closing the window always ends the dialog, even while the enumeration runs.
        EndDialog(dlg, 0);
        return TRUE;
    case WM_DESTROY:
        endBrowsing(dlg);
        netBrowseTlsSet(nullptr);
        return FALSE;
    default: return FALSE;
    }
}

// An in-memory dialog template: the dialog and its five controls.
class Template {
public:
    void dialog(DWORD style, short cx, short cy, const wchar_t* title, short points,
                const wchar_t* font, WORD items) {
        put32(style);
        put32(0);
        put16(items);
        put16(0), put16(0), put16(static_cast<WORD>(cx)), put16(static_cast<WORD>(cy));
        put16(0), put16(0); // no menu, default class
        putText(title);
        put16(static_cast<WORD>(points));
        putText(font);
    }
    void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
              const wchar_t* text) {
        while (words_.size() % 2) put16(0); // DWORD alignment
        put32(style | WS_CHILD | WS_VISIBLE);
        put32(0);
        put16(static_cast<WORD>(x)), put16(static_cast<WORD>(y)), put16(static_cast<WORD>(cx)),
            put16(static_cast<WORD>(cy));
        put16(id);
        put16(0xFFFF), put16(atom);
        putText(text);
        put16(0);
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void put16(WORD w) { words_.push_back(w); }
    void put32(DWORD d) {
        put16(LOWORD(d));
        put16(HIWORD(d));
    }
    void putText(const wchar_t* s) {
        for (; *s; ++s) put16(static_cast<WORD>(*s));
        put16(0);
    }
    std::vector<WORD> words_;
};

} // namespace

extern "C" int WINAPI TERNGetServerNameDlg(HWND parent, char* serverName) {
    if (!serverName) return 0;
    constexpr WORD kButton = 0x0080, kStatic = 0x0082, kListBox = 0x0083;
    Template t;
    t.dialog(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 210, 160,
             L"Network Browser", 8, L"MS Sans Serif", 5);
    t.item(SS_LEFT, 7, 7, 120, 8, 0xFFFF, kStatic, L"&Networks");
    t.item(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
               WS_BORDER | WS_TABSTOP,
           7, 18, 140, 135, kListId, kListBox, L"");
    t.item(BS_DEFPUSHBUTTON | WS_TABSTOP, 155, 18, 48, 14, IDOK, kButton, L"OK");
    t.item(BS_PUSHBUTTON | WS_TABSTOP, 155, 36, 48, 14, IDCANCEL, kButton, L"Cancel");
    t.item(BS_PUSHBUTTON | WS_TABSTOP, 155, 54, 48, 14, kRefreshId, kButton, L"&Refresh");
    BrowseData data;
    data.result = serverName;
    const INT_PTR r = DialogBoxIndirectParamA(moduleInstance(), t.get(), parent, browseProc,
                                              reinterpret_cast<LPARAM>(&data));
    return r == 1 ? 1 : 0;
}
