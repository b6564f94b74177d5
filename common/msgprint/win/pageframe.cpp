#include "common/msgprint/win/pageframe.h"

#include "common/clock/localtime.h"
#include "printengine/prntvant.h"

namespace lx {
namespace {

constexpr UINT kOneLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
constexpr COLORREF kBandColour = RGB(0xE0, 0xE0, 0xE0);

RECT ToRect(const print::PageRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

} // namespace

bool PageFrame::Measure(const std::string& text, MessageFont font, long* width, long* height) {
    RECT r{0, 0, 0, 0};
    if (!engine_.GetTextSize(text.c_str(), static_cast<int>(text.size()), Font(font), &r, 0))
        return false;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return true;
}

bool PageFrame::MeasureFrame(const std::string& title, print::PageRect* page,
                             PageFrameParts* parts) {
    RECT logical{};
    if (!engine_.GetLogPageSize(&logical)) return false;
    *page = print::PageRect{logical.left, logical.top, logical.right, logical.bottom};
    const std::string dateSample = "Dec XX, XXXX XX:XX:XX", pageSample = "Page XX of XX";
    return Measure(title, MessageFont::Head, &parts->titleWidth, &parts->titleHeight) &&
           Measure(dateSample, MessageFont::Foot, &parts->dateWidth, &parts->dateHeight) &&
           Measure(texts_.footer, MessageFont::Foot, &parts->footerWidth, &parts->footerHeight) &&
           Measure(pageSample, MessageFont::Foot, &parts->pageWidth, &parts->pageHeight);
}

void PageFrame::Line(const std::string& text, MessageFont font, print::PageRect& line) {
    long width = 0, height = 0;
    Measure(text.empty() ? std::string(" ") : text, font, &width, &height);
    line.bottom = static_cast<std::int32_t>(line.top + height);
    Text(text, font, line, kOneLine);
    line.top = static_cast<std::int32_t>(line.bottom + 2);
}

void PageFrame::Text(const std::string& text, MessageFont font, const print::PageRect& r,
                     UINT format) {
    const RECT rect = ToRect(r);
    engine_.PrintText(text.c_str(), static_cast<int>(text.size()), Font(font), &rect, format);
}

void PageFrame::ShowStatus(int page, int count) {
    engine_.ShowPageStatus(PageText(texts_.statusFormat, page, count).c_str());
}

void PageFrame::Draw(const PageFrameLayout& l, const std::string& title, int page, int count) {
    Text(title, MessageFont::Head, l.title, kOneLine | DT_CENTER);
    const RECT band = ToRect(l.band);
    engine_.PrintRect(&band, kBandColour, 0);
    Text(PrintDateText(texts_, LocalTimeNow()), MessageFont::Foot, l.date, kOneLine);
    Text(texts_.footer, MessageFont::Foot, l.footer, kOneLine | DT_CENTER);
    Text(PageText(texts_.pageFormat, page, count), MessageFont::Foot, l.pageNumber,
         kOneLine | DT_RIGHT);
}

} // namespace lx
