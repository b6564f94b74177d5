#include "common/msgprint/win/printjob.h"

#include "common/clock/localtime.h"
#include "printengine/prntvant.h"

#include <ctime>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace lx {

namespace {

constexpr UINT kOneLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
constexpr UINT kBodyText = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
constexpr COLORREF kBandColour = RGB(0xE0, 0xE0, 0xE0);
constexpr int kPieceBuffer = 4096;

RECT ToRect(const print::PageRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// One job's drawing: the engine, the fonts and the catalogue texts.
class MessageJob {
public:
    MessageJob(PrintVant& engine, const MessagePrintTexts& texts, const MessagePrintFonts& fonts)
        : engine_(engine), texts_(texts), fonts_(fonts) {}

    // Lays out and prints one message from a new page; false when the job cannot go on.
    bool Print(const PrintedMessage& m) {
        const std::string title = MessageTitle(m, texts_);
        MessagePageLayout layout;
        if (!Layout(title, &layout)) return false;
        std::vector<std::size_t> starts;
        auto find = [&](std::size_t position, const print::PageRect& r, std::size_t* piece) {
            int at = static_cast<int>(position), size = kPieceBuffer;
            const RECT rect = ToRect(r);
            if (!engine_.GetTextForPage(m.body.data(), static_cast<int>(m.body.size()), &at, &rect,
                                        Font(MessageFont::Text), piece_, &size))
                return false;
            *piece = static_cast<std::size_t>(size);
            return true;
        };
        if (!PlanBodyPages(m.body.size(), layout.firstBody, layout.laterBody, find, &starts))
            return false;
        const int count = static_cast<int>(starts.size());
        for (int page = 1; page <= count; ++page) {
            const std::size_t from = starts[page - 1];
            const std::size_t to = page < count ? starts[page] : m.body.size();
            engine_.ShowPageStatus(PageText(texts_.statusFormat, page, count).c_str());
            if (!engine_.StartNewPage(nullptr)) return false;
            Text(title, MessageFont::Head, layout.title, kOneLine | DT_CENTER);
            if (page == 1) Header(m, layout.header);
            const RECT body = ToRect(page == 1 ? layout.firstBody : layout.laterBody);
            engine_.PrintText(m.body.data() + from, static_cast<int>(to - from),
                              Font(MessageFont::Text), &body, kBodyText);
            Footer(layout, PageText(texts_.pageFormat, page, count));
            if (engine_.EndNewPage() <= 0) return false;
        }
        return true;
    }

private:
    HFONT Font(MessageFont which) const { return fonts_[static_cast<int>(which)]; }

    // Width and height of one line of `text`.
    bool Measure(const std::string& text, MessageFont font, long* width, long* height) {
        RECT r{0, 0, 0, 0};
        if (!engine_.GetTextSize(text.c_str(), static_cast<int>(text.size()), Font(font), &r, 0))
            return false;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return true;
    }

    bool Layout(const std::string& title, MessagePageLayout* layout) {
        RECT page{};
        if (!engine_.GetLogPageSize(&page)) return false;
        MeasuredParts m;
        long unused = 0;
        const std::string dateSample = "Dec XX, XXXX XX:XX:XX", pageSample = "Page XX of XX";
        if (!Measure(title, MessageFont::Head, &m.titleWidth, &m.titleHeight) ||
            !Measure(texts_.labels[2], MessageFont::Tags, &unused, &m.labelHeight) ||
            !Measure(texts_.labels[2], MessageFont::Text, &unused, &m.valueHeight) ||
            !Measure(dateSample, MessageFont::Foot, &m.dateWidth, &m.dateHeight) ||
            !Measure(texts_.footer, MessageFont::Foot, &m.footerWidth, &m.footerHeight) ||
            !Measure(pageSample, MessageFont::Foot, &m.pageWidth, &m.pageHeight))
            return false;
        *layout =
            LayoutMessagePage(print::PageRect{page.left, page.top, page.right, page.bottom}, m);
        return true;
    }

    // Draws one line and moves `line` below it.
    void Line(const std::string& text, MessageFont font, print::PageRect& line) {
        long width = 0, height = 0;
        Measure(text.empty() ? std::string(" ") : text, font, &width, &height);
        line.bottom = static_cast<std::int32_t>(line.top + height);
        Text(text, font, line, kOneLine);
        line.top = static_cast<std::int32_t>(line.bottom + 2);
    }

    void Header(const PrintedMessage& m, print::PageRect line) {
        for (const auto& [label, value] : HeaderLines(m, texts_)) {
            Line(label, MessageFont::Tags, line);
            Line(value, MessageFont::Text, line);
        }
        engine_.PrintLines(POINT{line.left, line.top - 1}, POINT{line.right, line.top - 1}, 1);
    }

    void Footer(const MessagePageLayout& l, const std::string& pageText) {
        const RECT band = ToRect(l.band);
        engine_.PrintRect(&band, kBandColour, 0);
        Text(PrintDateText(texts_, LocalTimeNow()), MessageFont::Foot, l.date, kOneLine);
        Text(texts_.footer, MessageFont::Foot, l.footer, kOneLine | DT_CENTER);
        Text(pageText, MessageFont::Foot, l.pageNumber, kOneLine | DT_RIGHT);
    }

    void Text(const std::string& text, MessageFont font, const print::PageRect& r, UINT format) {
        const RECT rect = ToRect(r);
        engine_.PrintText(text.c_str(), static_cast<int>(text.size()), Font(font), &rect, format);
    }

    PrintVant& engine_;
    const MessagePrintTexts& texts_;
    MessagePrintFonts fonts_;
    char piece_[kPieceBuffer];
};

} // namespace

PrintOutcome PrintMessageRun(const MessagePrintRun& run) {
    const MessagePrintTexts& texts = *run.texts;
    std::unique_ptr<PrintVant> engine(new (std::nothrow)
                                          PrintVant(run.owner, texts.documentName.c_str()));
    std::unique_ptr<MessageJob> job;
    if (engine) job.reset(new (std::nothrow) MessageJob(*engine, texts, run.fonts));
    if (!engine || !job) {
        if (run.noMemory) run.noMemory();
        return PrintOutcome::NotStarted;
    }
    if (!engine->InitPrintVant(1, 1, nullptr)) return PrintOutcome::NotStarted;
    if (!engine->StartPrintJob(nullptr)) return PrintOutcome::NotStarted;
    PrintOutcome outcome = PrintOutcome::Printed;
    for (std::size_t i = 0; i < run.count; ++i) {
        PrintedMessage message;
        if (!run.read || !run.read(i, &message)) {
            outcome = PrintOutcome::StoppedAtRow;
            break;
        }
        if (!job->Print(message)) {
            outcome = PrintOutcome::Cancelled;
            break;
        }
    }
    engine->EndPrintJob();
    return outcome;
}

} // namespace lx
