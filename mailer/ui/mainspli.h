// MailboxSplitter: the main window's client area, one row of two columns. Column 0 holds the
// folder pane, column 1 the message list; a grey header strip runs over each, and the list's
// two movable column borders are dragged in its header. The window's placement file
// Lorvex.WND is written when the panes are destroyed.
#pragma once
#include "mailer/ui/logic/mailfold_rules.h"
#include "mailer/ui/logic/mainspli_cols.h"
#include "common/settings/window_file.h"
#include "common/win/handles.h"
#include "common/win/window.h"
#include <windows.h>
#include <memory>
#include <string>

class odbcvantConnection;

namespace lx {
class MessageCatalog;
class CommandPlugs;
struct MailboxList;

struct SplitterContext {
    const char* installPath = "";
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* connection = nullptr;
    const MailboxList* mailboxes = nullptr;         // the folder pane guards default folders
    SpecialFolderNumbers* specialFolders = nullptr; // the frame's; the folder pane records them
    const CommandPlugs* plugs = nullptr; // the frame's: the list's commands run through it
    // Placement read at start-up: the list's column cells, when the file had them.
    MainWindowPlacement placement{};
};

constexpr char kSplitterClass[] = "LxMailboxSplitter";

// The pane actions the frame's commands lead to.
enum class PaneAction {
    OpenQueries,    // Folders and Messages queries, after creation
    RefreshIn,      // the folder pane re-selects _IN, the list reloads
    ReloadMessages, // the list reloads its folder
    NewFolder,
    EditFolder,
    DeleteFolder,
    OpenMessage,
    DeleteMessages,
    PrintMessages,
    SearchMessages,
};

class MailboxSplitter : public Window {
public:
    static constexpr int kFolderColumnWidth = 144;
    static constexpr int kMinColumnWidth = 40; // neither pane may be dragged narrower
    static constexpr int kBarWidth = 6;        // the draggable bar between the columns

    explicit MailboxSplitter(const SplitterContext& context);
    ~MailboxSplitter() override;

    // Creates the splitter window (child id `id` of `frame`) and both panes. False, with a
    // box naming what failed, when the splitter window or a pane cannot be created.
    bool CreateSplitter(HWND frame, int id);

    // The panes' windows (column 0 and column 1).
    HWND FolderPaneWindow() const { return folderPane_; }
    HWND MessagePaneWindow() const { return messagePane_; }
    const ListColumns& Columns() const { return columns_; }
    int HeaderHeight() const { return headerHeight_; }
    int FolderColumnWidth() const { return leftWidth_; }
    // Moves one of the list's column borders as a drag would; false when the rule refuses.
    bool DragColumnBorder(ColumnBorder border, int x);
    // The column placement stored when the window is placed again.
    void SetPlacement(const MainWindowPlacement& placement);

    // Runs a pane action the frame's commands lead to (nothing before the panes exist).
    void Run(PaneAction action);
    void NewComposer(const char* commandLine);

    // The splitter object of a pane or of the splitter window, nullptr for other windows.
    static MailboxSplitter* FromWindow(HWND wnd);

private:
    bool CreatePanes();
    void ShowFailure(HWND owner, const char* textKey, const char* captionKey);
    void Layout();
    void Paint();
    void PaintHeader(HDC dc, const RECT& cell, const char* key, UINT align);
    void SavePlacement();
    // The header's Arial, or the stock interface font when it could not be made.
    HFONT HeaderFont() const;
    RECT ListHeaderRect() const;
    int ListLeft() const { return leftWidth_ + kBarWidth; }

    SplitterContext context_;
    struct PaneSet;
    std::unique_ptr<PaneSet> panes_;
    HWND folderPane_ = nullptr;
    HWND messagePane_ = nullptr;
    Font headerFont_;
    int headerHeight_ = 22;
    int leftWidth_ = kFolderColumnWidth;
    ListColumns columns_{0, 0};
    // Cells read at start that describe no usable columns are written back as they were,
    // unless a border is moved: the file keeps what another installation put there.
    bool keepStoredCells_ = false;
    enum class Drag { None, Bar, Border };
    Drag drag_ = Drag::None;
    ColumnBorder dragBorder_ = ColumnBorder::None;
    HCURSOR sizeCursor_ = nullptr;
};

} // namespace lx
