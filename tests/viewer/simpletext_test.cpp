// The simple view's two boxes and its attachment list.
#include <gtest/gtest.h>

#include <string>

#include "viewer/core/simpletext.h"

namespace {

using namespace lx::viewer;

const SimpleViewLabels kLabels = {
    "From:", "Subject:", "Date Sent:", "Date Received:", "Message ID:", "To:", "Cc:"};

TEST(SimpleView, BoxesAndList) {
    MessageRecord r;
    SetRecordTexts(r, "id-1@example.org", "Thu, 10 Dec 2026", "Hello <b>\r\nBye\r\n", 8192,
                   "ann@example.org", "Lunch && more&&N&F");
    r.mesgSize = 12; // the stored size ends the text
    r.appDate = AppDate{2026, 12, 10, 8, 1, 2, 0};
    RecipientList to, cc;
    AddRecipient(to, "bob@example.org");
    AddRecipient(to, "");
    AddRecipient(to, "carol@example.org");
    AttachmentList files;
    AddAttachment(files, "c:\\lorvex\\data\\a.pdf");
    const MonthNames months = MakeMonthNames(
        {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"});

    const SimpleViewTexts texts = MakeSimpleViewTexts(r, 8192, to, cc, files, kLabels, months);
    EXPECT_EQ(texts.header, "From:\r\nann@example.org\r\n"
                            "Subject:\r\nLunch && more\r\n"
                            "Date Sent:\r\nThu, 10 Dec 2026\r\n"
                            "Date Received:\r\n10-Dec-2026 08:01:02\r\n"
                            "Message ID:\r\nid-1@example.org\r\n"
                            "To:\r\nbob@example.org\r\ncarol@example.org\r\n\r\n"
                            "Cc:\r\n\r\n");
    EXPECT_EQ(texts.body, "Hello <b>\r\nB");
    ASSERT_EQ(texts.attachments.size(), 1u);
    EXPECT_EQ(texts.attachments[0], "C:\\LORVEX\\DATA\\A.PDF");
    EXPECT_TRUE(texts.viewFileEnabled);
}

TEST(SimpleView, NoOrFailedAttachmentsDisableViewFile) {
    MessageRecord r;
    AttachmentList failed;
    failed.count = kAttachmentsFailed;
    for (const AttachmentList& files : {AttachmentList(), failed}) {
        const SimpleViewTexts texts =
            MakeSimpleViewTexts(r, 8192, RecipientList(), RecipientList(), files, kLabels, {});
        EXPECT_TRUE(texts.attachments.empty());
        EXPECT_FALSE(texts.viewFileEnabled);
    }
}

TEST(SimpleView, BodyStopsAtTheBufferAndAtAZeroByte) {
    MessageRecord r;
    r.mailData = std::string(100000, 'b');
    r.mesgSize = 100000;
    EXPECT_EQ(MakeSimpleViewTexts(r, 8192, {}, {}, {}, kLabels, {}).body.size(), 8192u);
    r.mailData = std::string("abc\0def", 7);
    r.mesgSize = 7;
    EXPECT_EQ(MakeSimpleViewTexts(r, 8192, {}, {}, {}, kLabels, {}).body, "abc");
}

} // namespace
