// MessageListPane: the right column of the main window, the messages of one folder, newest
// first. Deletes to _TRASHCAN (for good inside it), files messages into another folder when they
// are dragged onto the folder pane, and reports its message count for the status bar.
#pragma once
#include "mailer/ui/listpane.h"
#include "mailer/ui/mailfold.h"
#include "mailer/ui/logic/mailmess_rows.h"
#include "mailer/ui/store/mailmess_store.h"
#include "mailer/ui/viewreqreader.h"
#include "common/viewreq/viewreqrecord.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lx {

// Private message of the pane: a message of the listed folder may have changed (a composer
// saved one, a viewer changed one): the pane reloads its folder.
constexpr UINT WM_LX_MESSAGE_CHANGED = kViewerRequestMessageBase;
// The viewers' other requests (lParam: the ViewerRequest), from the mailslot reader.
constexpr UINT WM_LX_ADD_ADDRESSES = kViewerRequestMessageBase + 1;
constexpr UINT WM_LX_REPLY_REQUEST = kViewerRequestMessageBase + 2;
constexpr UINT WM_LX_MAILTO_REQUEST = kViewerRequestMessageBase + 3;

// "Messages : %d" with the count of the last load (a negative count shows 0).
std::string MessageCountText(long count);

class MessageListPane : public ListPane {
public:
    static constexpr int kHelpContext = 14;
    static constexpr DWORD kContextHelpId = 7;

    explicit MessageListPane(const PaneContext& context);
    ~MessageListPane() override;

    // Creates the pane as a child of `parent`, loads _IN and starts reading the viewers'
    // requests from the mailslot.
    bool Create(HWND parent, int id = 0);
    // Ends the mailslot reader (the splitter does when it goes); requests still being handed
    // over are dropped.
    void StopViewerRequests();
    // The mailslot reader's thread id, 0 when the mailslot could not be made.
    DWORD RequestReaderThread() const { return requests_.ThreadId(); }
    // Drop target of drags and Tab target.
    void SetFolderPane(FolderPane* pane) { folderPane_ = pane; }
    // Called after every fill with the count (the frame shows MessageCountText in its status bar).
    void SetOnCount(std::function<void(long count)> fn) { onCount_ = std::move(fn); }
    // Opening and printing come with the viewer launch and printing; until they are plugged in
    // the commands do nothing. `flag` is 1 only for Ctrl+Alt+Enter.
    void SetOnOpen(std::function<void(long mesgNum, int flag)> fn) { onOpen_ = std::move(fn); }
    void SetOnPrint(std::function<void(const std::vector<long>& mesgNums)> fn) {
        onPrint_ = std::move(fn);
    }

    void LoadFolder(long folderNum);
    void Reload();
    long Folder() const { return folder_; }
    long MessageCount() const { return count_; }

    void DeleteSelected();
    bool MoveMessage(long mesgNum, long folderNum);
    void SelectAll();
    void ChooseFont();
    void Open(int flag);

    // Selection as the mouse makes it (row, Ctrl, Shift).
    void ClickRow(int row, bool ctrl, bool shift);
    std::vector<int> SelectedRows() const { return selection_.Selected(); }
    std::vector<long> SelectedMessages() const;
    const std::vector<ListedMessage>& Rows() const { return rows_; }
    // The text shown in a row: the message's row text, or the one line of an empty or failed
    // load.
    std::string RowText(int index) const;

    // Drag and drop onto the folder pane, with points in screen coordinates.
    enum class DragPhase { None = 0, Started = 1, OverFolder = 2, OverNothing = 3 };
    DragPhase Phase() const { return phase_; }
    void DragOver(POINT screen);
    void DropAt(POINT screen);
    void PopupMenu(POINT listPoint);
    // Greys Read, Delete and Print of the pop-up menu ("MESSAGEPOPUP") unless a message lies
    // under the mouse.
    static void GreyMenu(HMENU menu, bool onMessage);

    // The widest date field of any month, in pixels of the list's font.
    int DateTextWidth() const;
    // Column edges from the list's left (icon | date | address | subject).
    void SetColumnEdges(int iconRight, int dateRight, int addressRight);

protected:
    LRESULT OnListMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnDrawItem(const DRAWITEMSTRUCT& item) override;
    void OnListNotify(int code) override;

private:
    void ShowLine(const char* key);
    void SyncSelection();
    void ClearDropTarget();
    void MouseDown(POINT at, WPARAM keys);
    void MouseUp(POINT at);
    long FolderUnder(POINT screen, int* index) const;
    void Help();
    std::string Text(const char* key) const;
    // Handlers of the viewers' requests (mailmess_requests.cpp).
    void MapViewerRequests();
    void AddAddressesFrom(const ViewerRequest& request);
    void PassToComposers(const ViewerRequest& request);
    void FocusFromViewer();

    PaneContext context_;
    SpecialFolderNumbers ownSpecialFolders_;
    std::unique_ptr<MessageListStore> store_;
    MonthNames months_;
    std::vector<ListedMessage> rows_;
    std::string placeholder_; // the line shown when there is no message
    ListSelection selection_;
    FolderPane* folderPane_ = nullptr;
    long folder_ = -1;
    long count_ = 0;
    // Drag state
    bool pressed_ = false;
    bool pressedOnSelected_ = false;
    int pressedRow_ = -1;
    bool pressedCtrl_ = false;
    bool pressedShift_ = false;
    DragPhase phase_ = DragPhase::None;
    long targetFolder_ = -1;
    int targetIndex_ = -1;
    int iconRight_ = 36, dateRight_ = 120, addressRight_ = 346;
    Bitmap icons_[4];
    HCURSOR noDrop_ = nullptr;
    HCURSOR drop_ = nullptr;
    std::function<void(long)> onCount_;
    std::function<void(long, int)> onOpen_;
    std::function<void(const std::vector<long>&)> onPrint_;
    ViewerRequestReader requests_{kViewerMailslotName};
    bool closing_ = false; // no request is handled once the pane is going
};

} // namespace lx
