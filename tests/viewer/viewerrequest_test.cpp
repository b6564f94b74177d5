// The requests the viewer sends to the main program: the record's layout and round trip, the
// list fields filled within their width, and the mail-to address of a followed link.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "viewer/core/viewerrequest.h"

namespace {

using namespace lx::viewer;
using lx::ViewerRequest;
using lx::ViewerRequestCode;

MessageRecord Record() {
    MessageRecord r;
    SetRecordTexts(r, "id", "date", "body", 8192, "ann@example.org", "Lunch&&N& ");
    r.mesgSize = 1234;
    return r;
}

RecipientList Names(std::initializer_list<std::string> names) {
    RecipientList list;
    for (const std::string& n : names) AddRecipient(list, n);
    return list;
}

std::string TextAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return reinterpret_cast<const char*>(&bytes[at]);
}

TEST(ViewerRequestRecord, ReplyRoundTripAndOffsets) {
    const ViewerRequest reply = ReplyRequest(Record(), 42, Names({"bob@example.org"}),
                                             Names({"carol@example.org", "dave@example.org"}));
    const std::vector<std::uint8_t> bytes = lx::EncodeViewerRequest(reply);
    ASSERT_EQ(bytes.size(), 4073u);
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(bytes[4], 42);
    EXPECT_EQ(bytes[8] | bytes[9] << 8, 1234);
    EXPECT_EQ(TextAt(bytes, 12), "ann@example.org");
    EXPECT_EQ(bytes[93], 2);
    EXPECT_EQ(TextAt(bytes, 97), "bob@example.org\r\n");
    EXPECT_EQ(bytes[1953], 1);
    EXPECT_EQ(TextAt(bytes, 1957), "carol@example.org\r\ndave@example.org\r\n");
    EXPECT_EQ(bytes[3813], 2);
    EXPECT_EQ(TextAt(bytes, 3817), "Lunch");

    ViewerRequest back;
    ASSERT_TRUE(lx::ParseViewerRequest(bytes.data(), bytes.size(), &back));
    EXPECT_EQ(back.code, ViewerRequestCode::ReplyOrForward);
    EXPECT_EQ(back.mesgNum, 42);
    EXPECT_EQ(back.mesgSize, 1234);
    EXPECT_EQ(back.sender, reply.sender);
    EXPECT_EQ(back.separatorCode, 2);
    EXPECT_EQ(back.toList, reply.toList);
    EXPECT_EQ(back.toCount, 1);
    EXPECT_EQ(back.ccList, reply.ccList);
    EXPECT_EQ(back.ccCount, 2);
    EXPECT_EQ(back.subject, "Lunch");
    EXPECT_EQ(lx::EncodeViewerRequest(back), bytes);
}

TEST(ViewerRequestRecord, UnusedFieldsAreZero) {
    struct Case {
        ViewerRequest request;
        std::size_t usedFrom, usedTo; // bytes that may be non-zero besides the code
    };
    const std::vector<std::uint8_t> changed = lx::EncodeViewerRequest(MessageChangedRequest());
    EXPECT_EQ(changed[0], 1);
    for (std::size_t i = 1; i < changed.size(); ++i) ASSERT_EQ(changed[i], 0) << i;

    const std::vector<std::uint8_t> mailTo = lx::EncodeViewerRequest(MailToRequest("ann@x.org"));
    EXPECT_EQ(mailTo[0], 4);
    EXPECT_EQ(TextAt(mailTo, 97), "ann@x.org");
    EXPECT_EQ(TextAt(mailTo, 3817), "???");
    for (std::size_t at : {4u, 8u, 12u, 93u, 1953u, 1957u, 3813u}) EXPECT_EQ(mailTo[at], 0) << at;

    const ViewerRequest add = AddAddressesRequest(Record(), Names({"bob@x.org"}), Names({}));
    EXPECT_EQ(add.code, ViewerRequestCode::AddAddresses);
    EXPECT_EQ(add.mesgNum, 0);
    EXPECT_EQ(add.subject, "");
    EXPECT_EQ(add.toCount, 1);
}

TEST(ViewerRequestRecord, BadRecordsAreRefused) {
    std::vector<std::uint8_t> bytes = lx::EncodeViewerRequest(MessageChangedRequest());
    ViewerRequest r;
    for (std::size_t size : {0u, 4072u, 4074u}) {
        std::vector<std::uint8_t> other(bytes);
        other.resize(size);
        EXPECT_FALSE(lx::ParseViewerRequest(other.data(), other.size(), &r)) << size;
    }
    for (std::uint8_t code : {0, 5, 255}) {
        bytes[0] = code;
        EXPECT_FALSE(lx::ParseViewerRequest(bytes.data(), bytes.size(), &r)) << int(code);
    }
    // Text fields without their zero stop before the zero's place, as written back.
    bytes[0] = 2;
    std::memset(&bytes[12], 'x', 81);
    std::memset(&bytes[3817], 'y', 256);
    ASSERT_TRUE(lx::ParseViewerRequest(bytes.data(), bytes.size(), &r));
    EXPECT_EQ(r.sender, std::string(80, 'x'));
    EXPECT_EQ(r.subject, std::string(255, 'y'));
    ViewerRequest again;
    const std::vector<std::uint8_t> back = lx::EncodeViewerRequest(r);
    ASSERT_TRUE(lx::ParseViewerRequest(back.data(), back.size(), &again));
    EXPECT_EQ(again.sender, r.sender);
    EXPECT_EQ(again.subject, r.subject);
}

