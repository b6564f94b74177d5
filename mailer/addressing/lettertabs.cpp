#include "mailer/addressing/lettertabs.h"

#include "common/settings/install_path.h"
#include "common/settings/registry_win32.h"
#include "common/win/uiseam.h"
#include "mailer/addressing/logic/addrpick_rules.h"

#include <commctrl.h>

namespace lx {
namespace {
} // namespace

void LoadTabControls() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&classes);
}

void AddLetterTabs(HWND tabs) {
    for (int tab = 0; tab < kLetterTabCount; ++tab) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(LetterTabLabel(tab));
        ::SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(tab),
                       reinterpret_cast<LPARAM>(&item));
    }
    // Every tab as wide as the others, all nine side by side across the control (no scroll
    // arrows hiding the last letters), at the height the control chose.
    RECT first{}, whole{};
    ::GetClientRect(tabs, &whole);
    const int width = (whole.right - whole.left - 4) / kLetterTabCount;
    ::SendMessageA(tabs, TCM_SETPADDING, 0, MAKELPARAM(2, 3));
    if (width > 0 && ::SendMessageA(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)))
        ::SendMessageA(tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(width, first.bottom - first.top));
    ::SendMessageA(tabs, TCM_SETCURSEL, 0, 0);
}

int CurrentLetterTab(HWND tabs) {
    const LRESULT tab = ::SendMessageA(tabs, TCM_GETCURSEL, 0, 0);
    return tab >= 0 && tab < kLetterTabCount ? static_cast<int>(tab) : 0;
}

bool IsTabChange(LPARAM notify, int tabsId) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(notify);
    return header && static_cast<int>(header->idFrom) == tabsId && header->code == TCN_SELCHANGE;
}

void FillLines(HWND list, const std::vector<std::string>& lines) {
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines)
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

std::vector<int> SelectedLines(HWND list) {
    const LRESULT count = ::SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) return {};
    std::vector<int> lines(static_cast<size_t>(count));
    const LRESULT got = ::SendMessageA(list, LB_GETSELITEMS, static_cast<WPARAM>(count),
                                       reinterpret_cast<LPARAM>(lines.data()));
    lines.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return lines;
}

void ShowPickerHelp(HWND owner, const std::string& installPath, unsigned long context) {
    const std::string folder = installPath.empty() ? ReadInstallPath() : installPath;
    ui::Help(owner, HelpFileSpec(folder).c_str(), HELP_CONTEXT, context);
}

} // namespace lx
