// The dialog layer driven through the UI hook by control ids.
#include "tests/startup/testres.h"
#include "tests/startup/uitest.h"
#include "common/win/dialog.h"
#include "common/win/window.h"

#include <gtest/gtest.h>
#include <cstring>

namespace {

using lxtest::Press;
using lxtest::ScriptedHook;

const char kTexts[] = "NEWMAIL_CPP_4 No more than %d characters.\n"
                      "NEWMAIL_CPP_5 Between %d and %d.\n"
                      "NEWMAIL_CPP_6 A whole number.\n"
                      "TEST_CPP_1 The text.\n"
                      "TEST_CPP_2 The caption.\n";

struct Fields {
    char name[13];
    int count;
};

class FieldsDialog : public lx::Dialog {
public:
    FieldsDialog(HWND owner, Fields* data) : Dialog(IDD_TEST_FIELDS, owner) {
        BindText(IDC_TEST_NAME, data->name, sizeof data->name, 12);
        BindInt(IDC_TEST_COUNT, &data->count, 1, 59);
    }
};

class DialogLayer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(catalogue.Ok());
        lx::ui::SetCatalog(&catalogue.Get());
        std::strcpy(data.name, "Inbox");
        data.count = 7;
    }
    void TearDown() override { lx::ui::SetCatalog(nullptr); }

    INT_PTR Run(HWND owner = nullptr) {
        FieldsDialog dialog(owner, &data);
        return dialog.DoModal();
    }

    lxtest::TestCatalogue catalogue{kTexts};
    ScriptedHook hook;
    Fields data{};
};

