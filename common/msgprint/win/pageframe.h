// Drawing the page frame every printed page shares: the title at the top and the footer band
// with the date, the footer text and the page number; measuring and drawing single lines in the
// four print fonts. Used by message printing and by the address book's and mailing lists' print.
#pragma once
#include "common/msgprint/msgprint_layout.h"
#include "common/settings/font_desc.h"

#include <windows.h>

#include <array>
#include <string>

class PrintVant;

namespace lx {

// The head, tags, text and foot fonts in that order; nullptr prints in the printer's default font.
using MessagePrintFonts = std::array<HFONT, 4>;

class PageFrame {
public:
    PageFrame(PrintVant& engine, const MessagePrintTexts& texts, const MessagePrintFonts& fonts)
        : engine_(engine), texts_(texts), fonts_(fonts) {}

    HFONT Font(MessageFont which) const { return fonts_[static_cast<int>(which)]; }
    // Width and height of one line of `text`.
    bool Measure(const std::string& text, MessageFont font, long* width, long* height);
    // The logical page and the frame's parts measured for `title`.
    bool MeasureFrame(const std::string& title, print::PageRect* page, PageFrameParts* parts);
    // Draws one line from `line.top` and moves `line.top` below it (its height plus 2).
    void Line(const std::string& text, MessageFont font, print::PageRect& line);
    void Text(const std::string& text, MessageFont font, const print::PageRect& r, UINT format);
    // The status window's text for the page about to print.
    void ShowStatus(int page, int count);
    // The title and the footer band with the date, the footer text and "page of count".
    void Draw(const PageFrameLayout& l, const std::string& title, int page, int count);

private:
    PrintVant& engine_;
    const MessagePrintTexts& texts_;
    MessagePrintFonts fonts_;
};

} // namespace lx
