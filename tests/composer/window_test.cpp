// The composer under Wine, driven by control id: new messages, stored messages opened again,
// the command lines, the limits and closing.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <iterator>

#include "common/schema/sqlforms.h"
#include "common/settings/registry_win32.h"
#include "common/folderdlg/folderres.h"
#include "mailer/res/resource.h"
#include "mailer/ui/logic/cmdgate.h"
#include "mailer/ui/logic/viewreq.h"
#include "tests/composer/composer_fixture.h"

namespace lxtest {
namespace {

std::string Where(long mesgNum) { return " WHERE " + lx::ConditionMesgNum(mesgNum); }

class Composer : public ComposerTest {
protected:
    // Fills To, Cc, Subject and body of the newest composer's form.
    HWND Fill(lx::EditorFrame* frame, const std::string& to, const std::string& body) {
        HWND form = FormOf(frame);
        SetText(form, IDC_SENDMESG_TO, to);
        SetText(form, IDC_SENDMESG_CC, "carol@example.org");
        SetText(form, IDC_SENDMESG_SUBJECT, "Plans");
        SetText(form, IDC_SENDMESG_BODY, body);
        return form;
    }
    long OnlyMessage() { return QueryLong("SELECT MAX(MesgNum) FROM Messages"); }
    std::vector<std::string> Names(const char* table, const char* column, long mesgNum) {
        std::vector<std::string> names;
        odbcvantCursor cursor(
            &Conn(), (std::string("SELECT ") + column + " FROM " + table + Where(mesgNum)).c_str());
        char name[256] = "";
        cursor.SetSingleResult();
        if (!cursor.BindColumns(1, ODBCVANT_TEXT, name, sizeof name) || !cursor.ExecuteStmt())
            return names;
        while (cursor.SingleFetch()) names.push_back(name);
        return names;
    }
    std::string Subject(long mesgNum) {
        odbcvantCursor cursor(&Conn(), ("SELECT Subject FROM Messages" + Where(mesgNum)).c_str());
        char subject[256] = "";
        cursor.SetSingleResult();
        if (!cursor.BindColumns(1, ODBCVANT_TEXT, subject, sizeof subject) ||
            !cursor.ExecuteStmt() || !cursor.SingleFetch())
            return "";
        return subject;
    }
};

TEST_F(Composer, NewMessageSentNowGivesExactlyItsRows) {
    const std::string one = MakeFile("ONE.TXT"), two = MakeFile("TWO.TXT");
    lx::EditorFrame* frame = NewComposer();
    ASSERT_NE(frame, nullptr);
    HWND form = Fill(frame, " ann @example.org \r\n\r\nbob@example.org", "Hello.\r\n");
    hook->files = {one, two};
    Click(form, IDC_SENDMESG_SELECTFILE); // disabled on tab 0, but a click still reaches it
    Click(form, IDC_SENDMESG_SELECTFILE);
    EXPECT_EQ(::SendDlgItemMessageA(form, IDC_SENDMESG_FILES, LB_GETCOUNT, 0, 0), 2);
    Click(form, IDC_SENDMESG_SENDNOW);
    ASSERT_TRUE(WaitClosed(frame));
    EXPECT_EQ(sendArguments, std::vector<std::string>{"auto"});
    EXPECT_TRUE(hook->boxes.empty());
    const long m = OnlyMessage();
    EXPECT_EQ(Count("FROM Messages"), 1);
    EXPECT_EQ(QueryLong("SELECT FolderNum FROM Messages" + Where(m)), out);
    EXPECT_EQ(Subject(m), "Plans&& &F");
    EXPECT_EQ(Names("Messages", "FromAdd", m), std::vector<std::string>{"me@home.example"});
    EXPECT_EQ(Names("Messages", "MesgType", m), std::vector<std::string>{"O"});
    EXPECT_EQ(Names("Messages", "MailData", m), std::vector<std::string>{"Hello.\r\n"});
    EXPECT_EQ(QueryLong("SELECT MesgSize FROM Messages" + Where(m)), 8);
    EXPECT_EQ(Names("ToList", "ToName", m),
              (std::vector<std::string>{"ann@example.org", "bob@example.org"}));
    EXPECT_EQ(Names("CcList", "CcName", m), std::vector<std::string>{"carol@example.org"});
    EXPECT_EQ(Names("Files", "FileName", m).size(), 2u);
    EXPECT_EQ(pane->reloads, 1) << "the list reloads after a save";
}

TEST_F(Composer, ReopenedMessageSavedAgainLeavesNoStaleRows) {
    const std::string a = MakeFile("A.TXT"), b = MakeFile("B.TXT");
    const long first = StoreOutgoing(out, "Draft one", {"old@example.org", "two@example.org"},
                                     {"cc@example.org"}, {a, b});
    lx::EditorFrame* frame = OpenStored(first);
    ASSERT_NE(frame, nullptr);
    HWND form = FormOf(frame);
    EXPECT_EQ(ControlText(form, IDC_SENDMESG_TO), "old@example.org\r\ntwo@example.org");
    EXPECT_EQ(ControlText(form, IDC_SENDMESG_CC), "cc@example.org");
    EXPECT_EQ(ControlText(form, IDC_SENDMESG_SUBJECT), "Draft one");
    EXPECT_EQ(ControlText(form, IDC_SENDMESG_BODY), "Stored text.\r\n");
    EXPECT_EQ(ControlText(form, IDC_SENDMESG_RETURN), "me@work.example");
    EXPECT_EQ(ControlText(form, IDC_SENDMESG_SIGNATURE), "Work");
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(form, IDC_SENDMESG_DELETE)));

