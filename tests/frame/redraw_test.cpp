// What the main window shows after it changes: every list row drawn again after a resize, a
// splitter drag or the toolbar coming back; the date column wide enough for its dates; the
// folder dialog centred on the main window; and closing without faults in any window procedure.
#include "tests/frame/frame_fixture.h"
#include "tests/panes/panes_store.h"
#include "mailer/ui/logic/mailmess_rows.h"
#include "mailer/ui/mailmess.h"
#include "mailer/ui/mainspli.h"
#include "mailer/res/resource.h"
#include "common/win/handles.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>

namespace lxtest {
namespace {

using Redraw = FrameTest;

HWND ListOf(HWND pane) { return ::GetWindow(pane, GW_CHILD); }

// Paints everything pending, then marks `list` as drawn.
void SettleAndValidate(HWND frame, HWND list) {
    ::RedrawWindow(frame, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    ::ValidateRect(list, nullptr);
}

// True when the list's pending repaint covers every visible row.
bool WholeListPending(HWND list) {
    RECT client{}, pending{};
    ::GetClientRect(list, &client);
    if (!::GetUpdateRect(list, &pending, FALSE)) return false;
    return pending.left <= client.left && pending.top <= client.top &&
           pending.right >= client.right && pending.bottom >= client.bottom;
}

class WithMessages : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        const long in = FolderNumOf(Conn(), "_IN");
        for (int day = 1; day <= 4; ++day)
            AddMessage(Conn(), in, 'I', "sender@mail.example", "Subject of the day&&N&F",
                       lx::StoreTime{2026, 9, day, 8, 0, 0});
        ::SendMessageA(Wnd(), lx::WM_LX_MAILRUN_DONE, 0, 0);
        ASSERT_EQ(4, frame->MessageCount());
        ::MoveWindow(Wnd(), 10, 10, 760, 460, TRUE);
        list = ListOf(frame->Splitter()->MessagePaneWindow());
        ASSERT_NE(nullptr, list);
    }
    HWND list = nullptr;
};

TEST_F(WithMessages, ResizingTheWindowRedrawsEveryRow) {
    SettleAndValidate(Wnd(), list);
    ::MoveWindow(Wnd(), 10, 10, 900, 520, TRUE);
    EXPECT_TRUE(WholeListPending(list));
    SettleAndValidate(Wnd(), list);
    ::MoveWindow(Wnd(), 10, 10, 700, 420, TRUE); // narrower: nothing is uncovered
    EXPECT_TRUE(WholeListPending(list));
}

TEST_F(WithMessages, DraggingTheSplitterBarRedrawsEveryRow) {
    lx::MailboxSplitter* s = frame->Splitter();
    SettleAndValidate(Wnd(), list);
    const int x = s->FolderColumnWidth() + 2;
    ::SendMessageA(s->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 100));
    ::SendMessageA(s->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 40, 100));
    ::SendMessageA(s->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x + 40, 100));
    ASSERT_EQ(x + 40, s->FolderColumnWidth());
    EXPECT_TRUE(WholeListPending(list));
}

TEST_F(Redraw, TheToolbarComingBackRedrawsTheFolderRows) {
    HWND folders = ListOf(frame->Splitter()->FolderPaneWindow());
    ASSERT_NE(nullptr, folders);
    Command(ID_VIEW_TOOLBAR);
    SettleAndValidate(Wnd(), folders);
    Command(ID_VIEW_TOOLBAR);
    ASSERT_TRUE(::IsWindowVisible(frame->Toolbar()));
    EXPECT_TRUE(WholeListPending(folders));
}

TEST_F(Redraw, TheDateColumnFitsEveryMonthsDateInTheListFont) {
    auto* pane = static_cast<lx::MessageListPane*>(
        lx::Window::FromHandle(frame->Splitter()->MessagePaneWindow()));
    ASSERT_NE(nullptr, pane);
    const lx::MonthNames months([this](const char* key) { return Text(key); });
    const lx::ListColumns& columns = frame->Splitter()->Columns();
    // The list draws the date 2 pixels inside either border of its column.
    const int room = columns.DateRight() - columns.IconRight() - 4;
    lx::WindowDC dc(pane->List());
    lx::SelectGuard font(dc.Get(), pane->Font());
    for (int month = 1; month <= 12; ++month) {
        const std::string date = lx::DateField(lx::StoreTime{2026, month, 28, 0, 0, 0}, months);
        SIZE size{};
        ASSERT_TRUE(
            ::GetTextExtentPoint32A(dc.Get(), date.c_str(), static_cast<int>(date.size()), &size));
        EXPECT_LE(size.cx, room) << date;
    }
    EXPECT_EQ(columns.DateRight() + (lx::ListColumns::kAddressRight - lx::ListColumns::kDateRight),
              columns.AddressRight())
        << "the address column keeps its width";
}

TEST_F(Redraw, TheFolderDialogIsCentredOnTheMainWindow) {
    ::MoveWindow(Wnd(), 200, 150, 800, 500, TRUE);
    RECT dialogRect{};
    hook->onInit = [&](HWND dialog, int) {
        ::GetWindowRect(dialog, &dialogRect);
        Press(dialog, IDCANCEL);
    };
    Command(ID_FOLDER_NEW);
    ASSERT_EQ(1u, hook->dialogsStarted.size());
    RECT frameRect{};
    ::GetWindowRect(Wnd(), &frameRect);
    EXPECT_LE(std::abs((dialogRect.left + dialogRect.right) - (frameRect.left + frameRect.right)),
              2);
    EXPECT_LE(std::abs((dialogRect.top + dialogRect.bottom) - (frameRect.top + frameRect.bottom)),
              2);
}

// Counts access violations as they are raised, before any handler (Wine's window procedure
// wrappers included) can swallow them.
std::atomic<int> g_accessViolations{0};
LONG CALLBACK CountAccessViolations(EXCEPTION_POINTERS* info) {
    if (info->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) ++g_accessViolations;
    return EXCEPTION_CONTINUE_SEARCH;
}

class ExitPath : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        g_accessViolations = 0;
        handler_ = ::AddVectoredExceptionHandler(1, &CountAccessViolations);
    }
    void TearDown() override {
        ::RemoveVectoredExceptionHandler(handler_);
        FrameTest::TearDown();
    }
    // Lets the posted close run until the window is gone (bounded).
    bool PumpUntilClosed() {
        for (int i = 0; i < 200 && frame->Handle(); ++i) {
            Pump();
            if (frame->Handle()) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return frame->Handle() == nullptr;
    }
    void* handler_ = nullptr;
};

TEST_F(ExitPath, FileExitClosesWithoutAFaultInAnyWindowProcedure) {
    Command(ID_APP_EXIT);
    ASSERT_TRUE(PumpUntilClosed());
    frame.reset();
    EXPECT_EQ(0, g_accessViolations.load());
}

TEST_F(ExitPath, NoToTheOutgoingMailQuestionClosesWithoutAFault) {
    AddMessage(Conn(), FolderNumOf(Conn(), "_OUT"), 'O', "me@home.example", "Waiting&&N& ",
               lx::StoreTime{2026, 3, 2, 12, 0, 0});
    hook->boxAnswer = IDNO;
    Command(ID_APP_EXIT);
    ASSERT_TRUE(PumpUntilClosed());
    EXPECT_EQ(1u, hook->boxes.size());
    frame.reset();
    EXPECT_EQ(0, g_accessViolations.load());
}

} // namespace
} // namespace lxtest
