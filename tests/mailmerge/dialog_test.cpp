// "Send Mail [SMTP] - Mail Merge" under Wine, driven by control id: the merge and message files
// on disk, aiosmtpd on loopback receiving what the merge sends.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/settings/registry_win32.h"
#include "common/win/handles.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/logic/transfermarks.h"
#include "mailer/transfer/sendmmf.h"
#include "mailer/ui/logic/cmdplug.h"
#include "netlib/tern32.h"
#include "tests/sending/received.h"
#include "tests/startup/uitest.h"

namespace lxtest {
namespace {

constexpr char kTestKey[] = "Software\\Quorbit\\LorvexMergeTest";
constexpr char kSink[] = "127.0.0.3";

std::string Text(const char* key, const std::vector<lx::FormatArg>& args = {}) {
    const char* text = BuiltCatalogue().Lookup(key);
    return lx::FormatTextOr(text ? text : "", args, text ? text : "");
}

std::string WriteFile(const std::string& path, const std::string& bytes) {
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string Trim(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
}

// Answers the file-open dialog with a path, and remembers its title.
class MergeHook : public ScriptedHook {
public:
    std::string openAnswer;
    std::vector<std::string> openTitles;
    BOOL OnCommonDialog(lx::ui::CommonDialog kind, void* data) override {
        if (kind != lx::ui::CommonDialog::Open) return FALSE;
        auto* ofn = static_cast<OPENFILENAMEA*>(data);
        openTitles.push_back(ofn->lpstrTitle ? ofn->lpstrTitle : "");
        if (openAnswer.empty()) return FALSE;
        lstrcpynA(ofn->lpstrFile, openAnswer.c_str(), static_cast<int>(ofn->nMaxFile));
        return TRUE;
    }
};

// What a run left in the dialog once it was over.
struct Seen {
    std::map<int, std::string> fields;
    std::vector<std::string> logList;
    std::vector<std::string> preparingShown; // every text "Preparing Message #" was given
};

class MailMerge : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(BuiltCatalogue().Loaded()) << "DGROUP.VSF of the build is needed";
        folder = TempFolder("lxmerge");
        ASSERT_EQ(TERNStartWinSock(0x0101), 1);
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
        lx::Win32SettingsRegistry registry(kTestKey);
        registry.WriteString("Address", "me@example.org");
        registry.WriteString("SMTPServer", kSink);
        hook.reset(new MergeHook);
        received = ReceivedCount();
    }
    void TearDown() override {
        hook.reset();
        TERNEndWinSock();
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
        for (const std::string& f : readOnly)
            ::SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_NORMAL);
    }

    std::string File(const char* name, const std::string& bytes) {
        return WriteFile(folder + "\\" + name, bytes);
    }
    void MakeReadOnly(const std::string& path) {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        readOnly.push_back(path);
    }

    lx::MailMergeData Data() {
        lx::MailMergeData d;
        d.installPath = folder.c_str();
        d.catalog = &BuiltCatalogue();
        d.marks = &marks;
        d.registryKey = kTestKey;
        return d;
    }

