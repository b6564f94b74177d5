// The browser navigation state: what each command and event does to the enabled commands and the
// away flag, and the URL window's "Go" rule.
#include "viewer/core/navstate.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using lx::BrowserKind;
using lx::NavCommand;
using lx::NavigationState;

const char* const kHome = "C:\\Lorvex\\Data\\Msg01001.htm";

struct Enabled {
    bool home, forward, back, stop, reload;
};

Enabled Read(const NavigationState& s) {
    return {s.Enabled(NavCommand::Home), s.Enabled(NavCommand::Forward),
            s.Enabled(NavCommand::Back), s.Enabled(NavCommand::StopLoad),
            s.Enabled(NavCommand::Reload)};
}

void ExpectEnabled(const Enabled& want, const NavigationState& s, const std::string& label) {
    Enabled got = Read(s);
    EXPECT_EQ(want.home, got.home) << label << ": Home";
    EXPECT_EQ(want.forward, got.forward) << label << ": Forward";
    EXPECT_EQ(want.back, got.back) << label << ": Back";
    EXPECT_EQ(want.stop, got.stop) << label << ": Stop Load";
    EXPECT_EQ(want.reload, got.reload) << label << ": Reload";
}

TEST(NavigationStateTest, InitialStatesPerPresentation) {
    struct Case {
        BrowserKind kind;
        Enabled want;
    } cases[] = {
        {BrowserKind::WebBrowser, {false, false, false, true, false}},
        {BrowserKind::HtmlControl, {false, true, true, true, false}},
        {BrowserKind::SimpleView, {false, false, false, false, false}},
    };
    for (const Case& c : cases) {
        NavigationState s(c.kind, kHome);
        ExpectEnabled(c.want, s, "kind " + std::to_string(static_cast<int>(c.kind)));
        EXPECT_TRUE(s.MessageCommandsEnabled());
    }
}

// Each step is applied to a WebBrowser state that has loaded a foreign page (away, Reload on,
// Stop off) with Back and Forward enabled.
TEST(NavigationStateTest, CommandsAndEventsFromAForeignPage) {
    struct Case {
        const char* name;
        std::function<void(NavigationState&)> step;
        Enabled want;
        bool away;
    } cases[] = {
        {"Home", [](NavigationState& s) { s.Home(); }, {false, true, true, true, false}, false},
        {"Forward",
         [](NavigationState& s) { s.Forward(); },
         {false, true, true, true, false},
         false},
        {"Back", [](NavigationState& s) { s.Back(); }, {false, true, true, true, false}, false},
        {"Reload", [](NavigationState& s) { s.Reload(); }, {false, true, true, true, false}, false},
        {"Stop Load",
         [](NavigationState& s) { s.StopLoad(); },
         {true, true, true, false, true},
         true},
        {"DownloadBegin",
         [](NavigationState& s) { s.DownloadBegin(); },
         {false, true, true, true, false},
         false},
        {"Forward off",
         [](NavigationState& s) { s.CommandStateChange(1, false); },
         {true, false, true, false, true},
         true},
        {"Back off",
         [](NavigationState& s) { s.CommandStateChange(2, false); },
         {true, true, false, false, true},
         true},
        {"other command",
         [](NavigationState& s) { s.CommandStateChange(-1, false); },
         {true, true, true, false, true},
         true},
        {"home page arrives",
         [](NavigationState& s) { s.DownloadComplete("file:///C:/LORVEX/DATA/MSG01001.HTM"); },
         {false, true, true, false, true},
         false},
    };
    for (const Case& c : cases) {
        NavigationState s(BrowserKind::WebBrowser, kHome);
        s.CommandStateChange(lx::kCommandForward, true);
        s.CommandStateChange(lx::kCommandBack, true);
        s.DownloadBegin();
        s.DownloadComplete("http://example.org/");
        ASSERT_TRUE(s.Away());
        c.step(s);
        ExpectEnabled(c.want, s, c.name);
        EXPECT_EQ(c.away, s.Away()) << c.name;
        EXPECT_EQ(!c.away, s.MessageCommandsEnabled()) << c.name;
    }
}

