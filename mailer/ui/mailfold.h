// FolderPane: the left column of the main window, the list of all folders of the store.
// Selecting a folder tells the message list to load it; the pane also creates the special
// folders, makes, renames and deletes user folders, and answers which folder lies under a
// point while messages are dragged onto it.
#pragma once
#include "mailer/ui/listpane.h"
#include "mailer/ui/logic/mailfold_rules.h"
#include "mailer/ui/store/mailfold_store.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lx {

class CommandPlugs;
class MessageCatalog;
struct MailboxList;

// What a pane needs from its creator.
struct PaneContext {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    std::string installPath;
    const MailboxList* mailboxes = nullptr; // for the default-folder guard; may be null
    // The special folder numbers: the folder pane records them after every fill, the message
    // list and the frame read them. Owned by the frame; a pane made without one keeps its own.
    SpecialFolderNumbers* specialFolders = nullptr;
    // The frame's plugged commands: the message list hands viewer requests and the address book
    // to them. May be null.
    const CommandPlugs* plugs = nullptr;
};

class FolderPane : public ListPane {
public:
    static constexpr int kWidth = 144;
    static constexpr int kHelpContext = 15;

    explicit FolderPane(const PaneContext& context);
    ~FolderPane() override;

    // Creates the pane as a child of `parent` and fills it.
    bool Create(HWND parent, int id = 0);

    // Reads the folders (creating missing special folders) into the list and selects _IN.
    void Fill();
    // Selects _IN again and loads it into the message list.
    void Refresh();

    // Called with the FolderNum whenever the selected folder changes.
    void SetOnFolderSelected(std::function<void(long folderNum)> fn) {
        onSelected_ = std::move(fn);
    }
    // "Empty _TRASHCAN": the message list selects every row and deletes.
    void SetOnEmptyTrash(std::function<void()> fn) { onEmptyTrash_ = std::move(fn); }
    // Where Tab moves the focus (the message list).
    void SetTabTarget(HWND wnd) { tabTarget_ = wnd; }

    // The FolderNum of the row under a point in the list's client coordinates, -1 when none.
    long FolderAt(POINT listPoint, int* index = nullptr) const;
    // Paints a row with the drop highlight, or plain again.
    void ShowDropHighlight(int index, bool on);
    int DropHighlight() const { return highlighted_; }
    HWND Tooltip() const { return tooltip_; }

    void NewFolder();
    void EditFolder();
    void DeleteFolder();
    void ChooseFont();
    // The pop-up menu for a point in the list's client coordinates, tracked with the right button.
    void PopupMenu(POINT listPoint);
    // A command of the pop-up menu ("FOLDERPOP"), run inside the command gate.
    void RunMenuCommand(UINT command);

    int SelectedIndex() const;
    void SelectIndex(int index); // selects and runs the selection change
    const std::vector<FolderRow>& Rows() const { return rows_; }

    // Greying of the pop-up menu for the item under the mouse.
    static bool CanEditOrDeleteAt(int index, int count) {
        return index >= kFirstUserFolderIndex && index < count;
    }
    // Greys the items of the pop-up menu ("FOLDERPOP") that do not apply: Edit and Delete unless
    // a user folder lies under the mouse, Empty _TRASHCAN unless _TRASHCAN is selected.
    static void GreyMenu(HMENU menu, int indexUnderMouse, int count, int selectedIndex);

protected:
    LRESULT OnListMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnDrawItem(const DRAWITEMSTRUCT& item) override;
    void OnListNotify(int code) override;

private:
    void SelectionChanged();
    bool RunFolderDialog(const FolderRow* preset, long exceptNum, std::string& name,
                         std::string& description);
    // Reads the folders again; false when that failed (the list then keeps its rows).
    bool Reload();
    void RebuildTooltips();
    std::string Text(const char* key) const;
    void Box(const char* textKey, const char* captionKey, UINT flags = MB_OK | MB_ICONEXCLAMATION);
    void Help();

    PaneContext context_;
    SpecialFolderNumbers ownSpecialFolders_;
    std::unique_ptr<FolderStore> store_;
    std::vector<FolderRow> rows_;
    int lastIndex_ = kInFolderIndex;
    int highlighted_ = -1;
    HWND tooltip_ = nullptr;
    std::string tipText_; // the text handed to the tooltip control, valid until the next ask
    HWND tabTarget_ = nullptr;
    Bitmap bitmaps_[4];
    std::function<void(long)> onSelected_;
    std::function<void()> onEmptyTrash_;
};

} // namespace lx
