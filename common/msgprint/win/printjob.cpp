#include "common/msgprint/win/printjob.h"

#include "printengine/prntvant.h"

#include <memory>
#include <new>
#include <string>
#include <vector>

namespace lx {

namespace {

constexpr UINT kBodyText = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
constexpr int kPieceBuffer = 4096;

RECT ToRect(const print::PageRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// One job's drawing: the engine, the fonts and the catalogue texts.
class MessageJob {
public:
    MessageJob(PrintVant& engine, const MessagePrintTexts& texts, const MessagePrintFonts& fonts)
        : engine_(engine), texts_(texts), frame_(engine, texts, fonts) {}

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
                                        frame_.Font(MessageFont::Text), piece_, &size))
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
            frame_.ShowStatus(page, count);
            if (!engine_.StartNewPage(nullptr)) return false;
            if (page == 1) Header(m, layout.header);
            const RECT body = ToRect(page == 1 ? layout.firstBody : layout.laterBody);
            engine_.PrintText(m.body.data() + from, static_cast<int>(to - from),
                              frame_.Font(MessageFont::Text), &body, kBodyText);
            frame_.Draw(layout, title, page, count);
            if (engine_.EndNewPage() <= 0) return false;
        }
        return true;
    }

private:
    bool Layout(const std::string& title, MessagePageLayout* layout) {
        print::PageRect page;
        MeasuredParts m;
        long unused = 0;
        if (!frame_.MeasureFrame(title, &page, &m) ||
            !frame_.Measure(texts_.labels[2], MessageFont::Tags, &unused, &m.labelHeight) ||
            !frame_.Measure(texts_.labels[2], MessageFont::Text, &unused, &m.valueHeight))
            return false;
        *layout = LayoutMessagePage(page, m);
        return true;
    }

    void Header(const PrintedMessage& m, print::PageRect line) {
        for (const auto& [label, value] : HeaderLines(m, texts_)) {
            frame_.Line(label, MessageFont::Tags, line);
            frame_.Line(value, MessageFont::Text, line);
        }
        engine_.PrintLines(POINT{line.left, line.top - 1}, POINT{line.right, line.top - 1}, 1);
    }

    PrintVant& engine_;
    const MessagePrintTexts& texts_;
    PageFrame frame_;
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
