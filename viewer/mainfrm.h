// The viewer's frame window: toolbar, status bar and the presentation of the message (a browser
// control or the simple view); it starts the loader and page writer, hands the shared mutex back
// once the message is read, and carries out the user's commands.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "common/viewreq/viewreqrecord.h"
#include "common/win/handles.h"
#include "common/win/window.h"
#include "viewer/core/cmdline.h"
#include "viewer/core/commandstate.h"
#include "viewer/simplevw.h"
#include "viewer/win/browserhost.h"
#include "viewer/win/workers.h"

namespace lx {
class MessageCatalog;
}

namespace lx::viewer {

constexpr char kViewerFrameClass[] = "CViewerFrame";

struct FrameSettings {
    std::string installFolder;
    ViewerCommandLine commandLine;
    MessageCatalog* catalog = nullptr;
    // `Lorvex_Mutex`, owned by this thread while the message is read; released when the loader
    // is done (or the frame goes first).
    UniqueHandle sharedMutex;
    // Test hook: every loader stage handed over this much later.
    DWORD stageDelayMillis = 0;
};

// Printing the message: plugged in by the print engine; nothing happens until then.
using PrintPlug = std::function<void(HWND frame, const MessageData& message)>;

class ViewerFrame : public Window {
public:
    explicit ViewerFrame(FrameSettings settings);
    ~ViewerFrame() override;

    bool Create(int showState);
    // Accelerators, the URL window's dialog keys and the browser control's own keys; true when
    // `msg` was taken.
    bool TranslateKey(MSG* msg);
    void PlugPrint(PrintPlug print) { print_ = std::move(print); }

private:
    int ReadReaderType() const;
    void CreateBars();
    void CreatePresentation();
    void StartWorkers();
    void Layout();
    void ReleaseSharedMutex();
    ViewerState State() const;
    void UpdateCommands();
    void MapCommands();
    LRESULT OnNotify(LPARAM lParam);

    void OnLoaded();
    void OnPageReady();
    void OnClose();
    void GoHome();
    bool IsWebBrowser() const { return nav_.Kind() == BrowserKind::WebBrowser; }
    void Browse(NavCommand command);
    void NavigateTo(const char* url);
    void ShowStatusText(const std::string& text);

    // Actions on the message (mainfrm_actions.cpp).
    void OnAddresses();
    void OnReply();
    void OnDelete();
    void OnFile();
    void OpenAttachment(int index);
    bool OnBeforeNavigate(const std::string& url);
    void OnOpenFavorite();
    void OnAddFavorite();
    void OnPrintSetup();
    void OnPrint();
    void OnHelp();
    bool Send(const ViewerRequest& request);

    FrameSettings settings_;
    MessageCatalog& catalog_;
    int readerType_ = 1; // as configured; 2 and 3 also write the page file
    bool messageMode_ = false;
    bool loaded_ = false;
    NavigationState nav_{BrowserKind::SimpleView, ""};
    std::shared_ptr<MessageJob> job_;
    std::thread loader_;
    std::thread writer_;
    std::unique_ptr<BrowserHost> browser_;
    std::unique_ptr<SimpleView> simpleView_;
    HWND toolbar_ = nullptr;
    HWND status_ = nullptr;
    HWND urlWindow_ = nullptr; // a child of the frame, made with a browser control

    HACCEL accelerators_ = nullptr;
    PrintPlug print_;
};

} // namespace lx::viewer
