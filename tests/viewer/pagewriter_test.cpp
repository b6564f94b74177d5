// The message page: a plain message byte for byte, the error page, hostile texts kept inert, an
// HTML body moved into its own file, the stage order, overlong texts, and the kinds of message a
// user meets: with and without Cc, links, attachments, flag marks, HTML bodies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "viewer/core/pagewriter.h"

namespace {

using namespace lx::viewer;

const char* const kPagePath = R"(C:\LORVEX\MSG05123.HTM)";
constexpr std::size_t kBuffer = 8192;

PageTexts Texts() {
    PageTexts t;
    t.months = MakeMonthNames(
        {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"});
    t.partFailed = "Error: this part of the message could not be read from the message store.";
    return t;
}

MessageRecord PlainRecord() {
    MessageRecord r;
    r.folderNum = 1;
    const std::string body = "Hi Bob,\r\n"
                             "See www.example.org/menu. for the menu\r\n"
                             "or http://example.org/map (the map)\r\n"
                             "(see https://example.org/a/b), thanks\r\n"
                             "\r\n"
                             "Ann\r\n";
    SetRecordTexts(r, "20261210.1234@example.org", "Thu, 10 Dec 2026 08:00:00 +0000", body, kBuffer,
                   "ann@example.org", "Lunch on Friday&&N& ");
    r.mesgSize = static_cast<std::uint32_t>(body.size());
    r.appDate = AppDate{2026, 12, 10, 8, 1, 2, 0};
    return r;
}

RecipientList Names(std::initializer_list<const char*> names) {
    RecipientList list;
    for (const char* n : names) AddRecipient(list, n);
    return list;
}

AttachmentList Files(std::initializer_list<const char*> names) {
    AttachmentList list;
    for (const char* n : names) AddAttachment(list, n);
    return list;
}

// Writes every stage; the body file writer keeps what it is given.
std::string WritePage(const MessageRecord& record, const RecipientList& to, const RecipientList& cc,
                      const AttachmentList& files, std::string* bodyFile = nullptr,
                      bool bodyFileFails = false) {
    MessagePageWriter writer(kPagePath, Texts());
    std::string page;
    EXPECT_TRUE(writer.WriteRecord(record));
    page += writer.TakeOutput();
    if (writer.Complete()) return page;
    EXPECT_TRUE(writer.WriteToList(to));
    page += writer.TakeOutput();
    EXPECT_TRUE(writer.WriteCcList(cc));
    page += writer.TakeOutput();
    EXPECT_TRUE(writer.WriteAttachments(files));
    page += writer.TakeOutput();
    EXPECT_TRUE(writer.WriteBody(record, kBuffer, true, R"(c:\lorvex\htm05123.htm)",
                                 [&](const std::string& path, const std::string& content) {
                                     if (bodyFileFails) return false;
                                     if (bodyFile) *bodyFile = path + "|" + content;
                                     return true;
                                 }));
    page += writer.TakeOutput();
    EXPECT_TRUE(writer.Complete());
    return page;
}

std::string ExpectedFile(const char* name) {
    const char* root = std::getenv("LX_SOURCE_DIR");
    std::string path = std::string(root ? root : ".") + "/tests/viewer/data/" + name;
#ifdef _WIN32
    if (path[0] == '/') path = "Z:" + path; // Wine sees the Unix root as drive Z:
#endif
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    std::string lf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The file holds the page's CR LF line ends as plain line ends.
    std::string crlf;
    for (char c : lf) {
        if (c == '\r') continue;
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return crlf;
}

TEST(MessagePage, PlainMessageByteForByte) {
    const std::string page =
        WritePage(PlainRecord(), Names({"bob@example.org", "carol@example.org"}), Names({}),
                  Files({R"(c:\lorvex\data\menu.pdf)", R"(C:\LORVEX\DATA\MAP.HTM)"}));
    EXPECT_EQ(page, ExpectedFile("plain_message.htm"));
}

TEST(MessagePage, LoadErrorGivesTheShortErrorPage) {
    MessageRecord r;
    r.mesgId = "Error: the viewer could not connect to the message store.";
    MessagePageWriter writer(kPagePath, Texts());
    ASSERT_TRUE(writer.WriteRecord(r));
    EXPECT_TRUE(writer.Complete());
    EXPECT_TRUE(writer.ErrorPage());
    const std::string page = writer.TakeOutput();
    const std::string tail = Texts().partFailed + "</BODY></HTML>\r\n";
    ASSERT_GT(page.size(), tail.size());
    EXPECT_EQ(page.substr(page.size() - tail.size()), tail);
    EXPECT_EQ(page.find("MESSAGE FROM"), std::string::npos);
    EXPECT_FALSE(writer.WriteToList(Names({"x"})));
    EXPECT_EQ(writer.TakeOutput(), "");
}

TEST(MessagePage, StagesOnlyInOrder) {
    MessagePageWriter writer(kPagePath, Texts());
    EXPECT_FALSE(writer.WriteCcList(Names({})));
    EXPECT_FALSE(writer.WriteAttachments(Files({})));
    EXPECT_EQ(writer.TakeOutput(), "");
    EXPECT_TRUE(writer.WriteRecord(PlainRecord()));
    EXPECT_FALSE(writer.WriteRecord(PlainRecord()));
    EXPECT_FALSE(writer.WriteCcList(Names({})));
    EXPECT_TRUE(writer.WriteToList(Names({})));
    EXPECT_FALSE(writer.Complete());
}

TEST(MessagePage, FailedPartsAndMissingFiles) {
    RecipientList failed;
    failed.failed = true;
    AttachmentList noFiles = Files({});
    noFiles.count = kAttachmentsFailed;
    const std::string page = WritePage(PlainRecord(), failed, Names({}), noFiles);
    const std::string failText =
        "Error: this part of the message could not be read from the message store.";
    EXPECT_NE(page.find("<B><U>To</U></B><BR>\r\n" + failText + "<BR><B><U>Cc"), std::string::npos);
    EXPECT_NE(page.find("<B><U>File Attachments</U></B><BR>\r\n" + failText + "<HR>"),
              std::string::npos);
    const std::string none = WritePage(PlainRecord(), Names({}), Names({}), Files({}));
    EXPECT_NE(none.find("No File Attachments<BR>\r\n<HR>"), std::string::npos);
}

TEST(MessagePage, HostileTextsStayText) {
    MessageRecord r = PlainRecord();
    SetRecordTexts(r, "<1@x><script>a()</script>", "<img src=x onerror=a()>", r.mailData, kBuffer,
                   "\"><script>alert(1)</script>", "<script>alert(1)</script>&&N& ");
    const std::string page =
        WritePage(r, Names({"\"><script>alert(2)</script>"}), Names({"<b onmouseover=a()>"}),
                  Files({"X\"><SCRIPT>ALERT(3)</SCRIPT>.HTM"}));
    for (const char* bad : {"<script", "<SCRIPT", "<img", "<b ", "\"><"})
        EXPECT_EQ(page.find(bad), std::string::npos) << bad;
    EXPECT_NE(page.find("MESSAGE FROM &quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;<BR>"),
              std::string::npos);
    EXPECT_NE(page.find("<A HREF=\"mailto:&quot;&gt;&lt;script&gt;alert(2)&lt;/script&gt;\">"),
              std::string::npos);
}

TEST(MessagePage, HtmlBodyGoesCleanedIntoItsOwnFile) {
    MessageRecord r = PlainRecord();
    const std::string html = "  <HTML><BODY onload=\"alert(1)\"><P>Hello</P>"
                             "<script>alert(2)</script></BODY></HTML>";
    r.mailData = html;
    r.mesgSize = static_cast<std::uint32_t>(html.size());
    std::string bodyFile;
    const std::string page = WritePage(r, Names({}), Names({}), Files({}), &bodyFile);
    EXPECT_EQ(bodyFile, R"(C:\LORVEX\HTM05123.HTM|  <html><body><p>Hello</p></body></html>)");
    EXPECT_NE(page.find("<HR>\r\nThe message was a HTML document that is converted to <A "
                        "HREF=\"C:\\LORVEX\\HTM05123.HTM\">C:\\LORVEX\\HTM05123.HTM</A><BR>\r\n"
                        "<P><HR>\r\n</BODY></HTML>\r\n"),
              std::string::npos);
    // When the file cannot be made the source is shown as text.
    const std::string shown = WritePage(r, Names({}), Names({}), Files({}), nullptr, true);
    EXPECT_NE(shown.find("  &lt;HTML&gt;&lt;BODY onload=&quot;alert(1)&quot;&gt;"),
              std::string::npos);
    EXPECT_EQ(shown.find("<script"), std::string::npos);
}

TEST(MessagePage, OverlongTextsAreCutToTheirFields) {
    const std::string huge(100000, 'S');
    MessageRecord r = PlainRecord();
    const std::string body = huge + "\r\n";
    SetRecordTexts(r, huge, huge, body, 200000, huge, huge);
    r.mesgSize = static_cast<std::uint32_t>(body.size());
    RecipientList to;
    AddRecipient(to, huge);
    AttachmentList files;
    for (int i = 0; i < 12; ++i) AddAttachment(files, huge);
    EXPECT_EQ(files.count, 8);
    EXPECT_EQ(r.subject.size(), 255u);
    EXPECT_EQ(r.fromAdd.size(), 80u);
    EXPECT_EQ(r.mesgId.size(), 64u);
    EXPECT_EQ(to.names[0].size(), 80u);
    EXPECT_EQ(files.slots[7].name.size(), 255u);

    MessagePageWriter writer(kPagePath, Texts());
    ASSERT_TRUE(writer.WriteRecord(r) && writer.WriteToList(to) && writer.WriteCcList(to) &&
                writer.WriteAttachments(files) &&
                writer.WriteBody(r, 200000, true, "", BodyFileWriter()));
    const std::string page = writer.TakeOutput();
    EXPECT_NE(page.find("<B><U>Subject</U></B><BR>\r\n" + std::string(255, 'S') + "<BR>\r\n"),
              std::string::npos);
    // The long body line is written whole; the body stops at the buffer size.
    EXPECT_NE(page.find("<HR>\r\n" + huge + "<BR>\r\n<P><HR>"), std::string::npos);
    MessagePageWriter small(kPagePath, Texts());
    small.WriteRecord(r);
    small.WriteToList(to);
    small.WriteCcList(to);
    small.WriteAttachments(files);
    small.WriteBody(r, 8192, true, "", BodyFileWriter());
    EXPECT_NE(small.TakeOutput().find("<HR>\r\n" + std::string(8192, 'S') + "<BR>\r\n<P><HR>"),
              std::string::npos);
}

TEST(MessagePage, FileNamesAndDates) {
    EXPECT_EQ(PageFileName(5, 123), "MSG05123.HTM");
    EXPECT_EQ(BodyFileName(59, 7), "HTM59007.HTM");
    EXPECT_EQ(PageUrl(R"(c:\lorvex\msg05123.htm)"), "file:///C:/LORVEX/MSG05123.HTM");
    const MonthNames months = Texts().months;
    EXPECT_EQ(FormatReceived(AppDate{2026, 1, 2, 3, 4, 5, 0}, months), "02-Jan-2026 03:04:05");
    // A month outside the table gets no name rather than a stray read.
    EXPECT_EQ(FormatReceived(AppDate{2026, 13, 2, 3, 4, 5, 0}, months), "02--2026 03:04:05");
    EXPECT_EQ(FormatReceived(AppDate{2026, 0, 2, 3, 4, 5, 0}, months), "02--2026 03:04:05");
    EXPECT_EQ(MakeMonthNames({"September", "", "", "", "", "", "", "", "", "", "", ""})[1],
              "Septemb");
}

} // namespace

namespace {

using namespace lx::viewer;

std::string PlainPage(const std::string& body, const RecipientList& cc = Names({}),
                      const AttachmentList& files = Files({})) {
    MessageRecord r = PlainRecord();
    r.mailData = body;
    r.mesgSize = static_cast<std::uint32_t>(body.size());
    return WritePage(r, Names({"bob@example.org"}), cc, files);
}

// The part of the page between the attachments' rule and the closing rule.
std::string BodyPart(const std::string& page) {
    const std::string open = "<HR>\r\n", close = "<P><HR>\r\n";
    const size_t end = page.rfind(close);
    const size_t start = page.rfind(open, end - 1);
    return page.substr(start + open.size(), end - start - open.size());
}

TEST(MessagePage, CcSectionWithAndWithoutRecipients) {
    struct Case {
        RecipientList cc;
        const char* section;
    };
    const Case cases[] = {
        {Names({}), "<B><U>Cc</U></B><BR>\r\n<BR><HR>\r\n"},
        {Names({"dora@example.org"}),
         "<B><U>Cc</U></B><BR>\r\n<A HREF=\"mailto:dora@example.org\">dora@example.org</A><BR>"
         "<BR><HR>\r\n"},
        {Names({"dora@example.org", "erik@example.org"}),
         "<B><U>Cc</U></B><BR>\r\n<A HREF=\"mailto:dora@example.org\">dora@example.org</A><BR>"
         "<A HREF=\"mailto:erik@example.org\">erik@example.org</A><BR><BR><HR>\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_NE(PlainPage("Hi\r\n", c.cc).find(c.section), std::string::npos) << c.section;
}

TEST(MessagePage, BodyLinksAtLineEndsAndBehindPrefixes) {
    const std::string page = PlainPage("Menu: www.example.org/menu.\r\n"
                                       "Files: ftp://www.example.org/pub\r\n"
                                       "Web: http://www.example.org/a\r\n"
                                       "(www.example.org/b)\r\n"
                                       "Last http://example.org/end");
    EXPECT_EQ(BodyPart(page),
              "Menu: <A HREF=\"http://www.example.org/menu\">www.example.org/menu</A>.<BR>\r\n"
              "Files: ftp://www.example.org/pub<BR>\r\n"
              "Web: <A HREF=\"http://www.example.org/a\">http://www.example.org/a</A><BR>\r\n"
              "(<A HREF=\"http://www.example.org/b\">www.example.org/b</A>)<BR>\r\n"
              "Last <A HREF=\"http://example.org/end\">http://example.org/end</A><BR>\r\n");
}

TEST(MessagePage, AttachmentsLinkedByKind) {
    struct Case {
        const char* name;
        const char* line;
    };
    const Case cases[] = {
        {R"(C:\DATA\PAGE.HTM)", R"(<A HREF="C:\DATA\PAGE.HTM">C:\DATA\PAGE.HTM</A><BR>)"},
        {R"(c:\data\site.html)", R"(<A HREF="C:\DATA\SITE.HTML">C:\DATA\SITE.HTML</A><BR>)"},
        {R"(C:\DATA\NOTES.TXT)",
         R"(<A HREF="ftp:///[LORVEX]C:\DATA\NOTES.TXT">C:\DATA\NOTES.TXT</A><BR>)"},
        {R"(C:\DATA\PHOTO.JPG)",
         R"(<A HREF="ftp:///[LORVEX]C:\DATA\PHOTO.JPG">C:\DATA\PHOTO.JPG</A><BR>)"},
        // A name that is a script address is never a link target of its own.
        {"javascript:alert(1)//.htm",
         R"(<A HREF="ftp:///[LORVEX]JAVASCRIPT:ALERT(1)//.HTM">JAVASCRIPT:ALERT(1)//.HTM</A><BR>)"},
    };
    for (const Case& c : cases) {
        const std::string page = PlainPage("Hi\r\n", Names({}), Files({c.name}));
        EXPECT_NE(
            page.find(std::string("<B><U>File Attachments</U></B><BR>\r\n") + c.line + "\r\n<HR>"),
            std::string::npos)
            << c.name;
    }
}

TEST(MessagePage, SubjectShownWithoutItsFlagSuffix) {
    struct TextCase {
        std::string in, out;
    };
    const TextCase cases[] = {
        {"Lunch on Friday&&N&F", "Lunch on Friday"},
        // The suffix is taken from the end: the user's own "&&" stays.
        {"Tom && Jerry&&N& ", "Tom &amp;&amp; Jerry"},
        // Without a whole suffix the first "&&" ends the subject.
        {"Tom && Jerry", "Tom "},
        {"No flag suffix", "No flag suffix"},
        {"&& &F", ""},
    };
    for (const TextCase& c : cases) {
        MessageRecord r = PlainRecord();
        SetRecordTexts(r, "1@x", "Thu, 10 Dec 2026", r.mailData, kBuffer, "ann@example.org", c.in);
        const std::string page = WritePage(r, Names({}), Names({}), Files({}));
        EXPECT_NE(page.find("<B><U>Subject</U></B><BR>\r\n" + c.out + "<BR>\r\n<B><U>To"),
                  std::string::npos)
            << c.in;
    }
}

TEST(MessagePage, OnlyTheUpperCaseTagMakesAnHtmlBody) {
    struct Case {
        const char* body;
        bool htmlFile;
        const char* shown; // the page's body part
    };
    const Case cases[] = {
        {"   <HTML><BODY><P>Hi</P></BODY></HTML>", true,
         "The message was a HTML document that is converted to "
         "<A HREF=\"C:\\LORVEX\\HTM05123.HTM\">C:\\LORVEX\\HTM05123.HTM</A><BR>\r\n"},
        {"<html><body><p>Hi</p></body></html>", false,
         "&lt;html&gt;&lt;body&gt;&lt;p&gt;Hi&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;<BR>\r\n"},
        {"   <html><body>Hi</body></html>", false,
         "   &lt;html&gt;&lt;body&gt;Hi&lt;/body&gt;&lt;/html&gt;<BR>\r\n"},
    };
    for (const Case& c : cases) {
        MessageRecord r = PlainRecord();
        r.mailData = c.body;
        r.mesgSize = static_cast<std::uint32_t>(r.mailData.size());
        std::string bodyFile;
        const std::string page = WritePage(r, Names({}), Names({}), Files({}), &bodyFile);
        EXPECT_EQ(!bodyFile.empty(), c.htmlFile) << c.body;
        EXPECT_EQ(BodyPart(page), c.shown) << c.body;
    }
}

// Every tag of a page is one the writer makes, with its own attributes, and every link goes to
// a mail address, the web, an attached file or the viewer's attachment form: the message's own
// texts never become markup. Returns what breaks that.
std::vector<std::string> LiveMarkup(const std::string& page) {
    static const std::set<std::string> tags = {"HTML", "HEAD", "TITLE", "BODY", "CENTER", "B",
                                               "U",    "FONT", "BR",    "P",    "HR",     "A"};
    static const std::set<std::string> attributes = {"TEXT",    "LINK", "VLINK", "ALINK",
                                                     "BGCOLOR", "SIZE", "HREF"};
    std::vector<std::string> faults;
    for (size_t at = page.find('<'); at != std::string::npos; at = page.find('<', at + 1)) {
        const size_t end = page.find('>', at);
        if (end == std::string::npos) {
            faults.push_back("unclosed tag at " + std::to_string(at));
            break;
        }
        const std::string tag = page.substr(at + 1, end - at - 1);
        size_t p = tag.find_first_of(" \r\n");
        std::string name = tag.substr(0, p);
        if (!name.empty() && name[0] == '/') name.erase(0, 1);
        if (!tags.count(name)) faults.push_back("tag " + name);
        while (p != std::string::npos && p < tag.size()) {
            p = tag.find_first_not_of(" \r\n", p);
            if (p == std::string::npos) break;
            const size_t eq = tag.find('=', p);
            if (eq == std::string::npos) {
                faults.push_back("attribute " + tag.substr(p));
                break;
            }
            const std::string key = tag.substr(p, eq - p);
            // A value runs to its closing quote; a quote inside it would have ended it.
            if (eq + 1 >= tag.size() || tag[eq + 1] != '"') {
                faults.push_back("unquoted " + key);
                break;
            }
            const size_t close = tag.find('"', eq + 2);
            if (close == std::string::npos) {
                faults.push_back("unclosed " + key);
                break;
            }
            const std::string value = tag.substr(eq + 2, close - eq - 2);
            if (!attributes.count(key)) faults.push_back("attribute " + key);
            bool known = key != "HREF";
            for (const char* start :
                 {"mailto:", "http://", "https://", "HTTP", "ftp:///[LORVEX]", "C:\\"})
                known = known || value.rfind(start, 0) == 0;
            if (!known) faults.push_back("link " + value);
            p = close + 1;
        }
    }
    return faults;
}

TEST(MessagePage, HostileMessageGivesNoLiveMarkup) {
    MessageRecord r = PlainRecord();
    const std::string body = "<script>alert(1)</script>\r\n"
                             "http://x.org/\"><script>alert(2)</script>\r\n"
                             "www.x.org/'onmouseover='alert(3)\r\n"
                             "see javascript:alert(4) or <a href=javascript:alert(5)>this</a>\r\n"
                             "<iframe src=\"javascript:alert(6)\"></iframe>\r\n";
    SetRecordTexts(r, "<1@x onclick=alert(7)>", "<img src=x onerror=alert(8)>", body, kBuffer,
                   "<svg onload=alert(9)>", "<body onload=alert(10)>&&N& ");
    r.mesgSize = static_cast<std::uint32_t>(body.size());
    const std::string page =
        WritePage(r, Names({"x\" onmouseover=\"alert(11)"}), Names({"<b onmouseover=alert(12)>"}),
                  Files({R"(C:\DATA\X" ONMOUSEOVER="ALERT(13).TXT)", "javascript:alert(14)//.htm",
                         R"(C:\DATA\<SCRIPT>ALERT(15)</SCRIPT>.HTM)"}));
    EXPECT_EQ(LiveMarkup(page), std::vector<std::string>{}) << page;
    // The page the writer makes of an ordinary message passes the same check.
    EXPECT_EQ(LiveMarkup(ExpectedFile("plain_message.htm")), std::vector<std::string>{});
}

} // namespace
