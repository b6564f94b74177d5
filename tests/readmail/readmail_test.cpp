// Reading mail with both programs: the real Lorvex.exe opens stored incoming messages in the real
// LXVIEWER.EXE against the runner's store. The viewer holds the main program until it has read
// the message; its requests come back through the mailslot to the message list, the composers
// and the "Addresses From Message" dialog; Delete and File change the store. Both programs run
// unscripted: the test answers their dialogs and boxes through their windows, and the viewer's
// WebBrowser control is the browser test double.
#include "common/folderdlg/folderres.h"
#include "common/schema/newmessage.h"
#include "common/schema/sqlforms.h"
#include "common/settings/fixed_text.h"
#include "common/settings/mailbox_file.h"
#include "tests/browser/hostfixture.h"
#include "tests/readmail/readmailrun.h"
#include "tests/startup/lorvexrun.h"
#include "tests/store/store_fixture.h"
#include "tests/viewerapp/viewerrun.h"
#include "viewer/res/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace lxtest {
namespace {

constexpr char kViewerClass[] = "CViewerFrame";
constexpr DWORD kStartWait = 60000;
constexpr char kOwnAddress[] = "me@home.example";

// A file's name as the viewer lists its attachments: short form, upper case.
std::string ShortPathUpper(const std::string& path) {
    std::string name = ShortPath(path);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

class ReadMailTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_TRUE(registration_.Ok());
        for (const char* name : {"_IN", "_OUT", "_DESK", "_DRAFT", "_SENT", "_TRASHCAN", "Keep"})
            Exec(std::string("INSERT INTO Folders (Folder, FolderType, Description) VALUES (") +
                 lx::SqlQuote(name) + ", " + lx::SqlQuote(name[0] == '_' ? "S" : "U") +
                 ", 'test')");
        SetReaderType(3); // the WebBrowser control: the test double
        folder_ = MakeInstallation("readmail", true);
        CopyInto(WinPath(LX_LXVIEWER_EXE), folder_);
        CopyInto(JoinPath(BinaryDir(), "bin\\LXVTEXT.VSF"), folder_);
        const std::string wait = "<HTML><BODY>Please wait ...</BODY></HTML>\r\n";
        WriteBytes(JoinPath(folder_, "WAIT.HTM"),
                   std::vector<unsigned char>(wait.begin(), wait.end()));
        lx::MailboxList mailboxes;
        mailboxes.count = 1;
        lx::CopyText(mailboxes.records[0].name, "Home");
        lx::CopyText(mailboxes.records[0].pop3Server, "127.0.0.1");
        lx::CopyText(mailboxes.records[0].address, kOwnAddress);
        mailboxes.records[0].current = 1;
        ASSERT_TRUE(lx::SaveMailboxes(folder_, mailboxes));
        SetInstallPath(folder_);
    }

    void TearDown() override {
        // A failed test may leave a viewer behind; the next test needs the mailslot and mutex.
        for (HWND viewer : TopWindowsOf(kViewerClass, 0)) {
            lx::UniqueHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, ProcessOf(viewer)));
            if (process.Valid()) ::TerminateProcess(process.Get(), 1);
        }
        SetReaderType(0);
    }

    long Folder(const char* name) {
        return QueryLong(std::string("SELECT FolderNum FROM Folders WHERE Folder = ") +
                         lx::SqlQuote(name));
    }

    long StoreMessage(const char* subject, int hour, std::vector<std::string> to,
                      std::vector<std::string> cc, std::vector<std::string> files = {}) {
        lx::NewMessage m;
        m.kind = lx::NewMessageKind::Retrieved;
        m.folderNum = Folder("_IN");
        m.mesgId = "<readmail-" + std::to_string(hour) + "@example.org>";
        m.fromAdd = "bob@example.org";
        m.mesgDate = "Wed, 9 Dec 2026 09:00:00 +0000";
        m.appDate = lx::StoreTime{2026, 12, 9, hour, 30, 5};
        m.subject = subject;
        m.mailData =
            "Hello Ann,\r\nthe table is booked for noon: see www.example.org/menu.\r\nBob\r\n";
        m.to = std::move(to);
        m.cc = std::move(cc);
        m.files = std::move(files);
        long mesgNum = -1;
        EXPECT_EQ(lx::StoreNewMessage(&Conn(), m, nullptr, &mesgNum), lx::StoreOutcome::Stored);
        return mesgNum;
    }

    long FolderOf(long mesgNum) {
        return QueryLong("SELECT FolderNum FROM Messages WHERE " + lx::ConditionMesgNum(mesgNum));
    }

    // The viewer's message page once written whole; empty before.
    std::string CompletePage() const {
        for (const std::string& name : FilesMatching(folder_, "MSG*.HTM")) {
            const auto bytes = ReadBytes(JoinPath(folder_, name.c_str()));
            const std::string page(bytes.begin(), bytes.end());
            if (page.find("</BODY></HTML>") != std::string::npos) return page;
        }
        return std::string();
    }

    // Opens the row in the viewer and waits until the viewer shows the message with its
    // message commands enabled.
    HWND OpenInViewer(const MainWindow& lorvex, int row) {
        lorvex.OpenRow(row);
        HWND viewer = nullptr;
        EXPECT_TRUE(WaitUntil([&] { return (viewer = TopWindowOf(kViewerClass, 0)) != nullptr; },
                              kStartWait));
        if (!viewer || !WaitUntil([&] { return MessageCommandsEnabled(viewer); }, kStartWait)) {
            ADD_FAILURE() << "the viewer did not show the message";
            return nullptr;
        }
        return viewer;
    }

    static bool MessageCommandsEnabled(HWND viewer) {
        HWND toolbar = ::GetDlgItem(viewer, IDC_TOOLBAR);
        for (int id : {ID_ACTION_ADDRESSES, ID_ACTION_REPLY, ID_ACTION_DELETE, ID_ACTION_FILE})
            if (!::SendMessageA(toolbar, TB_ISBUTTONENABLED, id, 0)) return false;
        return true;
    }

    static void Command(HWND viewer, int id) {
        ::PostMessageA(viewer, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }

    // Follows a link as the user would type it into the viewer's URL window.
    static void FollowLink(HWND viewer, const char* url) {
        HWND urlWindow = ::FindWindowExA(viewer, nullptr, "#32770", nullptr);
        ASSERT_NE(urlWindow, nullptr);
        Command(viewer, ID_VIEW_URLWINDOW);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(urlWindow) != FALSE; }));
        ::SendMessageA(::GetDlgItem(urlWindow, IDC_URL_COMBO), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(url));
        ::PostMessageA(urlWindow, WM_COMMAND, MAKEWPARAM(IDC_URL_GO, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(urlWindow, IDC_URL_GO)));
    }

    HWND StartLorvex(LorvexProcess& run, const std::vector<std::string>& environment) {
        run.SetScripted(false);
        EXPECT_TRUE(run.Start(folder_, "", environment));
        return run.WaitFrame(kStartWait);
    }

    DoubleRegistration registration_;
    std::string folder_;
};

