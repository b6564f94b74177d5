// Opening composers: the new-message and open-message commands, the reply/forward and mail-to
// requests of the viewer, and the set of open composers the application owns (several may be
// open at once, each independent).
#pragma once
#include "mailer/ui/logic/viewreq.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class odbcvantConnection;

namespace lx {
class MessageCatalog;
class CommandPlugs;
class SpellChecker;
class EditorFrame;
struct MailboxList;
struct OpenMessageRequest;
struct StoredMessage;

// What every composer works with; all of it belongs to the application.
struct ComposerContext {
    const char* installPath = "";
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    SpellChecker* spell = nullptr;          // the main window's loaded spell checker
    const MailboxList* mailboxes = nullptr; // return addresses
    const CommandPlugs* plugs = nullptr;    // Send Mail and the address book
    std::function<long()> outFolder;        // FolderNum of _OUT (-1 when unknown)
    std::function<long()> trashFolder;      // FolderNum of _TRASHCAN (-1 when unknown)
    const char* registryKey = nullptr;      // nullptr: the program's own key
};

// A stored outgoing message opened again.
struct OpenedMessage {
    long mesgNum = -1;
    std::string subject; // as listed (flag suffix included)
    std::string mailData;
    std::string signature; // MesgId when shorter than 32 characters, else empty
    long folderNum = -1;
};

// How one composer starts.
struct ComposerOpening {
    bool opened = false; // `message` is a stored message opened again
    OpenedMessage message;
    long mesgNum = -1; // the opened (or replied-to) message's number, -1 for none
    std::string returnAddress;
    std::string commandLine;
    bool reply = false; // `replyTexts` preset To, Cc, Subject and maybe the quoted body
    ReplyTexts replyTexts;
};

// The application's open composers.
class ComposerSet {
public:
    explicit ComposerSet(const ComposerContext& context);
    ~ComposerSet();
    ComposerSet(const ComposerSet&) = delete;
    ComposerSet& operator=(const ComposerSet&) = delete;

    // Creates and shows a composer owned by `owner` (the message list pane); nullptr when it
    // could not be created.
    EditorFrame* Open(HWND owner, const ComposerOpening& opening);
    // The composers whose windows are open, oldest first.
    std::vector<EditorFrame*> OpenFrames() const;
    const ComposerContext& Context() const { return context_; }

private:
    void Sweep();
    ComposerContext context_;
    std::vector<std::unique_ptr<EditorFrame>> frames_;
};

// Where an incoming message goes when it is opened: the viewer program (mailer/ui/viewerlaunch.h).
using ViewerLaunch = std::function<void(HWND owner, const OpenMessageRequest& request,
                                        const StoredMessage& message)>;

// The one place a stored message is opened: an incoming message (flag 0) goes to `viewer`;
// any other, or flag 1, is read and opened in a composer unless its stored type is incoming.
bool OpenStoredMessage(ComposerSet& composers, HWND owner, const OpenMessageRequest& request,
                       const ViewerLaunch& viewer);

// A viewer's request: code 3 (reply or forward) and 4 (mail to) open a composer owned by the
// message list pane `pane`; other codes are not the composer's. False when nothing opened.
bool HandleComposerRequest(ComposerSet& composers, HWND pane, const ViewerRequest& request);

// Plugs ID_MESSAGE_NEW (argument: the command line), ID_MESSAGE_READ (argument:
// OpenMessageArgument) and ID_VIEWER_REQUEST (argument: ViewerRequestArgument, codes 3 and 4)
// into `plugs`; the owner handed to them is the message list pane.
void PlugComposer(CommandPlugs& plugs, ComposerSet& composers, ViewerLaunch viewer);

} // namespace lx
