// The message page: a plain message byte for byte, the error page, hostile texts kept inert, an
// HTML body moved into its own file, the stage order, and overlong texts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

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
