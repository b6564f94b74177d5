// "Mail Box List" inside the main frame: its opening, the ten-mailbox limit, deleting with the
// records moving down, and the file and registry values written afterwards.
#include "tests/mailboxes/mailboxes_fixture.h"
#include "tests/settings/mailbox_image.h"

#include "common/settings/fixed_text.h"
#include "common/settings/settings_registry.h"
#include "mailer/res/resource.h"

#include <gtest/gtest.h>
#include <cstring>

namespace lxtest {
namespace {

using MailboxList = MailboxSetupTest;

void UseMailboxes(lx::MailboxList& list, const std::vector<std::string>& names, int current) {
    list = lx::MailboxList{};
    for (size_t i = 0; i < names.size(); ++i) {
        list.records[i] = Record(names[i]);
        list.records[i].current = static_cast<int>(i) == current ? 1 : 0;
    }
    list.count = static_cast<std::int16_t>(names.size());
}

TEST_F(MailboxList, OpensWithEveryNameTheFirstSelectedAndTheExpertScreenChosen) {
    std::vector<std::string> names;
    int selected = -1;
    bool expert = false;
    Script script;
    script.Do([&] {
        names = Entries(IDD_MBOXLIST, IDC_MBOXLIST_LIST);
        selected = Selection(IDD_MBOXLIST, IDC_MBOXLIST_LIST);
        expert = ::IsDlgButtonChecked(Open(IDD_MBOXLIST), IDC_MBOXLIST_EXPERT) == BST_CHECKED;
        Push(IDD_MBOXLIST, IDHELP);
        Push(IDD_MBOXLIST, IDCANCEL);
    });
    RunSetup(script);
    EXPECT_EQ((std::vector<std::string>{"Home", "Work"}), names);
    EXPECT_EQ(0, selected);
    EXPECT_TRUE(expert);
    ASSERT_EQ(1u, hook->helpCalls.size());
    EXPECT_EQ(58u, hook->helpCalls[0].second);
    EXPECT_EQ((std::vector<int>{IDD_MBOXLIST}), hook->dialogsStarted);
}

TEST_F(MailboxList, TenMailboxesRefuseAnEleventhWithoutAnEditor) {
    UseMailboxes(mailboxes, {"M0", "M1", "M2", "M3", "M4", "M5", "M6", "M7", "M8", "M9"}, 0);
    const lx::MailboxList before = mailboxes;
    for (bool expert : {true, false}) {
        hook->boxes.clear();
        hook->dialogsStarted.clear();
        Script script;
        script
            .Do([&] {
                Tick(IDD_MBOXLIST, IDC_MBOXLIST_EXPERT, expert);
                Push(IDD_MBOXLIST, IDC_MBOXLIST_ADD);
            })
            .Do([&] { Push(IDD_MBOXLIST, IDCANCEL); });
        RunSetup(script);
        EXPECT_EQ((std::vector<std::string>{Text("MBOXLIST_CPP_1")}), BoxTexts());
        EXPECT_EQ((std::vector<int>{IDD_MBOXLIST}), hook->dialogsStarted);
    }
    EXPECT_EQ(Image(before), Image(mailboxes));
    EXPECT_FALSE(MailboxFileExists());
}

struct DeleteCase {
    std::vector<std::string> names;
    int current;
    int deleted;
    std::vector<std::string> left;
};

class MailboxDelete : public MailboxSetupTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(MailboxDelete, RecordsMoveDownTheFirstBecomesCurrentAndIsMirrored) {
    const DeleteCase& c = GetParam();
    UseMailboxes(mailboxes, c.names, c.current);
    hook->boxAnswer = IDYES;
    std::vector<std::string> shown;
    Script script;
    script
        .Do([&] {
            SelectEntry(IDD_MBOXLIST, IDC_MBOXLIST_LIST, c.deleted);
            Push(IDD_MBOXLIST, IDC_MBOXLIST_DELETE);
        })
        .Do([&] {
            shown = Entries(IDD_MBOXLIST, IDC_MBOXLIST_LIST);
            Push(IDD_MBOXLIST, IDCANCEL);
        });
    RunSetup(script);
    ASSERT_EQ(1u, hook->boxes.size());
    EXPECT_EQ(Text("MBOXLIST_CPP_3"), hook->boxes[0].text);
    EXPECT_EQ(Text("MBOXLIST_CPP_4"), hook->boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONSTOP), hook->boxes[0].flags);
    EXPECT_EQ(c.left, shown);

