// LXVIEWER.EXE as the main program starts it, against the runner's store: the mutex hand-over,
// the simple view, the temporary page, the About box for unusable command lines, the request
// records on the main program's mailslot, and the frame driving a browser control.
#include "common/schema/newmessage.h"
#include "common/schema/sqlforms.h"
#include "common/settings/window_file.h"
#include "tests/browser/double/browserdouble.h"
#include "tests/browser/hostfixture.h"
#include "tests/startup/lorvexrun.h"
#include "tests/store/store_fixture.h"
#include "tests/viewerapp/viewerrun.h"
#include "viewer/res/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace lxtest {
namespace {

constexpr char kSharedMutex[] = "Lorvex_Mutex";
constexpr long kBufferSize = 1000; // raised to 8192 by the viewer

class ViewerProcessTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        for (const char* name : {"_IN", "_TRASHCAN", "Keep"}) {
            Exec(std::string("INSERT INTO Folders (Folder, FolderType, Description) VALUES (") +
                 lx::SqlQuote(name) + ", " + lx::SqlQuote(name[0] == '_' ? "S" : "U") +
                 ", 'test')");
        }
        in = Folder("_IN");
        trash = Folder("_TRASHCAN");
        SetReaderType(1);
    }
    void TearDown() override { SetReaderType(0); }

    long Folder(const char* name) {
        return QueryLong(std::string("SELECT FolderNum FROM Folders WHERE Folder = ") +
                         lx::SqlQuote(name));
    }

    long StoreMessage(long folderNum,
                      std::vector<std::string> files = {"C:\\LORVEX\\DATA\\MENU.TXT"}) {
        lx::NewMessage m;
        m.kind = lx::NewMessageKind::Retrieved;
        m.folderNum = folderNum;
        m.mesgId = "<viewer-1@example.org>";
        m.fromAdd = "bob@example.org";
        m.mesgDate = "Wed, 9 Dec 2026 09:00:00 +0000";
        m.appDate = lx::StoreTime{2026, 12, 9, 10, 30, 5};
        m.subject = "Lunch on Friday&&N&F";
        m.mailData = "Hello Ann,\r\nthe table is booked for noon.\r\nBob\r\n";
        m.to = {"ann@example.org", "carl@example.org"};
        m.cc = {"dora@example.org"};
        m.files = std::move(files);
        long mesgNum = -1;
        EXPECT_EQ(lx::StoreNewMessage(&Conn(), m, nullptr, &mesgNum), lx::StoreOutcome::Stored);
        return mesgNum;
    }

    // Starts the viewer for a message and waits until it has read it (it gives the mutex back).
    void OpenAndWaitLoaded(ViewerProcess& viewer, const std::string& folder, long mesgNum,
                           const std::vector<std::string>& environment = {}) {
        lx::UniqueHandle mutex(::CreateMutexA(nullptr, FALSE, kSharedMutex));
        ASSERT_TRUE(mutex.Valid());
        ASSERT_TRUE(viewer.Start(folder, ViewerArguments(folder, mesgNum, kBufferSize, trash),
                                 environment));
        ASSERT_NE(viewer.WaitFrame(), nullptr);
        ASSERT_EQ(::WaitForSingleObject(mutex.Get(), 60000), WAIT_OBJECT_0);
        ::ReleaseMutex(mutex.Get());
        ASSERT_TRUE(WaitUntil([&] {
            return viewer.SimpleViewText(IDC_SV_HEADER).find("bob@example.org") !=
                   std::string::npos;
        }));
    }

    long in = -1, trash = -1;
};

struct BadLine {
    const char* name;
    const char* arguments; // %s: the wait page
};

class ViewerBadCommandLine : public ViewerProcessTest,
                             public ::testing::WithParamInterface<BadLine> {};

// Not meant to be run by hand: only the About box, then the program ends with a failure.
TEST_P(ViewerBadCommandLine, ShowsOnlyTheAboutBox) {
    const std::string folder = MakeViewerInstallation("badline");
    char arguments[512];
    std::snprintf(arguments, sizeof arguments, GetParam().arguments,
                  JoinPath(folder, "WAIT.HTM").c_str());
    ViewerProcess viewer;
    ASSERT_TRUE(viewer.Start(folder, arguments));
    DWORD code = 0;
    ASSERT_TRUE(viewer.WaitExit(60000, &code));
    EXPECT_EQ(code, 1u);
    EXPECT_EQ(viewer.Transcript(), std::vector<std::string>{"dialog|100|0"});
}

