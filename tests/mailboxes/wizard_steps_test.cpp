// The set-up wizard's steps: the walk forward and back, what each step stores, and the checks
// that keep it on a step.
#include "mailer/transfer/logic/mboxwiz_steps.h"

#include "common/settings/fixed_text.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using lx::WizardStep;

lx::WizardInput Text(const std::string& text) {
    lx::WizardInput input;
    input.text = text;
    return input;
}

class WizardSteps : public ::testing::Test {
protected:
    WizardSteps() {
        lx::CopyText(list.records[0].name, "Home");
        list.count = 1;
    }
    // Walks from the welcome step to `to` with acceptable inputs.
    void WalkTo(WizardStep to) {
        const std::vector<lx::WizardInput> inputs = {
            {}, Text("Club"), Text("pop.club"), Text("smtp.club"), Text("me@club"), Text("me"),
        };
        for (size_t i = 0; steps.Step() != to && i < inputs.size() + 1; ++i) {
            lx::WizardInput input = i < inputs.size() ? inputs[i] : lx::WizardInput{};
            if (steps.Step() == WizardStep::Password) {
                input.password = "pw";
                input.apop = true;
            }
            ASSERT_EQ(lx::WorkRefusal::None, steps.Next(input).refusal);
        }
        ASSERT_EQ(to, steps.Step());
    }

    lx::MailboxList list;
    lx::MailboxWork work = lx::NewMailboxWork(3);
    lx::MailboxWizardSteps steps{work, list, 1};
};

TEST_F(WizardSteps, ButtonsOfEachStep) {
    struct Expected {
        WizardStep step;
        bool next, previous, finish, sharedEdit;
    } expected[] = {
        {WizardStep::Welcome, true, false, false, false},
        {WizardStep::Name, true, true, false, true},
        {WizardStep::Pop3Server, true, true, false, true},
        {WizardStep::SmtpServer, true, true, false, true},
        {WizardStep::Address, true, true, false, true},
        {WizardStep::User, true, true, false, true},
        {WizardStep::Password, true, true, false, false},
        {WizardStep::Delivery, false, true, true, false},
    };
    for (const Expected& e : expected) {
        ASSERT_NO_FATAL_FAILURE(WalkTo(e.step));
        const lx::WizardButtons b = steps.Buttons();
        EXPECT_EQ(e.next, b.nextShown) << static_cast<int>(e.step);
        EXPECT_EQ(e.previous, b.previousEnabled) << static_cast<int>(e.step);
        EXPECT_EQ(e.finish, b.finishShown) << static_cast<int>(e.step);
        EXPECT_EQ(e.sharedEdit, steps.UsesSharedEdit()) << static_cast<int>(e.step);
    }
}

TEST_F(WizardSteps, EachTextStepStoresItsOwnField) {
    ASSERT_NO_FATAL_FAILURE(WalkTo(WizardStep::Password));
    EXPECT_EQ("Club", work.name);
    EXPECT_EQ("pop.club", work.pop3Server);
    EXPECT_EQ("smtp.club", work.smtpServer);
    EXPECT_EQ("me@club", work.address);
    EXPECT_EQ("me", work.user);
    // Going back shows each step's own value again.
    const std::vector<std::string> shown = {"me", "me@club", "smtp.club", "pop.club", "Club"};
    steps.Previous({});
    for (const std::string& value : shown) {
        EXPECT_EQ(value, steps.Shown().text);
        steps.Previous(Text(value));
    }
    EXPECT_EQ(WizardStep::Name, steps.Step());
}

TEST_F(WizardSteps, PreviousStopsAtTheNameStep) {
    ASSERT_NO_FATAL_FAILURE(WalkTo(WizardStep::Name));
    steps.Previous(Text("Club"));
    EXPECT_EQ(WizardStep::Name, steps.Step());
    steps.Previous(Text("Club"));
    EXPECT_EQ(WizardStep::Name, steps.Step());
}

struct RefusalCase {
    const char* what;
    WizardStep step;
    lx::WizardInput input;
    lx::WorkRefusal refusal;
};

class WizardRefusal : public WizardSteps, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(WizardRefusal, NextStaysOnTheStep) {
    const RefusalCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(WalkTo(c.step));
    const lx::MailboxWork before = work;
    EXPECT_EQ(c.refusal, steps.Next(c.input).refusal);
    EXPECT_EQ(c.step, steps.Step());
    // Nothing refused was stored.
    EXPECT_EQ(before.name, work.name);
    EXPECT_EQ(before.password, work.password);
    EXPECT_EQ(before.user, work.user);
}

