// The two mailbox editors opened from the list, and the wizard of the first start: the wizard's
// steps and checks, Finish and Save writing the record, the file and the registry, Cancel
// leaving the stored password exactly as it was, and names kept apart.
#include "tests/mailboxes/mailboxes_fixture.h"
#include "tests/settings/mailbox_image.h"

#include "common/catalog/textformat.h"
#include "common/settings/fixed_text.h"
#include "common/settings/scramble.h"
#include "common/settings/settings_registry.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/logic/mboxedit_rules.h"

#include <gtest/gtest.h>
#include <cstring>

namespace lxtest {
namespace {

constexpr int kList = IDD_MBOXLIST;
constexpr int kWizard = IDD_MBOXWIZ;
constexpr int kExpert = IDD_MBOXEXPERT;

// The values the wizard is given, step by step.
struct WizardValues {
    std::string name, pop3, smtp, address, user, password;
    bool apop = false, deleteMail = false;
    std::string folderEntry; // empty: keep the list's own choice
};

class Editors : public MailboxSetupTest {
protected:
    std::string StepLabel(int step) {
        const std::string format = Text("MBOXWIZ_CPP_4");
        return lx::FormatTextOr(format.c_str(), {step}, "");
    }
    std::string Formatted(const char* key, const std::vector<lx::FormatArg>& args) {
        const std::string format = Text(key);
        return lx::FormatTextOr(format.c_str(), args, "");
    }
    long FolderNum(const char* name) {
        return QueryLong(std::string("SELECT FolderNum FROM Folders WHERE Folder = '") + name +
                         "'");
    }
    // Steps through an open wizard from its welcome step and presses Finish.
    void WalkWizard(Script& script, const WizardValues& v) {
        script.Do([this] { Push(kWizard, IDC_MBOXWIZ_NEXT); });
        for (const std::string* text : {&v.name, &v.pop3, &v.smtp, &v.address, &v.user}) {
            const std::string value = *text;
            script.Do([this, value] {
                SetItem(kWizard, IDC_MBOXWIZ_EDIT, value);
                Push(kWizard, IDC_MBOXWIZ_NEXT);
            });
        }
        script.Do([this, v] {
            SetItem(kWizard, IDC_MBOXWIZ_PASSWORD, v.password);
            Tick(kWizard, IDC_MBOXWIZ_APOP, v.apop);
            Push(kWizard, IDC_MBOXWIZ_NEXT);
        });
        script.Do([this, v] {
            EXPECT_EQ(StepLabel(7), Item(kWizard, IDC_MBOXWIZ_STEP));
            Tick(kWizard, IDC_MBOXWIZ_DELETE, v.deleteMail);
            if (!v.folderEntry.empty()) {
                const auto entries = Entries(kWizard, IDC_MBOXWIZ_FOLDER);
                for (size_t i = 0; i < entries.size(); ++i)
                    if (entries[i] == v.folderEntry)
                        SelectEntry(kWizard, IDC_MBOXWIZ_FOLDER, int(i));
            }
            Push(kWizard, IDC_MBOXWIZ_FINISH);
        });
    }
    // The nine current-mailbox registry values hold `r`.
    void ExpectMirrored(const lx::MailboxRecord& r) {
        EXPECT_EQ(lx::TextOf(r.pop3Server), RegistryString(lx::kRegServer));
        EXPECT_EQ(lx::TextOf(r.smtpServer), RegistryString(lx::kRegSmtpServer));
        EXPECT_EQ(lx::TextOf(r.address), RegistryString(lx::kRegAddress));
        EXPECT_EQ(lx::TextOf(r.user), RegistryString(lx::kRegUser));
        EXPECT_EQ(lx::TextOf(r.password), RegistryString(lx::kRegPassword));
        EXPECT_EQ(r.deleteMail, RegistryDword(lx::kRegDelMail));
        EXPECT_EQ(r.apop, RegistryDword(lx::kRegApop));
        EXPECT_EQ(lx::TextOf(r.defaultFolder), RegistryString(lx::kRegDefFolder));
        EXPECT_EQ(r.defaultFolderNum, RegistryDword(lx::kRegDefFolderNum));
    }
    // Edit on the list's entry `index`.
    void EditEntry(int index) {
        SelectEntry(kList, IDC_MBOXLIST_LIST, index);
        Push(kList, IDC_MBOXLIST_EDIT);
    }
    void ExpectStoredAsInMemory() {
        const lx::MailboxList stored = StoredList();
        EXPECT_EQ(Image(stored), Image(mailboxes));
    }
};

TEST_F(Editors, WizardFinishAddsTheMailboxAndWritesFileAndRegistry) {
    Exec("INSERT INTO Folders (Folder, FolderType, Description) VALUES ('Work', 'U', 'w')");
    const long work = FolderNum("Work");
    ASSERT_GT(work, 0);
    WizardValues v{"Club",
                   "pop.club.example",
                   "smtp.club.example",
                   "me@club.example",
                   "clubber",
                   "0123456789abcde|",
                   true,
                   true,
                   lx::FolderEntryText("Work", work)};
    std::vector<std::string> folderEntries, shown;
    Script script;
    script
        .Do([&] {
            Tick(kList, IDC_MBOXLIST_EXPERT, false);
            Push(kList, IDC_MBOXLIST_ADD);
        })
        .Do([&] { folderEntries = Entries(kWizard, IDC_MBOXWIZ_FOLDER); });
    WalkWizard(script, v);
    script.Do([&] {
        shown = Entries(kList, IDC_MBOXLIST_LIST);
        Push(kList, IDCANCEL);
    });
    RunSetup(script);
    EXPECT_TRUE(hook->boxes.empty());
    EXPECT_EQ((std::vector<std::string>{"Home", "Work", "Club"}), shown);
    // The folder list offers neither _OUT nor _SENT.
    EXPECT_FALSE(folderEntries.empty());
    for (const std::string& entry : folderEntries) {
        EXPECT_NE(0u, entry.find("_OUT [")) << entry;
        EXPECT_NE(0u, entry.find("_SENT [")) << entry;
    }

    ASSERT_EQ(3, mailboxes.count);
    const lx::MailboxRecord& r = mailboxes.records[2];
    EXPECT_EQ("Club", lx::TextOf(r.name));
    EXPECT_EQ("pop.club.example", lx::TextOf(r.pop3Server));
    EXPECT_EQ("smtp.club.example", lx::TextOf(r.smtpServer));
    EXPECT_EQ("me@club.example", lx::TextOf(r.address));
    EXPECT_EQ("clubber", lx::TextOf(r.user));
    EXPECT_EQ(Scrambled("0123456789abcde|"), lx::TextOf(r.password));
    EXPECT_EQ(1, r.apop);
    EXPECT_EQ(1, r.deleteMail);
    EXPECT_EQ("Work", lx::TextOf(r.defaultFolder));
    EXPECT_EQ(work, r.defaultFolderNum);
    EXPECT_EQ(
        (std::vector<int>{0, 0, 1}),
        (std::vector<int>{mailboxes.records[0].current, mailboxes.records[1].current, r.current}));
    ExpectStoredAsInMemory();
    ExpectMirrored(r);
}

TEST_F(Editors, WizardKeepsALongNameOnTheNameStepAndPreviousStopsThere) {
    std::string label0, label1AfterNext, label1AfterPrevious, nameShown;
    bool previousEnabledOnWelcome = true;
    size_t boxesAfterNext = 0;
    Script script;
    script
        .Do([&] {
            Tick(kList, IDC_MBOXLIST_EXPERT, false);
            Push(kList, IDC_MBOXLIST_ADD);
        })
        .Do([&] {
            label0 = Item(kWizard, IDC_MBOXWIZ_STEP);
            previousEnabledOnWelcome =
                ::IsWindowEnabled(::GetDlgItem(Open(kWizard), IDC_MBOXWIZ_PREVIOUS));
            Push(kWizard, IDC_MBOXWIZ_PREVIOUS);
            Push(kWizard, IDC_MBOXWIZ_NEXT);
        })
        .Do([&] {
            SetItem(kWizard, IDC_MBOXWIZ_EDIT, "ABCDEFGHIJKLM");
            Push(kWizard, IDC_MBOXWIZ_NEXT);
        })
        .Do([&] {
            boxesAfterNext = hook->boxes.size();
            label1AfterNext = Item(kWizard, IDC_MBOXWIZ_STEP);
            Push(kWizard, IDC_MBOXWIZ_PREVIOUS);
        })
        .Do([&] {
            label1AfterPrevious = Item(kWizard, IDC_MBOXWIZ_STEP);
            nameShown = Item(kWizard, IDC_MBOXWIZ_EDIT);
            Push(kWizard, IDCANCEL);
        })
        .Do([&] { Push(kList, IDCANCEL); });
    RunSetup(script);
    EXPECT_EQ(StepLabel(0), label0);
    EXPECT_FALSE(previousEnabledOnWelcome);
    EXPECT_EQ(1u, boxesAfterNext);
    EXPECT_EQ((std::vector<std::string>{Text("MBOXWIZ_CPP_1")}), BoxTexts());
    EXPECT_EQ(StepLabel(1), label1AfterNext);
    EXPECT_EQ(StepLabel(1), label1AfterPrevious);
    EXPECT_EQ("ABCDEFGHIJKLM", nameShown);
    EXPECT_EQ(2, mailboxes.count);
    EXPECT_FALSE(MailboxFileExists());
}

TEST_F(Editors, WizardShowsOneStepAtATime) {
    struct Seen {
        bool edit, password, apop, deleteMail, folder, next, finish;
        int text; // the explanation shown
    };
    std::vector<Seen> seen;
    const int texts[] = {IDC_MBOXWIZ_TEXT_WELCOME,  IDC_MBOXWIZ_TEXT_NAME,    IDC_MBOXWIZ_TEXT_POP3,
                         IDC_MBOXWIZ_TEXT_SMTP,     IDC_MBOXWIZ_TEXT_ADDRESS, IDC_MBOXWIZ_TEXT_USER,
                         IDC_MBOXWIZ_TEXT_PASSWORD, IDC_MBOXWIZ_TEXT_DELIVERY};
    auto look = [&] {
        Seen s{Visible(kWizard, IDC_MBOXWIZ_EDIT),   Visible(kWizard, IDC_MBOXWIZ_PASSWORD),
               Visible(kWizard, IDC_MBOXWIZ_APOP),   Visible(kWizard, IDC_MBOXWIZ_DELETE),
               Visible(kWizard, IDC_MBOXWIZ_FOLDER), Visible(kWizard, IDC_MBOXWIZ_NEXT),
               Visible(kWizard, IDC_MBOXWIZ_FINISH), -1};
        for (int id : texts)
            if (Visible(kWizard, id)) s.text = s.text == -1 ? id : -2; // -2: more than one
        seen.push_back(s);
    };
    Script script;
    script.Do([&] {
        Tick(kList, IDC_MBOXLIST_EXPERT, false);
        Push(kList, IDC_MBOXLIST_ADD);
    });
    for (int step = 0; step < 8; ++step)
        script.Do([&, step] {
            look();
            if (step == 1) SetItem(kWizard, IDC_MBOXWIZ_EDIT, "Name");
            if (step < 7) Push(kWizard, IDC_MBOXWIZ_NEXT);
        });
    script.Do([&] { Push(kWizard, IDCANCEL); }).Do([&] { Push(kList, IDCANCEL); });
    RunSetup(script);
    ASSERT_EQ(8u, seen.size());
    for (int step = 0; step < 8; ++step) {
        const Seen& s = seen[static_cast<size_t>(step)];
        EXPECT_EQ(texts[step], s.text) << step;
        EXPECT_EQ(step >= 1 && step <= 5, s.edit) << step;
        EXPECT_EQ(step == 6, s.password) << step;
        EXPECT_EQ(step == 6, s.apop) << step;
        EXPECT_EQ(step == 7, s.deleteMail) << step;
        EXPECT_EQ(step == 7, s.folder) << step;
        EXPECT_EQ(step != 7, s.next) << step;
        EXPECT_EQ(step == 7, s.finish) << step;
    }
}

TEST_F(Editors, CancelLeavesTheStoredPasswordExactlyAsItWas) {
    // Bytes that no unscramble-and-scramble-again would give back: a code outside the table and
    // something after the end of the text.
    lx::MailboxRecord& work = mailboxes.records[1];
    const unsigned char odd[17] = {0x68, 0xFE, 0x77, 0x00, 0x41, 0x42, 0, 0,   0,
                                   0,    0,    0,    0,    0,    0,    0, 0x7E};
    std::memcpy(work.password, odd, sizeof odd);
    const lx::MailboxList before = mailboxes;
    for (bool expert : {true, false}) {
        Script script;
        script
            .Do([&] {
                Tick(kList, IDC_MBOXLIST_EXPERT, expert);
                SelectEntry(kList, IDC_MBOXLIST_LIST, 1);
                Push(kList, IDC_MBOXLIST_EDIT);
            })
            .Do([&] { Push(expert ? kExpert : kWizard, IDCANCEL); })
            .Do([&] { Push(kList, IDCANCEL); });
        RunSetup(script);
        EXPECT_EQ(Image(before), Image(mailboxes)) << expert;
    }
    EXPECT_EQ((std::vector<int>{kList, kExpert, kList, kWizard}), hook->dialogsStarted);
    EXPECT_FALSE(MailboxFileExists());
}

TEST_F(Editors, ExpertSaveMakesTheEditedMailboxCurrentAndMirrorsIt) {
    mailboxes.records[1] = Record("Work");
    std::string shownPassword, shownServer;
    Script script;
    script.Do([&] { EditEntry(1); })
        .Do([&] {
            shownPassword = Item(kExpert, IDC_MBOXEXPERT_PASSWORD);
            shownServer = Item(kExpert, IDC_MBOXEXPERT_POP3);
            SetItem(kExpert, IDC_MBOXEXPERT_POP3, "pop.new.example");
            SetItem(kExpert, IDC_MBOXEXPERT_PASSWORD, "0123456789abcdef");
            Tick(kExpert, IDC_MBOXEXPERT_APOP, true);
            Push(kExpert, IDC_MBOXEXPERT_SAVE);
        })
        .Do([&] { Push(kList, IDCANCEL); });
    RunSetup(script);
    EXPECT_TRUE(hook->boxes.empty());
    EXPECT_EQ("secret", shownPassword);
    EXPECT_EQ("pop.Work.example", shownServer);
    const lx::MailboxRecord& r = mailboxes.records[1];
    EXPECT_EQ("pop.new.example", lx::TextOf(r.pop3Server));
    EXPECT_EQ("smtp.Work.example", lx::TextOf(r.smtpServer));
    EXPECT_EQ(Scrambled("0123456789abcdef"), lx::TextOf(r.password));
    EXPECT_EQ(1, r.apop);
    EXPECT_EQ(1, r.current);
    EXPECT_EQ(0, mailboxes.records[0].current);
    ExpectStoredAsInMemory();
    ExpectMirrored(r);
}

TEST_F(Editors, ExpertRefusesAnotherMailboxsNameAndAnOverlongFieldAndStaysOpen) {
    const lx::MailboxList before = mailboxes;
    std::vector<std::string> boxes;
    Script script;
    script.Do([&] { EditEntry(1); })
        .Do([&] {
            SetItem(kExpert, IDC_MBOXEXPERT_NAME, "HOME");
            Push(kExpert, IDC_MBOXEXPERT_SAVE);
        })
        .Do([&] {
            SetItem(kExpert, IDC_MBOXEXPERT_NAME, "Work");
            SetItem(kExpert, IDC_MBOXEXPERT_SMTP, std::string(80, 's'));
            Push(kExpert, IDC_MBOXEXPERT_SAVE);
        })
        .Do([&] {
            boxes = BoxTexts();
            Push(kExpert, IDCANCEL);
        })
        .Do([&] { Push(kList, IDCANCEL); });
    RunSetup(script);
    EXPECT_EQ((std::vector<std::string>{Formatted("MBOXWIZ_CPP_2", {"HOME"}),
                                        Formatted("NEWMAIL_CPP_4", {79})}),
              boxes);
    EXPECT_EQ(Image(before), Image(mailboxes));
    EXPECT_FALSE(MailboxFileExists());
}

TEST_F(Editors, WizardEditKeepsTheMailboxsServers) {
    mailboxes.records[0] = Record("Home");
    mailboxes.records[0].current = 1;
    std::vector<std::string> shown;
    Script script;
    script.Do([&] {
        Tick(kList, IDC_MBOXLIST_EXPERT, false);
        EditEntry(0);
    });
    script.Do([&] { Push(kWizard, IDC_MBOXWIZ_NEXT); });
    for (int step = 1; step <= 5; ++step)
        script.Do([&] {
            shown.push_back(Item(kWizard, IDC_MBOXWIZ_EDIT));
            Push(kWizard, IDC_MBOXWIZ_NEXT);
        });
    script
        .Do([&] {
            shown.push_back(Item(kWizard, IDC_MBOXWIZ_PASSWORD));
            Push(kWizard, IDC_MBOXWIZ_NEXT);
        })
        .Do([&] {
            const auto entries = Entries(kWizard, IDC_MBOXWIZ_FOLDER);
            const int at = Selection(kWizard, IDC_MBOXWIZ_FOLDER);
            shown.push_back(at >= 0 ? entries[static_cast<size_t>(at)] : "");
            Push(kWizard, IDC_MBOXWIZ_FINISH);
        })
        .Do([&] { Push(kList, IDCANCEL); });
    RunSetup(script);
    const long in = frame->SpecialFolders().in;
    EXPECT_EQ((std::vector<std::string>{"Home", "pop.Home.example", "smtp.Home.example",
                                        "me@Home.example", "me", "secret",
                                        lx::FolderEntryText("_IN", in)}),
              shown);
    // Finished unchanged: the record is as it was, the folder number now the store's.
    EXPECT_EQ("pop.Home.example", lx::TextOf(mailboxes.records[0].pop3Server));
    EXPECT_EQ(Scrambled("secret"), lx::TextOf(mailboxes.records[0].password));
    EXPECT_EQ(in, mailboxes.records[0].defaultFolderNum);
}

TEST_F(Editors, ChangePasswordWithDifferentNewPasswordsReachesNoServer) {
    mailboxes.records[0] = Record("Home");
    const lx::MailboxList before = mailboxes;
    std::string title, log;
    Script script;
    script
        .Do([&] {
            SelectEntry(kList, IDC_MBOXLIST_LIST, 0);
            Push(kList, IDC_MBOXLIST_PASSWORD);
        })
        .Do([&] {
            char text[128] = "";
            ::GetWindowTextA(Open(IDD_POPCPW), text, sizeof text);
            title = text;
            SetItem(IDD_POPCPW, IDC_POPCPW_NEW, "fresh1");
            SetItem(IDD_POPCPW, IDC_POPCPW_AGAIN, "fresh2");
            Push(IDD_POPCPW, IDC_POPCPW_CHANGE);
        })
        .Do([&] {
            log = Item(IDD_POPCPW, IDC_POPCPW_LOG);
            Push(IDD_POPCPW, IDCANCEL);
        })
        .Do([&] { Push(kList, IDCANCEL); });
    RunSetup(script);
    EXPECT_EQ("Change Password [Home]", title);
    ASSERT_EQ(1u, hook->boxes.size());
    EXPECT_EQ(Text("POPCPW_CPP_18"), hook->boxes[0].text);
    EXPECT_EQ(Text("POPCPW_CPP_17"), hook->boxes[0].caption);
    EXPECT_EQ("", log);
    EXPECT_EQ(Image(before), Image(mailboxes));
}

class FirstStart : public Editors {
protected:
    void SetUp() override {
        Editors::SetUp();
        mailboxes = lx::MailboxList{};
    }
    bool RunFirst(Script& script) {
        hook->onInit = [this, &script](HWND dialog, int resourceId) {
            opened[resourceId] = dialog;
            if (resourceId == kWizard) script.Start();
        };
        const bool added = lx::RunFirstMailboxSetup(Wnd(), context);
        EXPECT_TRUE(script.Finished());
        return added;
    }
};

TEST_F(FirstStart, FinishedWizardAddsTheFirstMailboxAsCurrentWithInAsItsFolder) {
    WizardValues v;
    v.pop3 = "pop.first.example";
    v.address = "me@first.example";
    v.user = "me";
    v.password = "pw";
    Script script;
    WalkWizard(script, v);
    ASSERT_TRUE(RunFirst(script));
    ASSERT_EQ(1, mailboxes.count);
    const lx::MailboxRecord& r = mailboxes.records[0];
    EXPECT_EQ("NO NAME", lx::TextOf(r.name));
    EXPECT_EQ(1, r.current);
    EXPECT_EQ("_IN", lx::TextOf(r.defaultFolder));
    EXPECT_EQ(frame->SpecialFolders().in, r.defaultFolderNum);
    EXPECT_EQ(Scrambled("pw"), lx::TextOf(r.password));
}

TEST_F(FirstStart, CancelledWizardLeavesNoMailbox) {
    Script script;
    script.Do([&] { Push(kWizard, IDCANCEL); });
    EXPECT_FALSE(RunFirst(script));
    EXPECT_EQ(0, mailboxes.count);
    // With a mailbox already there, nothing runs.
    mailboxes.records[0] = Record("Home");
    mailboxes.count = 1;
    hook->dialogsStarted.clear();
    EXPECT_FALSE(lx::RunFirstMailboxSetup(Wnd(), context));
    EXPECT_TRUE(hook->dialogsStarted.empty());
}

} // namespace
} // namespace lxtest
