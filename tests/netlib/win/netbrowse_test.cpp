// The network browser dialog under Wine: it finishes its enumeration (an error or a tree, never
// a hang), refuses OK on an entry that is not a server, and ends with 0 on Cancel.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "netlib/tern32.h"

namespace lx::net::test {
namespace {

struct Seen {
    bool found = false;
    bool finished = false;
    bool stillOpenAfterOk = false;
    bool hiddenAfterCancel = false;
    std::string firstItem;
};

HWND findDialog() { return FindWindowA(nullptr, "Network Browser"); }

// The driver keeps its own messages moving while it waits, as every thread with a message queue
// must: the dialog's thread may send to it (activation, input context) and would wait otherwise.
void pumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

std::string firstItem(HWND list) {
    char text[256] = "";
    const LRESULT n = SendMessageA(list, LB_GETTEXTLEN, 0, 0);
    if (n >= 0 && n < 255) SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

// The dialog once it is shown. Its window carries the title from the moment it is created, before
// its controls exist and before it has started its enumeration; the dialog is only shown once
// both are done, so a visible dialog has its controls.
HWND shownDialog() {
    HWND dlg = findDialog();
    return dlg && IsWindowVisible(dlg) ? dlg : nullptr;
}

DWORD WINAPI driver(LPVOID param) {
    auto* seen = static_cast<Seen*>(param);
    HWND dlg = nullptr;
    for (int i = 0; i < 200 && !(dlg = shownDialog()); ++i) pumpFor(50);
    if (!dlg) return 0;
    HWND ok = GetDlgItem(dlg, IDOK);
    HWND list = GetDlgItem(dlg, 1001);
    seen->found = ok && list;
    if (!seen->found) {
        PostMessageA(dlg, WM_CLOSE, 0, 0); // the test goes on to its failure rather than hang
        return 0;
    }
    // Done: the dialog is up, the list shows the tree or the error line, OK is enabled again.
    auto done = [&] {
        const std::string first = firstItem(list);
        return IsWindowVisible(dlg) && IsWindowEnabled(ok) && !first.empty() &&
               first != "Working...";
    };
    for (int i = 0; i < 400 && !done(); ++i) pumpFor(50);
    seen->finished = done();
    seen->firstItem = firstItem(list);
    // OK on the first entry: a network, or the error line, never ends the dialog. The command is
    // sent, so it has been handled when the call returns; ending would have hidden the dialog.
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    seen->stillOpenAfterOk = IsWindow(dlg) && IsWindowVisible(dlg);
    SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    seen->hiddenAfterCancel = !IsWindow(dlg) || !IsWindowVisible(dlg);
    return 0;
}

TEST(NetworkBrowser, EnumerationEndsAndCancelGivesZero) {
    Seen seen;
    HANDLE t = CreateThread(nullptr, 0, driver, &seen, 0, nullptr);
    ASSERT_NE(t, nullptr);
    char name[TERN_SERVERNAME_SIZE] = "unchanged";
    const int r = TERNGetServerNameDlg(nullptr, name);
    WaitForSingleObject(t, 30000);
    CloseHandle(t);
    EXPECT_TRUE(seen.found);
    EXPECT_TRUE(seen.finished);
    EXPECT_NE(seen.firstItem, "Working...");
    EXPECT_TRUE(seen.stillOpenAfterOk);
    EXPECT_TRUE(seen.hiddenAfterCancel);
    EXPECT_EQ(r, 0);
    EXPECT_STREQ(name, "unchanged");
}

TEST(NetworkBrowser, MissingResultBufferIsRefused) {
    EXPECT_EQ(TERNGetServerNameDlg(nullptr, nullptr), 0);
}

} // namespace
} // namespace lx::net::test