// The location the control reports is compared with the page path whatever its case, slashes
// or escapes.
TEST(NavigationStateTest, AwayAfterDownloadComplete) {
    struct Case {
        const char* home;
        const char* location;
        bool away;
    } cases[] = {
        {kHome, "file:///C:/Lorvex/Data/Msg01001.htm", false},
        {kHome, "file:///c:/lorvex/data/msg01001.htm", false},
        {kHome, "C:\\LORVEX\\DATA\\MSG01001.HTM", false},
        {kHome, "file:///C:/Lorvex/Data/Msg01001.htm#part", false},
        {"C:\\My Mail\\WAIT.HTM", "file:///C:/My%20Mail/WAIT.HTM", false},
        {kHome, "file:///C:/Lorvex/Data/Msg01002.htm", true},
        {kHome, "http://www.example.org/", true},
        {kHome, "", true},
    };
    for (const Case& c : cases) {
        NavigationState s(BrowserKind::WebBrowser, c.home);
        s.DownloadComplete(c.location);
        EXPECT_EQ(c.away, s.Away()) << c.home << " at " << c.location;
        EXPECT_EQ(c.away, s.Enabled(NavCommand::Home)) << c.location;
        EXPECT_TRUE(s.Enabled(NavCommand::Reload));
        EXPECT_FALSE(s.Enabled(NavCommand::StopLoad));
    }
}

TEST(NavigationStateTest, HtmlControlEvents) {
    struct Case {
        const char* url;
        int flag;
        bool finished;
        bool away;
    } cases[] = {
        {"file:///C:/LORVEX/DATA/MSG01001.HTM", 0, true, false},
        {"http://www.example.org/", 0, true, true},
        {"http://www.example.org/", 1, false, false}, // not finished: nothing changes
    };
    for (const Case& c : cases) {
        NavigationState s(BrowserKind::HtmlControl, kHome);
        s.HtmlBeforeNavigate();
        s.HtmlNavigationFinished(c.url, c.flag);
        EXPECT_EQ(c.finished, s.Enabled(NavCommand::Reload)) << c.url;
        EXPECT_EQ(!c.finished, s.Enabled(NavCommand::StopLoad)) << c.url;
        EXPECT_EQ(c.away, s.Away()) << c.url;
    }
}

TEST(NavigationStateTest, HomeTargetAndCurrentUrl) {
    NavigationState web(BrowserKind::WebBrowser, kHome);
    NavigationState html(BrowserKind::HtmlControl, kHome);
    EXPECT_EQ("file:///C:/LORVEX/DATA/MSG01001.HTM", html.CurrentUrl());
    EXPECT_EQ(kHome, web.HomeTarget());
    EXPECT_EQ(html.CurrentUrl(), html.HomeTarget());
}

TEST(NavigationStateTest, SimpleViewKeepsEveryCommandDisabled) {
    NavigationState s(BrowserKind::SimpleView, kHome);
    s.CommandStateChange(lx::kCommandForward, true);
    s.CommandStateChange(lx::kCommandBack, true);
    s.DownloadComplete("http://www.example.org/");
    ExpectEnabled({false, false, false, false, false}, s, "simple view");
}

TEST(StatusBarTextTest, TextOrLocation) {
    EXPECT_EQ("Opening page", lx::StatusBarText("Opening page", "http://a.example/"));
    EXPECT_EQ("http://a.example/", lx::StatusBarText("", "http://a.example/"));
}

TEST(UrlWindowGoTest, Rule) {
    const std::vector<std::string> listed = {"http://www.example.org/", "file:///C:\\MAIL\\A.HTM"};
    struct Case {
        const char* text;
        bool go;
        const char* url;
        bool add;
    } cases[] = {
        {"", false, "", false},
        {"   ", false, "", false},
        {"C:\\Mail\\b.htm", true, "file:///C:\\Mail\\b.htm", true},
        {"c:", true, "file:///c:", true},
        {"C:\\MAIL\\A.HTM", true, "file:///C:\\MAIL\\A.HTM", false},
        {"c:\\mail\\a.htm", true, "file:///c:\\mail\\a.htm", false}, // the list ignores case
        {"http://www.example.org/", true, "http://www.example.org/", false},
        {"  http://www.example.com/  ", true, "http://www.example.com/", true},
        {"about:blank", true, "about:blank", true},
        {"file:///C:/X.HTM", true, "file:///C:/X.HTM", true},
    };
    for (const Case& c : cases) {
        lx::UrlGoAction a = lx::UrlWindowGo(c.text, listed);
        EXPECT_EQ(c.go, a.go) << "'" << c.text << "'";
        if (c.go) {
            EXPECT_EQ(c.url, a.url) << c.text;
            EXPECT_EQ(c.add, a.addToList) << c.text;
        }
    }
}

TEST(UrlWindowGoTest, AddedOnce) {
    std::vector<std::string> listed;
    for (int i = 0; i < 2; ++i) {
        lx::UrlGoAction a = lx::UrlWindowGo("D:\\page.htm", listed);
        if (a.addToList) listed.push_back(a.url);
    }
    EXPECT_EQ(std::vector<std::string>{"file:///D:\\page.htm"}, listed);
}

} // namespace
