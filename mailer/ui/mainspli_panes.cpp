#include "mailer/ui/mainspli_panes.h"

namespace lx {

// Until the folder pane and the message list exist, plain list boxes hold their places.
struct MailboxSplitter::PaneSet::Impl {
    HWND folder = nullptr;
    HWND messages = nullptr;
};

MailboxSplitter::PaneSet::PaneSet() : impl(new Impl) {}
MailboxSplitter::PaneSet::~PaneSet() {
    Destroy();
    delete impl;
}

bool MailboxSplitter::PaneSet::Create(HWND splitter, const PaneInputs&) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    impl->folder = ::CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", style, 0, 0, 0, 0, splitter,
                                     reinterpret_cast<HMENU>(1), instance, nullptr);
    impl->messages = ::CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", style | LBS_EXTENDEDSEL,
                                       0, 0, 0, 0, splitter, reinterpret_cast<HMENU>(2), instance,
                                       nullptr);
    return impl->folder && impl->messages;
}

void MailboxSplitter::PaneSet::Destroy() {
    if (impl->folder && ::IsWindow(impl->folder)) ::DestroyWindow(impl->folder);
    if (impl->messages && ::IsWindow(impl->messages)) ::DestroyWindow(impl->messages);
    impl->folder = impl->messages = nullptr;
}

HWND MailboxSplitter::PaneSet::FolderWindow() const { return impl->folder; }
HWND MailboxSplitter::PaneSet::MessageWindow() const { return impl->messages; }

void MailboxSplitter::PaneSet::OpenQueries() {}
void MailboxSplitter::PaneSet::RefreshIn() {}
void MailboxSplitter::PaneSet::ReloadMessages() {}
void MailboxSplitter::PaneSet::NewFolder() {}
void MailboxSplitter::PaneSet::EditFolder() {}
void MailboxSplitter::PaneSet::DeleteFolder() {}
void MailboxSplitter::PaneSet::OpenMessage() {}
void MailboxSplitter::PaneSet::DeleteMessages() {}
void MailboxSplitter::PaneSet::PrintMessages() {}
void MailboxSplitter::PaneSet::SearchMessages() {}
void MailboxSplitter::PaneSet::NewComposer(const char*) {}

} // namespace lx