// Opening a new incoming message: the main program goes on once the (slowed) viewer has read
// it, and the message is no longer new. Then Insert Addresses, a
// mail-to link and Reply/Forward each come back once, in order, and the user's own address is
// left out of the addresses and the reply.
TEST_F(ReadMailTest, OpenedMessageIsReadAndTheViewersRequestsComeBack) {
    const std::string attached = JoinPath(folder_, "MENU.TXT");
    WriteBytes(attached, {'s', 'o', 'u', 'p'});
    const long mesgNum = StoreMessage("Lunch on Friday&&N&F", 10,
                                      {"ann@example.org", kOwnAddress, "carl@example.org"},
                                      {"dora@example.org", "ME@Home.Example"}, {attached});
    LorvexProcess run;
    const MainWindow lorvex(StartLorvex(run, {"LORVEX_VIEWER_STAGE_DELAY=1500"}));
    ASSERT_NE(lorvex.Handle(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return lorvex.Rows() == 1; }, kStartWait));

    lorvex.OpenRow(0);
    HWND viewer = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (viewer = TopWindowOf(kViewerClass, 0)) != nullptr; }, kStartWait));
    // The viewer holds the mutex until it has read the message (each stage slowed); till then
    // the main program waits for it without answering. (While it waits for the viewer to be
    // idle, Wine lets it answer sent messages: the look comes after that.)
    AwaitInputIdle(ProcessOf(viewer));
    const bool answered = Answers(lorvex.Handle(), 300);
    // The viewer enables its commands just after it lets go of the mutex; reading takes seconds.
    EXPECT_TRUE(!answered || WaitUntil([&] { return MessageCommandsEnabled(viewer); }, 1000))
        << "the main program went on before the message was read";
    // Once the message is read the main program goes on, and the message is no longer new.
    ASSERT_TRUE(WaitUntil([&] { return !CompletePage().empty() && Answers(lorvex.Handle(), 200); },
                          kStartWait));
    EXPECT_TRUE(WaitUntil([&] {
        return QueryLong("SELECT COUNT(*) FROM Messages WHERE Subject = 'Lunch on Friday&& &F'") ==
               1;
    }));
    ASSERT_TRUE(WaitUntil([&] { return MessageCommandsEnabled(viewer); }, kStartWait));
    // The page as the viewer wrote it, kept for a look in a browser.
    const std::string page = CompletePage();
    EXPECT_NE(page.find("ftp:///[LORVEX]" + ShortPathUpper(attached)), std::string::npos) << page;
    const std::vector<unsigned char> pageBytes(page.begin(), page.end());
    WriteBytes(JoinPath(BinaryDir(), "readmail-page.htm"), pageBytes);

    Command(viewer, ID_ACTION_ADDRESSES);
    HWND addresses = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (addresses = lorvex.AddressesDialog()) != nullptr; }));
    EXPECT_EQ(MainWindow::AddressesShown(addresses),
              (std::vector<std::string>{"bob@example.org", "ann@example.org", "carl@example.org",
                                        "dora@example.org"}));
    ::PostMessageA(addresses, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(addresses); }));

    ASSERT_NO_FATAL_FAILURE(FollowLink(viewer, "mailto:new.friend@example.org"));
    ASSERT_TRUE(WaitUntil([&] { return lorvex.Composers().size() == 1; }));
    HWND mailTo = lorvex.Composers()[0];
    // The composer fills its fields once its window stands.
    ComposerTexts texts;
    EXPECT_TRUE(WaitUntil([&] { return !(texts = ReadComposer(mailTo)).subject.empty(); }));
    EXPECT_EQ(texts.to, "new.friend@example.org");
    EXPECT_EQ(texts.cc, "");
    EXPECT_EQ(texts.subject, "???");
    EXPECT_TRUE(::IsWindow(viewer)) << "a mail-to link leaves the viewer open";

    Command(viewer, ID_ACTION_REPLY);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(viewer); }));
    ASSERT_TRUE(WaitUntil([&] { return lorvex.Composers().size() == 2; }));
    for (HWND composer : lorvex.Composers()) {
        if (composer == mailTo) continue;
        EXPECT_TRUE(WaitUntil([&] { return !(texts = ReadComposer(composer)).subject.empty(); }));
        EXPECT_EQ(texts.to, "bob@example.org\r\nann@example.org\r\ncarl@example.org");
        EXPECT_EQ(texts.cc, "dora@example.org");
        EXPECT_EQ(texts.subject, "Lunch on Friday");
    }
    EXPECT_EQ(FolderOf(mesgNum), Folder("_IN"));
}