INSTANTIATE_TEST_SUITE_P(
    Viewer, ViewerBadCommandLine,
    ::testing::Values(BadLine{"Empty", ""},
                      BadLine{"NoWaitPage", "/MESGNUM 5 /MESGSIZE 100 /TRASHCAN 3"},
                      BadLine{"WaitPageUnclosed", "/WAIT\"%s /MESGNUM 5 /MESGSIZE 100 /TRASHCAN 3"},
                      BadLine{"MessageZero", "/WAIT\"%s\" /MESGNUM 0 /MESGSIZE 100 /TRASHCAN 3"},
                      BadLine{"NoMessage", "/WAIT\"%s\" /MESGSIZE 100 /TRASHCAN 3"},
                      BadLine{"NoTrash", "/WAIT\"%s\" /MESGNUM 5 /MESGSIZE 100"}),
    [](const auto& info) { return std::string(info.param.name); });

// With its stages slowed down the viewer is caught holding the mutex; it gives it back once the
// message is read, shows it, writes the page (the licensed HTML control was asked for, it is not
// installed and the simple view stands in) and deletes the page when it closes.
TEST_F(ViewerProcessTest, HoldsTheMutexUntilReadAndDeletesItsPage) {
    SetReaderType(2); // the licensed HTML control is not installed here
    const long mesgNum = StoreMessage(in);
    const std::string folder = MakeViewerInstallation("mutex");
    const lx::Rect32 place{40, 30, 640, 470};
    ASSERT_TRUE(lx::WriteWindowRectFile(folder, lx::kViewerWindowFile, place));
    lx::UniqueHandle mutex(::CreateMutexA(nullptr, FALSE, kSharedMutex));
    ASSERT_TRUE(mutex.Valid());
    ViewerProcess viewer;
    ASSERT_TRUE(viewer.Start(folder, ViewerArguments(folder, mesgNum, kBufferSize, trash),
                             {"LORVEX_VIEWER_STAGE_DELAY=1500"}));
    ASSERT_NE(viewer.WaitFrame(), nullptr);
    // The frame exists only once the viewer owns the mutex, and the slowed loader keeps it.
    EXPECT_EQ(::WaitForSingleObject(mutex.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    ASSERT_EQ(::WaitForSingleObject(mutex.Get(), 60000), WAIT_OBJECT_0);
    ::ReleaseMutex(mutex.Get());

    ASSERT_TRUE(WaitUntil([&] {
        return viewer.SimpleViewText(IDC_SV_HEADER).find("Lunch on Friday\r\n") !=
               std::string::npos;
    }));
    const std::string header = viewer.SimpleViewText(IDC_SV_HEADER);
    EXPECT_EQ(viewer.AttachmentLines(), 1);
    EXPECT_NE(header.find("ann@example.org\r\ncarl@example.org\r\n"), std::string::npos);
    EXPECT_EQ(header.find("&&"), std::string::npos);
    EXPECT_EQ(viewer.SimpleViewText(IDC_SV_BODY),
              "Hello Ann,\r\nthe table is booked for noon.\r\nBob\r\n");

    std::string page;
    ASSERT_TRUE(WaitUntil([&] {
        const auto pages = FilesMatching(folder, "MSG*.HTM");
        if (pages.size() != 1) return false;
        const auto bytes = ReadBytes(JoinPath(folder, pages[0].c_str()));
        page.assign(bytes.begin(), bytes.end());
        return page.find("</BODY></HTML>") != std::string::npos;
    }));
    EXPECT_NE(page.find("MESSAGE FROM bob@example.org"), std::string::npos);
    EXPECT_NE(page.find("the table is booked for noon.<BR>"), std::string::npos);
    EXPECT_NE(page.find("mailto:dora@example.org"), std::string::npos);

    RECT shown{};
    ::GetWindowRect(viewer.WaitFrame(0), &shown);
    EXPECT_EQ((lx::Rect32{shown.left, shown.top, shown.right, shown.bottom}), place);
    // Moved by the user: the new place is kept at close.
    ::SetWindowPos(viewer.WaitFrame(0), nullptr, 60, 50, 500, 400, SWP_NOZORDER);
    ::PostMessageA(viewer.WaitFrame(0), WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(viewer.WaitExit(30000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(FilesMatching(folder, "MSG*.HTM").empty());
    lx::Rect32 placed;
    EXPECT_TRUE(lx::ReadWindowRectFile(folder, lx::kViewerWindowFile, placed));
    EXPECT_EQ(placed, (lx::Rect32{60, 50, 560, 450}));
    EXPECT_TRUE(viewer.Transcript().empty());
}

// Browse mode reads no message and leaves the mutex alone: the viewer opens while another
// process owns it.
TEST_F(ViewerProcessTest, BrowseModeOpensWithoutTheMutex) {
    const std::string folder = MakeViewerInstallation("browse");
    lx::UniqueHandle mutex(::CreateMutexA(nullptr, TRUE, kSharedMutex));
    ASSERT_TRUE(mutex.Valid());
    ViewerProcess viewer;
    ASSERT_TRUE(viewer.Start(folder, "/VIEWMASTER /WAIT\"" + JoinPath(folder, "WAIT.HTM") + "\""));
    ASSERT_NE(viewer.WaitFrame(), nullptr);
    EXPECT_EQ(viewer.AttachmentLines(), 0); // no "loading" line: nothing is coming
    ::ReleaseMutex(mutex.Get());
    ::PostMessageA(viewer.WaitFrame(0), WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(viewer.WaitExit(30000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(viewer.Transcript().empty());
}

// Insert Addresses and Reply/Forward each arrive as one whole record; Reply closes the viewer.
TEST_F(ViewerProcessTest, RequestsArriveWholeOnTheMailslot) {
    RequestSlot slot;
    ASSERT_TRUE(slot.Valid());
    const long mesgNum = StoreMessage(in);
    const std::string folder = MakeViewerInstallation("requests");
    ViewerProcess viewer;
    OpenAndWaitLoaded(viewer, folder, mesgNum);

    viewer.Command(ID_ACTION_ADDRESSES);
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(slot.Next(bytes));
    ASSERT_EQ(bytes.size(), lx::kViewerRequestSize);
    lx::ViewerRequest r;
    ASSERT_TRUE(lx::ParseViewerRequest(bytes.data(), bytes.size(), &r));
    EXPECT_EQ(r.code, lx::ViewerRequestCode::AddAddresses);
    EXPECT_EQ(r.sender, "bob@example.org");
    EXPECT_EQ(r.toList, "ann@example.org\r\ncarl@example.org\r\n");
    EXPECT_EQ(r.toCount, 2);
    EXPECT_EQ(r.ccList, "dora@example.org\r\n");
    EXPECT_EQ(r.ccCount, 1);

    viewer.Command(ID_ACTION_REPLY);
    ASSERT_TRUE(slot.Next(bytes));
    ASSERT_EQ(bytes.size(), lx::kViewerRequestSize);
    ASSERT_TRUE(lx::ParseViewerRequest(bytes.data(), bytes.size(), &r));
    EXPECT_EQ(r.code, lx::ViewerRequestCode::ReplyOrForward);
    EXPECT_EQ(r.mesgNum, mesgNum);
    EXPECT_EQ(r.subject, "Lunch on Friday");
    EXPECT_EQ(r.toCount, 2);
    ASSERT_TRUE(viewer.WaitExit(30000));
    EXPECT_TRUE(viewer.Transcript().empty());
}

// Without the main program's mailslot a request explains itself; Insert Addresses leaves the
// viewer open (it takes the next command), Reply/Forward still closes it.
TEST_F(ViewerProcessTest, RequestWithoutTheMainProgramIsExplained) {
    const long mesgNum = StoreMessage(in);
    const std::string folder = MakeViewerInstallation("noslot");
    ViewerProcess viewer;
    OpenAndWaitLoaded(viewer, folder, mesgNum);
    const std::string box = ViewerCatalogueText("MAINFRM_CPP_40") + "|" +
                            ViewerCatalogueText("MAINFRM_CPP_41") + "|" +
                            std::to_string(MB_OK | MB_ICONEXCLAMATION);
    viewer.Command(ID_ACTION_ADDRESSES);
    ASSERT_TRUE(WaitUntil([&] { return viewer.Transcript().size() == 1; }));
    EXPECT_EQ(viewer.Transcript()[0], box);
    viewer.Command(ID_ACTION_REPLY);
    ASSERT_TRUE(viewer.WaitExit(30000));
    EXPECT_EQ(viewer.Transcript(), (std::vector<std::string>{box, box}));
}

// Delete moves the message to _TRASHCAN without asking; from there it asks and deletes the row.
TEST_F(ViewerProcessTest, DeleteMovesToTrashThenDeletesForGood) {
    RequestSlot slot;
    ASSERT_TRUE(slot.Valid());
    const long mesgNum = StoreMessage(in);
    const std::string folder = MakeViewerInstallation("delete");
    const std::string where = " FROM Messages WHERE " + lx::ConditionMesgNum(mesgNum);
    std::vector<unsigned char> bytes;
    lx::ViewerRequest r;
    {
        ViewerProcess viewer;
        OpenAndWaitLoaded(viewer, folder, mesgNum);
        viewer.Command(ID_ACTION_DELETE);
        ASSERT_TRUE(slot.Next(bytes));
        ASSERT_TRUE(lx::ParseViewerRequest(bytes.data(), bytes.size(), &r));
        EXPECT_EQ(r.code, lx::ViewerRequestCode::MessageChanged);
        ASSERT_TRUE(viewer.WaitExit(30000));
        EXPECT_TRUE(viewer.Transcript().empty());
        EXPECT_EQ(QueryLong("SELECT FolderNum" + where), trash);
    }
    {
        ViewerProcess viewer;
        OpenAndWaitLoaded(viewer, folder, mesgNum, {"LORVEX_UI_ANSWERS=IDYES"});
        viewer.Command(ID_ACTION_DELETE);
        ASSERT_TRUE(slot.Next(bytes));
        ASSERT_TRUE(lx::ParseViewerRequest(bytes.data(), bytes.size(), &r));
        EXPECT_EQ(r.code, lx::ViewerRequestCode::MessageChanged);
        ASSERT_TRUE(viewer.WaitExit(30000));
        const auto boxes = viewer.Transcript();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].rfind(ViewerCatalogueText("MAINFRM_CPP_38") + "|", 0), 0u) << boxes[0];
        EXPECT_EQ(QueryLong("SELECT COUNT(*)" + where), 0);
    }
}

// An attached file with a program is started with it (the run records the command line); one
// without a program gets the explanation instead.
TEST_F(ViewerProcessTest, OpensAttachmentsWithTheirPrograms) {
    // A file type of the test's own, opened by the Windows folder's notepad.
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, sizeof windows);
    const std::string program = JoinPath(windows, "notepad.exe") + " %1";
    {
        lx::RegKey type, command;
        ASSERT_TRUE(type.Create(HKEY_CLASSES_ROOT, ".lxvnote", KEY_ALL_ACCESS));
        ::RegSetValueExA(type.Get(), nullptr, 0, REG_SZ,
                         reinterpret_cast<const BYTE*>("LorvexTestNote"), 15);
        ASSERT_TRUE(command.Create(HKEY_CLASSES_ROOT, "LorvexTestNote\\shell\\open\\command",
                                   KEY_ALL_ACCESS));
        ::RegSetValueExA(command.Get(), nullptr, 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(program.c_str()),
                         static_cast<DWORD>(program.size() + 1));
    }
    const std::string folder = MakeViewerInstallation("attachments");
    const std::string note = JoinPath(folder, "NOTE.LXVNOTE");
    WriteBytes(note, {'h', 'i'});
    const long mesgNum = StoreMessage(in, {note, JoinPath(folder, "DATA.ZQX")});
    ViewerProcess viewer;
    OpenAndWaitLoaded(viewer, folder, mesgNum);
    const HWND frame = viewer.WaitFrame(0);
    ::PostMessageA(frame, WM_USER + 20002, 0, 0);
    ::PostMessageA(frame, WM_USER + 20002, 0, 1);
    ASSERT_TRUE(WaitUntil([&] { return viewer.Transcript().size() == 2; }));
    const auto lines = viewer.Transcript();
    EXPECT_EQ(lines[0].rfind("run program|", 0), 0u) << lines[0];
    std::string shown = ShortPath(note);
    for (char& c : shown) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    EXPECT_NE(lines[0].find(" " + shown + "|0"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1], ViewerCatalogueText("MAINFRM_CPP_21") + "|" +
                            ViewerCatalogueText("MAINFRM_CPP_20") + "|" +
                            std::to_string(MB_OK | MB_ICONINFORMATION));
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(viewer.WaitExit(30000));
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "LorvexTestNote");
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ".lxvnote");
}

// How often the browser control was sent to a file named `name` (the calls one a line).
int NavigationsTo(const std::string& calls, const std::string& name) {
    int count = 0;
    for (size_t at = calls.find("Navigate "); at != std::string::npos;
         at = calls.find("Navigate ", at + 1)) {
        const size_t end = calls.find('\n', at);
        const std::string url = calls.substr(at, end - at);
        if (url.size() > name.size() &&
            url.compare(url.size() - name.size(), name.size(), name) == 0)
            ++count;
    }
    return count;
}

// With the WebBrowser control (the test double stands in for it) the viewer shows the message
// page it wrote; a page reached through the URL window withholds the message commands until
// Home brings the message page back.
TEST_F(ViewerProcessTest, BrowserShowsThePageAndComesHome) {
    DoubleRegistration registration;
    ASSERT_TRUE(registration.Ok());
    SetReaderType(3);
    const long mesgNum = StoreMessage(in);
    const std::string folder = MakeViewerInstallation("browser");
    const std::string log = JoinPath(folder, "DOUBLE.LOG");
    ::DeleteFileA(log.c_str());
    ViewerProcess viewer;
    ASSERT_TRUE(viewer.Start(folder, ViewerArguments(folder, mesgNum, kBufferSize, trash),
                             {std::string(kDoubleLogVariable) + "=" + log}));
    HWND frame = viewer.WaitFrame();
    ASSERT_NE(frame, nullptr);
    HWND toolbar = ::GetDlgItem(frame, IDC_TOOLBAR);
    auto enabled = [&](int id) { return ::SendMessageA(toolbar, TB_ISBUTTONENABLED, id, 0) != 0; };
    auto calls = [&] {
        const auto bytes = ReadBytes(log);
        return std::string(bytes.begin(), bytes.end());
    };
    auto messageCommands = [&] {
        return enabled(ID_ACTION_REPLY) + enabled(ID_ACTION_DELETE) + enabled(ID_ACTION_FILE) +
               enabled(ID_ACTION_ADDRESSES);
    };

    std::string page;
    ASSERT_TRUE(WaitUntil([&] {
        const auto pages = FilesMatching(folder, "MSG*.HTM");
        if (pages.size() == 1) page = pages[0];
        // The WebBrowser is sent to the page twice, the second time a moment later.
        return !page.empty() && NavigationsTo(calls(), page) >= 2;
    })) << calls();
    ASSERT_TRUE(WaitUntil([&] { return messageCommands() == 4 && !enabled(ID_VIEW_HOME); }))
        << calls();

    HWND urlWindow = ::FindWindowExA(frame, nullptr, "#32770", nullptr);
    ASSERT_NE(urlWindow, nullptr);
    EXPECT_FALSE(::IsWindowVisible(urlWindow));
    viewer.Command(ID_VIEW_URLWINDOW);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(urlWindow) != FALSE; }));
    ::SetWindowTextA(::GetDlgItem(urlWindow, IDC_URL_COMBO), "http://www.example.org/");
    ::PostMessageA(urlWindow, WM_COMMAND, MAKEWPARAM(IDC_URL_GO, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(urlWindow, IDC_URL_GO)));
    EXPECT_TRUE(WaitUntil([&] {
        return calls().find("Navigate http://www.example.org/\n") != std::string::npos;
    })) << calls();
    EXPECT_TRUE(WaitUntil([&] { return messageCommands() == 0 && enabled(ID_VIEW_HOME); }))
        << calls();
    EXPECT_FALSE(::IsWindowVisible(urlWindow));

    const int homeVisits = NavigationsTo(calls(), page);
    viewer.Command(ID_VIEW_HOME);
    EXPECT_TRUE(WaitUntil([&] {
        return NavigationsTo(calls(), page) > homeVisits && messageCommands() == 4 &&
               !enabled(ID_VIEW_HOME);
    })) << calls();
    EXPECT_TRUE(viewer.Close());
    EXPECT_TRUE(viewer.Transcript().empty());
}

} // namespace
} // namespace lxtest
