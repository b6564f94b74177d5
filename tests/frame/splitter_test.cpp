// The splitter: Lorvex.WND written when the panes are destroyed (maximised, minimised, normal),
// the list's column borders dragged within their limits, stored cells taken back.
#include "tests/frame/frame_fixture.h"
#include "mailer/ui/mainspli.h"

#include <gtest/gtest.h>

namespace lxtest {
namespace {

using Splitter = FrameTest;

lx::MainWindowPlacement StoredAfterClose(HWND wnd, const std::string& folder) {
    ::DestroyWindow(wnd);
    lx::MainWindowPlacement placement;
    EXPECT_TRUE(lx::ReadMainWindowFile(folder, placement));
    return placement;
}

TEST_F(Splitter, NormalWindowStoresItsRectangleAndTheColumnCells) {
    ::MoveWindow(Wnd(), 30, 40, 700, 500, TRUE);
    const lx::ListColumns before = frame->Splitter()->Columns();
    const int date = before.DateRight() + 30;
    ASSERT_TRUE(frame->Splitter()->DragColumnBorder(lx::ColumnBorder::DateAddress, date));
    const lx::MainWindowPlacement stored = StoredAfterClose(Wnd(), folder);
    EXPECT_EQ((lx::Rect32{30, 40, 730, 540}), stored.frame);
    ASSERT_TRUE(stored.hasColumns);
    EXPECT_EQ(0, stored.columns[0].left);
    EXPECT_EQ(36, stored.columns[0].right);
    EXPECT_EQ(date, stored.columns[1].right);
    EXPECT_EQ(before.AddressRight() + 30, stored.columns[2].right);
}

TEST_F(Splitter, MaximisedWindowStoresLeftEdgeMinusOne) {
    ::ShowWindow(Wnd(), SW_MAXIMIZE);
    Pump();
    ASSERT_TRUE(::IsZoomed(Wnd()));
    const lx::MainWindowPlacement stored = StoredAfterClose(Wnd(), folder);
    EXPECT_EQ(-1, stored.frame.left);
}

TEST_F(Splitter, MinimisedWindowStoresTheFixedRectangle) {
    ::ShowWindow(Wnd(), SW_MINIMIZE);
    Pump();
    ASSERT_TRUE(::IsIconic(Wnd()));
    const lx::MainWindowPlacement stored = StoredAfterClose(Wnd(), folder);
    EXPECT_EQ((lx::Rect32{10, 10, 300, 120}), stored.frame);
}

TEST_F(Splitter, ColumnBordersKeepTheirMinimumWidths) {
    ::MoveWindow(Wnd(), 0, 0, 800, 500, TRUE);
    lx::MailboxSplitter* s = frame->Splitter();
    EXPECT_FALSE(s->DragColumnBorder(lx::ColumnBorder::DateAddress, 36 + 24));
    EXPECT_TRUE(s->DragColumnBorder(lx::ColumnBorder::DateAddress, 36 + 25));
    EXPECT_FALSE(
        s->DragColumnBorder(lx::ColumnBorder::AddressSubject, s->Columns().DateRight() + 32));
    EXPECT_TRUE(
        s->DragColumnBorder(lx::ColumnBorder::AddressSubject, s->Columns().DateRight() + 33));
    const int right = s->Columns().Right();
    EXPECT_FALSE(s->DragColumnBorder(lx::ColumnBorder::AddressSubject, right - 32));
}

TEST_F(Splitter, DraggingAColumnBorderWithTheMouseMovesIt) {
    ::MoveWindow(Wnd(), 0, 0, 800, 500, TRUE);
    Pump();
    lx::MailboxSplitter* s = frame->Splitter();
    RECT list{};
    ::GetWindowRect(s->MessagePaneWindow(), &list);
    POINT origin{list.left, 0};
    ::ScreenToClient(s->Handle(), &origin);
    const int y = s->HeaderHeight() / 2;
    const lx::ListColumns before = s->Columns();
    const int x = origin.x + before.DateRight();
    ::SendMessageA(s->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageA(s->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 20, y));
    ::SendMessageA(s->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x + 20, y));
    EXPECT_EQ(before.DateRight() + 20, s->Columns().DateRight());
    EXPECT_EQ(before.AddressRight() + 20, s->Columns().AddressRight());
}

TEST_F(Splitter, DraggingTheBarBetweenTheColumnsKeepsAMinimum) {
    ::MoveWindow(Wnd(), 0, 0, 800, 500, TRUE);
    Pump();
    lx::MailboxSplitter* s = frame->Splitter();
    const int x = s->FolderColumnWidth() + 2;
    ::SendMessageA(s->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 100));
    ::SendMessageA(s->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 100));
    ::SendMessageA(s->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 100));
    EXPECT_EQ(lx::MailboxSplitter::kMinColumnWidth, s->FolderColumnWidth());
    RECT f{};
    ::GetWindowRect(s->FolderPaneWindow(), &f);
    EXPECT_EQ(lx::MailboxSplitter::kMinColumnWidth, f.right - f.left);
}

TEST_F(Splitter, StoredCellsComeBackWithThePlacement) {
    lx::MainWindowPlacement placement;
    placement.frame = lx::Rect32{20, 20, 820, 520};
    lx::ListColumns columns(0, 600);
    columns.MoveBorder(lx::ColumnBorder::AddressSubject, 300);
    placement.columns = columns.Cells(20);
    placement.hasColumns = true;
    frame->ApplyPlacement(placement);
    EXPECT_EQ(300, frame->Splitter()->Columns().AddressRight());
    RECT r{};
    ::GetWindowRect(Wnd(), &r);
    EXPECT_EQ(20, r.left);
    EXPECT_EQ(820, r.right);
}

TEST_F(Splitter, UnusableStoredCellsAreDrawnAsDefaultsAndWrittenBackAsRead) {
    const int defaultDate = frame->Splitter()->Columns().DateRight();
    lx::MainWindowPlacement placement;
    placement.frame = lx::Rect32{20, 20, 820, 520};
    for (int i = 0; i < lx::kListColumns; ++i)
        placement.columns[i] = lx::Rect32{i * 7, 1, i * 7 + 2, 3}; // from another layout
    placement.hasColumns = true;
    frame->ApplyPlacement(placement);
    EXPECT_EQ(defaultDate, frame->Splitter()->Columns().DateRight());
    lx::MainWindowPlacement stored = StoredAfterClose(Wnd(), folder);
    EXPECT_EQ(placement.columns, stored.columns);

    MakeFrame();
    frame->ApplyPlacement(placement);
    ASSERT_TRUE(frame->Splitter()->DragColumnBorder(lx::ColumnBorder::DateAddress, 100));
    stored = StoredAfterClose(Wnd(), folder);
    EXPECT_EQ(100, stored.columns[1].right);
}

} // namespace
} // namespace lxtest
