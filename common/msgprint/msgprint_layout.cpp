#include "common/msgprint/msgprint_layout.h"

#include "common/catalog/textformat.h"

#include <algorithm>
#include <cstdio>

namespace lx {

const MessagePrintKeys kMessageListPrintKeys = {
    "MAILMESS_CPP_33",
    "MAILMESS_CPP_33", // the footer repeats the document name
    "MAILMESS_CPP_34",
    "MAILMESS_CPP_43",
    {"MAILMESS_CPP_35", "MAILMESS_CPP_36", "MAILMESS_CPP_37", "MAILMESS_CPP_38"},
    "MAILMESS_CPP_39",
    "MAILMESS_CPP_40",
    "MAILMESS_CPP_41",
    "MAILMESS_CPP_42",
    "MAILMESS_CPP_",
};

const MessagePrintKeys kViewerPrintKeys = {
    "MAINFRM_CPP_28",
    "MAINFRM_CPP_29",
    "MAINFRM_CPP_30",
    "MAINFRM_CPP_30", // never used: the viewer's message is always titled by its sender
    {"MAINFRM_CPP_31", "MAINFRM_CPP_32", "MAINFRM_CPP_33", "MAINFRM_CPP_34"},
    "MAINFRM_CPP_35",
    "MAINFRM_CPP_36",
    "MAINFRM_CPP_37",
    nullptr,
    "MAINFRM_CPP_",
};

MessagePrintTexts LoadMessagePrintTexts(const MessagePrintKeys& keys,
                                        const std::function<std::string(const char* key)>& text) {
    const auto of = [&](const char* key) { return key ? text(key) : std::string(); };
    MessagePrintTexts t;
    t.documentName = of(keys.documentName);
    t.footer = of(keys.footer);
    t.titleFrom = of(keys.titleFrom);
    t.titleTo = of(keys.titleTo);
    for (std::size_t i = 0; i < t.labels.size(); ++i) t.labels[i] = of(keys.labels[i]);
    t.statusFormat = of(keys.statusFormat);
    t.dateFormat = of(keys.dateFormat);
    t.pageFormat = of(keys.pageFormat);
    t.placeholder = of(keys.placeholder);
    for (int m = 1; m <= 12; ++m) {
        char key[32];
        std::snprintf(key, sizeof key, "%s%d", keys.monthPrefix, m);
        std::string name = of(key);
        if (name.size() > kPrintMonthNameLen) name.resize(kPrintMonthNameLen);
        t.months[static_cast<std::size_t>(m)] = std::move(name);
    }
    return t;
}

std::string MessageTitle(const PrintedMessage& m, const MessagePrintTexts& t) {
    if (m.incoming) return t.titleFrom + m.address;
    return t.titleTo + (m.firstTo.empty() ? m.address : m.firstTo);
}

std::array<std::pair<std::string, std::string>, 4> HeaderLines(const PrintedMessage& m,
                                                               const MessagePrintTexts& t) {
    return {{{t.labels[0], m.incoming ? m.mesgId : t.placeholder},
             {t.labels[1], m.incoming ? m.mesgDate : t.placeholder},
             {t.labels[2], PrintDateText(t, m.appDate)},
             {t.labels[3], m.subject}}};
}

std::string PrintDateText(const MessagePrintTexts& t, const StoreTime& when) {
    const std::string& month =
        t.months[when.month >= 1 && when.month <= 12 ? static_cast<std::size_t>(when.month) : 0];
    return FormatTextOr(t.dateFormat.c_str(),
                        {month, when.day, when.year, when.hour, when.minute, when.second}, "");
}

std::string PageText(const std::string& format, int page, int count) {
    return FormatTextOr(format.c_str(), {page, count},
                        std::to_string(page) + " / " + std::to_string(count));
}

PageFrameLayout LayoutPageFrame(const print::PageRect& p, const PageFrameParts& m) {
    PageFrameLayout l;
    // The title, centred on the first line of the page.
    const long w = m.titleWidth + 1;
    l.title.left = static_cast<std::int32_t>((p.right - w) / 2);
    l.title.right = static_cast<std::int32_t>(l.title.left + w + 1);
    l.title.top = p.top;
    l.title.bottom = static_cast<std::int32_t>(p.top + m.titleHeight);
    // The footer band's three texts share one bottom line.
    const auto footerText = [&](long left, long width, long height) {
        return print::PageRect{static_cast<std::int32_t>(left),
                               static_cast<std::int32_t>(p.bottom - 2 - height),
                               static_cast<std::int32_t>(left + width), p.bottom - 2};
    };
    l.date = footerText(p.left + 1, m.dateWidth, m.dateHeight);
    l.footer = footerText((p.right - m.footerWidth) / 2, m.footerWidth, m.footerHeight);
    l.pageNumber = footerText(p.right - m.pageWidth - 3, m.pageWidth + 2, m.pageHeight);
    const std::int32_t bandTop = std::min({l.date.top, l.footer.top, l.pageNumber.top}) - 1;
    l.band = {p.left, bandTop, p.right, p.bottom};
    return l;
}

MessagePageLayout LayoutMessagePage(const print::PageRect& p, const MeasuredParts& m) {
    MessagePageLayout l;
    static_cast<PageFrameLayout&>(l) = LayoutPageFrame(p, m);
    const std::int32_t bandTop = l.band.top;
    // The header block's first line.
    l.header = {p.left, l.title.bottom + 10, p.right,
                static_cast<std::int32_t>(l.title.bottom + 10 + m.labelHeight)};
    // Four labels and four values, each moving down by its height and 2, then the rule.
    const long block = 4 * (m.labelHeight + 2) + 4 * (m.valueHeight + 2) + 4;
    const long bodyTop = std::max(l.header.top + 9 * m.labelHeight, l.header.top + block);
    const std::int32_t bodyBottom = std::min<std::int32_t>(
        static_cast<std::int32_t>(p.bottom - m.pageHeight - 12), bandTop - 2);
    l.firstBody = {p.left, static_cast<std::int32_t>(bodyTop), p.right, bodyBottom};
    l.laterBody = {p.left, l.title.bottom + 25, p.right, bodyBottom};
    return l;
}

bool PlanBodyPages(std::size_t length, const print::PageRect& first, const print::PageRect& later,
                   const PieceFinder& find, std::vector<std::size_t>* starts) {
    starts->assign(1, 0);
    std::size_t position = 0;
    while (position < length) {
        std::size_t piece = 0;
        const print::PageRect& rect = starts->size() == 1 ? first : later;
        if (!find(position, rect, &piece) || piece == 0) return false;
        position += piece;
        if (position < length) starts->push_back(position);
    }
    return true;
}

} // namespace lx