    // Fills the fields, presses Start and, once the run is over (Start is enabled again after
    // the log has said something), reads the dialog and closes it.
    Seen RunMerge(lx::MailMergeData& d, const std::string& addressFile,
                  const std::string& messageFile, const std::string& subject,
                  const std::string& attachment) {
        static Seen* seen;
        static lx::MailMergeData* data;
        static bool* markSeen;
        Seen result;
        bool sendingMarked = false;
        seen = &result;
        data = &d;
        markSeen = &sendingMarked;
        static lx::TransferMarks* marksSeen;
        marksSeen = &marks;
        hook->onInit = [=](HWND dialog, int) {
            TextWatch::Start(::GetDlgItem(dialog, IDC_SENDMMF_PREPARING), &seen->preparingShown);
            ::SetDlgItemTextA(dialog, IDC_SENDMMF_ADDRESSFILE, addressFile.c_str());
            ::SetDlgItemTextA(dialog, IDC_SENDMMF_MESSAGEFILE, messageFile.c_str());
            ::SetDlgItemTextA(dialog, IDC_SENDMMF_SUBJECT, subject.c_str());
            ::SetDlgItemTextA(dialog, IDC_SENDMMF_ATTACHMENT, attachment.c_str());
            Press(dialog, IDC_SENDMMF_START);
            ::SetTimer(dialog, 0x3E, 50, [](HWND dlg, UINT, UINT_PTR id, DWORD) {
                *markSeen = *markSeen || marksSeen->sending;
                if (data->log.empty() || !::IsWindowEnabled(::GetDlgItem(dlg, IDC_SENDMMF_START)))
                    return;
                ::KillTimer(dlg, id);
                for (int field : {IDC_SENDMMF_STATUS, IDC_SENDMMF_PREPARING, IDC_SENDMMF_DATASENT,
                                  IDC_SENDMMF_SENTCOUNT})
                    seen->fields[field] = ControlText(dlg, field);
                HWND list = ::GetDlgItem(dlg, IDC_SENDMMF_LOG);
                const int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
                for (int i = 0; i < count; ++i) {
                    char line[1024] = "";
                    if (::SendMessageA(list, LB_GETTEXTLEN, i, 0) <
                        static_cast<LRESULT>(sizeof line))
                        ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
                    seen->logList.push_back(line);
                }
                Press(dlg, IDCANCEL);
            });
        };
        EXPECT_EQ(lx::ShowMailMergeDialog(nullptr, &d), IDCANCEL);
        EXPECT_TRUE(sendingMarked) << "the sending mark is held while the dialog is open";
        EXPECT_FALSE(marks.sending);
        return result;
    }

    std::string folder;
    lx::TransferMarks marks;
    std::unique_ptr<MergeHook> hook;
    std::vector<std::string> readOnly;
    int received = 0;
};

const std::vector<std::string> kThree = {"ann@example.org", "bob@example.org", "cy@example.org"};

std::string Letter() {
    return "Dear reader,\r\n\r\nour news of the quarter is attached.\r\n"
           ".A line that starts with a full stop.\r\n"
           "Kind regards,\r\nthe editors\r\n";
}