    SetText(form, IDC_SENDMESG_TO, "new@example.org");
    ::SendDlgItemMessageA(form, IDC_SENDMESG_FILES, LB_SETCURSEL, 0, 0);
    Click(form, IDC_SENDMESG_REMOVEFILE);
    Click(form, IDC_SENDMESG_SENDNOW);
    ASSERT_TRUE(WaitClosed(frame));
    const long second = OnlyMessage();
    EXPECT_NE(second, first);
    for (const char* table : {"Messages", "ToList", "CcList", "Files"})
        EXPECT_EQ(Count(std::string("FROM ") + table + Where(first)), 0) << table;
    EXPECT_EQ(Names("ToList", "ToName", second), std::vector<std::string>{"new@example.org"});
    EXPECT_EQ(Names("Files", "FileName", second).size(), 1u);
    EXPECT_EQ(Subject(second), "Draft one&& &F");
    EXPECT_EQ(Count("FROM Messages"), 1);
}

TEST_F(Composer, IncomingMessagesGoToTheViewer) {
    Exec("INSERT INTO Messages (FolderNum, MesgId, FromAdd, MesgDate, AppDate, Subject, "
         "MailData, MesgType, MesgSize) VALUES (" +
         std::to_string(Folder("_IN")) +
         ", 'id', 'x@y.org', 'd', {ts '2026-12-09 09:00:00'}, 'Hi&&N& ', 'Hi', 'I', 2)");
    const long in = OnlyMessage();
    EXPECT_EQ(OpenStored(in, 0), nullptr);
    EXPECT_EQ(viewerAsked, std::vector<long>{in});
    EXPECT_EQ(OpenStored(in, 1), nullptr) << "Ctrl+Alt+Enter opens no composer for it";
    EXPECT_TRUE(composers->OpenFrames().empty());
}

TEST_F(Composer, CommandLinesAddressOrAttach) {
    lx::EditorFrame* mail = NewComposer("mailto:friend@example.org");
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(ControlText(FormOf(mail), IDC_SENDMESG_TO), "friend@example.org");
    EXPECT_EQ(mail->Form()->Tab(), 0);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(FormOf(mail), IDC_SENDMESG_DELETE)));

    const std::string path = MakeFile("REPORT.TXT");
    lx::EditorFrame* file = NewComposer(path);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Form()->Data().files, std::vector<std::string>{path});
    EXPECT_EQ(file->Form()->Tab(), 1);
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(FormOf(file), IDC_SENDMESG_FILES)));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(FormOf(file), IDC_SENDMESG_SELECTFILE)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(FormOf(file), IDC_SENDMESG_SPELL)));
    EXPECT_EQ(composers->OpenFrames().size(), 2u) << "composers are independent";
}

