// The address book's and mailing lists' window tests: the panes' fixture (a real store, the
// program's catalogue, a scripted UI hook, a parent window) with helpers that drive list boxes
// and tabs by control id and read the store back.
#pragma once
#include "tests/pickers/addrbook_rows.h"
#include "tests/pickers/dialog_drive.h"
#include "tests/panes/panes_fixture.h"

#include <commctrl.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace lxtest {

using Lines = std::vector<std::string>;

class AddressingTest : public PaneTest {
protected:
    Lines ListLines(HWND dlg, int id) { return ItemTexts(::GetDlgItem(dlg, id)); }

    // Selects exactly the given lines of a multiple-selection list.
    static void SelectLines(HWND dlg, int id, std::initializer_list<int> lines) {
        HWND list = ::GetDlgItem(dlg, id);
        ::SendMessageA(list, LB_SETSEL, FALSE, -1);
        for (const int line : lines) ::SendMessageA(list, LB_SETSEL, TRUE, line);
    }

    // Selects a line of a single-selection list and tells the dialog, as a click does.
    static void ChooseLine(HWND dlg, int id, int line, WORD notification = LBN_SELCHANGE) {
        HWND list = ::GetDlgItem(dlg, id);
        ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
        ::SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, notification),
                       reinterpret_cast<LPARAM>(list));
    }

    // Chooses a letter tab as a click on it does.
    static void ChooseTab(HWND dlg, int id, int tab) {
        HWND tabs = ::GetDlgItem(dlg, id);
        ::SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
        NMHDR header{tabs, static_cast<UINT_PTR>(id), static_cast<UINT>(TCN_SELCHANGE)};
        ::SendMessageA(dlg, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
    }

    static void SetText(HWND dlg, int id, const std::string& text) {
        ::SetDlgItemTextA(dlg, id, text.c_str());
    }

    // The DistroNums address `addNum` is in, in number order.
    static std::vector<long> ListsOf(long addNum);
    static long Count(const std::string& where) {
        return QueryLong("SELECT COUNT(*) FROM " + where);
    }

    Later later;
};

} // namespace lxtest
