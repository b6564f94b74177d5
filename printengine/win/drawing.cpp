// PrintVant: text, lines and rectangles on the open page. Every object selected for a call is
// put back afterwards; pens and brushes made for a call are deleted after it.
#include "printengine/prntvant.h"

namespace {
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The rectangle outline with the DC's selected pen and brush.
void Outline(HDC dc, const RECT& r, int corner, int rounded) {
    if (rounded)
        ::RoundRect(dc, r.left, r.top, r.right, r.bottom, corner, corner);
    else
        ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
}
} // namespace

int PrintVant::PrintText(const char* text, int length, HFONT font, const RECT* rect, UINT format) {
    if (!Ready() || !text || !rect) return 0;
    lx::SelectGuard selected(dc_.Get(), font);
    RECT r = *rect;
    return ::DrawTextA(dc_.Get(), text, length, &r, format) != 0 || length == 0 ? 1 : 0;
}

int PrintVant::PrintLines(POINT from, POINT to, int width) {
    if (!Ready()) return 0;
    lx::Pen own;
    HGDIOBJ pen = ::GetStockObject(BLACK_PEN);
    if (width != 1) {
        own.Reset(::CreatePen(PS_SOLID, width, kBlack));
        if (!own) return 0;
        pen = own.Get();
    }
    lx::SelectGuard selected(dc_.Get(), pen);
    ::MoveToEx(dc_.Get(), from.x, from.y, nullptr);
    return ::LineTo(dc_.Get(), to.x, to.y) ? 1 : 0;
}

int PrintVant::PrintLines(POINT from, POINT to, HPEN pen) {
    if (!Ready() || !pen) return 0;
    lx::SelectGuard selected(dc_.Get(), pen);
    ::MoveToEx(dc_.Get(), from.x, from.y, nullptr);
    return ::LineTo(dc_.Get(), to.x, to.y) ? 1 : 0;
}

int PrintVant::PrintRect(const RECT* rect, int rounded) {
    return PrintRect(rect, static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)), rounded);
}

int PrintVant::PrintRect(const RECT* rect, HBRUSH brush, int rounded) {
    return PrintRect(rect, brush, static_cast<HPEN>(::GetStockObject(BLACK_PEN)), 1, rounded);
}

int PrintVant::PrintRect(const RECT* rect, HBRUSH brush, HPEN pen, int corner, int rounded) {
    if (!Ready() || !rect || !brush || !pen) return 0;
    lx::SelectGuard withPen(dc_.Get(), pen);
    lx::SelectGuard withBrush(dc_.Get(), brush);
    Outline(dc_.Get(), *rect, corner, rounded);
    return 1;
}

int PrintVant::PrintRect(const RECT* rect, COLORREF colour, int rounded) {
    return PrintRect(rect, colour, static_cast<HPEN>(::GetStockObject(BLACK_PEN)), 1, rounded);
}

int PrintVant::PrintRect(const RECT* rect, COLORREF colour, HPEN pen, int corner, int rounded) {
    if (!Ready()) return 0;
    lx::Brush brush(::CreateSolidBrush(colour));
    if (!brush) return 0;
    return PrintRect(rect, brush.Get(), pen, corner, rounded);
}
