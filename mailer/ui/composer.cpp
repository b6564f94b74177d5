#include "mailer/ui/composer.h"

#include "common/catalog/msgcatalog.h"
#include "common/schema/schema.h"
#include "common/settings/mailbox_record.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/ui/editfram.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/logic/editfram_rules.h"
#include "mailer/ui/store/editfram_store.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace lx {

namespace {

void OutOfMemoryBox(const ComposerContext& context, HWND owner) {
    if (context.catalog)
        ui::CatalogBox(owner, *context.catalog, "MAILMESS_CPP_20", "MAILMESS_CPP_21",
                       MB_OK | MB_ICONSTOP);
}

} // namespace

ComposerSet::ComposerSet(const ComposerContext& context) : context_(context) {}

ComposerSet::~ComposerSet() = default;

EditorFrame* ComposerSet::Open(HWND owner, const ComposerOpening& opening) {
    Sweep();
    std::unique_ptr<EditorFrame> frame(new (std::nothrow) EditorFrame(*this, opening, owner));
    if (!frame) return nullptr;
    EditorFrame* made = frame.get();
    frames_.push_back(std::move(frame));
    if (!made->CreateFrame()) {
        Sweep();
        return nullptr;
    }
    return made;
}

std::vector<EditorFrame*> ComposerSet::OpenFrames() const {
    std::vector<EditorFrame*> open;
    for (const auto& frame : frames_)
        if (frame->Handle()) open.push_back(frame.get());
    return open;
}

// A closed frame's object may still be on the call stack of its last message: it goes with the
// next change of the set.
void ComposerSet::Sweep() {
    frames_.erase(
        std::remove_if(frames_.begin(), frames_.end(),
                       [](const std::unique_ptr<EditorFrame>& f) { return !f->Handle(); }),
        frames_.end());
}

bool OpenStoredMessage(ComposerSet& composers, HWND owner, const OpenMessageRequest& request,
                       const ViewerLaunch& viewer) {
    const ComposerContext& context = composers.Context();
    StoredMessage stored;
    if (!ReadStoredMessage(context.conn, owner, request.mesgNum, &stored)) {
        OutOfMemoryBox(context, owner);
        return false;
    }
    const bool incoming = stored.mesgType == kMesgTypeIncoming;
    if (incoming && request.flag == 0) {
        if (viewer) viewer(owner, request, stored);
        return false;
    }
    if (incoming) return false; // Ctrl+Alt+Enter on an incoming message opens nothing
    ComposerOpening opening;
    opening.opened = true;
    opening.mesgNum = stored.mesgNum;
    opening.message.mesgNum = stored.mesgNum;
    opening.message.subject = stored.subject;
    opening.message.mailData = stored.mailData;
    opening.message.signature =
        stored.mesgId.size() < kSignatureNameChars ? stored.mesgId : std::string();
    opening.message.folderNum = stored.folderNum;
    opening.returnAddress = stored.fromAdd;
    if (composers.Open(owner, opening)) return true;
    OutOfMemoryBox(context, owner);
    return false;
}

bool HandleComposerRequest(ComposerSet& composers, HWND pane, const ViewerRequest& request) {
    const ComposerContext& context = composers.Context();
    ComposerOpening opening;
    opening.reply = true;
    if (request.code == ViewerRequestCode::ReplyOrForward) {
        StoredMessage stored;
        if (!ReadStoredMessage(context.conn, pane, request.mesgNum, &stored)) {
            OutOfMemoryBox(context, pane);
            return false;
        }
        opening.mesgNum = request.mesgNum; // its files are listed again
        opening.replyTexts =
            ReplyFromRequest(request, OwnAddresses(context.mailboxes), stored.mailData);
    } else if (request.code == ViewerRequestCode::MailTo) {
        opening.replyTexts = MailToFromRequest(request);
    } else {
        return false;
    }
    EditorFrame* frame = composers.Open(pane, opening);
    if (!frame) {
        OutOfMemoryBox(context, pane);
        return false;
    }
    ::SetForegroundWindow(frame->Handle());
    ::SetFocus(frame->Handle());
    return true;
}

void PlugComposer(CommandPlugs& plugs, ComposerSet& composers, ViewerLaunch viewer) {
    ComposerSet* set = &composers;
    plugs.Plug(ID_MESSAGE_NEW, [set](void* owner, const char* argument) {
        ComposerOpening opening;
        opening.commandLine = argument ? argument : "";
        return set->Open(static_cast<HWND>(owner), opening) ? kPlugOk : kPlugCancel;
    });
    plugs.Plug(ID_MESSAGE_READ, [set, viewer](void* owner, const char* argument) {
        OpenMessageRequest request;
        if (!ParseOpenMessageArgument(argument, &request)) return kPlugCancel;
        return OpenStoredMessage(*set, static_cast<HWND>(owner), request, viewer) ? kPlugOk
                                                                                  : kPlugCancel;
    });
    plugs.Plug(ID_VIEWER_REQUEST, [set](void* pane, const char* argument) {
        ViewerRequest request;
        if (!ParseViewerRequestArgument(argument, &request)) return kPlugCancel;
        return HandleComposerRequest(*set, static_cast<HWND>(pane), request) ? kPlugOk
                                                                             : kPlugCancel;
    });
}

} // namespace lx
