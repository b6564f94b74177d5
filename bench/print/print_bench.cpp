// Paginating and printing a 1 MB text through the print engine against a plain GDI loop that
// measures and draws the same lines, both on the default printer's DC in the same run. Each
// round's job is cancelled at its end, so nothing reaches the printer. Prints medians of
// interleaved rounds and pages per second.
#include "printengine/prntvant.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kRounds = 5;
constexpr int kBuffer = 4096;

std::string Text(std::size_t size) {
    const char* words[] = {"alpha", "bravo",   "charlie", "delta",
                           "echo",  "foxtrot", "golf",    "hotel"};
    std::string text;
    for (int line = 0; text.size() < size; ++line) {
        std::string l = "line " + std::to_string(line) + ":";
        for (int w = 0; w < 9; ++w) l += std::string(" ") + words[(line * 3 + w) % 8];
        text += l + "\r\n";
    }
    return text;
}

HFONT BodyFont() {
    LOGFONTA lf{};
    lf.lfHeight = -14; // 10 point at a hundredth of an inch a unit
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "Liberation Serif");
    return ::CreateFontIndirectA(&lf);
}

void CancelJob() {
    if (HWND status = PrintVant::StatusWindow()) ::PostMessageA(status, WM_COMMAND, IDCANCEL, 0);
}

// The engine: one piece a page, drawn in the page's body rectangle.
double EngineRound(const std::string& text, HFONT font, int* pages) {
    PrintVant engine(nullptr, "engine bench");
    if (!engine.InitPrintVant(1, 0, nullptr) || !engine.StartPrintJob(nullptr)) return -1;
    RECT page{};
    engine.GetLogPageSize(&page);
    const RECT body{page.left, page.top + 50, page.right, page.bottom - 50};
    std::vector<char> buffer(kBuffer);
    const auto start = std::chrono::steady_clock::now();
    int position = 0;
    *pages = 0;
    while (position < static_cast<int>(text.size())) {
        const int from = position;
        int size = kBuffer;
        if (!engine.GetTextForPage(text.data(), static_cast<int>(text.size()), &position, &body,
                                   font, buffer.data(), &size) ||
            size == 0)
            return -1;
        engine.StartNewPage(nullptr);
        engine.PrintText(text.data() + from, size, font, &body,
                         DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        engine.EndNewPage();
        ++*pages;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    CancelJob();
    engine.EndNewPage();
    engine.EndPrintJob();
    return seconds;
}

// The floor: each source line measured once and drawn below the previous one, a new page when
// the next line would not fit.
double PlainRound(const std::string& text, HFONT font, int* pages) {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!::PrintDlgA(&pd) || !pd.hDC) return -1;
    lx::DeviceContext dc(pd.hDC);
    lx::GlobalMemory mode(pd.hDevMode), names(pd.hDevNames);
    auto mapping = [&] {
        ::SetMapMode(dc.Get(), MM_ANISOTROPIC);
        ::SetWindowExtEx(dc.Get(), 100, 100, nullptr);
        ::SetViewportExtEx(dc.Get(), ::GetDeviceCaps(dc.Get(), LOGPIXELSX),
                           ::GetDeviceCaps(dc.Get(), LOGPIXELSY), nullptr);
    };
    mapping();
    POINT size{::GetDeviceCaps(dc.Get(), HORZRES), ::GetDeviceCaps(dc.Get(), VERTRES)};
    ::DPtoLP(dc.Get(), &size, 1);
    const RECT body{0, 50, size.x, size.y - 50};
    DOCINFOA doc{sizeof doc, "plain bench", nullptr, nullptr, 0};
    if (::StartDocA(dc.Get(), &doc) <= 0) return -1;
    lx::SelectGuard selected(dc.Get(), font);
    const auto start = std::chrono::steady_clock::now();
    *pages = 0;
    long y = body.bottom; // no page open yet
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        RECT line{body.left, 0, body.right, 0};
        ::DrawTextA(dc.Get(), text.data() + at, static_cast<int>(end - at), &line,
                    DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        const long height = line.bottom - line.top;
        if (y + height > body.bottom) {
            if (*pages) ::EndPage(dc.Get());
            ::StartPage(dc.Get());
            mapping();
            ++*pages;
            y = body.top;
        }
        RECT r{body.left, static_cast<LONG>(y), body.right, static_cast<LONG>(y + height)};
        ::DrawTextA(dc.Get(), text.data() + at, static_cast<int>(end - at), &r,
                    DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        y += height;
        at = end + 2;
    }
    ::EndPage(dc.Get());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ::AbortDoc(dc.Get());
    return seconds;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const std::size_t size = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : (1u << 20);
    const std::string text = Text(size);
    lx::Font font(BodyFont());
    std::vector<double> engine, plain;
    int enginePages = 0, plainPages = 0;
    for (int round = 0; round < kRounds; ++round) {
        const double e = EngineRound(text, font.Get(), &enginePages);
        const double p = PlainRound(text, font.Get(), &plainPages);
        if (e < 0 || p < 0) {
            std::printf("round %d failed: no default printer? (tools/setup/cups.sh)\n", round + 1);
            return 1;
        }
        std::printf("round %d: engine %.3f s (%d pages), plain GDI %.3f s (%d pages)\n", round + 1,
                    e, enginePages, p, plainPages);
        engine.push_back(e);
        plain.push_back(p);
    }
    const double e = Median(engine), p = Median(plain);
    std::printf("text %zu bytes\n", text.size());
    std::printf("engine    median %.3f s, %d pages, %.1f pages/s\n", e, enginePages,
                enginePages / e);
    std::printf("plain GDI median %.3f s, %d pages, %.1f pages/s\n", p, plainPages, plainPages / p);
    std::printf("engine / plain: %.2fx (target 1.5x)\n", e / p);
    return 0;
}
