// The mailbox editors' secure-connection controls: the expert screen and the wizard store the
// security in the record's spare bytes, an older record stays byte for byte, a long app password
// is kept whole beside the record.
#include "tests/secure/secure_fixture.h"

namespace lxtest {
namespace {

// The expert screen: the security lists and ports, the SMTP login, a long app password.
class SecureEditor : public SecureRuns {
protected:
    // Opens the expert screen on record 0 of `list`; `script` runs once it is shown.
    // The editors' data for record 0 of `list`.
    lx::MailboxEditData EditData(lx::MailboxList& list) {
        lx::MailboxEditData edit;
        edit.catalog = &BuiltCatalogue();
        edit.conn = &Conn();
        edit.installPath = folder;
        edit.mailboxes = &list;
        edit.index = 0;
        edit.inFolderNum = in;
        edit.registryKey = kKey;
        return edit;
    }

    INT_PTR Edit(lx::MailboxList& list, std::function<void(HWND)> script, lx::MailboxRecord* out) {
        lx::MailboxEditData edit = EditData(list);
        hook->onInit = [script](HWND dialog, int id) {
            if (id == IDD_MBOXEXPERT) script(dialog);
        };
        const INT_PTR result = lx::ShowMailboxExpertDialog(nullptr, &edit);
        hook->onInit = nullptr;
        *out = edit.record;
        return result;
    }
    static void Choose(HWND dialog, int list, int index) {
        ::SendDlgItemMessageA(dialog, list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, list)));
    }
    lx::MailboxList OldList() {
        lx::MailboxList list;
        lx::MailboxRecord& rec = list.records[0];
        lx::CopyText(rec.name, kMailbox);
        lx::CopyText(rec.pop3Server, kTlsPop3);
        lx::CopyText(rec.smtpServer, kTlsSmtp);
        lx::CopyText(rec.user, "joe");
        lx::CopyText(rec.password, "secret");
        lx::Scramble(rec.password);
        lx::CopyText(rec.defaultFolder, "_IN");
        rec.defaultFolderNum = static_cast<std::int32_t>(in);
        for (std::size_t i = 0; i < sizeof rec.unused; ++i)
            rec.unused[i] = static_cast<std::uint8_t>(0xA0 + i); // an older program's leftovers
        list.count = 1;
        return list;
    }
};

TEST_F(SecureEditor, OlderRecordSavedUnchangedStaysByteForByte) {
    lx::MailboxList list = OldList();
    std::map<int, std::string> shown;
    lx::MailboxRecord saved;
    ASSERT_EQ(Edit(
                  list,
                  [&shown](HWND dialog) {
                      for (int id :
                           {IDC_MBOXEXPERT_POP3SEC, IDC_MBOXEXPERT_POP3PORT, IDC_MBOXEXPERT_SMTPSEC,
                            IDC_MBOXEXPERT_SMTPPORT, IDC_MBOXEXPERT_SMTPLOGIN})
                          shown[id] = ControlText(dialog, id);
                      Press(dialog, IDC_MBOXEXPERT_SAVE);
                  },
                  &saved),
              IDOK);
    EXPECT_EQ(shown[IDC_MBOXEXPERT_POP3SEC], Text("MBOXWIZ_CPP_5"));
    EXPECT_EQ(shown[IDC_MBOXEXPERT_SMTPSEC], Text("MBOXWIZ_CPP_5"));
    EXPECT_EQ(shown[IDC_MBOXEXPERT_POP3PORT], "110");
    EXPECT_EQ(shown[IDC_MBOXEXPERT_SMTPPORT], "25");
    EXPECT_EQ(shown[IDC_MBOXEXPERT_SMTPLOGIN], Text("MBOXWIZ_CPP_10"));
    std::uint8_t before[lx::kMailboxRecordSize], after[lx::kMailboxRecordSize];
    lx::EncodeMailbox(list.records[0], before);
    lx::EncodeMailbox(saved, after);
    EXPECT_EQ(0, std::memcmp(before, after, sizeof before));
}

