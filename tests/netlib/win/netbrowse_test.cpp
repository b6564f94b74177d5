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
    std::string firstItem;
};

HWND findDialog() { return FindWindowA(nullptr, "Network Browser"); }

DWORD WINAPI driver(LPVOID param) {
    auto* seen = static_cast<Seen*>(param);
    HWND dlg = nullptr;
    for (int i = 0; i < 200 && !(dlg = findDialog()); ++i) Sleep(50);
    if (!dlg) return 0;
    seen->found = true;
    HWND ok = GetDlgItem(dlg, IDOK);
    for (int i = 0; i < 400 && !IsWindowEnabled(ok); ++i) Sleep(50);
    seen->finished = IsWindowEnabled(ok) != 0;
    HWND list = GetDlgItem(dlg, 1001);
    char text[256] = "";
    if (SendMessageA(list, LB_GETTEXTLEN, 0, 0) < 255)
        SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
    seen->firstItem = text;
    // OK on the first entry: a network, or the error line, never ends the dialog.
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    Sleep(300);
    seen->stillOpenAfterOk = IsWindow(dlg) != 0;
    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
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
    EXPECT_EQ(r, 0);
    EXPECT_STREQ(name, "unchanged");
}

TEST(NetworkBrowser, MissingResultBufferIsRefused) {
    EXPECT_EQ(TERNGetServerNameDlg(nullptr, nullptr), 0);
}

} // namespace
} // namespace lx::net::test