TEST_F(Composer, BodyOf32000IsStoredAnd32001Refused) {
    lx::EditorFrame* refused = NewComposer();
    ASSERT_NE(refused, nullptr);
    HWND form = Fill(refused, "ann@example.org", std::string(32001, 'x'));
    Click(form, IDC_SENDMESG_SENDNOW);
    ASSERT_EQ(hook->boxes.size(), 1u);
    EXPECT_EQ(hook->boxes[0].text, Text("SENDMESG_CPP_5"));
    EXPECT_EQ(Count("FROM Messages"), 0);
    // File In Folder refuses it with the same words.
    Click(form, IDC_SENDMESG_FILEIN);
    ASSERT_EQ(hook->boxes.size(), 2u);
    EXPECT_EQ(hook->boxes[1].caption, Text("SENDMESG_CPP_6"));
    SetText(form, IDC_SENDMESG_BODY, std::string(32000, 'x'));
    Click(form, IDC_SENDMESG_SENDNOW);
    ASSERT_TRUE(WaitClosed(refused));
    EXPECT_EQ(QueryLong("SELECT MesgSize FROM Messages"), 32000);
}

TEST_F(Composer, NoRecipientsAndNoReturnAddressAreRefused) {
    lx::EditorFrame* frame = NewComposer();
    ASSERT_NE(frame, nullptr);
    HWND form = Fill(frame, " \r\n ", "text");
    SetText(form, IDC_SENDMESG_CC, "");
    Click(form, IDC_SENDMESG_SENDNOW);
    ASSERT_EQ(hook->boxes.size(), 1u);
    EXPECT_EQ(hook->boxes[0].text, Text("SENDMESG_CPP_3"));
    EXPECT_EQ(Count("FROM Messages"), 0);
    EXPECT_TRUE(frame->Handle());
}

TEST_F(Composer, FileInFolderStoresInThePickedFolder) {
    lx::EditorFrame* frame = NewComposer();
    ASSERT_NE(frame, nullptr);
    HWND form = Fill(frame, "ann@example.org", "Keep this.");
    hook->onInit = [](HWND dialog, int id) {
        if (id != IDD_SELFOLDER) return;
        HWND list = ::GetDlgItem(dialog, IDC_SELFOLDER_LIST);
        const LRESULT at = ::SendMessageA(list, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>("Keep"));
        ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
        Press(dialog, IDOK);
    };
    Click(form, IDC_SENDMESG_FILEIN);
    ASSERT_TRUE(WaitClosed(frame));
    EXPECT_EQ(QueryLong("SELECT FolderNum FROM Messages"), keep);
    EXPECT_TRUE(sendArguments.empty()) << "filing sends nothing";
}

