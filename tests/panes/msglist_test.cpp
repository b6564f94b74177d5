// MessageListPane against a real store: rows, count, Delete, drag and drop, selection.
#include "tests/panes/panes_fixture.h"
#include "mailer/res/resource.h"

#include <gtest/gtest.h>

namespace {

class MessageListTest : public lxtest::PaneTest {
protected:
    void SetUp() override {
        PaneTest::SetUp();
        if (HasFatalFailure()) return;
        MakeFolders({"Work"});
    }
    long Num(const char* folder) { return lxtest::FolderNumOf(Conn(), folder); }
    long CountIn(long folder) {
        return lxtest::CountOf(Conn(), "SELECT COUNT(*) FROM Messages WHERE FolderNum = " +
                                           std::to_string(folder));
    }
    // Adds `n` incoming messages to a folder, the first the newest.
    std::vector<long> AddIncoming(long folder, int n) {
        std::vector<long> nums;
        for (int i = 0; i < n; ++i)
            nums.push_back(lxtest::AddMessage(
                Conn(), folder, 'I', "from" + std::to_string(i) + "@x",
                "Subject " + std::to_string(i) + "&&N& ", {2026, 5, 20 - i, 8, 0, 0}));
        return nums;
    }
    std::vector<int> ListSelection() {
        std::vector<int> rows;
        for (int i = 0; i < messages->Count(); ++i)
            if (::SendMessageA(messages->List(), LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
                rows.push_back(i);
        return rows;
    }
    void Click(int row, WPARAM keys) {
        const int h = messages->ItemHeight();
        const LPARAM at = MAKELPARAM(10, row * h + h / 2);
        ::SendMessageA(messages->List(), WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
        ::SendMessageA(messages->List(), WM_LBUTTONUP, keys, at);
    }
};

TEST_F(MessageListTest, EmptyFolderShowsTheEmptyLineAndCountZero) {
    CreatePanes();
    ASSERT_EQ(1, messages->Count());
    EXPECT_EQ(Text("MAILMESS_CPP_18") + "\t\t\t", messages->RowText(0));
    ASSERT_FALSE(counts.empty());
    EXPECT_EQ(0, counts.back());
    EXPECT_EQ("Messages : 0", lx::MessageCountText(counts.back()));
    EXPECT_EQ("Messages : 0", lx::MessageCountText(-1));
    EXPECT_EQ("Messages : 12345", lx::MessageCountText(12345));
    EXPECT_EQ(7u, ::GetWindowContextHelpId(messages->List()));
    // Delete and Enter do nothing.
    ::SendMessageA(messages->List(), WM_KEYDOWN, VK_DELETE, 0);
    ::SendMessageA(messages->List(), WM_KEYDOWN, VK_RETURN, 0);
    Click(0, 0);
    EXPECT_TRUE(hook.boxes.empty());
    EXPECT_TRUE(opened.empty());
}

TEST_F(MessageListTest, RowTextsAndCount) {
    const long in = Num("_IN");
    std::string longSubject(250, 's');
    lxtest::AddMessage(Conn(), in, 'I', "long@x", longSubject + "&&N&F", {2026, 1, 9, 8, 0, 0});
    const long out =
        lxtest::AddMessage(Conn(), in, 'O', "me@x", "Mine&& & ", {2026, 2, 9, 8, 0, 0});
    const long to =
        lxtest::AddMessage(Conn(), in, 'O', "me@x", "Addressed&& & ", {2026, 3, 9, 8, 0, 0});
    ASSERT_TRUE(lxtest::AddRecipient(Conn(), to, "ann@x"));
    CreatePanes();
    ASSERT_EQ(3, messages->Count());
    EXPECT_EQ(3, counts.back());
    EXPECT_EQ("O \t09-" + Text("MAILMESS_CPP_3") + "-2026\tann@x\tAddressed", messages->RowText(0));
    EXPECT_EQ("O \t09-" + Text("MAILMESS_CPP_2") + "-2026\tme@x\tMine", messages->RowText(1));
    EXPECT_EQ(out, messages->Rows()[1].mesgNum);
    EXPECT_EQ("INF\t09-" + Text("MAILMESS_CPP_1") + "-2026\tlong@x\t" + longSubject,
              messages->RowText(2));
}

TEST_F(MessageListTest, DeleteMovesToTrashcanWithoutAsking) {
    const long in = Num("_IN");
    AddIncoming(in, 3);
    CreatePanes();
    messages->ClickRow(0, false, false);
    messages->ClickRow(1, false, true);
    messages->DeleteSelected();
    EXPECT_TRUE(hook.boxes.empty());
    EXPECT_EQ(1, CountIn(in));
    EXPECT_EQ(2, CountIn(Num("_TRASHCAN")));
    EXPECT_EQ(1, messages->Count());
    EXPECT_EQ(1, counts.back());
}

TEST_F(MessageListTest, DeleteInsideTrashcanAsksOnceForTheSelection) {
    const long trash = Num("_TRASHCAN");
    AddIncoming(trash, 3);
    CreatePanes();
    messages->LoadFolder(trash);
    messages->SelectAll();
    hook.boxAnswer = IDNO;
    ::SendMessageA(messages->List(), WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_EQ(1u, hook.boxes.size());
    EXPECT_EQ(Text("MAILMESS_CPP_15"), hook.boxes[0].text);
    EXPECT_EQ(Text("MAILMESS_CPP_16"), hook.boxes[0].caption);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONSTOP), hook.boxes[0].flags & (MB_TYPEMASK | MB_ICONMASK));
    EXPECT_EQ(3, CountIn(trash));
    hook.boxAnswer = IDYES;
    messages->SelectAll();
    messages->DeleteSelected();
    EXPECT_EQ(2u, hook.boxes.size());
    EXPECT_EQ(0, CountIn(trash));
    EXPECT_EQ(0, lxtest::CountOf(Conn(), "SELECT COUNT(*) FROM Messages"));
}

TEST_F(MessageListTest, EmptyTrashcanFromTheFolderPane) {
    const long trash = Num("_TRASHCAN");
    AddIncoming(trash, 2);
    AddIncoming(Num("_IN"), 1);
    CreatePanes();
    folders->SelectIndex(5);
    ASSERT_EQ(trash, messages->Folder());
    hook.boxAnswer = IDYES;
    folders->RunMenuCommand(ID_EMPTY_TRASH);
    EXPECT_EQ(1u, hook.boxes.size());
    EXPECT_EQ(0, CountIn(trash));
    EXPECT_EQ(1, lxtest::CountOf(Conn(), "SELECT COUNT(*) FROM Messages"));
}

TEST_F(MessageListTest, ShiftAndCtrlSelectionWithTheMouse) {
    AddIncoming(Num("_IN"), 6);
    CreatePanes();
    Click(1, 0);
    EXPECT_EQ(std::vector<int>({1}), ListSelection());
    Click(3, MK_SHIFT);
    EXPECT_EQ(std::vector<int>({1, 2, 3}), ListSelection());
    Click(5, MK_CONTROL);
    EXPECT_EQ(std::vector<int>({1, 2, 3, 5}), ListSelection());
    Click(2, MK_CONTROL); // toggles a selected row off
    EXPECT_EQ(std::vector<int>({1, 3, 5}), ListSelection());
    Click(4, MK_SHIFT); // range from the anchor (row 2)
    EXPECT_EQ(std::vector<int>({2, 3, 4}), ListSelection());
    Click(3, 0); // a click on a selected row without a drag keeps only it
    EXPECT_EQ(std::vector<int>({3}), ListSelection());
    EXPECT_EQ(std::vector<int>({3}), messages->SelectedRows());
    // A click below the last row changes nothing.
    Click(40, 0);
    EXPECT_EQ(std::vector<int>({3}), ListSelection());
}

TEST_F(MessageListTest, EnterAndDoubleClickOpen) {
    const auto nums = AddIncoming(Num("_IN"), 2);
    CreatePanes();
    messages->ClickRow(1, false, false);
    ::SendMessageA(messages->List(), WM_KEYDOWN, VK_RETURN, 0);
    ::SendMessageA(messages->List(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 2));
    ASSERT_EQ(2u, opened.size());
    EXPECT_EQ(nums[1], opened[0].first);
    EXPECT_EQ(0, opened[0].second);
}

TEST_F(MessageListTest, DragOntoInOrTheListedFolderMovesNothing) {
    const long work = Num("Work");
    AddIncoming(work, 2);
    CreatePanes();
    folders->SelectIndex(6);
    ASSERT_EQ(work, messages->Folder());
    messages->ClickRow(0, false, false);
    const POINT onIn = RowPoint(folders->List(), 2);
    ASSERT_EQ(folders->List(), ::WindowFromPoint(onIn)) << "the folder pane must be on screen";
    messages->DragOver(onIn);
    EXPECT_EQ(lx::MessageListPane::DragPhase::OverNothing, messages->Phase());
    messages->DropAt(onIn);
    messages->DragOver(RowPoint(folders->List(), 6)); // the listed folder
    EXPECT_EQ(lx::MessageListPane::DragPhase::OverNothing, messages->Phase());
    messages->DropAt(RowPoint(folders->List(), 6));
    EXPECT_EQ(2, CountIn(work));
    EXPECT_EQ(0, CountIn(Num("_IN")));
    EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(MessageListTest, DragOntoAnotherFolderMovesTheSelection) {
    const long in = Num("_IN");
    AddIncoming(in, 3);
    CreatePanes();
    messages->ClickRow(0, false, false);
    messages->ClickRow(2, true, false);
    const POINT onDesk = RowPoint(folders->List(), 0);
    messages->DragOver(onDesk);
    EXPECT_EQ(lx::MessageListPane::DragPhase::OverFolder, messages->Phase());
    EXPECT_EQ(0, folders->DropHighlight());
    EXPECT_EQ(::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(136)), ::GetCursor());
    messages->DragOver(RowPoint(folders->List(), 2)); // _IN: no target, no highlight
    EXPECT_EQ(-1, folders->DropHighlight());
    EXPECT_EQ(::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(135)), ::GetCursor());
    messages->DragOver(onDesk);
    messages->DropAt(onDesk);
    EXPECT_EQ(-1, folders->DropHighlight());
    EXPECT_EQ(2, CountIn(Num("_DESK")));
    EXPECT_EQ(1, CountIn(in));
    EXPECT_EQ(1, messages->Count());
}

TEST_F(MessageListTest, DropOutsideTheFolderPaneAsks) {
    AddIncoming(Num("_IN"), 1);
    CreatePanes();
    messages->ClickRow(0, false, false);
    const POINT onDesk = RowPoint(folders->List(), 0);
    messages->DragOver(onDesk);
    const POINT onList = RowPoint(messages->List(), 0);
    messages->DropAt(onList);
    ASSERT_EQ(1u, hook.boxes.size());
    EXPECT_EQ(Text("MAILMESS_CPP_13"), hook.boxes[0].text);
    EXPECT_EQ(1, CountIn(Num("_IN")));
}

TEST_F(MessageListTest, MouseDragThroughTheListMessages) {
    AddIncoming(Num("_IN"), 2);
    CreatePanes();
    const int h = messages->ItemHeight();
    const LPARAM row0 = MAKELPARAM(10, h / 2);
    ::SendMessageA(messages->List(), WM_LBUTTONDOWN, MK_LBUTTON, row0);
    ::SendMessageA(messages->List(), WM_LBUTTONUP, 0, row0);
    // Press on the selected row, move onto _DRAFT, release there.
    POINT onDraft = RowPoint(folders->List(), 1);
    ::ScreenToClient(messages->List(), &onDraft);
    const LPARAM there = MAKELPARAM(static_cast<short>(onDraft.x), static_cast<short>(onDraft.y));
    ::SendMessageA(messages->List(), WM_LBUTTONDOWN, MK_LBUTTON, row0);
    ::SendMessageA(messages->List(), WM_MOUSEMOVE, MK_LBUTTON, there);
    EXPECT_EQ(lx::MessageListPane::DragPhase::OverFolder, messages->Phase());
    ::SendMessageA(messages->List(), WM_LBUTTONUP, 0, there);
    EXPECT_EQ(1, CountIn(Num("_DRAFT")));
    EXPECT_EQ(lx::MessageListPane::DragPhase::None, messages->Phase());
}

} // namespace

namespace {

class MessageListKeys : public lxtest::PaneTest {};

TEST_F(MessageListKeys, ArrowKeysMoveTheSelectionTheListKeeps) {
    MakeFolders({});
    const long in = lxtest::FolderNumOf(Conn(), "_IN");
    for (int i = 0; i < 4; ++i)
        lxtest::AddMessage(Conn(), in, 'I', "a@x", "S&&N& ", {2026, 5, 20 - i, 8, 0, 0});
    CreatePanes();
    messages->ClickRow(0, false, false);
    ::SetFocus(messages->List());
    ::SendMessageA(messages->List(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(std::vector<int>({1}), messages->SelectedRows());
    // Delete then acts on what the keys selected.
    messages->DeleteSelected();
    EXPECT_EQ(3, messages->Count());
    EXPECT_EQ(1, lxtest::CountOf(Conn(), "SELECT COUNT(*) FROM Messages WHERE FolderNum = " +
                                             std::to_string(specialFolders.trashcan)));
}

} // namespace

namespace {

class PaneFailures : public lxtest::PaneTest {};

TEST_F(PaneFailures, WithoutAStoreBothPanesShowTheirFixedLines) {
    lx::PaneContext context = Context();
    context.conn = nullptr;
    lx::FolderPane folderPane(context);
    ASSERT_TRUE(folderPane.Create(parent, 1));
    ASSERT_EQ(1, folderPane.Count());
    EXPECT_EQ(Text("MAILFOLD_CPP_18"), ItemText(folderPane.List(), 0));
    EXPECT_EQ(-1, folderPane.FolderAt(POINT{2, 2}));
    lx::MessageListPane list(context);
    long shown = -5;
    list.SetOnCount([&](long n) { shown = n; });
    ASSERT_TRUE(list.Create(parent, 2));
    list.Reload();
    ASSERT_EQ(1, list.Count());
    EXPECT_EQ(Text("MAILMESS_CPP_17") + "\t\t\t", list.RowText(0));
    EXPECT_EQ(0, shown);
    list.SelectAll();
    list.DeleteSelected(); // nothing to delete, nothing asked
    EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(PaneFailures, AFailedQueryIsReportedAndShowsItsLine) {
    MakeFolders({});
    CreatePanes();
    lxtest::ReportedErrors().clear();
    Exec("ALTER TABLE Messages RENAME TO MessagesAway");
    messages->Reload();
    Exec("ALTER TABLE MessagesAway RENAME TO Messages");
    ASSERT_EQ(1, messages->Count());
    EXPECT_EQ(Text("MAILMESS_CPP_19") + "\t\t\t", messages->RowText(0));
    ASSERT_FALSE(lxtest::ReportedErrors().empty());
    EXPECT_EQ(messages->Handle(), lxtest::ReportedErrors().front().window);
    EXPECT_EQ(0, counts.back());
}

} // namespace
