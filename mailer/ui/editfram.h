// EditorFrame: the composer's top-level window. It holds one PrepareMessageForm filling its
// client area, keeps its rectangle in LXEditor.WND, asks before an unsaved new message is
// discarded, tells the message list pane when a message was saved, and holds the command gate
// for its whole life, so that the automatic mail check waits while a composer is open.
#pragma once
#include "mailer/ui/composer.h"
#include "mailer/ui/logic/cmdgate.h"
#include "common/win/window.h"

#include <windows.h>

#include <memory>

namespace lx {
class PrepareMessageForm;

constexpr char kEditorFrameClass[] = "EditorFrame";
// Private message: close now (posted, so that no handler of the form is still running).
constexpr UINT WM_LX_CLOSE_COMPOSER = WM_USER + 1996;

// The form of the composer that `wnd` belongs to; nullptr outside a composer.
HWND ComposerFormOf(HWND wnd);

class EditorFrame : public Window {
public:
    EditorFrame(ComposerSet& set, const ComposerOpening& opening, HWND owner);
    ~EditorFrame() override;

    // Creates and shows the window with its form; false when it cannot.
    bool CreateFrame();
    PrepareMessageForm* Form() const { return form_.get(); }
    const ComposerContext& Context() const { return set_.Context(); }
    const ComposerOpening& Opening() const { return opening_; }
    HWND Owner() const { return owner_; }

    bool Unsaved() const { return unsaved_; }
    // The message is (about to be) stored: closing no longer asks.
    void MarkSaved() { unsaved_ = false; }
    // Closes the frame once the current handler has returned, without asking.
    void CloseSoon();

protected:
    void OnFinalMessage() override { gate_.reset(); }

private:
    void OnClose(bool ask);
    void SaveRectangle();

    ComposerSet& set_;
    ComposerOpening opening_;
    HWND owner_;
    bool unsaved_ = true;
    // Entered whatever the gate says (a composer always opens) and left when the window has
    // gone: the object itself may outlive its window for a moment.
    std::unique_ptr<GateScope> gate_;
    std::unique_ptr<PrepareMessageForm> form_;
};

} // namespace lx
