// The "View Log File" dialog driven through the UI hook by control ids.
#include "tests/startup/uitest.h"
#include "mailer/res/resource.h"
#include "mailer/ui/viewlog.h"
#include "common/win/handles.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <string>

namespace {

using lxtest::Press;

class ViewLog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(catalogue.Ok());
        folder = lxtest::TempFolder("lxviewlog");
        logPath = folder + "\\Lorvex.Log";
        data = lx::ViewLogData{folder.c_str(), &catalogue.Get(), false};
    }
    void WriteLog(const std::string& text) {
        FILE* f = std::fopen(logPath.c_str(), "wb");
        ASSERT_NE(nullptr, f);
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    bool LogExists() const {
        return ::GetFileAttributesA(logPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    lxtest::TestCatalogue catalogue{"VIEWLOG_CPP_1 There is no log yet.\n"};
    lxtest::ScriptedHook hook;
    std::string folder, logPath;
    lx::ViewLogData data{};
};

TEST_F(ViewLog, MissingFileShowsTheCatalogueTextAndDisablesDelete) {
    std::string shown;
    BOOL deleteEnabled = TRUE;
    hook.onInit = [&](HWND dlg, int id) {
        EXPECT_EQ(IDD_VIEWLOG, id);
        shown = lxtest::ControlText(dlg, IDC_VIEWLOG_TEXT);
        deleteEnabled = ::IsWindowEnabled(::GetDlgItem(dlg, IDC_VIEWLOG_DELETE));
        Press(dlg, IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, lx::ShowViewLogDialog(nullptr, &data));
    EXPECT_EQ("There is no log yet.", shown);
    EXPECT_FALSE(deleteEnabled);
    EXPECT_FALSE(data.deleted);
}

TEST_F(ViewLog, ShowsTheWholeLogReadInBlocks) {
    // Longer than several 511-byte blocks, with a block boundary inside a CR LF.
    std::string log;
    for (int i = 0; log.size() < 2600; ++i)
        log += "Entry " + std::to_string(i) + " checked mailbox Work\r\n";
    WriteLog(log);
    std::string shown, caption;
    BOOL deleteEnabled = FALSE;
    LONG style = 0;
    hook.onInit = [&](HWND dlg, int) {
        shown = lxtest::ControlText(dlg, IDC_VIEWLOG_TEXT);
        char text[64] = "";
        ::GetWindowTextA(dlg, text, sizeof text);
        caption = text;
        deleteEnabled = ::IsWindowEnabled(::GetDlgItem(dlg, IDC_VIEWLOG_DELETE));
        style = ::GetWindowLongA(::GetDlgItem(dlg, IDC_VIEWLOG_TEXT), GWL_STYLE);
        Press(dlg, IDCANCEL);
    };
    lx::ShowViewLogDialog(nullptr, &data);
    EXPECT_EQ(log, shown);
    EXPECT_EQ("View Log File", caption);
    EXPECT_TRUE(deleteEnabled);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_TRUE(LogExists());
}

TEST_F(ViewLog, DeleteRemovesTheFileDisablesItselfAndKeepsTheText) {
    WriteLog("Mail check started\r\n");
    lxtest::Later later;
    std::string shownAfter;
    BOOL enabledAfter = TRUE;
    bool existsAfter = true;
    hook.onInit = [&](HWND dlg, int) {
        Press(dlg, IDC_VIEWLOG_DELETE);
        later.Post([&, dlg] {
            existsAfter = LogExists();
            enabledAfter = ::IsWindowEnabled(::GetDlgItem(dlg, IDC_VIEWLOG_DELETE));
            shownAfter = lxtest::ControlText(dlg, IDC_VIEWLOG_TEXT);
            Press(dlg, IDCANCEL);
        });
    };
    EXPECT_EQ(IDCANCEL, lx::ShowViewLogDialog(nullptr, &data));
    EXPECT_FALSE(existsAfter);
    EXPECT_FALSE(enabledAfter);
    EXPECT_EQ("Mail check started\r\n", shownAfter);
    EXPECT_TRUE(data.deleted);
}

TEST_F(ViewLog, HelpOpensTheHelpFileAtTheDialogsTopic) {
    hook.onInit = [&](HWND dlg, int) {
        Press(dlg, IDC_VIEWLOG_HELP);
        Press(dlg, IDCANCEL);
    };
    lx::ShowViewLogDialog(nullptr, &data);
    ASSERT_EQ(1u, hook.helpCalls.size());
    EXPECT_EQ(folder + "\\LORVEX.HLP>lxpopup", hook.helpCalls[0].first);
    EXPECT_EQ(static_cast<ULONG_PTR>(HELP_CONTEXT_VIEWLOG), hook.helpCalls[0].second);
}

TEST_F(ViewLog, LogOpenElsewhereWithoutSharingCountsAsMissing) {
    WriteLog("busy\r\n");
    // A check run holds the log open; the dialog must not show half-written text.
    lx::UniqueHandle held(
        ::CreateFileA(logPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.Valid());
    std::string shown;
    hook.onInit = [&](HWND dlg, int) {
        shown = lxtest::ControlText(dlg, IDC_VIEWLOG_TEXT);
        Press(dlg, IDCANCEL);
    };
    lx::ShowViewLogDialog(nullptr, &data);
    held.Reset();
    EXPECT_EQ("There is no log yet.", shown);
}

} // namespace