TEST_F(DialogLayer, LoadsFieldsAndSetsTheEditLimit) {
    std::string name, count;
    LRESULT limit = 0;
    hook.onInit = [&](HWND dlg, int id) {
        EXPECT_EQ(IDD_TEST_FIELDS, id);
        name = lxtest::ControlText(dlg, IDC_TEST_NAME);
        count = lxtest::ControlText(dlg, IDC_TEST_COUNT);
        limit = ::SendDlgItemMessageA(dlg, IDC_TEST_NAME, EM_GETLIMITTEXT, 0, 0);
        Press(dlg, IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, Run());
    EXPECT_EQ("Inbox", name);
    EXPECT_EQ("7", count);
    EXPECT_EQ(12, limit);
    EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(DialogLayer, OkStoresCheckedFields) {
    hook.onInit = [](HWND dlg, int) {
        ::SetDlgItemTextA(dlg, IDC_TEST_NAME, "Archive 2026");
        ::SetDlgItemTextA(dlg, IDC_TEST_COUNT, " 59 ");
        Press(dlg, IDOK);
    };
    EXPECT_EQ(IDOK, Run());
    EXPECT_STREQ("Archive 2026", data.name);
    EXPECT_EQ(59, data.count);
    EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(DialogLayer, OverlongTextKeepsTheDialogOpenWithTheLengthMessage) {
    // Text set by a program passes the edit limit; OK must still refuse it.
    hook.onInit = [](HWND dlg, int) {
        ::SetDlgItemTextA(dlg, IDC_TEST_NAME, "Thirteen char");
        Press(dlg, IDOK);
    };
    lxtest::Later later;
    HWND focusAfterBox = nullptr, nameEdit = nullptr;
    hook.afterBox = [&](HWND dlg, size_t) {
        later.Post([&, dlg] {
            EXPECT_TRUE(::IsWindow(dlg));
            nameEdit = ::GetDlgItem(dlg, IDC_TEST_NAME);
            focusAfterBox = ::GetFocus();
            ::SetDlgItemTextA(dlg, IDC_TEST_NAME, "Twelve chars");
            Press(dlg, IDOK);
        });
    };
    EXPECT_EQ(IDOK, Run());
    ASSERT_EQ(1u, hook.boxes.size());
    EXPECT_EQ("No more than 12 characters.", hook.boxes[0].text);
    EXPECT_EQ("Lorvex", hook.boxes[0].caption);
    EXPECT_STREQ("Twelve chars", data.name);
    EXPECT_EQ(nameEdit, focusAfterBox);
}

TEST_F(DialogLayer, IntegerFieldsAreRangeChecked) {
    hook.onInit = [](HWND dlg, int) {
        ::SetDlgItemTextA(dlg, IDC_TEST_COUNT, "60");
        Press(dlg, IDOK);
    };
    const char* next[] = {"0", "x1", "-", "99999999999", "1"};
    lxtest::Later later;
    int wrongFocus = 0;
    hook.afterBox = [&](HWND dlg, size_t index) {
        later.Post([&, dlg, index] {
            if (::GetFocus() != ::GetDlgItem(dlg, IDC_TEST_COUNT)) ++wrongFocus;
            ::SetDlgItemTextA(dlg, IDC_TEST_COUNT, next[index]);
            Press(dlg, IDOK);
        });
    };
    EXPECT_EQ(IDOK, Run());
    ASSERT_EQ(5u, hook.boxes.size());
    EXPECT_EQ("Between 1 and 59.", hook.boxes[0].text); // 60
    EXPECT_EQ("Between 1 and 59.", hook.boxes[1].text); // 0
    EXPECT_EQ("A whole number.", hook.boxes[2].text);   // x1
    EXPECT_EQ("A whole number.", hook.boxes[3].text);   // -
    EXPECT_EQ("A whole number.", hook.boxes[4].text);   // beyond int
    EXPECT_EQ(1, data.count);
    EXPECT_EQ(0, wrongFocus);
}

TEST_F(DialogLayer, RefusedOkThenCancelLeavesTheDataAlone) {
    hook.onInit = [](HWND dlg, int) {
        ::SetDlgItemTextA(dlg, IDC_TEST_NAME, "Changed");
        ::SetDlgItemTextA(dlg, IDC_TEST_COUNT, "500");
        Press(dlg, IDOK);
    };
    hook.afterBox = [](HWND dlg, size_t) { Press(dlg, IDCANCEL); };
    EXPECT_EQ(IDCANCEL, Run());
    EXPECT_EQ(1u, hook.boxes.size());
    EXPECT_STREQ("Inbox", data.name);
    EXPECT_EQ(7, data.count);
}

TEST_F(DialogLayer, CentresOverItsOwner) {
    HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 120, 700, 500,
                                   nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, owner);
    RECT dlgRect{};
    hook.onInit = [&](HWND dlg, int) {
        ::GetWindowRect(dlg, &dlgRect);
        Press(dlg, IDCANCEL);
    };
    Run(owner);
    ::DestroyWindow(owner);
    EXPECT_NEAR(100 + 350, (dlgRect.left + dlgRect.right) / 2, 2);
    EXPECT_NEAR(120 + 250, (dlgRect.top + dlgRect.bottom) / 2, 2);
}

TEST(UiSeam, CatalogBoxTakesCaptionAndTextFromTheirKeys) {
    lxtest::TestCatalogue catalogue(kTexts);
    ASSERT_TRUE(catalogue.Ok());
    ScriptedHook hook;
    hook.boxAnswer = IDNO;
    EXPECT_EQ(IDNO, lx::ui::CatalogBox(nullptr, catalogue.Get(), "TEST_CPP_1", "TEST_CPP_2",
                                       MB_YESNO | MB_ICONSTOP));
    ASSERT_EQ(1u, hook.boxes.size());
    EXPECT_EQ("The text.", hook.boxes[0].text);
    EXPECT_EQ("The caption.", hook.boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONSTOP), hook.boxes[0].flags);
    // A key the catalogue lacks gives empty texts, not a crash.
    lx::ui::CatalogBox(nullptr, catalogue.Get(), "TEST_CPP_9", "NOPE", MB_OK);
    EXPECT_EQ("", hook.boxes[1].text);
    EXPECT_EQ("", hook.boxes[1].caption);
}

TEST(UiSeam, CommonDialogsAndHelpReachTheHook) {
    struct Hook : ScriptedHook {
        std::vector<lx::ui::CommonDialog> kinds;
        BOOL OnCommonDialog(lx::ui::CommonDialog kind, void*) override {
            kinds.push_back(kind);
            return kind == lx::ui::CommonDialog::Open;
        }
    } hook;
    OPENFILENAMEA open{};
    CHOOSEFONTA font{};
    PRINTDLGA print{};
    EXPECT_TRUE(lx::ui::GetOpenFileName(&open));
    EXPECT_FALSE(lx::ui::GetSaveFileName(&open));
    EXPECT_FALSE(lx::ui::ChooseFont(&font));
    EXPECT_FALSE(lx::ui::PrintSetup(&print));
    lx::ui::Help(nullptr, "X.HLP>lxpopup", HELP_CONTEXT, 62);
    ASSERT_EQ(4u, hook.kinds.size());
    EXPECT_EQ(lx::ui::CommonDialog::PrintSetup, hook.kinds[3]);
    ASSERT_EQ(1u, hook.helpCalls.size());
    EXPECT_EQ(62u, hook.helpCalls[0].second);
}

// The window base finds its object from the handle and dispatches by message map.
class Probe : public lx::Window {
public:
    Probe() {
        Map().On(WM_USER + 7, [this](WPARAM w, LPARAM) -> LRESULT {
            last = static_cast<int>(w);
            return 77;
        });
        Map().OnCommand(4242, [this](int, HWND) { ++commands; });
    }
    int last = 0;
    int commands = 0;
    bool finalSeen = false;

protected:
    void OnFinalMessage() override { finalSeen = true; }
};

TEST(WindowBase, StoresItsObjectAndDispatchesByMessageMap) {
    ASSERT_TRUE(lx::Window::RegisterClass("LxProbe", 0, nullptr, nullptr));
    Probe probe;
    ASSERT_TRUE(probe.Create("LxProbe", "", WS_POPUP, 0, 0, 0, 10, 10, nullptr, nullptr));
    HWND wnd = probe.Handle();
    EXPECT_EQ(&probe, lx::Window::FromHandle(wnd));
    EXPECT_EQ(77, ::SendMessageA(wnd, WM_USER + 7, 5, 0));
    EXPECT_EQ(5, probe.last);
    ::SendMessageA(wnd, WM_COMMAND, MAKEWPARAM(4242, 0), 0);
    ::SendMessageA(wnd, WM_COMMAND, MAKEWPARAM(4243, 0), 0);
    EXPECT_EQ(1, probe.commands);
    probe.Destroy();
    EXPECT_TRUE(probe.finalSeen);
    EXPECT_EQ(nullptr, probe.Handle());
    EXPECT_FALSE(::IsWindow(wnd));
    // A window of another class is not taken for one of ours.
    HWND other = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                   nullptr);
    EXPECT_EQ(nullptr, lx::Window::FromHandle(other));
    ::DestroyWindow(other);
}

} // namespace