TEST_F(Composer, NoOnCloseKeepsAnUnsavedMessageOpen) {
    lx::EditorFrame* frame = NewComposer();
    ASSERT_NE(frame, nullptr);
    hook->boxAnswer = IDNO;
    ::SendMessageA(frame->Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(hook->boxes.size(), 1u);
    EXPECT_EQ(hook->boxes[0].text, Text("EDITFRAM_CPP_6"));
    EXPECT_EQ(hook->boxes[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONSTOP));
    EXPECT_TRUE(::IsWindow(frame->Handle()));
    hook->boxAnswer = IDYES;
    ::SendMessageA(frame->Handle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitClosed(frame));
    EXPECT_EQ(pane->reloads, 0) << "a discarded message changes nothing";
    EXPECT_EQ(Count("FROM Messages"), 0);
}

TEST_F(Composer, DeleteMovesToTrashThenDeletesForGood) {
    const long m = StoreOutgoing(out, "Bin me", {"a@example.org"}, {}, {});
    lx::EditorFrame* frame = OpenStored(m);
    ASSERT_NE(frame, nullptr);
    Click(FormOf(frame), IDC_SENDMESG_DELETE);
    ASSERT_TRUE(WaitClosed(frame));
    EXPECT_EQ(QueryLong("SELECT FolderNum FROM Messages" + Where(m)), trash);
    frame = OpenStored(m);
    ASSERT_NE(frame, nullptr);
    hook->boxAnswer = IDYES;
    Click(FormOf(frame), IDC_SENDMESG_DELETE);
    ASSERT_TRUE(WaitClosed(frame));
    EXPECT_EQ(hook->boxes.back().text, Text("SENDMESG_CPP_30"));
    EXPECT_EQ(Count("FROM Messages"), 0);
    EXPECT_EQ(Count("FROM ToList"), 0);
}

TEST_F(Composer, ReplyLeavesOwnAddressesOutAndQuotesTheText) {
    const long m = StoreOutgoing(sent, "Lunch", {"me@home.example"}, {}, {});
    lx::ViewerRequest request;
    request.code = lx::ViewerRequestCode::ReplyOrForward;
    request.mesgNum = m;
    request.sender = "ann@example.org";
    request.toList = "ME@HOME.EXAMPLE\r\nbob@example.org\r\n";
    request.toCount = 2;
    request.ccList = "me@work.example\r\n";
    request.ccCount = 1;
    request.subject = "Lunch";
    ASSERT_TRUE(lx::HandleComposerRequest(*composers, pane->Handle(), request));
    lx::EditorFrame* frame = Newest();
    ASSERT_NE(frame, nullptr);
    HWND form = FormOf(frame);
    EXPECT_EQ(ControlText(form, IDC_SENDMESG_TO), "ann@example.org\r\nbob@example.org");
    EXPECT_EQ(ControlText(form, IDC_SENDMESG_CC), "");
    EXPECT_EQ(ControlText(form, IDC_SENDMESG_BODY),
              Text("EDITFRAM_CPP_2") + "ann@example.org" + Text("EDITFRAM_CPP_3") +
                  "\r\nStored text.\r\n\r\n" + Text("EDITFRAM_CPP_4") + "ann@example.org" +
                  Text("EDITFRAM_CPP_5") + "\r\n");

    lx::ViewerRequest mailTo;
    mailTo.code = lx::ViewerRequestCode::MailTo;
    mailTo.toList = "link@example.org";
    mailTo.subject = "???";
    ASSERT_TRUE(lx::HandleComposerRequest(*composers, pane->Handle(), mailTo));
    EXPECT_EQ(ControlText(FormOf(Newest()), IDC_SENDMESG_TO), "link@example.org");
    EXPECT_EQ(ControlText(FormOf(Newest()), IDC_SENDMESG_SUBJECT), "???");
}

TEST_F(Composer, SettingsAreRememberedForTheNextMessage) {
    { lx::Win32SettingsRegistry created(kComposerTestKey); } // the key exists from now on
    lx::EditorFrame* frame = NewComposer();
    ASSERT_NE(frame, nullptr);
    HWND form = Fill(frame, "ann@example.org", "x");
    ::SendDlgItemMessageA(form, IDC_SENDMESG_RETURN, CB_SETCURSEL, 1, 0);
    ::SendDlgItemMessageA(form, IDC_SENDMESG_SIGNATURE, CB_SETCURSEL, 1, 0);
    EXPECT_EQ(::SendDlgItemMessageA(form, IDC_SENDMESG_SIGNATURE, CB_GETCOUNT, 0, 0), 2)
        << "<NONE> and Work; the deleted signature is not offered";
    ::CheckDlgButton(form, IDC_SENDMESG_LINEBREAKS, BST_CHECKED);
    Click(form, IDC_SENDMESG_SENDNOW);
    ASSERT_TRUE(WaitClosed(frame));
    EXPECT_EQ(Names("Messages", "MesgId", OnlyMessage()), std::vector<std::string>{"Work"});
    EXPECT_EQ(Names("Messages", "MailData", OnlyMessage()), std::vector<std::string>{"x\r\n"});
    lx::EditorFrame* next = NewComposer();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(ControlText(FormOf(next), IDC_SENDMESG_RETURN), "me@work.example");
    EXPECT_EQ(ControlText(FormOf(next), IDC_SENDMESG_SIGNATURE), "Work");
    EXPECT_EQ(::IsDlgButtonChecked(FormOf(next), IDC_SENDMESG_LINEBREAKS), BST_CHECKED);
}

} // namespace
} // namespace lxtest

