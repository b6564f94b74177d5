// The print engine on the test printer: the object's rules, the page geometry, measuring, and
// the status window's Cancel.
#include "printengine/prntvant.h"
#include "tests/print/printer_fixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace lx::print::test {
namespace {

constexpr char kNoName[] = "QBT-PrintVant V1.0 [No Name]";

class Engine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(DefaultPrinter().empty()) << "no default printer: run tools/setup/cups.sh";
        PrintVant::SetPrintDialog(AnswerPrintDialog);
        SetDialogAnswer(&answer_);
    }
    void TearDown() override {
        SetDialogAnswer(nullptr);
        PrintVant::SetPrintDialog(nullptr);
    }
    std::string StatusTitle() const {
        char title[64] = "";
        if (HWND status = PrintVant::StatusWindow()) ::GetWindowTextA(status, title, sizeof title);
        return title;
    }
    DialogAnswer answer_;
    OwnerWindow owner_;
};

TEST_F(Engine, DocumentNameRule) {
    const std::string name31(31, 'n'), name32(32, 'n');
    const struct {
        const char* given;
        std::string job;
    } cases[] = {
        {"Lorvex Messages", "Lorvex Messages"},
        {name31.c_str(), name31},
        {name32.c_str(), kNoName},
        {nullptr, kNoName},
        {"", kNoName},
    };
    for (const auto& c : cases) {
        PrintVant engine(owner_.Handle(), c.given);
        ASSERT_EQ(engine.InitPrintVant(1, 0, nullptr), 1);
        EXPECT_EQ(StatusTitle(), c.job) << (c.given ? c.given : "(none)");
    }
}

TEST_F(Engine, DrawingNeedsAnOpenPage) {
    PrintVant engine(owner_.Handle(), "page order");
    const RECT r{0, 0, 400, 100};
    EXPECT_EQ(engine.PrintText("x", 1, nullptr, &r, 0), 0) << "not initialised";
    ASSERT_EQ(engine.InitPrintVant(1, 0, nullptr), 1);
    EXPECT_EQ(engine.PrintText("x", 1, nullptr, &r, 0), 0) << "no job";
    EXPECT_EQ(engine.StartNewPage(nullptr), 0) << "no job";
    char error[128] = "";
    ASSERT_EQ(engine.StartPrintJob(error), 1) << error;
    EXPECT_EQ(engine.PrintText("x", 1, nullptr, &r, 0), 0) << "no page";
    EXPECT_EQ(engine.PrintRect(&r, 0), 0) << "no page";
    EXPECT_EQ(engine.EndNewPage(), 0) << "no page";
    ASSERT_EQ(engine.StartNewPage(nullptr), 1);
    EXPECT_EQ(engine.PrintText("x", 1, nullptr, &r, DT_SINGLELINE), 1);
    EXPECT_EQ(engine.PrintLines(POINT{0, 120}, POINT{400, 120}, 3), 1);
    EXPECT_EQ(engine.PrintRect(&r, RGB(0xE0, 0xE0, 0xE0), 0), 1);
    EXPECT_GT(engine.EndNewPage(), 0);
    EXPECT_EQ(engine.PrintText("x", 1, nullptr, &r, 0), 0) << "page closed";
    EXPECT_GT(engine.EndPrintJob(), 0);
    EXPECT_EQ(engine.EndPrintJob(), 0) << "job ended";
}

TEST_F(Engine, OnlyOneObjectPrints) {
    auto first = std::make_unique<PrintVant>(owner_.Handle(), "first");
    auto second = std::make_unique<PrintVant>(owner_.Handle(), "second");
    EXPECT_EQ(PrintVant::RefCounter, 2);
    EXPECT_EQ(first->InitPrintVant(1, 0, nullptr), 0);
    EXPECT_EQ(second->InitPrintVant(1, 0, nullptr), 0);
    EXPECT_EQ(answer_.calls, 0);
    second.reset();
    EXPECT_EQ(PrintVant::RefCounter, 1);
    EXPECT_EQ(first->InitPrintVant(1, 0, nullptr), 1);
    first.reset();
    EXPECT_EQ(PrintVant::RefCounter, 0);
}