    ASSERT_EQ(static_cast<int>(c.left.size()), mailboxes.count);
    for (size_t i = 0; i < c.left.size(); ++i) {
        EXPECT_EQ(c.left[i], lx::TextOf(mailboxes.records[i].name));
        EXPECT_EQ("pop." + c.left[i] + ".example", lx::TextOf(mailboxes.records[i].pop3Server));
        EXPECT_EQ(i == 0 ? 1 : 0, mailboxes.records[i].current) << i;
    }
    const lx::MailboxRecord empty;
    EXPECT_EQ(Image(empty), Image(mailboxes.records[c.left.size()]));
    // The file holds the list as it is now, and the registry the first mailbox.
    const lx::MailboxList stored = StoredList();
    EXPECT_EQ(Image(stored), Image(mailboxes));
    EXPECT_EQ("pop." + c.left[0] + ".example", RegistryString(lx::kRegServer));
    EXPECT_EQ("smtp." + c.left[0] + ".example", RegistryString(lx::kRegSmtpServer));
    EXPECT_EQ(Scrambled("secret"), RegistryString(lx::kRegPassword));
    char selector[32] = "";
    ::GetWindowTextA(frame->MailboxSelector(), selector, sizeof selector);
    EXPECT_EQ(c.left[0], std::string(selector));
}

INSTANTIATE_TEST_SUITE_P(Cases, MailboxDelete,
                         ::testing::Values(DeleteCase{{"Home", "Work"}, 1, 1, {"Home"}},
                                           DeleteCase{{"Home", "Work"}, 0, 0, {"Work"}},
                                           DeleteCase{{"A", "B", "C"}, 2, 1, {"A", "C"}}));

TEST_F(MailboxList, WithoutSelectionDeleteEditAndChangePasswordDoNothing) {
    const lx::MailboxList before = mailboxes;
    Script script;
    script
        .Do([&] {
            SelectEntry(IDD_MBOXLIST, IDC_MBOXLIST_LIST, -1);
            for (int button : {IDC_MBOXLIST_DELETE, IDC_MBOXLIST_EDIT, IDC_MBOXLIST_PASSWORD})
                Push(IDD_MBOXLIST, button);
        })
        .Do([&] { Push(IDD_MBOXLIST, IDCANCEL); });
    RunSetup(script);
    EXPECT_TRUE(hook->boxes.empty());
    EXPECT_EQ((std::vector<int>{IDD_MBOXLIST}), hook->dialogsStarted);
    EXPECT_EQ(Image(before), Image(mailboxes));
    EXPECT_FALSE(MailboxFileExists());
}

TEST_F(MailboxList, DeleteAnsweredNoChangesNothing) {
    const lx::MailboxList before = mailboxes;
    hook->boxAnswer = IDNO;
    Script script;
    script
        .Do([&] {
            SelectEntry(IDD_MBOXLIST, IDC_MBOXLIST_LIST, 1);
            Push(IDD_MBOXLIST, IDC_MBOXLIST_DELETE);
        })
        .Do([&] { Push(IDD_MBOXLIST, IDCANCEL); });
    RunSetup(script);
    EXPECT_EQ((std::vector<std::string>{Text("MBOXLIST_CPP_3")}), BoxTexts());
    EXPECT_EQ(Image(before), Image(mailboxes));
    EXPECT_FALSE(MailboxFileExists());
}

} // namespace
} // namespace lxtest
