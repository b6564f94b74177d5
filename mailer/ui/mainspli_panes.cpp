#include "mailer/ui/mainspli_panes.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/mailfold.h"
#include "mailer/ui/mailmess.h"
#include "mailer/ui/mainfrm.h"
#include "mailer/ui/panewiring.h"
#include "mailer/res/resource.h"

#include <memory>
#include <new>
#include <string>

namespace lx {

namespace {
constexpr int kFolderPaneId = 1;
constexpr int kMessagePaneId = 2;

HWND FrameOf(HWND wnd) { return wnd ? ::GetAncestor(wnd, GA_ROOT) : nullptr; }

// The list's commands whose dialogs live elsewhere (viewer launch, composer, printing, search)
// reach the plug-in point; the argument names the messages ("12,15") or carries the composer's
// command line. Composers belong to the list pane (it reloads when one saved a message); the
// other commands' dialogs to the main window.
void RunListCommand(const CommandPlugs* plugs, HWND pane, int id, const std::string& argument) {
    const bool composer = id == ID_MESSAGE_NEW || id == ID_MESSAGE_READ;
    if (plugs) plugs->Run(id, composer ? pane : FrameOf(pane), argument.c_str(), nullptr);
}

std::string JoinNumbers(const std::vector<long>& numbers) {
    std::string text;
    for (long n : numbers) text += (text.empty() ? "" : ",") + std::to_string(n);
    return text;
}
} // namespace

struct MailboxSplitter::PaneSet::Impl {
    std::unique_ptr<FolderPane> folder;
    std::unique_ptr<MessageListPane> messages;
};

MailboxSplitter::PaneSet::PaneSet() : impl(new Impl) {}
MailboxSplitter::PaneSet::~PaneSet() {
    Destroy();
    delete impl;
}

bool MailboxSplitter::PaneSet::Create(HWND splitter, const SplitterContext& inputs) {
    plugs = inputs.plugs;
    PaneContext context;
    context.catalog = inputs.catalog;
    context.conn = inputs.connection;
    context.installPath = inputs.installPath ? inputs.installPath : "";
    context.mailboxes = inputs.mailboxes;
    context.specialFolders = inputs.specialFolders;
    context.plugs = inputs.plugs;
    // The folder pane first: its fill records the special folder numbers the list starts on.
    impl->folder.reset(new (std::nothrow) FolderPane(context));
    if (!impl->folder || !impl->folder->Create(splitter, kFolderPaneId)) return false;
    impl->messages.reset(new (std::nothrow) MessageListPane(context));
    if (!impl->messages || !impl->messages->Create(splitter, kMessagePaneId)) return false;

    MessageListPane* list = impl->messages.get();
    const CommandPlugs* commands = plugs;
    PaneReports reports;
    reports.count = [splitter](long count) { ShowMessageCount(splitter, count); };
    reports.open = [list, commands](long mesgNum, int flag) {
        RunListCommand(commands, list->Handle(), ID_MESSAGE_READ,
                       OpenMessageArgument(OpenMessageRequest{mesgNum, flag, false}));
    };
    reports.print = [list, commands](const std::vector<long>& mesgNums) {
        RunListCommand(commands, list->Handle(), ID_MESSAGE_PRINT, JoinNumbers(mesgNums));
    };
    WirePanes(*impl->folder, *list, std::move(reports));
    return true;
}

void MailboxSplitter::PaneSet::Destroy() {
    // The mailslot reader ends with the splitter, before the list it hands requests to.
    if (impl->messages) impl->messages->StopViewerRequests();
    impl->messages.reset();
    impl->folder.reset();
}

HWND MailboxSplitter::PaneSet::FolderWindow() const {
    return impl->folder ? impl->folder->Handle() : nullptr;
}
HWND MailboxSplitter::PaneSet::MessageWindow() const {
    return impl->messages ? impl->messages->Handle() : nullptr;
}

void MailboxSplitter::PaneSet::Run(PaneAction action) {
    FolderPane* folder = impl->folder.get();
    MessageListPane* list = impl->messages.get();
    if (!folder || !list) return;
    switch (action) {
    case PaneAction::OpenQueries:
    case PaneAction::ReloadMessages: list->Reload(); break;
    case PaneAction::RefreshIn: folder->Refresh(); break;
    case PaneAction::NewFolder: folder->NewFolder(); break;
    case PaneAction::EditFolder: folder->EditFolder(); break;
    case PaneAction::DeleteFolder: folder->DeleteFolder(); break;
    case PaneAction::OpenMessage: list->Open(0); break;
    case PaneAction::DeleteMessages: list->DeleteSelected(); break;
    case PaneAction::PrintMessages:
        RunListCommand(plugs, list->Handle(), ID_MESSAGE_PRINT,
                       JoinNumbers(list->SelectedMessages()));
        break;
    case PaneAction::SearchMessages:
        RunListCommand(plugs, list->Handle(), ID_MESSAGE_SEARCH, "");
        break;
    }
}
void MailboxSplitter::PaneSet::NewComposer(const char* commandLine) {
    if (impl->messages)
        RunListCommand(plugs, impl->messages->Handle(), ID_MESSAGE_NEW,
                       commandLine ? commandLine : "");
}
int MailboxSplitter::PaneSet::DateTextWidth() const {
    return impl->messages ? impl->messages->DateTextWidth() : 0;
}
void MailboxSplitter::PaneSet::SetColumns(const ListColumns& columns) {
    if (impl->messages)
        impl->messages->SetColumnEdges(columns.IconRight(), columns.DateRight(),
                                       columns.AddressRight());
}

} // namespace lx
