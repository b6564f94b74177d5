// Print Document in LXVIEWER.EXE on a stored message, printed on the test printer (the print
// dialog answered with the default printer). The pages are read back from the PDF by
// viewerprint_check.py: this program prints, waits for the job's PDF and leaves it, with the
// header texts and the body it expects, for the check.
#include "common/schema/newmessage.h"
#include "common/schema/sqlforms.h"
#include "tests/print/printer_fixture.h"
#include "tests/startup/lorvexrun.h"
#include "tests/store/store_fixture.h"
#include "tests/viewerapp/viewerrun.h"
#include "viewer/res/resource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace lxtest {
namespace {

constexpr char kSharedMutex[] = "Lorvex_Mutex";

// Numbered lines of words, each short enough for one printed line, about `size` bytes.
std::string Body(std::size_t size) {
    static const char* const kWords[] = {"north", "east", "south", "west", "up", "down"};
    std::string body;
    for (int line = 1; body.size() < size; ++line) {
        char head[32];
        std::snprintf(head, sizeof head, "viewer line %04d:", line);
        std::string text = head;
        for (int w = 0; w < 5; ++w) text += std::string(" ") + kWords[(line + w) % 6];
        body += text + "\r\n";
    }
    return body;
}

class ViewerPrinting : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_FALSE(lx::print::test::DefaultPrinter().empty())
            << "no default printer: run tools/setup/cups.sh";
        ASSERT_NE(std::getenv("LX_PRINT_OUT"), nullptr);
        for (const char* name : {"_IN", "_TRASHCAN"})
            Exec(std::string("INSERT INTO Folders (Folder, FolderType, Description) VALUES (") +
                 lx::SqlQuote(name) + ", 'S', 'test')");
        in_ = QueryLong("SELECT FolderNum FROM Folders WHERE Folder = '_IN'");
        trash_ = QueryLong("SELECT FolderNum FROM Folders WHERE Folder = '_TRASHCAN'");
        SetReaderType(1);
    }
    void TearDown() override { SetReaderType(0); }

    long in_ = -1, trash_ = -1;
};

// Three pages of body: the title on each, the header block on the first, every line once.
TEST_F(ViewerPrinting, PrintDocumentPrintsTheShownMessage) {
    const std::string body = Body(12000);
    lx::NewMessage m;
    m.kind = lx::NewMessageKind::Retrieved;
    m.folderNum = in_;
    m.mesgId = "<printed-1@example.org>";
    m.fromAdd = "bob@example.org";
    m.mesgDate = "Wed, 9 Dec 2026 09:00:00 +0000";
    m.appDate = lx::StoreTime{2026, 12, 9, 10, 30, 5};
    m.subject = "Route for Saturday&&N& ";
    m.mailData = body;
    m.to = {"ann@example.org"};
    long mesgNum = -1;
    ASSERT_EQ(lx::StoreNewMessage(&Conn(), m, nullptr, &mesgNum), lx::StoreOutcome::Stored);

    using namespace lx::print::test;
    ClearPdfs();
    WriteOutFile("viewer-body.txt", body);
    WriteOutFile("viewer-header.txt", "Message from bob@example.org\n"
                                      "Message ID:\n<printed-1@example.org>\n"
                                      "Date Sent:\nWed, 9 Dec 2026 09:00:00 +0000\n"
                                      "Date Received:\nDec 09, 2026 10:30:05\n"
                                      "Subject:\nRoute for Saturday\n");

    const std::string folder = MakeViewerInstallation("print");
    lx::UniqueHandle mutex(::CreateMutexA(nullptr, FALSE, kSharedMutex));
    ASSERT_TRUE(mutex.Valid());
    ViewerProcess viewer;
    ASSERT_TRUE(viewer.Start(
        folder, ViewerArguments(folder, mesgNum, static_cast<long>(body.size()), trash_),
        {"LORVEX_UI_ANSWERS=DEFAULTPRINTER"}));
    ASSERT_NE(viewer.WaitFrame(), nullptr);
    ASSERT_EQ(::WaitForSingleObject(mutex.Get(), 60000), WAIT_OBJECT_0);
    ::ReleaseMutex(mutex.Get());
    ASSERT_TRUE(WaitUntil([&] {
        return viewer.SimpleViewText(IDC_SV_HEADER).find("bob@example.org") != std::string::npos;
    }));

    viewer.Command(ID_FILE_PRINT);
    int jobs = 0;
    ASSERT_TRUE(TakePdf("viewer.pdf", &jobs)) << "no PDF from the printer";
    EXPECT_EQ(jobs, 1);
    EXPECT_TRUE(viewer.Close());
    EXPECT_EQ(viewer.Transcript(), std::vector<std::string>{"common dialog|print|0"});
}

} // namespace
} // namespace lxtest
