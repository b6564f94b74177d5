// The Save checks of "Manage Filter File" in their order, and the rule a checked form makes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/settings/fixed_text.h"
#include "mailer/transfer/logic/filterform.h"

using namespace lx;

namespace {

// A form that passes every check, with every text filled.
FilterForm FullForm(std::size_t choice, bool fileInFolder) {
    FilterForm form;
    form.name = "Work";
    form.choice = choice;
    form.address = "boss@work.example";
    form.subject = "urgent";
    form.message = "deadline";
    form.fileInFolder = fileInFolder;
    form.folderName = "Work";
    form.folderNum = 12;
    return form;
}

// Empties fields one after the other and collects the refusal after each step, so the order in
// which the checks are made shows in the list of keys.
std::vector<std::string> RefusalsWhileEmptying(std::size_t choice) {
    FilterForm form = FullForm(choice, true);
    form.name.clear();
    form.address.clear();
    form.subject = "  ";
    form.message.clear();
    form.folderName.clear();
    std::vector<std::string> keys;
    // Refill each refused field until the form passes.
    for (int guard = 0; guard < 10; ++guard) {
        const FilterFormCheck check = CheckFilterForm(form);
        if (check.key == nullptr) break;
        keys.push_back(check.key);
        switch (check.field) {
        case FilterFormField::Name: form.name = "n"; break;
        case FilterFormField::Address: form.address = "a"; break;
        case FilterFormField::Subject: form.subject = "s"; break;
        case FilterFormField::Message: form.message = "m"; break;
        case FilterFormField::Folder: form.folderName = "f"; break;
        case FilterFormField::None: ADD_FAILURE(); return keys;
        }
    }
    return keys;
}

struct OrderCase {
    char letter;
    std::vector<std::string> keys;
};

class SaveChecks : public ::testing::TestWithParam<OrderCase> {};

TEST_P(SaveChecks, AreMadeInOrderForTheTextsTheChoiceUses) {
    const OrderCase& c = GetParam();
    EXPECT_EQ(RefusalsWhileEmptying(FilterChoiceOf(c.letter)), c.keys) << c.letter;
}

const char* const kName = "FILTMGR_CPP_1";
const char* const kAddress = "FILTMGR_CPP_3";
const char* const kSubject = "FILTMGR_CPP_4";
const char* const kMessage = "FILTMGR_CPP_6";
const char* const kFolder = "FILTMGR_CPP_5";

INSTANTIATE_TEST_SUITE_P(
    EveryChoice, SaveChecks,
    ::testing::Values(OrderCase{'A', {kName, kAddress, kFolder}},
                      OrderCase{'S', {kName, kSubject, kFolder}},
                      OrderCase{'M', {kName, kMessage, kFolder}},
                      OrderCase{'N', {kName, kAddress, kSubject, kFolder}},
                      OrderCase{'O', {kName, kAddress, kSubject, kFolder}},
                      OrderCase{'P', {kName, kAddress, kMessage, kFolder}},
                      OrderCase{'Q', {kName, kAddress, kMessage, kFolder}},
                      OrderCase{'R', {kName, kSubject, kMessage, kFolder}},
                      OrderCase{'U', {kName, kSubject, kMessage, kFolder}},
                      OrderCase{'T', {kName, kAddress, kSubject, kMessage, kFolder}}));

TEST(SaveCheck, ADeleteRuleNeedsNoFolder) {
    FilterForm form = FullForm(FilterChoiceOf('S'), false);
    form.folderName.clear();
    EXPECT_EQ(CheckFilterForm(form).key, nullptr);
    form.fileInFolder = true;
    EXPECT_STREQ(CheckFilterForm(form).key, kFolder);
    EXPECT_EQ(CheckFilterForm(form).field, FilterFormField::Folder);
}

TEST(SaveCheck, BlankTextsCountAsEmpty) {
    FilterForm form = FullForm(FilterChoiceOf('M'), false);
    form.message = " \t ";
    EXPECT_STREQ(CheckFilterForm(form).key, kMessage);
    form.message = " x ";
    EXPECT_EQ(CheckFilterForm(form).key, nullptr);
    form.name = "   ";
    EXPECT_STREQ(CheckFilterForm(form).key, kName);
}

TEST(FormRule, UnusedTextsAndTheFolderOfADeleteRuleAreStoredEmpty) {
    const FilterRule drop = RuleFromForm(FullForm(FilterChoiceOf('Q'), false));
    EXPECT_EQ(TextOf(drop.name), "Work");
    EXPECT_EQ(drop.fields, 'Q');
    EXPECT_EQ(TextOf(drop.address), "boss@work.example");
    EXPECT_EQ(TextOf(drop.subject), "");
    EXPECT_EQ(TextOf(drop.message), "deadline");
    EXPECT_EQ(drop.action, kFilterActionDelete);
    EXPECT_EQ(TextOf(drop.folderName), "");

    const FilterRule file = RuleFromForm(FullForm(FilterChoiceOf('U'), true));
    EXPECT_EQ(file.fields, 'U');
    EXPECT_EQ(TextOf(file.address), "");
    EXPECT_EQ(TextOf(file.subject), "urgent");
    EXPECT_EQ(file.action, kFilterActionFile);
    EXPECT_EQ(TextOf(file.folderName), "Work");
    EXPECT_EQ(file.folderNum, 12);
}

TEST(FormRule, ARuleShowsAsTheFormThatMadeIt) {
    for (const FilterChoice& choice : kFilterChoices) {
        const FilterForm form = FullForm(FilterChoiceOf(choice.letter), true);
        const FilterForm back = FormFromRule(RuleFromForm(form));
        EXPECT_EQ(back.choice, form.choice) << choice.letter;
        EXPECT_EQ(back.address, choice.address ? form.address : "");
        EXPECT_TRUE(back.fileInFolder);
        EXPECT_EQ(back.folderNum, 12);
    }
    FilterRule odd = RuleFromForm(FullForm(0, true));
    odd.action = '?';
    odd.fields = 'x';
    const FilterForm shown = FormFromRule(odd);
    EXPECT_FALSE(shown.fileInFolder);
    EXPECT_EQ(kFilterChoices[shown.choice].letter, 'T');
}

} // namespace
