#include "viewer/simplevw.h"

#include "common/catalog/msgcatalog.h"
#include "common/settings/win32_forms.h"
#include "common/win/uiseam.h"
#include "viewer/res/resource.h"
#include "viewer/win/workers.h"

namespace lx::viewer {

namespace {
constexpr char kSimpleViewFontFile[] = "SimpleVw.Ink";
// Both boxes stretch to this many pixels from the view's right (and the lower one its bottom).
constexpr int kEdgeGap = 8;
} // namespace

SimpleView::SimpleView(MessageCatalog& catalog, std::string installFolder)
    : catalog_(catalog), installFolder_(std::move(installFolder)),
      white_(::CreateSolidBrush(RGB(255, 255, 255))) {}

SimpleView::~SimpleView() {
    if (wnd_ && ::IsWindow(wnd_)) ::DestroyWindow(wnd_);
}

bool SimpleView::Create(HWND frame) {
    wnd_ = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SIMPLEVIEW),
                                frame, &SimpleView::Proc, reinterpret_cast<LPARAM>(this));
    if (!wnd_) return false;
    ::SetWindowLongPtrA(wnd_, GWLP_ID, IDD_SIMPLEVIEW);
    ::SendDlgItemMessageA(
        wnd_, IDC_SV_FILES, LB_ADDSTRING, 0,
        reinterpret_cast<LPARAM>(CatalogText(&catalog_, "SIMPLEVW_CPP_8").c_str()));
    ::EnableWindow(::GetDlgItem(wnd_, IDC_SV_VIEWFILE), FALSE);
    ::ShowWindow(wnd_, SW_SHOW);
    return true;
}

void SimpleView::Move(const RECT& area) {
    if (!wnd_) return;
    ::MoveWindow(wnd_, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

void SimpleView::Show(const SimpleViewTexts& texts) {
    HWND list = ::GetDlgItem(wnd_, IDC_SV_FILES);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : texts.attachments)
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    ::EnableWindow(::GetDlgItem(wnd_, IDC_SV_VIEWFILE), texts.viewFileEnabled);
    ::SetDlgItemTextA(wnd_, IDC_SV_HEADER, texts.header.c_str());
    ::SetDlgItemTextA(wnd_, IDC_SV_BODY, texts.body.c_str());
}

INT_PTR CALLBACK SimpleView::Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<SimpleView*>(lParam);
        ::SetWindowLongPtrA(wnd, DWLP_USER, lParam);
        self->wnd_ = wnd;
    }
    auto* self = reinterpret_cast<SimpleView*>(::GetWindowLongPtrA(wnd, DWLP_USER));
    return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR SimpleView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        FontDesc desc;
        if (!ReadFontFile(installFolder_, kSimpleViewFontFile, desc)) desc = DefaultPaneFont();
        logFont_ = ToLogFont(desc);
        ApplyFont();
        return TRUE;
    }
    case WM_SIZE: Layout(); return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        // Read-only boxes would paint grey: both keep the white of a page.
        ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<INT_PTR>(white_.Get());
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_SV_VIEWFILE: OpenSelected(); return TRUE;
        case IDC_SV_FONT: PickFont(); return TRUE;
        case IDC_SV_FILES:
            if (HIWORD(wParam) == LBN_DBLCLK) OpenSelected();
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void SimpleView::Layout() {
    RECT client;
    ::GetClientRect(wnd_, &client);
    for (int id : {IDC_SV_HEADER, IDC_SV_BODY}) {
        HWND box = ::GetDlgItem(wnd_, id);
        RECT r;
        ::GetWindowRect(box, &r);
        ::MapWindowPoints(nullptr, wnd_, reinterpret_cast<POINT*>(&r), 2);
        const int right = client.right - kEdgeGap;
        const int bottom = id == IDC_SV_BODY ? client.bottom - kEdgeGap : r.bottom;
        ::MoveWindow(box, r.left, r.top, right > r.left ? right - r.left : 0,
                     bottom > r.top ? bottom - r.top : 0, TRUE);
    }
}

void SimpleView::ApplyFont() {
    font_.Reset(::CreateFontIndirectA(&logFont_));
    for (int id : {IDC_SV_HEADER, IDC_SV_BODY, IDC_SV_FILES})
        ::SendDlgItemMessageA(wnd_, id, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
}

void SimpleView::PickFont() {
    LOGFONTA chosen = logFont_;
    if (!ui::ChooseScreenFont(wnd_, &chosen)) return;
    logFont_ = chosen;
    WriteFontFile(installFolder_, kSimpleViewFontFile, FromLogFont(chosen));
    ApplyFont();
}

void SimpleView::OpenSelected() {
    const LRESULT index = ::SendDlgItemMessageA(wnd_, IDC_SV_FILES, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR || !::IsWindowEnabled(::GetDlgItem(wnd_, IDC_SV_VIEWFILE))) return;
    ::PostMessageA(::GetParent(wnd_), WM_LXV_OPEN_ATTACHMENT, 0, index);
}

} // namespace lx::viewer
