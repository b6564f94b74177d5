// The texts, places and pages of a printed message.
#include "common/msgprint/msgprint_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace lx {
namespace {

MessagePrintTexts Texts() {
    static const std::map<std::string, std::string> catalogue = {
        {"MAILMESS_CPP_1", "Jan"},
        {"MAILMESS_CPP_12", "Dec"},
        {"MAILMESS_CPP_33", "Lorvex Messages"},
        {"MAILMESS_CPP_34", "Message from "},
        {"MAILMESS_CPP_35", "Message ID:"},
        {"MAILMESS_CPP_36", "Date Sent:"},
        {"MAILMESS_CPP_37", "Date Received:"},
        {"MAILMESS_CPP_38", "Subject:"},
        {"MAILMESS_CPP_39", "Printing page %d of %d"},
        {"MAILMESS_CPP_40", "%s %02d, %04d %02d:%02d:%02d"},
        {"MAILMESS_CPP_41", "Page %d of %d"},
        {"MAILMESS_CPP_42", "(not applicable)"},
        {"MAILMESS_CPP_43", "Message to "},
    };
    return LoadMessagePrintTexts(kMessageListPrintKeys, [](const char* key) {
        auto found = catalogue.find(key);
        return found == catalogue.end() ? std::string() : found->second;
    });
}

PrintedMessage Message(bool incoming, const std::string& firstTo = "") {
    PrintedMessage m;
    m.incoming = incoming;
    m.address = "sender@example.org";
    m.firstTo = firstTo;
    m.subject = "Quarterly figures";
    m.mesgId = "<abc@example.org>";
    m.mesgDate = "Mon, 5 Jan 2026 10:00:00 +0000";
    m.appDate = StoreTime{2026, 12, 9, 7, 5, 3};
    return m;
}

TEST(MessagePrintTexts, TitlesAndHeaderLines) {
    const MessagePrintTexts t = Texts();
    const struct {
        const char* name;
        PrintedMessage m;
        std::string title, id, sent;
    } cases[] = {
        {"retrieved", Message(true), "Message from sender@example.org", "<abc@example.org>",
         "Mon, 5 Jan 2026 10:00:00 +0000"},
        {"own with recipient", Message(false, "first@example.net"), "Message to first@example.net",
         "(not applicable)", "(not applicable)"},
        {"own without recipient", Message(false), "Message to sender@example.org",
         "(not applicable)", "(not applicable)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MessageTitle(c.m, t), c.title);
        const auto lines = HeaderLines(c.m, t);
        EXPECT_EQ(lines[0], std::make_pair(std::string("Message ID:"), c.id));
        EXPECT_EQ(lines[1], std::make_pair(std::string("Date Sent:"), c.sent));
        EXPECT_EQ(lines[2].second, "Dec 09, 2026 07:05:03");
        EXPECT_EQ(lines[3].second, "Quarterly figures");
    }
}

TEST(MessagePrintTexts, PageTextsAndBadFormats) {
    EXPECT_EQ(PageText("Page %d of %d", 1, 12), "Page 1 of 12");
    EXPECT_EQ(PageText("Page %s of %d", 1, 12), "1 / 12") << "a text conversion for a number";
    MessagePrintTexts t = Texts();
    t.dateFormat = "%d %s";
    EXPECT_EQ(PrintDateText(t, StoreTime{2026, 1, 2, 3, 4, 5}), "");
}

TEST(MessagePageLayout, PartsStayApartOnThePage) {
    const print::PageRect page{0, 0, 800, 1050};
    MeasuredParts m;
    m.titleWidth = 300, m.titleHeight = 30, m.labelHeight = 16, m.valueHeight = 18;
    m.dateWidth = 150, m.dateHeight = 14, m.footerWidth = 110, m.footerHeight = 14;
    m.pageWidth = 90, m.pageHeight = 14;
    const MessagePageLayout l = LayoutMessagePage(page, m);
    EXPECT_EQ(l.title.left, (800 - 301) / 2);
    EXPECT_EQ(l.title.right - l.title.left, 302);
    EXPECT_EQ(l.header.top, 40);
    EXPECT_EQ(l.date.bottom, 1048);
    EXPECT_EQ(l.pageNumber.right, 799);
    EXPECT_EQ(l.band.top, 1048 - 14 - 1);
    EXPECT_EQ(l.laterBody.top, 55);
    // The header block (four labels and four values) ends above the first page's body.
    EXPECT_GE(l.firstBody.top, l.header.top + 4 * (16 + 2) + 4 * (18 + 2));
    for (const auto& body : {l.firstBody, l.laterBody}) {
        EXPECT_LT(body.bottom, l.band.top);
        EXPECT_GT(body.bottom, body.top);
    }
}

TEST(PlanBodyPages, PiecesBecomePages) {
    const print::PageRect first{0, 300, 800, 900}, later{0, 50, 800, 900};
    // 100 bytes fit the first page, 200 every later one.
    auto find = [&](std::size_t position, const print::PageRect& r, std::size_t* piece) {
        *piece = r.top == first.top ? 100 : 200;
        (void)position;
        return true;
    };
    const struct {
        std::size_t length;
        std::vector<std::size_t> starts;
    } cases[] = {
        {0, {0}}, {100, {0}}, {101, {0, 100}}, {300, {0, 100}}, {301, {0, 100, 300}},
    };
    for (const auto& c : cases) {
        std::vector<std::size_t> starts;
        EXPECT_TRUE(PlanBodyPages(c.length, first, later, find, &starts)) << c.length;
        EXPECT_EQ(starts, c.starts) << c.length;
    }
    std::vector<std::size_t> starts;
    auto stuck = [](std::size_t, const print::PageRect&, std::size_t* piece) {
        *piece = 0;
        return true;
    };
    EXPECT_FALSE(PlanBodyPages(10, first, later, stuck, &starts));
    auto failing = [](std::size_t, const print::PageRect&, std::size_t*) { return false; };
    EXPECT_FALSE(PlanBodyPages(10, first, later, failing, &starts));
}

} // namespace
} // namespace lx