// File moves the message into the chosen folder and the viewer stays; Delete moves the other
// one to _TRASHCAN without asking and closes; a second viewer on the deleted message asks
// before deleting it for good. The main program's list follows the filing.
TEST_F(ReadMailTest, DeleteAndFileFromTheViewerChangeTheStore) {
    const long older = StoreMessage("Old news&& & ", 9, {"ann@example.org"}, {});
    const long newer = StoreMessage("Keep this&& & ", 11, {"ann@example.org"}, {});
    LorvexProcess run;
    const MainWindow lorvex(StartLorvex(run, {}));
    ASSERT_NE(lorvex.Handle(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return lorvex.Rows() == 2; }, kStartWait));

    // Newest first: row 0 is the newer message.
    HWND viewer = OpenInViewer(lorvex, 0);
    ASSERT_NE(viewer, nullptr);
    Command(viewer, ID_ACTION_FILE);
    HWND select = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (select = DialogWithItem(ProcessOf(viewer), IDC_SELFOLDER_LIST)) != nullptr;
    }));
    HWND folders = ::GetDlgItem(select, IDC_SELFOLDER_LIST);
    const std::vector<std::string> lines = ListLines(folders);
    const std::string keep = "Keep\t" + std::to_string(Folder("Keep"));
    const auto line = std::find(lines.begin(), lines.end(), keep);
    ASSERT_NE(line, lines.end()) << ::testing::PrintToString(lines);
    ::SendMessageA(folders, LB_SETCURSEL, static_cast<WPARAM>(line - lines.begin()), 0);
    ::PostMessageA(select, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return FolderOf(newer) == Folder("Keep"); }));
    EXPECT_TRUE(WaitUntil([&] { return lorvex.Rows() == 1; })) << "the list was not reloaded";
    EXPECT_TRUE(::IsWindow(viewer)) << "the viewer stays open after File";
    ::PostMessageA(viewer, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(viewer); }));

    viewer = OpenInViewer(lorvex, 0);
    ASSERT_NE(viewer, nullptr);
    Command(viewer, ID_ACTION_DELETE);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(viewer); }));
    EXPECT_EQ(FolderOf(older), Folder("_TRASHCAN"));
    EXPECT_TRUE(WaitUntil([&] { return !lorvex.ListsMessages(); })) << "the list was not reloaded";

    ASSERT_TRUE(lorvex.ShowFolder("_TRASHCAN"));
    ASSERT_TRUE(WaitUntil([&] { return lorvex.Rows() == 1; }));
    viewer = OpenInViewer(lorvex, 0);
    ASSERT_NE(viewer, nullptr);
    const DWORD viewerProcess = ProcessOf(viewer);
    Command(viewer, ID_ACTION_DELETE);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = TopWindowOf("#32770", viewerProcess)) != nullptr; }));
    EXPECT_EQ(WindowText(box), ViewerCatalogueText("MAINFRM_CPP_38"));
    EXPECT_EQ(FolderOf(older), Folder("_TRASHCAN")) << "deleted before the answer";
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDYES, 0), 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(viewer); }));
    EXPECT_EQ(QueryLong("SELECT COUNT(*) FROM Messages WHERE " + lx::ConditionMesgNum(older)), 0);
}

} // namespace
} // namespace lxtest
