// The viewer's message in its printed form, and the printing texts of both programs as their
// catalogue sources hold them.
#include "common/catalog/catalogbuild.h"
#include "common/msgprint/msgprint_layout.h"
#include "viewer/core/printedmsg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace lx::viewer {
namespace {

MessageData Data(const std::string& subject, const std::string& mailData, std::uint32_t size) {
    MessageData d;
    d.record.mesgId = "<id-7@example.org>";
    d.record.mesgDate = "Tue, 8 Dec 2026 08:00:00 +0000";
    d.record.fromAdd = "carol@example.org";
    d.record.subject = subject;
    d.record.mailData = mailData;
    d.record.mesgSize = size;
    d.record.appDate = AppDate{2026, 12, 8, 9, 15, 30, 0};
    return d;
}

TEST(PrintedFromViewer, ReceivedFormWithShownSubjectAndBody) {
    const struct {
        const char* name;
        std::string subject, mailData;
        std::uint32_t size;
        std::string shownSubject, body;
    } cases[] = {
        {"flags cut", "Trip&&N&F", "line one\r\nline two\r\n", 20, "Trip",
         "line one\r\nline two\r\n"},
        {"body cut at its size", "Trip&& & ", "line one\r\nline two\r\n", 10, "Trip",
         "line one\r\n"},
        {"size beyond the data", "No flags", "short", 400, "No flags", "short"},
        {"empty body", "Empty&&N& ", "", 0, "Empty", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PrintedMessage m = PrintedFromViewer(Data(c.subject, c.mailData, c.size));
        EXPECT_TRUE(m.incoming);
        EXPECT_EQ(m.address, "carol@example.org");
        EXPECT_EQ(m.subject, c.shownSubject);
        EXPECT_EQ(m.body, c.body);
        EXPECT_EQ(m.mesgId, "<id-7@example.org>");
        EXPECT_EQ(m.mesgDate, "Tue, 8 Dec 2026 08:00:00 +0000");
        EXPECT_EQ(m.appDate.month, 12);
        EXPECT_EQ(m.appDate.second, 30);
    }
}

// The texts of a catalogue source (LX_SOURCE_DIR relative path), by key.
std::map<std::string, std::string> Catalogue(const char* relative) {
    const char* root = std::getenv("LX_SOURCE_DIR");
    std::ifstream in(std::string(root ? root : ".") + "/" + relative, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<CatalogueEntry> entries;
    std::string error;
    EXPECT_TRUE(ParseCatalogueSource(text.str(), entries, error)) << error;
    std::map<std::string, std::string> byKey;
    for (const auto& e : entries) byKey[e.module + "_" + std::to_string(e.number)] = e.text;
    return byKey;
}

TEST(PrintTexts, EveryKeyIsInItsProgramsCatalogue) {
    const struct {
        const char* source;
        const MessagePrintKeys* keys;
        bool placeholder;
    } cases[] = {{"viewer/res/LXVTEXT.msg", &kViewerPrintKeys, false},
                 {"mailer/res/DGROUP.msg", &kMessageListPrintKeys, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        const auto catalogue = Catalogue(c.source);
        ASSERT_FALSE(catalogue.empty());
        std::vector<std::string> missing;
        const MessagePrintTexts t = LoadMessagePrintTexts(*c.keys, [&](const char* key) {
            const auto found = catalogue.find(key);
            if (found == catalogue.end() || found->second.empty()) missing.push_back(key);
            return found == catalogue.end() ? std::string() : found->second;
        });
        EXPECT_TRUE(missing.empty()) << missing.front();
        EXPECT_EQ(!t.placeholder.empty(), c.placeholder);
        EXPECT_EQ(PageText(t.pageFormat, 2, 5), "Page 2 of 5");
        EXPECT_EQ(PrintDateText(t, StoreTime{2026, 12, 8, 9, 15, 30}), "Dec 08, 2026 09:15:30");
        EXPECT_NE(PageText(t.statusFormat, 2, 5).find('5'), std::string::npos);
    }
}

TEST(PrintTexts, ViewerTitlesBySenderAndHasItsOwnFooter) {
    std::map<std::string, std::string> catalogue = {{"MAINFRM_CPP_28", "Document"},
                                                    {"MAINFRM_CPP_29", "Footer"},
                                                    {"MAINFRM_CPP_30", "From: "},
                                                    {"MAINFRM_CPP_12", "December"}};
    const MessagePrintTexts t = LoadMessagePrintTexts(kViewerPrintKeys, [&](const char* key) {
        return catalogue.count(key) ? catalogue[key] : std::string();
    });
    EXPECT_EQ(t.documentName, "Document");
    EXPECT_EQ(t.footer, "Footer");
    EXPECT_EQ(t.months[12], "Decembe") << "month names are cut to seven characters";
    PrintedMessage m;
    m.incoming = true;
    m.address = "carol@example.org";
    EXPECT_EQ(MessageTitle(m, t), "From: carol@example.org");
}

} // namespace
} // namespace lx::viewer