namespace lxtest {
namespace {

TEST_F(ComposerTest, AnOpenComposerHoldsTheCommandGate) {
    lx::CommandGate& gate = lx::CommandGate::Instance();
    lx::EditorFrame* frame = NewComposer();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(gate.Value(), 1);
    EXPECT_FALSE(gate.CloseForCheck()) << "the mail check waits while a composer is open";
    hook->boxAnswer = IDYES;
    ::SendMessageA(frame->Handle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitClosed(frame));
    EXPECT_EQ(gate.Value(), 0) << "a closed composer has left the gate";
    EXPECT_TRUE(gate.CloseForCheck());
    gate.Reopen();
}

} // namespace
} // namespace lxtest

namespace lxtest {
namespace {

TEST_F(ComposerTest, SpellCheckTellsWhetherTheTextWasChecked) {
    lx::EditorFrame* frame = NewComposer();
    ASSERT_NE(frame, nullptr);
    HWND form = FormOf(frame);
    Click(form, IDC_SENDMESG_SPELL); // the library is not loaded
    ASSERT_TRUE(spell.Load());
    Click(form, IDC_SENDMESG_SPELL); // loaded, but without a lexicon
    // The new message's empty body has nothing to correct: the check completes at once.
    ASSERT_EQ(spell.SetMainLexFiles("ssceam.tlx,ssceam2.clx,correct.tlx"), 0);
    Click(form, IDC_SENDMESG_SPELL);
    ASSERT_EQ(hook->boxes.size(), 3u);
    const std::string caption = Text("SENDMESG_CPP_11").substr(0, 15);
    const std::string expected[] = {Text("SENDMESG_CPP_12"), Text("SENDMESG_CPP_12"),
                                    Text("SENDMESG_CPP_10")};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(hook->boxes[i].text, expected[i]) << i;
        EXPECT_EQ(hook->boxes[i].caption, caption) << i;
    }
}

} // namespace
} // namespace lxtest