lx::WizardInput Password(const std::string& password) {
    lx::WizardInput input;
    input.password = password;
    return input;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WizardRefusal,
    ::testing::Values(RefusalCase{"name13", WizardStep::Name, Text("ABCDEFGHIJKLM"),
                                  lx::WorkRefusal::NameTooLong},
                      RefusalCase{"taken", WizardStep::Name, Text("HOME"),
                                  lx::WorkRefusal::NameTaken},
                      RefusalCase{"server80", WizardStep::Pop3Server, Text(std::string(80, 's')),
                                  lx::WorkRefusal::FieldTooLong},
                      RefusalCase{"user64", WizardStep::User, Text(std::string(64, 'u')),
                                  lx::WorkRefusal::FieldTooLong},
                      RefusalCase{"password128", WizardStep::Password,
                                  Password(std::string(128, 'p')), lx::WorkRefusal::FieldTooLong},
                      RefusalCase{"accented", WizardStep::Password,
                                  Password("\xFC"
                                           "ber"),
                                  lx::WorkRefusal::PasswordNotPlain}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.what); });

TEST_F(WizardSteps, NameOfTwelveMovesOn) {
    ASSERT_NO_FATAL_FAILURE(WalkTo(WizardStep::Name));
    EXPECT_EQ(lx::WorkRefusal::None, steps.Next(Text("ABCDEFGHIJKL")).refusal);
    EXPECT_EQ(WizardStep::Pop3Server, steps.Step());
    EXPECT_EQ("ABCDEFGHIJKL", work.name);
}

TEST_F(WizardSteps, SharedEditTakesWhatItsFieldHolds) {
    const std::vector<std::pair<WizardStep, size_t>> limits = {
        {WizardStep::Name, 80},    {WizardStep::Pop3Server, 79}, {WizardStep::SmtpServer, 79},
        {WizardStep::Address, 79}, {WizardStep::User, 63},       {WizardStep::Password, 0},
    };
    for (const auto& l : limits) {
        ASSERT_NO_FATAL_FAILURE(WalkTo(l.first));
        EXPECT_EQ(l.second, steps.SharedEditLimit()) << static_cast<int>(l.first);
    }
}

TEST_F(WizardSteps, FinishStoresTheDeliveryChoiceAndChecksEverything) {
    ASSERT_NO_FATAL_FAILURE(WalkTo(WizardStep::Delivery));
    EXPECT_EQ("pw", work.password);
    EXPECT_TRUE(work.apop);
    lx::WizardInput delivery;
    delivery.deleteMail = true;
    EXPECT_EQ(lx::WorkRefusal::None, steps.Finish(delivery).refusal);
    EXPECT_TRUE(work.deleteMail);
}

TEST_F(WizardSteps, PreviousStoresUncheckedButNextChecksAgain) {
    ASSERT_NO_FATAL_FAILURE(WalkTo(WizardStep::SmtpServer));
    steps.Previous(Text(std::string(90, 's')));
    EXPECT_EQ(WizardStep::Pop3Server, steps.Step());
    EXPECT_EQ(std::string(90, 's'), work.smtpServer);
    ASSERT_EQ(lx::WorkRefusal::None, steps.Next(Text("pop.club")).refusal);
    EXPECT_EQ(std::string(90, 's'), steps.Shown().text);
    EXPECT_EQ(lx::WorkRefusal::FieldTooLong, steps.Next(steps.Shown()).refusal);
    EXPECT_EQ(WizardStep::SmtpServer, steps.Step());
}

TEST_F(WizardSteps, FinishChecksTheWholeWorkAndShowsTheRefusedStep) {
    ASSERT_NO_FATAL_FAILURE(WalkTo(WizardStep::Delivery));
    work.user = std::string(64, 'u');
    const lx::WorkCheck check = steps.Finish({});
    EXPECT_EQ(lx::WorkRefusal::FieldTooLong, check.refusal);
    EXPECT_EQ(lx::MailboxField::User, check.field);
    EXPECT_EQ(WizardStep::User, steps.Step());
}

TEST_F(WizardSteps, FinishBeforeTheLastStepStoresNothing) {
    ASSERT_NO_FATAL_FAILURE(WalkTo(WizardStep::User));
    lx::WizardInput input;
    input.deleteMail = true;
    EXPECT_EQ(lx::WorkRefusal::Unfinished, steps.Finish(input).refusal);
    EXPECT_FALSE(work.deleteMail);
    EXPECT_EQ(WizardStep::User, steps.Step());
}

} // namespace
