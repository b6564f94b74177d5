// The message list's side of the viewers' requests: the mailslot reader hands each record here,
// on the interface thread, and every handler runs inside the command gate.
#include "mailer/ui/mailmess.h"

#include "mailer/res/resource.h"
#include "mailer/ui/addrfrom.h"
#include "mailer/ui/logic/cmdgate.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/logic/viewreq.h"

namespace lx {

void MessageListPane::MapViewerRequests() {
    auto gated = [this](void (MessageListPane::*handler)(const ViewerRequest&)) {
        return [this, handler](WPARAM, LPARAM lParam) -> LRESULT {
            const auto* request = reinterpret_cast<const ViewerRequest*>(lParam);
            GateScope gate;
            if (request && !closing_ && gate.Open()) (this->*handler)(*request);
            return 0;
        };
    };
    Map().On(WM_LX_ADD_ADDRESSES, gated(&MessageListPane::AddAddressesFrom));
    Map().On(WM_LX_REPLY_REQUEST, gated(&MessageListPane::PassToComposers));
    Map().On(WM_LX_MAILTO_REQUEST, gated(&MessageListPane::PassToComposers));
}

// The viewer's window is in front: the main window comes forward for what the request opens.
void MessageListPane::FocusFromViewer() {
    ::SetForegroundWindow(::GetAncestor(Handle(), GA_ROOT));
    ::SetFocus(List());
}

void MessageListPane::AddAddressesFrom(const ViewerRequest& request) {
    AddressesFromMessageData data;
    data.addresses = AddressesFromRequest(request, OwnAddresses(context_.mailboxes));
    data.plugs = context_.plugs;
    FocusFromViewer();
    ShowAddressesFromMessageDialog(Handle(), &data);
}

// Replies and mail-to composers belong to the composers, which the frame's plugs reach.
void MessageListPane::PassToComposers(const ViewerRequest& request) {
    if (request.code == ViewerRequestCode::MailTo) FocusFromViewer();
    if (context_.plugs)
        context_.plugs->Run(ID_VIEWER_REQUEST, Handle(), ViewerRequestArgument(request).c_str(),
                            nullptr);
}

} // namespace lx
