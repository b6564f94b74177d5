// PrintVant: measuring text with the printer's own layout, and cutting a long text into pages.
#include "printengine/core/paginate.h"
#include "printengine/prntvant.h"

#include <cstdlib>

namespace {
constexpr UINT kMeasure = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS;

// The printer's text layout, for the pagination.
class PrinterMeasurer : public lx::print::TextMeasurer {
public:
    explicit PrinterMeasurer(HDC dc) : dc_(dc) {}
    long WrappedHeight(const char* text, std::size_t length, long width) override {
        RECT r{0, 0, static_cast<LONG>(width), 0};
        if (length == 0) return 0;
        const int height =
            ::DrawTextA(dc_, text, static_cast<int>(length), &r, kMeasure | DT_WORDBREAK);
        return height == 0 ? -1 : std::labs(r.bottom - r.top);
    }
    // The layout wraps every line on its own: a text is as high as its lines together.
    bool LinesAddUp() const override { return true; }

private:
    HDC dc_;
};
} // namespace

int PrintVant::GetTextSize(const char* text, int length, HFONT font, RECT* rect, int wrap) {
    if (!initialised_ || !jobStarted_ || !text || !rect || length < 0) return 0;
    lx::SelectGuard selected(dc_.Get(), font);
    RECT r = *rect;
    r.bottom = std::labs(r.bottom);
    if (::DrawTextA(dc_.Get(), text, length, &r,
                    kMeasure | (wrap ? DT_WORDBREAK : DT_SINGLELINE)) == 0 &&
        length > 0)
        return 0;
    rect->bottom = rect->top + std::labs(r.bottom - r.top);
    rect->right = r.right;
    return 1;
}

int PrintVant::CalcNumRects(const char* text, int length, HFONT font, const RECT* rect,
                            int* count) {
    if (!initialised_ || !jobStarted_ || !text || !rect || !count || length < 0) return 0;
    lx::SelectGuard selected(dc_.Get(), font);
    PrinterMeasurer measurer(dc_.Get());
    const long height = measurer.WrappedHeight(text, length, rect->right - rect->left);
    if (height < 0) return 0;
    return lx::print::CountRects(height, rect->bottom - rect->top, count) ? 1 : 0;
}

int PrintVant::GetTextForPage(const char* source, int length, int* position, const RECT* rect,
                              HFONT font, char* buffer, int* size) {
    if (!initialised_ || !jobStarted_ || !source || !position || !rect || !buffer || !size)
        return 0;
    if (length < 0 || *position < 0 || *position > length || *size < 2) return 0;
    lx::SelectGuard selected(dc_.Get(), font);
    PrinterMeasurer measurer(dc_.Get());
    const lx::print::PageRect page{rect->left, rect->top, rect->right, rect->bottom};
    std::size_t piece = 0;
    if (!lx::print::FitPiece(measurer, source, length, *position, page, buffer, *size, &piece))
        return 0;
    *position += static_cast<int>(piece);
    *size = static_cast<int>(piece);
    return 1;
}
