#include "mailer/ui/mainspli.h"
#include "mailer/ui/mainspli_panes.h"
#include "mailer/res/resource.h"
#include "common/catalog/msgcatalog.h"
#include "common/win/handles.h"
#include "common/win/settingsnotice.h"
#include "common/win/uiseam.h"

#include <windowsx.h>
#include <algorithm>
#include <new>

namespace lx {

namespace {
constexpr COLORREF kHeaderGrey = RGB(192, 192, 192);
constexpr int kHeaderFontHeight = -14;
constexpr int kHeaderPadding = 6;

HFONT CreateHeaderFont() {
    return ::CreateFontA(kHeaderFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         VARIABLE_PITCH | FF_SWISS, "Arial");
}
} // namespace

void MailboxSplitter::ShowFailure(HWND owner, const char* textKey, const char* captionKey) {
    if (context_.catalog)
        ui::CatalogBox(owner, *context_.catalog, textKey, captionKey, MB_OK | MB_ICONSTOP);
}

MailboxSplitter::MailboxSplitter(const SplitterContext& context) : context_(context) {
    Map().On(WM_SIZE, [this](WPARAM, LPARAM) -> LRESULT {
        Layout();
        return 0;
    });
    Map().On(WM_PAINT, [this](WPARAM, LPARAM) -> LRESULT {
        Paint();
        return 0;
    });
    Map().On(WM_SETCURSOR, [this](WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (reinterpret_cast<HWND>(wParam) != Handle() || LOWORD(lParam) != HTCLIENT)
            return ::DefWindowProcA(Handle(), WM_SETCURSOR, wParam, lParam);
        POINT pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(Handle(), &pt);
        const bool onBar = pt.x >= leftWidth_ && pt.x < ListLeft();
        const bool onBorder =
            pt.y < headerHeight_ && columns_.BorderAt(pt.x - ListLeft()) != ColumnBorder::None;
        ::SetCursor(onBar || onBorder ? sizeCursor_ : ::LoadCursorA(nullptr, IDC_ARROW));
        return TRUE;
    });
    Map().On(WM_LBUTTONDOWN, [this](WPARAM, LPARAM lParam) -> LRESULT {
        const int x = GET_X_LPARAM(lParam);
        const int y = GET_Y_LPARAM(lParam);
        if (x >= leftWidth_ && x < ListLeft()) {
            drag_ = Drag::Bar;
        } else if (y < headerHeight_) {
            dragBorder_ = columns_.BorderAt(x - ListLeft());
            if (dragBorder_ != ColumnBorder::None) drag_ = Drag::Border;
        }
        if (drag_ != Drag::None) ::SetCapture(Handle());
        return 0;
    });
    Map().On(WM_MOUSEMOVE, [this](WPARAM, LPARAM lParam) -> LRESULT {
        const int x = GET_X_LPARAM(lParam);
        if (drag_ == Drag::Bar) {
            RECT client{};
            ::GetClientRect(Handle(), &client);
            const int widest = client.right - kBarWidth - kMinColumnWidth;
            const int width = std::max(kMinColumnWidth, std::min(x, widest));
            if (width != leftWidth_) {
                leftWidth_ = width;
                Layout();
            }
        } else if (drag_ == Drag::Border) {
            DragColumnBorder(dragBorder_, x - ListLeft());
        }
        return 0;
    });
    auto endDrag = [this](WPARAM, LPARAM) -> LRESULT {
        if (drag_ != Drag::None && ::GetCapture() == Handle()) ::ReleaseCapture();
        drag_ = Drag::None;
        dragBorder_ = ColumnBorder::None;
        return 0;
    };
    Map().On(WM_LBUTTONUP, endDrag);
    Map().On(WM_CAPTURECHANGED, [this](WPARAM, LPARAM) -> LRESULT {
        drag_ = Drag::None;
        return 0;
    });
    // The placement is written while the frame still knows whether it is maximised.
    Map().On(WM_DESTROY, [this](WPARAM, LPARAM) -> LRESULT {
        SavePlacement();
        if (panes_) panes_->Destroy();
        return 0;
    });
}

MailboxSplitter::~MailboxSplitter() { Destroy(); }

HFONT MailboxSplitter::HeaderFont() const {
    return headerFont_ ? headerFont_.Get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

MailboxSplitter* MailboxSplitter::FromWindow(HWND wnd) {
    for (HWND w = wnd; w; w = ::GetParent(w)) {
        char cls[64] = "";
        ::GetClassNameA(w, cls, sizeof cls);
        if (lstrcmpA(cls, kSplitterClass) == 0) return static_cast<MailboxSplitter*>(FromHandle(w));
    }
    return nullptr;
}

bool MailboxSplitter::CreateSplitter(HWND frame, int id) {
    if (!RegisterClass(kSplitterClass, CS_DBLCLKS, nullptr,
                       reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return false;
    sizeCursor_ = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_SPLIT_SIZE));
    if (!sizeCursor_) sizeCursor_ = ::LoadCursorA(nullptr, IDC_SIZEWE);
    headerFont_.Reset(CreateHeaderFont());
    {
        WindowDC dc(nullptr);
        if (dc.Get()) {
            SelectGuard font(dc.Get(), HeaderFont());
            TEXTMETRICA tm{};
            ::GetTextMetricsA(dc.Get(), &tm);
            headerHeight_ = tm.tmHeight + kHeaderPadding;
        }
    }
    RECT client{};
    ::GetClientRect(frame, &client);
    if (!Create(kSplitterClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, client.right,
                client.bottom, frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
        ShowFailure(frame, "MAINFRM_CPP_8", "MAINFRM_CPP_9");
        return false;
    }
    if (!CreatePanes()) {
        ShowFailure(frame, "MAINFRM_CPP_6", "MAINFRM_CPP_7");
        return false;
    }
    SetPlacement(context_.placement);
    Layout();
    return true;
}

bool MailboxSplitter::CreatePanes() {
    panes_.reset(new (std::nothrow) PaneSet);
    if (!panes_) return false;
    if (!panes_->Create(Handle(), context_)) return false;
    folderPane_ = panes_->FolderWindow();
    messagePane_ = panes_->MessageWindow();
    return folderPane_ && messagePane_;
}

void MailboxSplitter::SetPlacement(const MainWindowPlacement& placement) {
    context_.placement = placement;
    RECT client{};
    if (Handle()) ::GetClientRect(Handle(), &client);
    const int right = std::max(0, static_cast<int>(client.right) - ListLeft());
    keepStoredCells_ = placement.hasColumns && !ListColumns::CellsFit(placement.columns, 0);
    // The default date column fits the widest date in the list's font.
    const int dateText = panes_ ? panes_->DateTextWidth() : 0;
    columns_ = placement.hasColumns ? ListColumns::FromCells(placement.columns, 0, right, dateText)
                                    : ListColumns(0, right, dateText);
    if (panes_) panes_->SetColumns(columns_);
    if (Handle()) ::InvalidateRect(Handle(), nullptr, TRUE);
    if (messagePane_) ::InvalidateRect(messagePane_, nullptr, TRUE);
}

bool MailboxSplitter::DragColumnBorder(ColumnBorder border, int x) {
    if (!columns_.MoveBorder(border, x)) return false;
    keepStoredCells_ = false;
    if (panes_) panes_->SetColumns(columns_);
    RECT header = ListHeaderRect();
    ::InvalidateRect(Handle(), &header, TRUE);
    if (messagePane_) ::InvalidateRect(messagePane_, nullptr, TRUE);
    return true;
}

RECT MailboxSplitter::ListHeaderRect() const {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    return RECT{ListLeft(), 0, client.right, headerHeight_};
}

void MailboxSplitter::Layout() {
    if (!Handle()) return;
    RECT client{};
    ::GetClientRect(Handle(), &client);
    // Keep both columns usable when the window shrinks.
    const int widest =
        std::max(kMinColumnWidth, static_cast<int>(client.right) - kBarWidth - kMinColumnWidth);
    leftWidth_ = std::min(leftWidth_, widest);
    const int paneHeight = std::max(0, static_cast<int>(client.bottom) - headerHeight_);
    const int listWidth = std::max(0, static_cast<int>(client.right) - ListLeft());
    if (folderPane_) ::MoveWindow(folderPane_, 0, headerHeight_, leftWidth_, paneHeight, TRUE);
    if (messagePane_)
        ::MoveWindow(messagePane_, ListLeft(), headerHeight_, listWidth, paneHeight, TRUE);
    columns_.SetRight(listWidth);
    // The panes draw their rows to their width (the subject runs to the right edge): every
    // row is drawn again, not only the area a move uncovers.
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MailboxSplitter::PaintHeader(HDC dc, const RECT& cell, const char* key, UINT align) {
    RECT box = cell;
    ::DrawEdge(dc, &box, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    char text[128] = "";
    if (context_.catalog) context_.catalog->LookupInto(key, text, sizeof text);
    box.left += 4;
    ::DrawTextA(dc, text, -1, &box, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void MailboxSplitter::Paint() {
    PaintDC paint(Handle());
    const HDC dc = paint.Get();
    RECT client{};
    ::GetClientRect(Handle(), &client);
    RECT strip{0, 0, client.right, headerHeight_};
    {
        Brush grey(::CreateSolidBrush(kHeaderGrey));
        ::FillRect(dc, &strip, grey.Get());
    }
    SelectGuard font(dc, HeaderFont());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    PaintHeader(dc, RECT{0, 0, leftWidth_, headerHeight_}, "MAINSPLI_CPP_1", DT_LEFT);
    const int x0 = ListLeft();
    const auto cells = columns_.Cells(headerHeight_);
    RECT icon{x0 + cells[0].left, 0, x0 + cells[0].right, headerHeight_};
    ::DrawEdge(dc, &icon, BDR_RAISEDINNER, BF_RECT);
    static const char* const kKeys[] = {"MAINSPLI_CPP_2", "MAINSPLI_CPP_3", "MAINSPLI_CPP_4"};
    for (int i = 1; i < kListColumns; ++i) {
        RECT cell{x0 + cells[i].left, 0, x0 + cells[i].right, headerHeight_};
        if (i == kListColumns - 1) cell.right = std::max(cell.right, client.right);
        PaintHeader(dc, cell, kKeys[i - 1], DT_LEFT);
    }
}

// The frame's rectangle by the maximised/minimised rule, with the list's column cells.
void MailboxSplitter::SavePlacement() {
    HWND frame = ::GetAncestor(Handle(), GA_ROOT);
    RECT actual{};
    if (!frame || !::GetWindowRect(frame, &actual)) return;
    MainWindowPlacement out;
    out.frame = MainWindowRectToStore(Rect32{actual.left, actual.top, actual.right, actual.bottom},
                                      ::IsZoomed(frame) != FALSE, ::IsIconic(frame) != FALSE);
    out.columns = keepStoredCells_ ? context_.placement.columns : columns_.Cells(headerHeight_);
    out.hasColumns = true;
    const std::string folder = context_.installPath ? context_.installPath : "";
    LogIfNotSaved(WriteMainWindowFile(folder, out), folder, context_.catalog, kMainWindowFile);
}

void MailboxSplitter::Run(PaneAction action) {
    if (panes_) panes_->Run(action);
}
void MailboxSplitter::NewComposer(const char* line) {
    if (panes_) panes_->NewComposer(line);
}

} // namespace lx
