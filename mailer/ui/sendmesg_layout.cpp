// The form's tabs and the placing of its controls when the frame is resized: the recipient,
// subject and list controls stretch with the width, the tab page with both.
#include "mailer/ui/sendmesg.h"

#include "mailer/res/resource.h"

#include <commctrl.h>

namespace lx {

namespace {

constexpr int kMargin = 6;
constexpr int kTabPad = 8; // between the tab control's edge and its page

RECT ChildRect(HWND parent, HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Place(HWND control, int x, int y, int width, int height) {
    ::SetWindowPos(control, nullptr, x, y, width < 1 ? 1 : width, height < 1 ? 1 : height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void PrepareMessageForm::ShowTab(int tab) {
    tab_ = tab == 1 ? 1 : 0;
    TabCtrl_SetCurSel(Item(IDC_SENDMESG_TABS), tab_);
    const bool data = tab_ == 0;
    ::ShowWindow(Item(IDC_SENDMESG_BODY), data ? SW_SHOW : SW_HIDE);
    ::ShowWindow(Item(IDC_SENDMESG_FILES), data ? SW_HIDE : SW_SHOW);
    ::EnableWindow(Item(IDC_SENDMESG_IMPORT), data);
    ::EnableWindow(Item(IDC_SENDMESG_SPELL), data);
    ::EnableWindow(Item(IDC_SENDMESG_SELECTFILE), !data);
    ::EnableWindow(Item(IDC_SENDMESG_REMOVEFILE), !data);
}

void PrepareMessageForm::Layout(int width, int height) {
    if (!hwnd_ || width <= 0 || height <= 0) return;
    // Recipients: To and Cc share the width beside their labels.
    const RECT to = ChildRect(hwnd_, Item(IDC_SENDMESG_TO));
    const RECT ccLabel = ChildRect(hwnd_, Item(IDC_SENDMESG_CCLABEL));
    const int ccLabelWidth = ccLabel.right - ccLabel.left;
    const int half = (width - to.left - kMargin) / 2;
    Place(Item(IDC_SENDMESG_TO), to.left, to.top, half - ccLabelWidth - kMargin * 2,
          to.bottom - to.top);
    Place(Item(IDC_SENDMESG_CCLABEL), to.left + half - ccLabelWidth - kMargin, ccLabel.top,
          ccLabelWidth, ccLabel.bottom - ccLabel.top);
    Place(Item(IDC_SENDMESG_CC), to.left + half, to.top, width - to.left - half - kMargin,
          to.bottom - to.top);
    const RECT subject = ChildRect(hwnd_, Item(IDC_SENDMESG_SUBJECT));
    Place(Item(IDC_SENDMESG_SUBJECT), subject.left, subject.top, width - subject.left - kMargin,
          subject.bottom - subject.top);
    // The bottom row of buttons keeps its distance from the lower edge.
    const RECT send = ChildRect(hwnd_, Item(IDC_SENDMESG_SENDNOW));
    const int buttonHeight = send.bottom - send.top;
    const int buttonsTop = height - kMargin - buttonHeight;
    for (int id : {IDC_SENDMESG_SENDNOW, IDC_SENDMESG_FILEIN, IDC_SENDMESG_ADDRBOOK,
                   IDC_SENDMESG_MAILLIST, IDC_SENDMESG_DELETE, IDC_SENDMESG_HELP}) {
        const RECT r = ChildRect(hwnd_, Item(id));
        Place(Item(id), r.left, buttonsTop, r.right - r.left, buttonHeight);
    }
    // The tab page fills what is left; its own buttons sit at its foot.
    const RECT tabs = ChildRect(hwnd_, Item(IDC_SENDMESG_TABS));
    const int tabsBottom = buttonsTop - kMargin;
    Place(Item(IDC_SENDMESG_TABS), tabs.left, tabs.top, width - tabs.left - kMargin,
          tabsBottom - tabs.top);
    const RECT import = ChildRect(hwnd_, Item(IDC_SENDMESG_IMPORT));
    const int pageButtonHeight = import.bottom - import.top;
    const int pageButtonsTop = tabsBottom - kTabPad / 2 - pageButtonHeight;
    for (int id : {IDC_SENDMESG_IMPORT, IDC_SENDMESG_SPELL, IDC_SENDMESG_SELECTFILE,
                   IDC_SENDMESG_REMOVEFILE, IDC_SENDMESG_FONT}) {
        const RECT r = ChildRect(hwnd_, Item(id));
        Place(Item(id), r.left, pageButtonsTop, r.right - r.left, pageButtonHeight);
    }
    const RECT body = ChildRect(hwnd_, Item(IDC_SENDMESG_BODY));
    for (int id : {IDC_SENDMESG_BODY, IDC_SENDMESG_FILES})
        Place(Item(id), body.left, body.top, width - body.left - kMargin - kTabPad,
              pageButtonsTop - kTabPad / 2 - body.top);
}

} // namespace lx