TEST_F(Engine, PageGeometryInHundredthsOfAnInch) {
    const struct {
        const char* name;
        short paper;
        float width, height;
    } cases[] = {
        {"Letter", DMPAPER_LETTER, 8, 11},
        {"Legal", DMPAPER_LEGAL, 8, 14},
        {"A4", DMPAPER_A4, 8, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        answer_.paper = c.paper;
        PrintVant engine(owner_.Handle(), c.name);
        ASSERT_EQ(engine.InitPrintVant(1, 1, nullptr), 1);
        EXPECT_EQ(answer_.flagsSeen & (PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS |
                                       PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE),
                  DWORD(PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS |
                        PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE));
        float width = 0, height = 0;
        ASSERT_EQ(engine.GetPhyPageSize(&width, &height), 1);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        SIZE ppi{};
        ASSERT_EQ(engine.PixelsPerInch(&ppi), 1);
        EXPECT_EQ(ppi.cx, 100);
        EXPECT_EQ(ppi.cy, 100);
        int dpi = 0;
        ASSERT_EQ(engine.DeviceCaps(LOGPIXELSX, &dpi), 1);
        EXPECT_GT(dpi, 0);
        RECT page{};
        ASSERT_EQ(engine.GetLogPageSize(&page), 1);
        EXPECT_EQ(page.left, 0);
        EXPECT_EQ(page.top, 0);
        // The printable area lies inside the paper and covers most of it.
        EXPECT_LE(page.right, static_cast<LONG>(c.width * 100 + 100));
        EXPECT_GT(page.right, static_cast<LONG>(c.width * 100 * 0.8));
        EXPECT_GT(page.bottom, static_cast<LONG>(c.height * 100 * 0.8));
    }
}

TEST_F(Engine, CancelledDialogLeavesNothingBehind) {
    answer_.cancel = true;
    PrintVant engine(owner_.Handle(), "cancelled");
    EXPECT_EQ(engine.InitPrintVant(1, 1, nullptr), 0);
    EXPECT_EQ(answer_.calls, 1);
    EXPECT_TRUE(::IsWindowEnabled(owner_.Handle()));
    EXPECT_EQ(PrintVant::StatusWindow(), nullptr);
    RECT page{};
    EXPECT_EQ(engine.GetLogPageSize(&page), 0);
    EXPECT_EQ(engine.StartPrintJob(nullptr), 0);
}

TEST_F(Engine, MeasuringOnThePrinter) {
    PrintVant engine(owner_.Handle(), "measure");
    ASSERT_EQ(engine.InitPrintVant(1, 0, nullptr), 1);
    RECT r{100, 50, 500, 50};
    EXPECT_EQ(engine.GetTextSize("XX", 2, nullptr, &r, 0), 0) << "no job yet";
    ASSERT_EQ(engine.StartPrintJob(nullptr), 1);
    RECT one{100, 50, 500, 50}, two = one;
    ASSERT_EQ(engine.GetTextSize("X", 1, nullptr, &one, 0), 1);
    ASSERT_EQ(engine.GetTextSize("XX", 2, nullptr, &two, 0), 1);
    EXPECT_EQ(one.left, 100);
    EXPECT_EQ(one.top, 50);
    EXPECT_GT(one.bottom, 50);
    EXPECT_GT(two.right, one.right);
    EXPECT_EQ(two.bottom, one.bottom);

    // The printer's layout wraps every line on its own, so a text is as high as its lines (an
    // empty line as high as a blank, a final line end adding nothing): pagination relies on it.
    auto high = [&](const std::string& t) {
        RECT box{0, 0, 300, 0};
        EXPECT_EQ(engine.GetTextSize(t.data(), static_cast<int>(t.size()), nullptr, &box, 1), 1);
        return box.bottom;
    };
    const std::string wide = "a line long enough to wrap twice in three inches of paper width";
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } sums[] = {
        {"one\r\ntwo", {"one", "two"}},
        {"one\r\n\r\ntwo", {"one", " ", "two"}},
        {"one\ntwo\rthree", {"one", "two", "three"}},
        {"one\r\n", {"one"}},
        {"\r\n" + wide + "\r\nend", {" ", wide, "end"}},
    };
    for (const auto& c : sums) {
        LONG total = 0;
        for (const auto& line : c.lines) total += high(line);
        EXPECT_EQ(high(c.text), total) << c.text;
    }

    // Wrapped text twice as high as a rectangle needs two, one unit less needs three.
    const std::string text = "line one\r\nline two\r\nline three\r\nline four";
    RECT column{0, 0, 5000, 0};
    ASSERT_EQ(engine.GetTextSize(text.data(), static_cast<int>(text.size()), nullptr, &column, 1),
              1);
    const LONG height = column.bottom;
    ASSERT_GT(height, 0);
    int count = 0;
    RECT half{0, 0, 5000, height / 2};
    ASSERT_EQ(height % 2, 0) << "four equal lines";
    EXPECT_EQ(
        engine.CalcNumRects(text.data(), static_cast<int>(text.size()), nullptr, &half, &count), 1);
    EXPECT_EQ(count, 2);
    half.bottom -= 1;
    EXPECT_EQ(
        engine.CalcNumRects(text.data(), static_cast<int>(text.size()), nullptr, &half, &count), 1);
    EXPECT_EQ(count, 3);
    RECT flat{0, 10, 5000, 10};
    EXPECT_EQ(
        engine.CalcNumRects(text.data(), static_cast<int>(text.size()), nullptr, &flat, &count), 0);

    // Pieces of a rectangle of two lines: whole lines, the next piece starting at the line end.
    char buffer[4096];
    int position = 0, size = sizeof buffer;
    RECT two_lines{0, 0, 5000, height / 2};
    ASSERT_EQ(engine.GetTextForPage(text.data(), static_cast<int>(text.size()), &position,
                                    &two_lines, nullptr, buffer, &size),
              1);
    EXPECT_EQ(std::string(buffer), "line one\r\nline two");
    EXPECT_EQ(position, 18);
    EXPECT_EQ(size, 18);
    size = sizeof buffer;
    EXPECT_EQ(engine.GetTextForPage(text.data(), static_cast<int>(text.size()), &position,
                                    &two_lines, nullptr, nullptr, &size),
              0)
        << "no buffer";
    EXPECT_EQ(engine.GetTextForPage(text.data(), static_cast<int>(text.size()), &position, &flat,
                                    nullptr, buffer, &size),
              0)
        << "no height";
    engine.EndPrintJob();
    EXPECT_EQ(engine.GetTextSize("XX", 2, nullptr, &r, 0), 0) << "the job has ended";
}

