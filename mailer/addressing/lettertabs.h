// What the address pickers' windows share: the nine letter tabs, the list boxes they fill and
// read, and the help call.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace lx {

// Ensures the tab control class is registered (before a dialog holding one is created).
void LoadTabControls();
// Adds the letter tabs "ABC" ... "XYZ" and selects the first.
void AddLetterTabs(HWND tabs);
// The selected tab, 0 when none.
int CurrentLetterTab(HWND tabs);
// True when a WM_NOTIFY tells that the tab control `tabsId` changed its tab.
bool IsTabChange(LPARAM notify, int tabsId);

// Replaces the lines of a list box.
void FillLines(HWND list, const std::vector<std::string>& lines);
// The indexes of a multiple-selection list box's selected lines, in list order.
std::vector<int> SelectedLines(HWND list);

// Help on the dialog's topic; an empty `installPath` means the registry's installation folder.
void ShowPickerHelp(HWND owner, const std::string& installPath, unsigned long context);

} // namespace lx
