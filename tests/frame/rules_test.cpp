// The frame's portable rules: help contexts, the mailbox switch, the reader choices, and the list's header columns with their drag limits.
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/logic/mainfrm_rules.h"
#include "mailer/ui/logic/mainspli_cols.h"
#include "tests/frame/mailboxes.h"
#include "tests/settings/fake_registry.h"

#include <gtest/gtest.h>

#include <limits>
#include <cstring>

namespace {

TEST(HelpContexts, TableEntriesAndZeroForOthers) {
    EXPECT_EQ(32, lx::HelpContextFor(32771));
    EXPECT_EQ(33, lx::HelpContextFor(32772));
    EXPECT_EQ(13, lx::HelpContextFor(32793));
    EXPECT_EQ(72, lx::HelpContextFor(32820));
    EXPECT_EQ(16, lx::HelpContextFor(57600));
    EXPECT_EQ(9, lx::HelpContextFor(57664));
    EXPECT_EQ(9, lx::HelpContextFor(57668));
    for (int id : {32790, 32791, 32822, 32823, 32824}) EXPECT_EQ(7, lx::HelpContextFor(id));
    EXPECT_EQ(8, lx::HelpContextFor(59392));
    EXPECT_EQ(8, lx::HelpContextFor(59393));
    EXPECT_EQ(0, lx::HelpContextFor(32786 + 1000));
    EXPECT_EQ(0, lx::HelpContextFor(32813));
}

TEST(HelpContexts, HelpFileJoinsTheFolderWithOneBackslash) {
    EXPECT_EQ("C:\\LORVEX\\LORVEX.HLP>lxpopup", lx::HelpFileSpec("C:\\LORVEX"));
    EXPECT_EQ("C:\\LORVEX.HLP>lxpopup", lx::HelpFileSpec("C:\\"));
}

lx::MailboxList TwoMailboxes() {
    lx::MailboxList list = lxtest::HomeAndWork("pop.home", "pop.work");
    std::strcpy(list.records[1].defaultFolder, "Jobs");
    list.records[1].defaultFolderNum = 9;
    list.records[1].apop = 1;
    return list;
}

TEST(MailboxSwitch, ANameNoRecordHasChangesNothing) {
    lx::MailboxList list = TwoMailboxes();
    lx_test::FakeRegistry registry(true);
    EXPECT_FALSE(lx::SwitchMailbox(list, "Holiday", registry));
    EXPECT_FALSE(lx::SwitchMailbox(list, "", registry));
    EXPECT_FALSE(lx::SwitchMailbox(list, "home", registry)); // names match exactly
    EXPECT_EQ(1, list.records[0].current);
    EXPECT_EQ(0, list.records[1].current);
    EXPECT_EQ(0, registry.writes);
}

TEST(MailboxSwitch, TheNamedRecordBecomesCurrentAndIsMirrored) {
    lx::MailboxList list = TwoMailboxes();
    lx_test::FakeRegistry registry(true);
    EXPECT_TRUE(lx::SwitchMailbox(list, "Work", registry));
    EXPECT_EQ(0, list.records[0].current);
    EXPECT_EQ(1, list.records[1].current);
    EXPECT_EQ("pop.work", registry.strings["Server"]);
    EXPECT_EQ("Jobs", registry.strings["DefFolder"]);
    EXPECT_EQ(9, registry.dwords["DefFolderNum"]);
    EXPECT_EQ(1, registry.dwords["APOP"]);
    EXPECT_EQ(1, lx::SelectorMailboxIndex(list));
}

TEST(MailboxSwitch, TheFirstOfTwoEqualNamesIsTaken) {
    lx::MailboxList list = TwoMailboxes();
    std::strcpy(list.records[1].name, "Home");
    list.records[0].current = 0;
    lx_test::FakeRegistry registry(true);
    EXPECT_TRUE(lx::SwitchMailbox(list, "Home", registry));
    EXPECT_EQ(1, list.records[0].current);
    EXPECT_EQ(0, list.records[1].current);
}

TEST(ReaderChoices, DefaultsUnlessTheKeyExistedWithValues) {
    lx_test::FakeRegistry fresh(false);
    fresh.dwords["Dictionary"] = 0;
    fresh.dwords["ReaderType"] = 3;
    lx::ReaderChoices choices = lx::ReadReaderChoices(fresh);
    EXPECT_EQ(1, choices.dictionary);
    EXPECT_EQ(1, choices.readerType);

    lx_test::FakeRegistry stored(true);
    stored.dwords["Dictionary"] = 0;
    stored.dwords["ReaderType"] = 3;
    choices = lx::ReadReaderChoices(stored);
    EXPECT_EQ(0, choices.dictionary);
    EXPECT_EQ(3, choices.readerType);
}

TEST(ReaderChoices, WritingStoresBothValuesAndTheLexiconKeyFollows) {
    lx_test::FakeRegistry registry(true);
    lx::ReaderChoices choices;
    choices.dictionary = lx::kDictionaryBritish;
    choices.readerType = lx::kReaderInternal;
    EXPECT_TRUE(lx::WriteReaderChoices(registry, choices));
    EXPECT_EQ(0, registry.dwords["Dictionary"]);
    EXPECT_EQ(2, registry.dwords["ReaderType"]);
    registry.failWrites = true;
    EXPECT_FALSE(lx::WriteReaderChoices(registry, choices));
    EXPECT_STREQ("MAINFRM_CPP_1", lx::LexiconKeyFor(lx::kDictionaryAmerican));
    EXPECT_STREQ("MAINFRM_CPP_2", lx::LexiconKeyFor(lx::kDictionaryBritish));
}

TEST(Countdown, SecondsAsHoursMinutesSecondsAndTheTwoStates) {
    EXPECT_STREQ("MAINFRM_CPP_44", lx::CountdownKey(0));
    EXPECT_STREQ("MAINFRM_CPP_45", lx::CountdownKey(lx::kCountdownOff));
    EXPECT_STREQ("MAINFRM_CPP_46", lx::CountdownKey(lx::kCountdownChecking));
    EXPECT_EQ("Next check: 1:01:05", lx::CountdownText(3665, "Next check: %d:%02d:%02d"));
    EXPECT_EQ("Next check: 0:00:00", lx::CountdownText(0, "Next check: %d:%02d:%02d"));
    EXPECT_EQ("Auto check off", lx::CountdownText(lx::kCountdownOff, "Auto check off"));
    // A text that does not take three numbers shows nothing.
    EXPECT_EQ("", lx::CountdownText(30, "Next check: %s"));
}

using lx::ColumnBorder;
using lx::ListColumns;

TEST(ListColumnsLayout, DefaultColumnsAndBorderHits) {
    ListColumns c(0, 600);
    EXPECT_EQ(36, c.IconRight());
    EXPECT_EQ(120, c.DateRight());
    EXPECT_EQ(346, c.AddressRight());
    EXPECT_EQ(ColumnBorder::DateAddress, c.BorderAt(118));
    EXPECT_EQ(ColumnBorder::AddressSubject, c.BorderAt(349));
    EXPECT_EQ(ColumnBorder::None, c.BorderAt(200));
    const auto cells = c.Cells(20);
    EXPECT_EQ((lx::Rect32{0, 0, 36, 20}), cells[0]);
    EXPECT_EQ((lx::Rect32{36, 0, 120, 20}), cells[1]);
    EXPECT_EQ((lx::Rect32{120, 0, 346, 20}), cells[2]);
    EXPECT_EQ((lx::Rect32{346, 0, 600, 20}), cells[3]);
}

TEST(ListColumnsLayout, DateBorderCarriesTheAddressColumnWithinTheLimits) {
    ListColumns c(0, 600);
    EXPECT_TRUE(c.MoveBorder(ColumnBorder::DateAddress, 150));
    EXPECT_EQ(150, c.DateRight());
    EXPECT_EQ(376, c.AddressRight());                          // address width 226 kept
    EXPECT_TRUE(c.MoveBorder(ColumnBorder::DateAddress, 61));  // date 25 wide
    EXPECT_FALSE(c.MoveBorder(ColumnBorder::DateAddress, 60)); // date 24 wide
    EXPECT_EQ(61, c.DateRight());
    // Subject keeps at least 65: address right may reach 535, not 536.
    EXPECT_TRUE(c.MoveBorder(ColumnBorder::DateAddress, 61 + (535 - 287)));
    EXPECT_EQ(535, c.AddressRight());
    EXPECT_FALSE(c.MoveBorder(ColumnBorder::DateAddress, c.DateRight() + 1));
}

TEST(ListColumnsLayout, AddressBorderKeepsBothNeighboursAtLeast33) {
    ListColumns c(0, 600);
    EXPECT_TRUE(c.MoveBorder(ColumnBorder::AddressSubject, 153));
    EXPECT_FALSE(c.MoveBorder(ColumnBorder::AddressSubject, 152));
    EXPECT_EQ(153, c.AddressRight());
    EXPECT_TRUE(c.MoveBorder(ColumnBorder::AddressSubject, 567));
    EXPECT_FALSE(c.MoveBorder(ColumnBorder::AddressSubject, 568));
    EXPECT_EQ(567, c.AddressRight());
    EXPECT_EQ(120, c.DateRight());
    EXPECT_FALSE(c.MoveBorder(ColumnBorder::None, 300));
}

TEST(ListColumnsLayout, StoredCellsAreTakenOnlyWhenTheyFitTogether) {
    ListColumns moved(0, 600);
    moved.MoveBorder(ColumnBorder::DateAddress, 140);
    moved.MoveBorder(ColumnBorder::AddressSubject, 400);
    ListColumns back = ListColumns::FromCells(moved.Cells(20), 0, 700);
    EXPECT_EQ(140, back.DateRight());
    EXPECT_EQ(400, back.AddressRight());
    EXPECT_EQ(700, back.Right());

    EXPECT_TRUE(ListColumns::CellsFit(moved.Cells(20), 0));
    std::array<lx::Rect32, lx::kListColumns> broken{}; // an all-zero file
    EXPECT_FALSE(ListColumns::CellsFit(broken, 0));
    ListColumns fallback = ListColumns::FromCells(broken, 0, 700);
    EXPECT_EQ(120, fallback.DateRight());
    EXPECT_EQ(346, fallback.AddressRight());
}

TEST(ListColumnsLayout, StoredCellsBeyondAnyWindowAreNotTaken) {
    // A damaged Lorvex.WND can hold any numbers; widths taken from them must not overflow.
    const int most = std::numeric_limits<int>::max(), least = std::numeric_limits<int>::min();
    const struct {
        int dateRight, addressRight;
    } cases[] = {{most, least}, {most, most}, {60, least}, {40000, 40100}};
    for (const auto& c : cases) {
        std::array<lx::Rect32, lx::kListColumns> cells{};
        cells[1] = {36, 0, c.dateRight, 20};
        cells[2] = {c.dateRight, 0, c.addressRight, 20};
        EXPECT_FALSE(ListColumns::CellsFit(cells, 0)) << c.dateRight << " " << c.addressRight;
        EXPECT_EQ(120, ListColumns::FromCells(cells, 0, 700).DateRight());
    }
}

TEST(ListColumnsLayout, TheDateColumnWidensToTheMeasuredDateOnly) {
    struct Case {
        int dateText;
        int dateRight;
        int addressRight;
    };
    // Widths that fit keep the defaults; a wider date moves the address column along, keeping
    // its width.
    for (const Case c : {Case{0, 120, 346}, Case{60, 120, 346}, Case{76, 120, 346},
                         Case{77, 121, 347}, Case{110, 154, 380}}) {
        SCOPED_TRACE(c.dateText);
        ListColumns columns(0, 700, c.dateText);
        EXPECT_EQ(c.dateRight, columns.DateRight());
        EXPECT_EQ(c.addressRight, columns.AddressRight());
        EXPECT_GE(columns.DateRight() - columns.IconRight(), c.dateText);
    }
    // Cells stored by the user win over the measured default.
    ListColumns moved(0, 600);
    moved.MoveBorder(ColumnBorder::DateAddress, 140);
    EXPECT_EQ(140, ListColumns::FromCells(moved.Cells(20), 0, 700, 110).DateRight());
}

} // namespace

TEST(OpenMessageArgument, RoundTripsAndRefusesOtherTexts) {
    for (const lx::OpenMessageRequest& r :
         {lx::OpenMessageRequest{12, 0, false}, lx::OpenMessageRequest{7, 1, false},
          lx::OpenMessageRequest{99999, 0, true}}) {
        lx::OpenMessageRequest back;
        ASSERT_TRUE(lx::ParseOpenMessageArgument(lx::OpenMessageArgument(r).c_str(), &back));
        EXPECT_EQ(back.mesgNum, r.mesgNum);
        EXPECT_EQ(back.flag, r.flag);
        EXPECT_EQ(back.fromSearch, r.fromSearch);
    }
    for (const char* bad : {"", "12", "x 0", "-3 0", "5 2", "5 0 later", "12,15"}) {
        lx::OpenMessageRequest back{1, 1, true};
        EXPECT_FALSE(lx::ParseOpenMessageArgument(bad, &back)) << bad;
        EXPECT_EQ(back.mesgNum, 1);
    }
}