TEST_F(SecureEditor, SecuritySavedIntoTheSpareBytesAndLongPasswordKeptWhole) {
    lx::MailboxList list = OldList();
    const std::string appPassword = "abcd-efgh-ijkl-mnop-qrst-uvwx-yz01-2345";
    std::map<int, std::string> ports;
    lx::MailboxRecord saved;
    // A port out of range keeps the screen open with the message; fixed, Save stores.
    hook->afterBox = [](HWND dialog, size_t) {
        ::SetDlgItemTextA(dialog, IDC_MBOXEXPERT_SMTPPORT, "2525");
        Press(dialog, IDC_MBOXEXPERT_SAVE);
    };
    ASSERT_EQ(Edit(
                  list,
                  [&](HWND dialog) {
                      Choose(dialog, IDC_MBOXEXPERT_POP3SEC, 2);
                      Choose(dialog, IDC_MBOXEXPERT_SMTPSEC, 1);
                      ports[1] = ControlText(dialog, IDC_MBOXEXPERT_POP3PORT);
                      ports[2] = ControlText(dialog, IDC_MBOXEXPERT_SMTPPORT);
                      ::CheckDlgButton(dialog, IDC_MBOXEXPERT_SMTPLOGIN, BST_CHECKED);
                      ::SetDlgItemTextA(dialog, IDC_MBOXEXPERT_PASSWORD, appPassword.c_str());
                      ::SetDlgItemTextA(dialog, IDC_MBOXEXPERT_SMTPPORT, "70000");
                      Press(dialog, IDC_MBOXEXPERT_SAVE);
                  },
                  &saved),
              IDOK);
    hook->afterBox = nullptr;
    ASSERT_EQ(hook->boxes.size(), 1u);
    EXPECT_EQ(hook->boxes[0].text, Text("MBOXWIZ_CPP_13"));
    EXPECT_EQ(ports[1], "995");
    EXPECT_EQ(ports[2], "587");
    const lx::MailboxSecurity want{MailSecurity::Tls, MailSecurity::StartTls, 0, 2525, true};
    EXPECT_EQ(lx::ReadMailboxSecurity(saved), want);
    // The record holds the first 16 characters; the runs log in with the whole.
    char head[17] = "";
    lx::CopyText(head, saved.password);
    lx::Unscramble(head);
    EXPECT_EQ(std::string(head), appPassword.substr(0, 16));
    list.records[0] = saved;
    lx::Win32SettingsRegistry registry(kKey);
    ASSERT_TRUE(lx::MakeCurrent(list, 0, registry));
    char mirrored[lx::kRegPasswordSize] = "";
    ASSERT_TRUE(registry.ReadString(lx::kRegPassword, mirrored, sizeof mirrored));
    EXPECT_EQ(lx::PlainWhole(mirrored), appPassword);
    EXPECT_EQ(lx::ReadDwordOr(registry, lx::kRegSmtpPort, 0), 2525);
    EXPECT_EQ(lx::ReadDwordOr(registry, lx::kRegPop3Port, 0), 995);

    // Opened again, the screen shows the whole password and the ports as saved.
    std::map<int, std::string> again;
    lx::MailboxRecord unchanged;
    ASSERT_EQ(Edit(
                  list,
                  [&again](HWND dialog) {
                      for (int id : {IDC_MBOXEXPERT_PASSWORD, IDC_MBOXEXPERT_POP3PORT,
                                     IDC_MBOXEXPERT_SMTPPORT})
                          again[id] = ControlText(dialog, id);
                      Press(dialog, IDCANCEL);
                  },
                  &unchanged),
              IDCANCEL);
    EXPECT_EQ(again[IDC_MBOXEXPERT_PASSWORD], appPassword);
    EXPECT_EQ(again[IDC_MBOXEXPERT_POP3PORT], "995");
    EXPECT_EQ(again[IDC_MBOXEXPERT_SMTPPORT], "2525");
}

// Steps run one after the other from a dialog's own loop, each once the last one's posted
// presses have been handled.
class Steps {
public:
    static void Start(HWND dialog, std::vector<std::function<void(HWND)>> steps) {
        steps_ = std::move(steps);
        next_ = 0;
        ::SetTimer(dialog, 0x57, 100, [](HWND dlg, UINT, UINT_PTR timer, DWORD) {
            if (next_ >= steps_.size()) return (void)::KillTimer(dlg, timer);
            steps_[next_++](dlg);
        });
    }

private:
    static inline std::vector<std::function<void(HWND)>> steps_;
    static inline std::size_t next_ = 0;
};

TEST_F(SecureEditor, WizardAsksForTheSecurityBesideEachServer) {
    lx::MailboxList list; // the first mailbox
    lx::MailboxEditData edit = EditData(list);
    std::map<std::string, std::string> seen;
    auto text = [](HWND dialog, const char* value) {
        ::SetDlgItemTextA(dialog, IDC_MBOXWIZ_EDIT, value);
        Press(dialog, IDC_MBOXWIZ_NEXT);
    };
    hook->onInit = [&](HWND dialog, int id) {
        if (id != IDD_MBOXWIZ) return;
        Steps::Start(
            dialog, {[](HWND d) { Press(d, IDC_MBOXWIZ_NEXT); }, [&](HWND d) { text(d, "Wizard"); },
                     [&](HWND d) {
                         seen["pop3 shown"] =
                             ::IsWindowVisible(::GetDlgItem(d, IDC_MBOXWIZ_POP3SEC)) ? "yes" : "no";
                         seen["smtp shown"] =
                             ::IsWindowVisible(::GetDlgItem(d, IDC_MBOXWIZ_SMTPSEC)) ? "yes" : "no";
                         Choose(d, IDC_MBOXWIZ_POP3SEC, 2);
                         seen["pop3 port"] = ControlText(d, IDC_MBOXWIZ_POP3PORT);
                         text(d, kTlsPop3);
                     },
                     [&](HWND d) {
                         Choose(d, IDC_MBOXWIZ_SMTPSEC, 2);
                         seen["smtp port"] = ControlText(d, IDC_MBOXWIZ_SMTPPORT);
                         ::CheckDlgButton(d, IDC_MBOXWIZ_SMTPLOGIN, BST_CHECKED);
                         text(d, kTlsSmtp);
                     },
                     [&](HWND d) { text(d, "joe@example.org"); }, [&](HWND d) { text(d, "joe"); },
                     [](HWND d) {
                         ::SetDlgItemTextA(d, IDC_MBOXWIZ_PASSWORD, "secret");
                         Press(d, IDC_MBOXWIZ_NEXT);
                     },
                     [](HWND d) { Press(d, IDC_MBOXWIZ_FINISH); }});
    };
    ASSERT_EQ(lx::ShowMailboxWizardDialog(nullptr, &edit), IDOK);
    hook->onInit = nullptr;
    EXPECT_EQ(seen["pop3 shown"], "yes");
    EXPECT_EQ(seen["smtp shown"], "no");
    EXPECT_EQ(seen["pop3 port"], "995");
    EXPECT_EQ(seen["smtp port"], "465");
    EXPECT_EQ(lx::TextOf(edit.record.pop3Server), kTlsPop3);
    const lx::MailboxSecurity want{MailSecurity::Tls, MailSecurity::Tls, 0, 0, true};
    EXPECT_EQ(lx::ReadMailboxSecurity(edit.record), want);
}

} // namespace
} // namespace lxtest
