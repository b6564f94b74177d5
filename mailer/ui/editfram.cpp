#include "mailer/ui/editfram.h"

#include "common/catalog/msgcatalog.h"
#include "common/settings/window_file.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/ui/mailmess.h"
#include "mailer/ui/sendmesg.h"

#include <cstring>
#include <new>

namespace lx {

EditorFrame::EditorFrame(ComposerSet& set, const ComposerOpening& opening, HWND owner)
    : set_(set), opening_(opening), owner_(owner), gate_(new GateScope) {
    Map().On(WM_SIZE, [this](WPARAM, LPARAM lParam) -> LRESULT {
        if (form_ && form_->Handle())
            ::MoveWindow(form_->Handle(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    });
    Map().On(WM_SETFOCUS, [this](WPARAM, LPARAM) -> LRESULT {
        if (form_ && form_->Handle()) form_->FocusFirst();
        return 0;
    });
    Map().On(WM_CLOSE, [this](WPARAM, LPARAM) -> LRESULT {
        OnClose(true);
        return 0;
    });
    Map().On(WM_LX_CLOSE_COMPOSER, [this](WPARAM, LPARAM) -> LRESULT {
        OnClose(false);
        return 0;
    });
}

EditorFrame::~EditorFrame() {
    form_.reset();
    Destroy();
}

bool EditorFrame::CreateFrame() {
    const HINSTANCE module = ::GetModuleHandleA(nullptr);
    HICON icon = ::LoadIconA(module, MAKEINTRESOURCEA(IDI_EDITFRAME));
    if (!RegisterClass(kEditorFrameClass, CS_HREDRAW | CS_VREDRAW, icon,
                       reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return false;
    Rect32 r = DefaultEditorRect();
    ReadWindowRectFile(Context().installPath ? Context().installPath : "", kEditorWindowFile, r);
    const std::string title = CatalogText(Context().catalog, "EDITFRAM_CPP_1");
    if (!Create(kEditorFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                WS_EX_CLIENTEDGE, r.left, r.top, r.right - r.left, r.bottom - r.top, owner_,
                nullptr))
        return false;
    ::SetClassLongPtrA(Handle(), GCLP_HCURSOR,
                       reinterpret_cast<LONG_PTR>(::LoadCursorA(nullptr, IDC_ARROW)));
    form_.reset(new (std::nothrow) PrepareMessageForm(*this));
    if (!form_ || !form_->Create(Handle())) {
        form_.reset();
        Destroy();
        return false;
    }
    RECT client{};
    ::GetClientRect(Handle(), &client);
    ::MoveWindow(form_->Handle(), 0, 0, client.right, client.bottom, TRUE);
    ::ShowWindow(Handle(), SW_SHOW);
    ::UpdateWindow(Handle());
    return true;
}

HWND ComposerFormOf(HWND wnd) {
    HWND root = wnd ? ::GetAncestor(wnd, GA_ROOT) : nullptr;
    char name[sizeof kEditorFrameClass] = "";
    if (!root || !::GetClassNameA(root, name, sizeof name) ||
        std::strcmp(name, kEditorFrameClass) != 0)
        return nullptr;
    auto* frame = static_cast<EditorFrame*>(Window::FromHandle(root));
    return frame && frame->Form() ? frame->Form()->Handle() : nullptr;
}

void EditorFrame::CloseSoon() { ::PostMessageA(Handle(), WM_LX_CLOSE_COMPOSER, 0, 0); }

void EditorFrame::SaveRectangle() {
    RECT r{};
    if (!::GetWindowRect(Handle(), &r)) return;
    WriteWindowRectFile(Context().installPath ? Context().installPath : "", kEditorWindowFile,
                        Rect32{r.left, r.top, r.right, r.bottom});
}

// A new message nobody saved is discarded only on Yes, and nobody hears of it; any other
// composer tells the message list pane, which reloads its folder.
void EditorFrame::OnClose(bool ask) {
    SaveRectangle();
    const bool fresh = !opening_.opened;
    if (ask && fresh && unsaved_ && Context().catalog &&
        ui::CatalogBox(Handle(), *Context().catalog, "EDITFRAM_CPP_6", "EDITFRAM_CPP_7",
                       MB_YESNO | MB_ICONSTOP) != IDYES)
        return;
    if (!(fresh && unsaved_) && owner_ && ::IsWindow(owner_))
        ::PostMessageA(owner_, WM_LX_MESSAGE_CHANGED, 0, 0);
    Destroy();
}

} // namespace lx
