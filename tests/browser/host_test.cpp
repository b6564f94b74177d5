// The WebBrowser host over the browser test double: placement, the events in the order the
// control fires them, cancelled navigations, and the commands reaching the control.
#include "tests/browser/hostfixture.h"
#include "viewer/core/navstate.h"
#include "viewer/win/webbrowserhost.h"

#include <algorithm>

namespace lxtest {
namespace {

RECT Placed(HWND child, HWND parent) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_F(BrowserHostTest, ControlFillsTheGivenArea) {
    EXPECT_EQ(frame->Handle(), ::GetParent(host->Window()));
    EXPECT_EQ(lx::kBrowserControlId, ::GetDlgCtrlID(host->Window()));
    HWND control = DoubleWindow();
    ASSERT_NE(nullptr, control) << DoubleCalls();
    const RECT areas[] = {{10, 20, 310, 220}, {0, 40, 640, 420}, {5, 5, 105, 55}};
    for (const RECT& area : areas) {
        host->Move(area);
        RECT placed = Placed(host->Window(), frame->Handle());
        EXPECT_TRUE(::EqualRect(&area, &placed))
            << area.left << "," << area.top << " " << area.right << "," << area.bottom;
        RECT inside = Placed(control, host->Window());
        RECT want{0, 0, area.right - area.left, area.bottom - area.top};
        EXPECT_TRUE(::EqualRect(&want, &inside)) << inside.right << "x" << inside.bottom;
    }
}

TEST_F(BrowserHostTest, NavigationFiresTheEventsInOrder) {
    host->Navigate("http://www.example.org/first.htm");
    ASSERT_TRUE(WaitForComplete(1));
    const std::vector<std::string> want = {
        "before http://www.example.org/first.htm",
        "begin",
        "status Opening http://www.example.org/first.htm",
        "command 1 0",
        "command 2 0",
        "status ",
        "complete",
    };
    EXPECT_EQ(want, events);
    EXPECT_EQ("http://www.example.org/first.htm", host->LocationUrl());
    EXPECT_EQ("first.htm", host->LocationName());
    EXPECT_FALSE(host->Busy());
}

TEST_F(BrowserHostTest, CancelledNavigationGoesNowhere) {
    host->Navigate("http://www.example.org/a.htm");
    ASSERT_TRUE(WaitForComplete(1));
    events.clear();
    host->Navigate("mailto:someone@example.org");
    // Cancelling happens within the call: the control has answered by the time it returns.
    EXPECT_EQ(std::vector<std::string>{"before mailto:someone@example.org"}, events);
    EXPECT_FALSE(host->Busy());
    EXPECT_EQ("http://www.example.org/a.htm", host->LocationUrl());
    EXPECT_NE(std::string::npos, DoubleCalls().find("Cancelled mailto:someone@example.org\n"));
}

TEST_F(BrowserHostTest, CommandsReachTheControl) {
    host->Navigate("http://a.example/");
    ASSERT_TRUE(WaitForComplete(1));
    host->Navigate("http://b.example/");
    ASSERT_TRUE(WaitForComplete(2));
    host->GoBack();
    ASSERT_TRUE(WaitForComplete(3));
    EXPECT_EQ("http://a.example/", host->LocationUrl());
    host->GoForward();
    ASSERT_TRUE(WaitForComplete(4));
    EXPECT_EQ("http://b.example/", host->LocationUrl());
    host->Refresh();
    ASSERT_TRUE(WaitForComplete(5));
    // A load still running is stopped before the control goes elsewhere; Stop ends it too.
    host->Navigate("http://c.example/");
    ASSERT_TRUE(host->Busy());
    host->Navigate("http://d.example/");
    host->Stop();
    EXPECT_FALSE(host->Busy());
    EXPECT_EQ("DoVerb\n"
              "Navigate http://a.example/\n"
              "Navigate http://b.example/\n"
              "GoBack\n"
              "GoForward\n"
              "Refresh\n"
              "Navigate http://c.example/\n"
              "Stop\n"
              "Navigate http://d.example/\n"
              "Stop\n",
              DoubleCalls());
}

TEST_F(BrowserHostTest, CommandStatesReachTheNavigationState) {
    const std::string home = "C:\\Lorvex\\Data\\Msg01001.htm";
    lx::NavigationState state(lx::BrowserKind::WebBrowser, home);
    lx::BrowserEvents e;
    e.downloadBegin = [&] { state.DownloadBegin(); };
    e.downloadComplete = [&] { state.DownloadComplete(host->LocationUrl()); };
    e.commandStateChange = [&](int command, bool enable) {
        state.CommandStateChange(command, enable);
    };
    int completed = 0;
    auto done = e.downloadComplete;
    e.downloadComplete = [&, done] {
        done();
        ++completed;
    };
    host = lx::CreateBrowserHost(frame->Handle(), 3, e);
    ASSERT_NE(nullptr, host);
    using lx::NavCommand;

    host->Navigate("file:///C:/Lorvex/Data/Msg01001.htm");
    ASSERT_TRUE(PumpUntil([&] { return completed == 1; }));
    EXPECT_FALSE(state.Away());
    EXPECT_FALSE(state.Enabled(NavCommand::Back));
    EXPECT_TRUE(state.Enabled(NavCommand::Reload));

    host->Navigate("http://www.example.org/");
    ASSERT_TRUE(host->Busy());
    EXPECT_TRUE(state.Enabled(NavCommand::StopLoad));
    ASSERT_TRUE(PumpUntil([&] { return completed == 2; }));
    EXPECT_TRUE(state.Away());
    EXPECT_FALSE(state.MessageCommandsEnabled());
    EXPECT_TRUE(state.Enabled(NavCommand::Back));
    EXPECT_FALSE(state.Enabled(NavCommand::Forward));
    EXPECT_TRUE(state.Enabled(NavCommand::Home));

    state.Back();
    host->GoBack();
    ASSERT_TRUE(PumpUntil([&] { return completed == 3; }));
    EXPECT_FALSE(state.Away());
    EXPECT_TRUE(state.MessageCommandsEnabled());
    EXPECT_FALSE(state.Enabled(NavCommand::Back));
    EXPECT_TRUE(state.Enabled(NavCommand::Forward));
}

} // namespace
} // namespace lxtest
