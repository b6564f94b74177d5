// What the main program makes of a viewer request: the separators, the user's own addresses left
// out of a reply, and a mail-to request taken as it came.
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
