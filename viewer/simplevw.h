// The simple view: the presentation without a browser control, a child dialog with the
// attachment list and two read-only boxes (the headers and the message text).
#pragma once
#include <windows.h>

#include <string>

#include "common/settings/font_desc.h"
#include "common/win/handles.h"
#include "viewer/core/simpletext.h"

namespace lx {
class MessageCatalog;
}

namespace lx::viewer {

class SimpleView {
public:
    SimpleView(MessageCatalog& catalog, std::string installFolder);
    ~SimpleView();
    SimpleView(const SimpleView&) = delete;
    SimpleView& operator=(const SimpleView&) = delete;

    // Creates the view in `frame`; the attachment list shows the loading line until Show().
    bool Create(HWND frame);
    HWND Handle() const { return wnd_; }
    void Move(const RECT& area);
    // Fills the boxes and the list with the loaded message.
    void Show(const SimpleViewTexts& texts);

private:
    static INT_PTR CALLBACK Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Layout();
    void ApplyFont();
    void PickFont();
    void OpenSelected();

    MessageCatalog& catalog_;
    std::string installFolder_;
    HWND wnd_ = nullptr;
    LOGFONTA logFont_{};
    Font font_;
    Brush white_;
};

} // namespace lx::viewer