TEST(ViewerRequestRecord, OverlongTextsKeepTheirZero) {
    const std::string huge(100000, 'z');
    ViewerRequest r = MailToRequest(huge);
    r.sender = huge;
    r.ccList = huge;
    r.subject = huge;
    const std::vector<std::uint8_t> bytes = lx::EncodeViewerRequest(r);
    ASSERT_EQ(bytes.size(), 4073u);
    for (std::size_t end : {92u, 1952u, 3812u, 4072u}) EXPECT_EQ(bytes[end], 0) << end;
    ViewerRequest back;
    ASSERT_TRUE(lx::ParseViewerRequest(bytes.data(), bytes.size(), &back));
    EXPECT_EQ(back.toList.size(), 1855u);
    EXPECT_EQ(back.subject.size(), 255u);
}

TEST(RequestLists, FillRules) {
    struct Case {
        std::string plain;
        std::string text;
        int count;
    } cases[] = {
        {"a\r\nb\r\n", "a\r\nb\r\n", 2},
        {"a\r\n\r\nb\r\n", "a\r\nb\r\n", 2},
        // The last entry without its CR LF is not taken.
        {"a\r\nb", "a\r\n", 1},
        {"", "", 0},
    };
    for (const Case& c : cases) {
        const FilledList f = FillRequestList(c.plain);
        EXPECT_EQ(f.text, c.text) << c.plain;
        EXPECT_EQ(f.count, c.count) << c.plain;
    }
}

TEST(RequestLists, FortyLongRecipientsStopBeforeTheFieldIsFull) {
    RecipientList to;
    for (int i = 0; i < 40; ++i) AddRecipient(to, std::string(48, 'a' + i % 26) + "@x");
    const ViewerRequest r = AddAddressesRequest(Record(), to, to);
    // 52 characters per entry: 35 entries make 1820, a 36th would reach 1872.
    EXPECT_EQ(r.toCount, 35);
    EXPECT_EQ(r.toList.size(), 1820u);
    EXPECT_EQ(r.ccCount, 35);
    ViewerRequest back;
    const auto bytes = lx::EncodeViewerRequest(r);
    ASSERT_TRUE(lx::ParseViewerRequest(bytes.data(), bytes.size(), &back));
    EXPECT_EQ(back.toList, r.toList);
}

TEST(RequestLists, MailToAddressOfAFollowedLink) {
    EXPECT_EQ(MailToAddress("mailto:ann@x.org", false), "ann@x.org");
    EXPECT_EQ(MailToAddress("mailto:", false), "");
    EXPECT_EQ(MailToAddress("abc", false), "");
    EXPECT_EQ(MailToAddress("about:blank mailto:  ann@x.org", true), "ann@x.org");
    EXPECT_EQ(MailToAddress("http://x.org", true), "");
}

TEST(RequestLists, FollowedAttachmentLinks) {
    AttachmentList files;
    AddAttachment(files, "C:\\LORVEX\\DATA\\MENU.PDF");
    AddAttachment(files, "C:\\LORVEX\\DATA\\MAP.PNG");
    struct Case {
        const char* url;
        bool webBrowser;
        int slot;
    } cases[] = {
        {"ftp:///[LORVEX]C:/LORVEX/DATA/MAP.PNG", true, 1},
        {"ftp:///[LORVEX]C:\\LORVEX\\DATA\\MENU.PDF", false, 0},
        {"xftp:///[LORVEX]C:/LORVEX/DATA/MENU.PDF", true, 0},
        {"ftp:///[LORVEX]C:/LORVEX/DATA/menu.pdf", true, -1},
        {"ftp:///[LORVEX]C:/LORVEX/DATA/OTHER.PDF", true, -1},
        {"ftp:///[LORVEX]", true, -1},
        {"ftp:/", false, -1},
        {"http://example.org", true, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AttachmentForLink(c.url, c.webBrowser, files), c.slot) << c.url;
    EXPECT_TRUE(IsAttachmentLink("ftp:///[LORVEX]C:/X"));
    EXPECT_FALSE(IsAttachmentLink("ftp://host/x"));
    EXPECT_TRUE(IsMailToLink("mailto:ann@x.org"));
    EXPECT_FALSE(IsMailToLink("http://x.org/mail"));
}

} // namespace
