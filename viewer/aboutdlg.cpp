#include "viewer/aboutdlg.h"

#include "common/win/dialog.h"
#include "viewer/res/resource.h"

namespace lx::viewer {

INT_PTR ShowAboutDialog(HWND owner) {
    Dialog dialog(IDD_ABOUTBOX, owner);
    return dialog.DoModal();
}

} // namespace lx::viewer
