#include "mailer/addressing/addrprint.h"

#include "common/catalog/msgcatalog.h"
#include "common/msgprint/win/pageframe.h"
#include "common/settings/win32_forms.h"
#include "common/win/handles.h"
#include "mailer/addressing/logic/addrprint_rules.h"
#include "printengine/prntvant.h"

#include <commdlg.h>

#include <memory>
#include <new>

namespace lx {
namespace {

// Space between the title and the first entry.
constexpr long kTitleGap = 10;

// The catalogue texts of the frame: the message list's date, page and status formats and month
// names, with the run's own document name as the footer.
MessagePrintTexts FrameTexts(const EntryPrintRun& run) {
    MessagePrintTexts texts = LoadMessagePrintTexts(kMessageListPrintKeys, [&run](const char* key) {
        const char* text = run.catalog ? run.catalog->Lookup(key) : nullptr;
        return std::string(text ? text : "");
    });
    texts.documentName = run.documentName;
    texts.footer = run.documentName;
    return texts;
}

// The run's fonts; one the program has not made (yet) is made here from its default description,
// so that what is measured is what is drawn.
class RunFonts {
public:
    explicit RunFonts(const EntryPrintRun& run) {
        for (int i = 0; i < kMessageFontCount; ++i) {
            const MessageFont which = static_cast<MessageFont>(i);
            HFONT font = run.font ? run.font(which) : nullptr;
            if (!font) {
                const LOGFONTA lf = ToLogFont(DefaultMessageFont(which));
                own_[i].Reset(::CreateFontIndirectA(&lf));
                font = own_[i].Get();
            }
            handles_[static_cast<std::size_t>(i)] = font;
        }
    }
    const MessagePrintFonts& Handles() const { return handles_; }

private:
    Font own_[kMessageFontCount];
    MessagePrintFonts handles_{};
};

// The height of an entry's two lines, measured on the sample of the first entry.
bool TwoLinesHeight(PageFrame& frame, const EntryPrintRun& run, long* height) {
    const PrintedEntry sample = run.entries.empty() ? PrintedEntry{} : run.entries.front();
    long width = 0, heading = 0, detail = 0;
    if (!frame.Measure(sample.heading.empty() ? " " : sample.heading, MessageFont::Tags, &width,
                       &heading) ||
        !frame.Measure(sample.detail.empty() ? " " : sample.detail, MessageFont::Text, &width,
                       &detail))
        return false;
    *height = heading + detail;
    return true;
}

bool PrintPages(PrintVant& engine, PageFrame& frame, const EntryPrintRun& run) {
    print::PageRect page;
    PageFrameParts parts;
    long twoLines = 0;
    if (!frame.MeasureFrame(run.title, &page, &parts) || !TwoLinesHeight(frame, run, &twoLines))
        return false;
    const PageFrameLayout layout = LayoutPageFrame(page, parts);
    const long entriesTop = layout.title.bottom + kTitleGap;
    const int count = static_cast<int>(run.entries.size());
    const EntryPagePlan plan = PlanEntryPages(count, layout.band.top - entriesTop, twoLines);
    for (int number = 1; number <= plan.pages; ++number) {
        frame.ShowStatus(number, plan.pages);
        if (!engine.StartNewPage(nullptr)) return false;
        int first = 0, end = 0;
        PageEntries(plan, count, number, &first, &end);
        print::PageRect line{page.left, static_cast<std::int32_t>(entriesTop), page.right,
                             static_cast<std::int32_t>(entriesTop)};
        for (int i = first; i < end; ++i) {
            frame.Line(run.entries[static_cast<std::size_t>(i)].heading, MessageFont::Tags, line);
            frame.Line(run.entries[static_cast<std::size_t>(i)].detail, MessageFont::Text, line);
        }
        frame.Draw(layout, run.title, number, plan.pages);
        if (engine.EndNewPage() <= 0) return false;
    }
    return true;
}

} // namespace

EntryPrintOutcome PrintEntries(const EntryPrintRun& run) {
    const MessagePrintTexts texts = FrameTexts(run);
    std::unique_ptr<PrintVant> engine(new (std::nothrow)
                                          PrintVant(run.owner, texts.documentName.c_str()));
    if (!engine) return EntryPrintOutcome::NotStarted;
    if (!engine->InitPrintVant(1, 1, nullptr)) {
        // A dialog the user cancelled leaves no extended error; a missing printer does.
        return ::CommDlgExtendedError() == 0 ? EntryPrintOutcome::Cancelled
                                             : EntryPrintOutcome::NotStarted;
    }
    if (!engine->StartPrintJob(nullptr)) return EntryPrintOutcome::NotStarted;
    const RunFonts fonts(run);
    PageFrame frame(*engine, texts, fonts.Handles());
    const bool printed = PrintPages(*engine, frame, run);
    engine->EndPrintJob();
    return printed ? EntryPrintOutcome::Printed : EntryPrintOutcome::Stopped;
}

} // namespace lx