TEST_F(Engine, CancelEndsTheJobAndKeepsTheOwnerServed) {
    PrintVant engine(owner_.Handle(), "cancel me");
    ASSERT_EQ(engine.InitPrintVant(1, 0, nullptr), 1);
    HWND status = PrintVant::StatusWindow();
    ASSERT_NE(status, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(owner_.Handle()));
    ASSERT_EQ(engine.StartPrintJob(nullptr), 1);
    ASSERT_EQ(engine.StartNewPage(nullptr), 1);
    ASSERT_EQ(engine.ShowPageStatus("Printing page 1 of 3"), 1);
    char shown[64] = "";
    ::GetDlgItemTextA(status, PrintVant::kStatusText, shown, sizeof shown);
    EXPECT_STREQ(shown, "Printing page 1 of 3");

    ::PostMessageA(owner_.Handle(), WM_APP, 0, 0);
    ::PostMessageA(::GetDlgItem(status, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_LE(engine.EndNewPage(), 0);
    EXPECT_EQ(owner_.AppMessages(), 1) << "the owner's messages are dispatched while printing";
    char error[128] = "";
    EXPECT_EQ(engine.StartNewPage(error), 0);
    EXPECT_STRNE(error, "");
    EXPECT_EQ(engine.EndPrintJob(), 0);
    EXPECT_TRUE(::IsWindowEnabled(owner_.Handle()));
    EXPECT_EQ(PrintVant::StatusWindow(), nullptr);
    EXPECT_FALSE(::IsWindow(status));
}

} // namespace
} // namespace lx::print::test
