// "Dialer Setup" without its window: the fields it opens with and the record a Save writes,
// byte for byte in AUTODIAL.STP.
#include <gtest/gtest.h>

#include "common/settings/fixed_text.h"
#include "mailer/transfer/logic/autodial_form.h"

namespace {

using lx::DialerForm;
using lx::DialerRefusal;

lx::MailboxList Accounts(std::initializer_list<const char*> names) {
    lx::MailboxList list{};
    int i = 0;
    for (const char* name : names) lx::CopyText(list.records[i++].name, name);
    list.count = static_cast<std::int16_t>(i);
    return list;
}

std::vector<std::uint8_t> Image(const lx::DialerSettings& s) {
    std::vector<std::uint8_t> image(lx::kDialerRecordSize, 0xEE);
    lx::EncodeDialer(s, image.data());
    return image;
}

std::int32_t At32(const std::vector<std::uint8_t>& image, std::size_t offset) {
    return static_cast<std::int32_t>(image[offset] | (image[offset + 1] << 8) |
                                     (image[offset + 2] << 16) |
                                     (static_cast<std::uint32_t>(image[offset + 3]) << 24));
}

// Every byte from `from` to `to` is zero.
bool ZeroBetween(const std::vector<std::uint8_t>& image, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        if (image[i] != 0) return false;
    return true;
}

DialerForm Filled() {
    DialerForm f;
    f.minutes = 5;
    f.sendToo = true;
    f.entry = "Provider";
    f.user = "dialer";
    f.password = "secret";
    f.selected = {"Home", "Work"};
    return f;
}

TEST(DialerSave, ZeroMinutesWritesInterval0AndNothingElse) {
    lx::DialerSettings record{};
    record.localNetwork = 1; // whatever was there before goes
    DialerForm f = Filled();
    f.minutes = 0;
    ASSERT_EQ(DialerRefusal::None, lx::SaveDialerForm(f, record));
    const auto image = Image(record);
    EXPECT_TRUE(ZeroBetween(image, 0, lx::kDialerRecordSize)) << "all 928 bytes zero";
}

TEST(DialerSave, OneMinuteLocalNetworkTwoMailboxes) {
    DialerForm f = Filled();
    f.minutes = 1;
    f.sendToo = false;
    f.localNetwork = true;
    lx::DialerSettings record{};
    ASSERT_EQ(DialerRefusal::None, lx::SaveDialerForm(f, record));
    const auto image = Image(record);
    EXPECT_EQ(60, At32(image, 0));
    EXPECT_EQ(0, At32(image, 4));
    EXPECT_EQ(1, At32(image, 8));
    EXPECT_TRUE(ZeroBetween(image, 12, 780)) << "no dial-up entry, user or password";
    EXPECT_EQ("Home", lx::TextOf(reinterpret_cast<const char*>(&image[780]), 13));
    EXPECT_EQ("Work", lx::TextOf(reinterpret_cast<const char*>(&image[793]), 13));
    EXPECT_TRUE(ZeroBetween(image, 780 + 4, 793));
    EXPECT_TRUE(ZeroBetween(image, 793 + 4, 910));
    EXPECT_EQ(2, At32(image, 910));
    EXPECT_EQ(60, At32(image, 914));
    EXPECT_TRUE(ZeroBetween(image, 918, 928));
}

TEST(DialerSave, MinutesBecomeIntervalAndCountdown) {
    for (int minutes : {5, 480}) {
        DialerForm f = Filled();
        f.minutes = minutes;
        lx::DialerSettings record{};
        ASSERT_EQ(DialerRefusal::None, lx::SaveDialerForm(f, record));
        const auto image = Image(record);
        EXPECT_EQ(minutes * 60, At32(image, 0));
        EXPECT_EQ(minutes * 60, At32(image, 914));
        EXPECT_EQ(1, At32(image, 4));
        EXPECT_EQ(0, At32(image, 8));
        EXPECT_EQ("Provider", lx::TextOf(reinterpret_cast<const char*>(&image[12]), 256));
        EXPECT_EQ("dialer", lx::TextOf(reinterpret_cast<const char*>(&image[268]), 256));
        EXPECT_EQ("secret", lx::TextOf(reinterpret_cast<const char*>(&image[524]), 256));
    }
}

TEST(DialerSave, RefusalsLeaveTheRecordAsItWas) {
    struct Case {
        void (*change)(DialerForm&);
        DialerRefusal why;
        const char* text;
        const char* caption;
    };
    const Case cases[] = {
        {[](DialerForm& f) { f.entry.clear(); }, DialerRefusal::NoEntry, "AUTODIAL_CPP_6",
         "AUTODIAL_CPP_5"},
        {[](DialerForm& f) { f.user.clear(); }, DialerRefusal::NoUserOrPassword, "AUTODIAL_CPP_4",
         "AUTODIAL_CPP_3"},
        {[](DialerForm& f) { f.password.clear(); }, DialerRefusal::NoUserOrPassword,
         "AUTODIAL_CPP_4", "AUTODIAL_CPP_3"},
        {[](DialerForm& f) { f.selected.clear(); }, DialerRefusal::NoMailbox, "AUTODIAL_CPP_7",
         "AUTODIAL_CPP_5"},
        {[](DialerForm& f) {
             f.localNetwork = true;
             f.selected.clear();
         },
         DialerRefusal::NoMailbox, "AUTODIAL_CPP_7", "AUTODIAL_CPP_5"},
    };
    for (const Case& c : cases) {
        DialerForm f = Filled();
        c.change(f);
        lx::DialerSettings record{};
        record.checkInterval = 600;
        record.localNetwork = 1;
        EXPECT_EQ(c.why, lx::SaveDialerForm(f, record));
        EXPECT_EQ(600, record.checkInterval) << c.text;
        EXPECT_EQ(1, record.localNetwork) << c.text;
        EXPECT_STREQ(c.text, lx::DialerRefusalText(c.why));
        EXPECT_STREQ(c.caption, lx::DialerRefusalCaption(c.why));
    }
    // Local network needs no entry, user or password.
    DialerForm f = Filled();
    f.localNetwork = true;
    f.entry.clear();
    f.user.clear();
    lx::DialerSettings record{};
    EXPECT_EQ(DialerRefusal::None, lx::SaveDialerForm(f, record));
}

TEST(DialerOpen, SelectedAccountsLeaveTheLeftList) {
    lx::DialerSettings s{};
    s.checkInterval = 300;
    s.sendToo = 1;
    lx::CopyText(s.selectedMailboxes[0], "work");
    lx::CopyText(s.selectedMailboxes[1], "Club");
    s.selectedCount = 2;
    const DialerForm f = lx::OpenDialerForm(s, Accounts({"Workshop", "Home", "Work", "Club"}));
    EXPECT_EQ(5, f.minutes);
    EXPECT_TRUE(f.sendToo);
    EXPECT_FALSE(f.localNetwork);
    EXPECT_EQ((std::vector<std::string>{"work", "Club"}), f.selected);
    EXPECT_EQ((std::vector<std::string>{"Workshop", "Home"}), f.accounts)
        << "the account of that name goes, not one that merely begins alike";
}

TEST(DialerOpen, EmptySlotsAndOddIntervals) {
    lx::DialerSettings s{};
    s.checkInterval = -60;
    s.selectedCount = 3; // slots left empty
    lx::CopyText(s.selectedMailboxes[1], "Home");
    const DialerForm f = lx::OpenDialerForm(s, Accounts({"Home", "Work"}));
    EXPECT_EQ(0, f.minutes);
    EXPECT_EQ((std::vector<std::string>{"Home"}), f.selected);
    EXPECT_EQ((std::vector<std::string>{"Work"}), f.accounts);
}

TEST(DialerOpen, PhoneEntryBeginningWithTheStoredName) {
    const std::vector<std::string> entries{"Office", "Provider Fast", "Provider"};
    EXPECT_EQ(1, lx::PickPhoneEntry(entries, "provider"));
    EXPECT_EQ(0, lx::PickPhoneEntry(entries, "Nowhere"));
    EXPECT_EQ(0, lx::PickPhoneEntry(entries, ""));
    EXPECT_EQ(-1, lx::PickPhoneEntry({}, "Office"));
}

TEST(DialerOpen, MovingAccountsBetweenTheLists) {
    std::vector<std::string> left{"Home", "Work"}, right;
    EXPECT_FALSE(lx::MoveAccount(left, right, -1)) << "no selection: nothing happens";
    EXPECT_FALSE(lx::MoveAccount(left, right, 2));
    ASSERT_TRUE(lx::MoveAccount(left, right, 1));
    EXPECT_EQ((std::vector<std::string>{"Home"}), left);
    EXPECT_EQ((std::vector<std::string>{"Work"}), right);
    ASSERT_TRUE(lx::MoveAccount(right, left, 0));
    EXPECT_EQ((std::vector<std::string>{"Home", "Work"}), left);
}

} // namespace