namespace lxtest {
namespace {

RECT RectIn(HWND form, int id) {
    RECT r{};
    ::GetWindowRect(::GetDlgItem(form, id), &r);
    ::MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_F(ComposerTest, ResizingKeepsEveryControlInsideTheFormWithoutOverlap) {
    lx::EditorFrame* frame = NewComposer();
    ASSERT_NE(frame, nullptr);
    HWND form = FormOf(frame);
    for (const SIZE size : {SIZE{800, 600}, SIZE{520, 380}}) {
        ::MoveWindow(frame->Handle(), 10, 10, size.cx, size.cy, TRUE);
        RECT client{};
        ::GetClientRect(form, &client);
        RECT frameClient{};
        ::GetClientRect(frame->Handle(), &frameClient);
        EXPECT_EQ(client.right, frameClient.right) << "the form fills the frame";
        EXPECT_EQ(client.bottom, frameClient.bottom);
        const RECT to = RectIn(form, IDC_SENDMESG_TO), cc = RectIn(form, IDC_SENDMESG_CC);
        const RECT body = RectIn(form, IDC_SENDMESG_BODY);
        const RECT import = RectIn(form, IDC_SENDMESG_IMPORT);
        const RECT tabs = RectIn(form, IDC_SENDMESG_TABS);
        const RECT send = RectIn(form, IDC_SENDMESG_SENDNOW);
        EXPECT_LT(to.right, cc.left);
        EXPECT_LE(cc.right, client.right);
        EXPECT_LT(body.bottom, import.top);
        EXPECT_LE(import.bottom, tabs.bottom);
        EXPECT_LT(tabs.bottom, send.top);
        EXPECT_LE(send.bottom, client.bottom);
        EXPECT_LE(body.right, tabs.right);
        EXPECT_GT(body.bottom - body.top, 20);
        EXPECT_EQ(RectIn(form, IDC_SENDMESG_FILES).bottom, body.bottom);
    }
}

} // namespace
} // namespace lxtest

namespace lxtest {
namespace {

TEST_F(ComposerTest, ImportTextAppendsTheFileAndRefusesLongPaths) {
    const std::string path = folder + "\\NOTES.TXT";
    std::ofstream(path, std::ios::binary) << "Imported line.\r\n";
    lx::EditorFrame* frame = NewComposer();
    ASSERT_NE(frame, nullptr);
    HWND form = FormOf(frame);
    SetText(form, IDC_SENDMESG_BODY, "Typed.\r\n");
    hook->files = {path, "C:\\" + std::string(300, 'l') + ".txt"};
    Click(form, IDC_SENDMESG_IMPORT);
    EXPECT_EQ(ControlText(form, IDC_SENDMESG_BODY), "Typed.\r\nImported line.\r\n");
    Click(form, IDC_SENDMESG_IMPORT);
    ASSERT_EQ(hook->boxes.size(), 1u);
    EXPECT_EQ(hook->boxes[0].text, Text("SENDMESG_CPP_15"));
    hook->files = {folder + "\\MISSING.TXT"};
    Click(form, IDC_SENDMESG_IMPORT);
    ASSERT_EQ(hook->boxes.size(), 2u);
    EXPECT_EQ(hook->boxes[1].text, Text("SENDMESG_CPP_17"));
}

TEST_F(ComposerTest, AttachmentListStopsAtTwelve) {
    lx::EditorFrame* frame = NewComposer();
    ASSERT_NE(frame, nullptr);
    HWND form = FormOf(frame);
    for (int i = 0; i < 13; ++i) hook->files.push_back(MakeFile("F" + std::to_string(i) + ".TXT"));
    for (int i = 0; i < 13; ++i) Click(form, IDC_SENDMESG_SELECTFILE);
    EXPECT_EQ(::SendDlgItemMessageA(form, IDC_SENDMESG_FILES, LB_GETCOUNT, 0, 0), 12);
    ASSERT_EQ(hook->boxes.size(), 1u);
    EXPECT_EQ(hook->boxes[0].text, Text("SENDMESG_CPP_24"));
    EXPECT_EQ(hook->files.size(), 1u) << "no file dialog once the list is full";
}

TEST_F(ComposerTest, EditorFontIsKeptInItsFile) {
    lx::EditorFrame* frame = NewComposer();
    ASSERT_NE(frame, nullptr);
    hook->chooseFont = true;
    Click(FormOf(frame), IDC_SENDMESG_FONT);
    std::ifstream file(folder + "\\PREPMSG.INK", std::ios::binary);
    ASSERT_TRUE(file.good());
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 60u);
    EXPECT_STREQ(bytes.c_str() + 28, "Courier New");
    lx::EditorFrame* next = NewComposer();
    ASSERT_NE(next, nullptr);
    LOGFONTA used{};
    HFONT font = reinterpret_cast<HFONT>(
        ::SendDlgItemMessageA(FormOf(next), IDC_SENDMESG_BODY, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    ::GetObjectA(font, sizeof used, &used);
    EXPECT_STREQ(used.lfFaceName, "Courier New") << "a new composer takes the font";
}

} // namespace
} // namespace lxtest

namespace lxtest {
namespace {

TEST_F(ComposerTest, StoredMessageWithMoreFilesThanTheLimitKeepsTwelve) {
    std::vector<std::string> files;
    for (int i = 0; i < 14; ++i) files.push_back("C:\\MANY" + std::to_string(i) + ".TXT");
    const long m = StoreOutgoing(out, "Many files", {"a@example.org"}, {}, files);
    lx::EditorFrame* frame = OpenStored(m);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(hook->boxes.size(), 1u);
    EXPECT_EQ(hook->boxes[0].text, Text("SENDMESG_CPP_34"));
    EXPECT_EQ(frame->Form()->Data().files.size(), 12u);
    Click(FormOf(frame), IDC_SENDMESG_SENDNOW);
    ASSERT_TRUE(WaitClosed(frame));
    EXPECT_EQ(QueryLong("SELECT COUNT(*) FROM Files"), 12);
}

} // namespace
} // namespace lxtest
