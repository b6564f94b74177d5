// Opening an incoming message starts the viewer program (a fake of our own here) with the
// command line the viewer reads, hands Lorvex_Mutex over to it and waits until the viewer has
// given it back; then the message is no longer new. A viewer that never gives the mutex back
// does not hang the list.
#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include "common/win/handles.h"
#include "mailer/ui/logic/cmdgate.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/logic/mailmess_rows.h"
#include "mailer/ui/logic/viewerlaunch_rules.h"
#include "mailer/ui/store/editfram_store.h"
#include "tests/launch/launch_fixture.h"
#include "tests/panes/panes_store.h"

namespace lxtest {
namespace {

TEST_F(LaunchTest, OpeningANewMessageHandsOverToTheViewerAndClearsTheMark) {
    InstallFakeViewer("hand-over");
    const long num = ListIncoming("Hello&&N& ");
    ASSERT_EQ(List()->Rows().size(), 1u);
    ASSERT_EQ(lx::IconForFlags(RowFlags(0)), lx::RowIcon::IncomingNew);
    List()->ClickRow(0, false, false);
    {
        lx::GateScope gate;
        List()->Open(0);
    }
    // The viewer writes its record before it releases the mutex: the list waited for that.
    const std::vector<std::string> record = ViewerRecord();
    ASSERT_EQ(record.size(), 3u) << "the list went on before the viewer released the mutex";
    EXPECT_EQ(record[0], lx::ViewerCommandLine(folder, num, 4, frame->SpecialFolders().trashcan));
    EXPECT_EQ(record[1], "usable");
    EXPECT_EQ(record[2], std::to_string(num));
    EXPECT_TRUE(MutexOwnedHere());
    EXPECT_EQ(CountOf(Conn(), "SELECT COUNT(*) FROM Messages WHERE Subject = 'Hello&& & '"), 1);
    ASSERT_EQ(List()->Rows().size(), 1u);
    EXPECT_EQ(lx::IconForFlags(RowFlags(0)), lx::RowIcon::Incoming) << "the list reloaded";
    EXPECT_EQ(List()->SelectedMessages(), std::vector<long>{num}) << "the row is selected again";
}

// Open without a chosen row says so and starts nothing.
TEST_F(LaunchTest, OpeningWithoutASelectedRowAsksForOne) {
    InstallFakeViewer("hand-over");
    ListIncoming("Unread&&N& ");
    {
        lx::GateScope gate;
        List()->Open(0);
    }
    ASSERT_EQ(hook->boxes.size(), 1u);
    EXPECT_EQ(hook->boxes[0].text, lx::CatalogText(s_catalog, "MAILMESS_CPP_24"));
    EXPECT_TRUE(ViewerRecord().empty()) << "a viewer was started";
}

// The search opens messages over its own dialog: the mark is cleared, the list is not reloaded
// under it.
TEST_F(LaunchTest, OpeningFromTheSearchClearsTheMarkWithoutReloading) {
    InstallFakeViewer("hand-over");
    const long num = ListIncoming("Found&&N&F");
    lx::StoredMessage message;
    ASSERT_TRUE(lx::ReadStoredMessage(&Conn(), nullptr, num, &message));
    const lx::OpenMessageRequest request{num, 0, true};
    EXPECT_EQ(lx::LaunchViewer(ViewerContext(), List()->Handle(), request, message),
              lx::ViewerHandOver::MutexBack);
    EXPECT_EQ(ViewerRecord().size(), 3u);
    EXPECT_EQ(CountOf(Conn(), "SELECT COUNT(*) FROM Messages WHERE Subject = 'Found&& &F'"), 1);
    EXPECT_EQ(lx::IconForFlags(RowFlags(0)), lx::RowIcon::IncomingNewFiles) << "not reloaded";
}

struct EndCase {
    const char* mode;
    bool otherHolder; // a thread of another program holds the mutex meanwhile
    lx::ViewerHandOver expected;
};

// However the viewer ends, the main program goes on; it owns the mutex again unless somebody
// else still holds it.
TEST_F(LaunchTest, AViewerThatEndsWithoutReleasingDoesNotHangTheList) {
    const EndCase cases[] = {
        {"no-mutex", false, lx::ViewerHandOver::MutexBack}, // free: taken at once
        {"keep", false, lx::ViewerHandOver::MutexBack},     // left abandoned: taken over
        {"no-mutex", true, lx::ViewerHandOver::MutexElsewhere},
    };
    const long num = ListIncoming("Hi&&N& ");
    lx::StoredMessage message;
    ASSERT_TRUE(lx::ReadStoredMessage(&Conn(), nullptr, num, &message));
    for (const EndCase& c : cases) {
        InstallFakeViewer(c.mode);
        lx::UniqueHandle release(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        HANDLE m = mutex.Get();
        HANDLE r = release.Get();
        std::thread holder;
        if (c.otherHolder)
            holder = std::thread([m, r] {
                // Waits for the release the launch makes, then holds on.
                ::WaitForSingleObject(m, INFINITE);
                ::WaitForSingleObject(r, 30000);
                ::ReleaseMutex(m);
            });
        lx::OpenMessageRequest request{num, 0, false};
        const lx::ViewerHandOver got =
            lx::LaunchViewer(ViewerContext(), List()->Handle(), request, message);
        EXPECT_EQ(got, c.expected) << c.mode;
        ::SetEvent(r);
        if (holder.joinable()) holder.join();
        if (got == lx::ViewerHandOver::MutexElsewhere)
            ASSERT_EQ(::WaitForSingleObject(m, 10000), WAIT_OBJECT_0);
        EXPECT_TRUE(MutexOwnedHere()) << c.mode;
    }
}

TEST_F(LaunchTest, AMissingViewerIsReportedAndTheMutexKept) {
    const long num = ListIncoming("Hello&&N& ");
    List()->ClickRow(0, false, false);
    {
        lx::GateScope gate;
        List()->Open(0);
    }
    ASSERT_EQ(hook->boxes.size(), 1u);
    EXPECT_EQ(hook->boxes[0].text, Text("MAILMESS_CPP_45"));
    EXPECT_EQ(hook->boxes[0].caption, Text("MAILMESS_CPP_44"));
    EXPECT_TRUE(MutexOwnedHere()) << "the next viewer's hand-over needs it";
    EXPECT_EQ(CountOf(Conn(), "SELECT COUNT(*) FROM Messages WHERE Subject = 'Hello&&N& '"), 1)
        << "message " << num << " stays new";
}

} // namespace
} // namespace lxtest
