// The viewer request record: its fields at their offsets, the separators, the user's own
// addresses left out of a reply, and a mail-to request taken as it came.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mailer/ui/logic/viewreq.h"

namespace {

using lx::ViewerRequest;
using lx::ViewerRequestCode;

ViewerRequest Reply(int separatorCode, const std::string& sep) {
    ViewerRequest r;
    r.code = ViewerRequestCode::ReplyOrForward;
    r.mesgNum = 42;
    r.mesgSize = 1234;
    r.sender = "ann@example.org";
    r.separatorCode = separatorCode;
    r.toList = "me@home.org" + sep + "bob@example.org" + sep;
    r.toCount = 2;
    r.ccList = "carol@example.org" + sep + "ME@HOME.ORG" + sep + "dave@example.org" + sep;
    r.ccCount = 3;
    r.subject = "Lunch&&N& ";
    return r;
}

TEST(ViewerRequestRecord, FieldsSitAtTheirOffsets) {
    const std::vector<std::uint8_t> bytes = lx::EncodeViewerRequest(Reply(2, "\r\n"));
    ASSERT_EQ(bytes.size(), 4073u);
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(bytes[4], 42);
    EXPECT_EQ(bytes[8] | bytes[9] << 8, 1234);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[12])), "ann@example.org");
    EXPECT_EQ(bytes[93], 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[97]), 11), "me@home.org");
    EXPECT_EQ(bytes[1953], 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[1957]), 17), "carol@example.org");
    EXPECT_EQ(bytes[3813], 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[3817])), "Lunch&&N& ");

    ViewerRequest back;
    ASSERT_TRUE(lx::ParseViewerRequest(bytes.data(), bytes.size(), &back));
    EXPECT_EQ(back.code, ViewerRequestCode::ReplyOrForward);
    EXPECT_EQ(back.mesgNum, 42);
    EXPECT_EQ(back.mesgSize, 1234);
    EXPECT_EQ(back.toCount, 2);
    EXPECT_EQ(back.ccList, Reply(2, "\r\n").ccList);
}

TEST(ViewerRequestRecord, WrongSizesAndCodesAreDropped) {
    std::vector<std::uint8_t> bytes = lx::EncodeViewerRequest(Reply(2, "\r\n"));
    ViewerRequest r;
    for (std::size_t size : {4072u, 4074u, 0u}) {
        std::vector<std::uint8_t> other(bytes);
        other.resize(size);
        EXPECT_FALSE(lx::ParseViewerRequest(other.data(), other.size(), &r)) << size;
    }
    for (std::uint8_t code : {0, 5, 255}) {
        bytes[0] = code;
        EXPECT_FALSE(lx::ParseViewerRequest(bytes.data(), bytes.size(), &r)) << int(code);
    }
    bytes[0] = 4;
    EXPECT_TRUE(lx::ParseViewerRequest(bytes.data(), bytes.size(), &r));
}

TEST(ViewerRequestRecord, TextFieldsStopAtTheirWidth) {
    ViewerRequest r = Reply(2, "\r\n");
    r.sender = std::string(200, 's');
    r.subject = std::string(400, 't');
    const std::vector<std::uint8_t> bytes = lx::EncodeViewerRequest(r);
    ViewerRequest back;
    ASSERT_TRUE(lx::ParseViewerRequest(bytes.data(), bytes.size(), &back));
    EXPECT_EQ(back.sender, std::string(80, 's'));
    EXPECT_EQ(back.subject, std::string(255, 't'));
}

TEST(ViewerReply, EverySeparatorCodeLeavesOwnAddressesOut) {
    const struct {
        int code;
        std::string sep;
    } cases[] = {{1, std::string(1, '\xB6')}, {2, "\r\n"}, {3, ";"}, {4, "\t"}};
    for (const auto& c : cases) {
        EXPECT_EQ(lx::ListSeparator(c.code), c.sep);
        const lx::ReplyTexts texts =
            lx::ReplyFromRequest(Reply(c.code, c.sep), {"nobody@else.org", "me@home.org"}, "Hi.");
        EXPECT_EQ(texts.to, "ann@example.org\r\nbob@example.org") << c.code;
        EXPECT_EQ(texts.cc, "carol@example.org\r\ndave@example.org") << c.code;
        EXPECT_EQ(texts.subject, "Lunch&&N& ");
        EXPECT_EQ(texts.quotedSender, "ann@example.org");
        EXPECT_TRUE(texts.hasEarlierBody);
        EXPECT_EQ(texts.earlierBody, "Hi.");
    }
    EXPECT_EQ(lx::ListSeparator(0), "");
    EXPECT_EQ(lx::ListSeparator(9), "");
}

TEST(ViewerReply, CountsLimitThePiecesTaken) {
    EXPECT_EQ(lx::SplitRequestList("a;b;c;", ";", 2), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(lx::SplitRequestList("a;b", ";", 5), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(lx::SplitRequestList("a;;b;", ";", 3), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(lx::SplitRequestList("a;b", "", 3), (std::vector<std::string>{"a;b"}));
    EXPECT_TRUE(lx::SplitRequestList("a;b", ";", 0).empty());
}

TEST(ViewerReply, OwnAddressMatchesEitherWayIgnoringCase) {
    const std::vector<std::string> own = {"", "Me@Home.org"};
    EXPECT_TRUE(lx::IsOwnAddress("\"Me\" <me@home.org>", own));
    EXPECT_TRUE(lx::IsOwnAddress("home.org", own));
    EXPECT_FALSE(lx::IsOwnAddress("you@home.net", own));
    EXPECT_FALSE(lx::IsOwnAddress("", own));
}

TEST(ViewerMailTo, TakesTheToFieldAndSubjectUnchanged) {
    ViewerRequest r;
    r.code = ViewerRequestCode::MailTo;
    r.toList = "link@example.org";
    r.subject = "???";
    const lx::ReplyTexts texts = lx::MailToFromRequest(r);
    EXPECT_EQ(texts.to, "link@example.org");
    EXPECT_EQ(texts.cc, "");
    EXPECT_EQ(texts.subject, "???");
    EXPECT_FALSE(texts.hasEarlierBody);
}

} // namespace
