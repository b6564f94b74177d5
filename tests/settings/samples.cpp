#include "tests/settings/samples.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/settings/fixed_text.h"

namespace lx_test {

using lx::CopyText;
using lx::TextOf;

lx::MailboxRecord SampleMailbox(int seed) {
    lx::MailboxRecord r;
    std::string s = std::to_string(seed);
    CopyText(r.name, ("Box" + s).c_str());
    CopyText(r.pop3Server, ("pop" + s + ".example.org").c_str());
    CopyText(r.smtpServer, ("smtp" + s + ".example.org").c_str());
    CopyText(r.address, ("user" + s + "@example.org").c_str());
    CopyText(r.user, ("login" + s).c_str());
    CopyText(r.password, ("pw" + s + "xyz").c_str());
    r.deleteMail = 1000 + seed;
    r.apop = 2000 + seed;
    r.current = 3000 + seed;
    CopyText(r.defaultFolder, ("Folder" + s).c_str());
    r.defaultFolderNum = 4000 + seed;
    for (std::size_t i = 0; i < sizeof r.unused; ++i)
        r.unused[i] = static_cast<std::uint8_t>(seed + i + 1);
    return r;
}

lx::DialerSettings SampleDialer() {
    lx::DialerSettings s;
    s.checkInterval = 900;
    s.sendToo = 11;
    s.localNetwork = 22;
    CopyText(s.phoneBookEntry, "My Provider");
    CopyText(s.dialUser, "dialuser");
    CopyText(s.dialPassword, "dial|secret");
    for (int i = 0; i < lx::kDialerMailboxes; ++i)
        CopyText(s.selectedMailboxes[i], ("Sel" + std::to_string(i)).c_str());
    s.selectedCount = 7;
    s.checkCountdown = 456;
    return s;
}

lx::FontDesc SampleFont() {
    lx::FontDesc f;
    f.height = -21;
    f.width = 9;
    f.escapement = 450;
    f.orientation = 900;
    f.weight = 600;
    f.italic = 1;
    f.underline = 2;
    f.strikeOut = 3;
    f.charSet = 4;
    f.outPrecision = 5;
    f.clipPrecision = 6;
    f.quality = 7;
    f.pitchAndFamily = 8;
    CopyText(f.faceName, "Courier New");
    return f;
}

void ExpectSameMailbox(const lx::MailboxRecord& a, const lx::MailboxRecord& b) {
    EXPECT_EQ(TextOf(a.name), TextOf(b.name));
    EXPECT_EQ(TextOf(a.pop3Server), TextOf(b.pop3Server));
    EXPECT_EQ(TextOf(a.smtpServer), TextOf(b.smtpServer));
    EXPECT_EQ(TextOf(a.address), TextOf(b.address));
    EXPECT_EQ(TextOf(a.user), TextOf(b.user));
    EXPECT_EQ(TextOf(a.password), TextOf(b.password));
    EXPECT_EQ(a.deleteMail, b.deleteMail);
    EXPECT_EQ(a.apop, b.apop);
    EXPECT_EQ(a.current, b.current);
    EXPECT_EQ(TextOf(a.defaultFolder), TextOf(b.defaultFolder));
    EXPECT_EQ(a.defaultFolderNum, b.defaultFolderNum);
    EXPECT_EQ(0, std::memcmp(a.unused, b.unused, sizeof a.unused));
}

void ExpectSameDialer(const lx::DialerSettings& a, const lx::DialerSettings& b) {
    EXPECT_EQ(a.checkInterval, b.checkInterval);
    EXPECT_EQ(a.sendToo, b.sendToo);
    EXPECT_EQ(a.localNetwork, b.localNetwork);
    EXPECT_EQ(TextOf(a.phoneBookEntry), TextOf(b.phoneBookEntry));
    EXPECT_EQ(TextOf(a.dialUser), TextOf(b.dialUser));
    EXPECT_EQ(TextOf(a.dialPassword), TextOf(b.dialPassword));
    for (int i = 0; i < lx::kDialerMailboxes; ++i) {
        EXPECT_EQ(TextOf(a.selectedMailboxes[i]), TextOf(b.selectedMailboxes[i])) << "name " << i;
    }
    EXPECT_EQ(a.selectedCount, b.selectedCount);
    EXPECT_EQ(a.checkCountdown, b.checkCountdown);
}

} // namespace lx_test