// Every address receives exactly one message, with itself as the only To, the body and the
// attached bytes as sent. The merge and message files are read-only, and another program has them
// open for reading (letting nobody write): the merge reads them all the same.
TEST_F(MailMerge, EveryAddressGetsOneMessageOfItsOwn) {
    std::string bytes;
    for (int i = 0; i < 5000; ++i) bytes += static_cast<char>((i * 131 + 7) & 0xff);
    const std::string merge =
        File("news.mmf", "ann@example.org\r\nbob@example.org\r\ncy@example.org\r\n");
    const std::string letter = File("letter.txt", Letter());
    const std::string attachment = File("report.bin", bytes);
    MakeReadOnly(merge);
    MakeReadOnly(letter);
    lx::UniqueHandle mergeHeld(::CreateFileA(merge.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
    lx::UniqueHandle letterHeld(::CreateFileA(letter.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(mergeHeld.Valid() && letterHeld.Valid());
    lx::MailMergeData d = Data();
    const Seen seen = RunMerge(d, merge, letter, "Quarterly news", attachment);

    EXPECT_EQ(seen.fields.at(IDC_SENDMMF_PREPARING), "3");
    EXPECT_EQ(seen.preparingShown, (std::vector<std::string>{"0", "1", "2", "3"}));
    EXPECT_EQ(d.prepared, 3);
    EXPECT_EQ(seen.fields.at(IDC_SENDMMF_SENTCOUNT), "3");
    EXPECT_EQ(seen.fields.at(IDC_SENDMMF_STATUS), Text("SENDMMF_CPP_12"));
    EXPECT_EQ(seen.fields.at(IDC_SENDMMF_DATASENT), "100.00%");
    EXPECT_EQ(seen.logList, d.log);
    const std::vector<std::string> expectedLog = {Text("SENDMMF_CPP_42", {3}),
                                                  Text("SENDMMF_CPP_31"), Text("SENDMMF_CPP_11")};
    EXPECT_EQ(d.log, expectedLog);

    const std::vector<Received> got = ReceivedSince(received);
    ASSERT_EQ(got.size(), 3u);
    std::multiset<std::string> recipients;
    for (const Received& r : got) {
        ASSERT_EQ(r.rcptTo.size(), 1u);
        recipients.insert(r.rcptTo[0]);
        SCOPED_TRACE(r.rcptTo[0]);
        EXPECT_EQ(r.mailFrom, "me@example.org");
        EXPECT_EQ(r.All("To"), std::vector<std::string>{r.rcptTo[0]});
        EXPECT_TRUE(r.All("Cc").empty());
        EXPECT_EQ(r.Header("Subject"), "Quarterly news");
        EXPECT_EQ(r.text, Trim(Letter()));
        ASSERT_EQ(r.attachments.size(), 1u);
        EXPECT_EQ(r.attachments[0].first, "report.bin");
        EXPECT_EQ(r.attachments[0].second, bytes);
    }
    EXPECT_EQ(recipients, std::multiset<std::string>(kThree.begin(), kThree.end()));
    // The spool file lies in the installation folder.
    EXPECT_NE(::GetFileAttributesA((folder + "\\TernSmtp.Txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MailMerge, WithoutAttachmentNoFilePartAndLoneLfLines) {
    const std::string merge =
        File("two.mmf", "ann@example.org\nbob@example.org\n\ncy@example.org\n");
    const std::string letter = File("letter.txt", "Just a note.\r\n");
    lx::MailMergeData d = Data();
    const Seen seen = RunMerge(d, merge, letter, "Note", "");
    EXPECT_EQ(seen.fields.at(IDC_SENDMMF_PREPARING), "2");
    const std::vector<Received> got = ReceivedSince(received);
    ASSERT_EQ(got.size(), 2u);
    for (const Received& r : got) {
        EXPECT_TRUE(r.attachments.empty());
        EXPECT_EQ(r.Header("Content-Type").find("multipart"), std::string::npos);
        EXPECT_EQ(r.text, "Just a note.");
    }
    EXPECT_EQ(got[0].rcptTo, std::vector<std::string>{"ann@example.org"});
    EXPECT_EQ(got[1].rcptTo, std::vector<std::string>{"bob@example.org"});
}

TEST_F(MailMerge, MissingFilesAreLoggedAndNothingIsSent) {
    const std::string letter = File("letter.txt", "Text.\r\n");
    const std::string merge = File("one.mmf", "ann@example.org\r\n");
    struct Case {
        std::string addressFile, messageFile;
        std::string logged;
    } cases[] = {
        {folder + "\\missing.mmf", letter, "Error : Unable to open Address File"},
        {"", letter, "Error : Unable to open Address File"},
        {merge, folder + "\\missing.txt", Text("SENDMMF_CPP_1")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.addressFile + " " + c.messageFile);
        lx::MailMergeData d = Data();
        const Seen seen = RunMerge(d, c.addressFile, c.messageFile, "S", "");
        EXPECT_EQ(d.log, std::vector<std::string>{c.logged});
        EXPECT_EQ(seen.fields.at(IDC_SENDMMF_PREPARING), "0");
    }
    EXPECT_EQ(ReceivedCount(), received);
    EXPECT_EQ(::GetFileAttributesA((folder + "\\TernSmtp.Txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

// A line that cannot be sent to stops the run before anything is prepared: no recipient is left
// out without a word.
TEST_F(MailMerge, BadLinesRefuseTheRunNamingEachLine) {
    const std::string tooLong(209, 'x');
    const std::string merge =
        File("bad.mmf", "ann@example.org\r\nAnn Smith <ann@example.org>\r\n" + tooLong + "\r\n");
    const std::string letter = File("letter.txt", "Text.\r\n");
    lx::MailMergeData d = Data();
    const Seen seen = RunMerge(d, merge, letter, "S", "");
    const std::vector<std::string> expected = {
        Text("SENDMMF_CPP_37", {2, "Ann Smith <ann@example.org>"}),
        Text("SENDMMF_CPP_35", {3, 208}), Text("SENDMMF_CPP_40")};
    EXPECT_EQ(d.log, expected);
    EXPECT_EQ(seen.logList, expected);
    EXPECT_EQ(d.prepared, 0);
    EXPECT_EQ(ReceivedCount(), received);
}

TEST_F(MailMerge, UnreadableAttachmentAndMissingSettingsSendNothing) {
    const std::string merge = File("one.mmf", "ann@example.org\r\n");
    const std::string letter = File("letter.txt", "Text.\r\n");
    lx::MailMergeData d = Data();
    RunMerge(d, merge, letter, "S", folder + "\\gone.pdf");
    EXPECT_EQ(d.log, std::vector<std::string>{Text("SENDMMF_CPP_39", {folder + "\\gone.pdf"})});

    lx::Win32SettingsRegistry(kTestKey).WriteString("SMTPServer", "");
    lx::MailMergeData e = Data();
    RunMerge(e, merge, letter, "S", "");
    EXPECT_EQ(e.log, std::vector<std::string>{Text("MAILLETT_CPP_4")});
    EXPECT_EQ(ReceivedCount(), received);
}

TEST_F(MailMerge, RefusedAddressIsLoggedWithItsAddressAndTheOthersGo) {
    const std::string merge =
        File("mixed.mmf", "ann@example.org\r\nnobody@refused.invalid\r\ncy@example.org\r\n");
    const std::string letter = File("letter.txt", "Text.\r\n");
    lx::MailMergeData d = Data();
    const Seen seen = RunMerge(d, merge, letter, "S", "");
    EXPECT_EQ(seen.fields.at(IDC_SENDMMF_PREPARING), "3");
    EXPECT_EQ(seen.fields.at(IDC_SENDMMF_SENTCOUNT), "2");
    ASSERT_GE(d.log.size(), 3u);
    EXPECT_EQ(d.log[1].rfind(Text("SENDMMF_CPP_18") + "550", 0), 0u) << d.log[1];
    EXPECT_EQ(d.log[2], Text("SENDMMF_CPP_34", {2, "nobody@refused.invalid"}));
    const std::vector<Received> got = ReceivedSince(received);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].rcptTo, std::vector<std::string>{"ann@example.org"});
    EXPECT_EQ(got[1].rcptTo, std::vector<std::string>{"cy@example.org"});
}

TEST_F(MailMerge, BrowseButtonsFillTheirFieldsAndHelpOpensItsTopic) {
    static std::map<int, std::string> fields;
    fields.clear();
    hook->openAnswer = "C:\\letters\\chosen.txt";
    hook->onInit = [](HWND dialog, int) {
        for (int button : {IDC_SENDMMF_BROWSEADDRESS, IDC_SENDMMF_BROWSEMESSAGE,
                           IDC_SENDMMF_BROWSEATTACH, IDC_SENDMMF_HELP})
            ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog, button)));
        for (int field : {IDC_SENDMMF_ADDRESSFILE, IDC_SENDMMF_MESSAGEFILE, IDC_SENDMMF_ATTACHMENT,
                          IDC_SENDMMF_SUBJECT})
            fields[field] = ControlText(dialog, field);
        Press(dialog, IDCANCEL);
    };
    lx::MailMergeData d = Data();
    EXPECT_EQ(lx::ShowMailMergeDialog(nullptr, &d), IDCANCEL);
    EXPECT_EQ(hook->openTitles,
              (std::vector<std::string>{Text("SENDMMF_CPP_3"), Text("SENDMMF_CPP_7"),
                                        Text("SENDMMF_CPP_32")}));
    EXPECT_EQ(fields[IDC_SENDMMF_ADDRESSFILE], hook->openAnswer);
    EXPECT_EQ(fields[IDC_SENDMMF_MESSAGEFILE], hook->openAnswer);
    EXPECT_EQ(fields[IDC_SENDMMF_ATTACHMENT], hook->openAnswer);
    EXPECT_EQ(fields[IDC_SENDMMF_SUBJECT], "");
    ASSERT_EQ(hook->helpCalls.size(), 1u);
    EXPECT_EQ(hook->helpCalls[0].second, static_cast<ULONG_PTR>(HELP_CONTEXT_SENDMMF));
}

TEST_F(MailMerge, TheMainWindowsCommandOpensTheDialog) {
    lx::CommandPlugs plugs;
    lx::PlugMailMerge(plugs, lx::MailMergeContext{folder.c_str(), &BuiltCatalogue(), &marks});
    hook->onInit = [](HWND dialog, int) { Press(dialog, IDCANCEL); };
    int result = 0;
    ASSERT_TRUE(plugs.Run(ID_MAIL_MERGE, nullptr, "", &result));
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(hook->dialogsStarted, std::vector<int>{IDD_SENDMMF});
    EXPECT_EQ(IDD_SENDMMF, 170);
}

} // namespace
} // namespace lxtest
