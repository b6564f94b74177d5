// Which commands the viewer offers in which state, how the browser's events move its flags, and
// the favourites' shortcut files.
#include "viewer/core/commandstate.h"
#include "viewer/core/favorites.h"

#include <gtest/gtest.h>

namespace lx::viewer {
namespace {

struct StateCase {
    const char* name;
    ViewerState state;
    bool message; // Insert Addresses and Reply/Forward
    bool store;   // Delete and File
    bool favorites;
};

ViewerState Make(bool mode, bool loaded, bool store, bool browser, bool away) {
    ViewerState s;
    s.messageMode = mode;
    s.messageLoaded = loaded;
    s.storeOpen = store;
    s.browser = browser;
    s.nav.away = away;
    return s;
}

TEST(ViewerCommands, MessageCommandsNeedTheShownLoadedMessage) {
    const StateCase cases[] = {
        {"simple view, loaded", Make(true, true, true, false, false), true, true, false},
        {"still loading", Make(true, false, false, false, false), false, false, false},
        {"no store", Make(true, true, false, false, false), true, false, false},
        {"browse mode", Make(false, true, false, true, false), false, false, true},
        {"browser on the page", Make(true, true, true, true, false), true, true, true},
        {"browser away", Make(true, true, true, true, true), false, false, true},
        // The simple view has no links to follow: a stale away flag changes nothing.
        {"simple view, away flag", Make(true, true, true, false, true), true, true, false},
    };
    for (const StateCase& c : cases) {
        const CommandStates got = EnabledCommands(c.state);
        EXPECT_EQ(got.addresses, c.message) << c.name;
        EXPECT_EQ(got.reply, c.message) << c.name;
        EXPECT_EQ(got.remove, c.store) << c.name;
        EXPECT_EQ(got.file, c.store) << c.name;
        EXPECT_EQ(got.favorites, c.favorites) << c.name;
    }
}

TEST(ViewerCommands, NavigationStaysOffWithTheSimpleView) {
    ViewerState s = Make(true, true, true, false, true);
    s.nav.forward = s.nav.back = s.nav.stop = s.nav.reload = true;
    const CommandStates c = EnabledCommands(s);
    EXPECT_FALSE(c.home || c.forward || c.back || c.stop || c.reload);
}

TEST(ViewerCommands, BrowserEventsMoveTheFlags) {
    NavigationFlags f = NavigationFlags::Initial(true);
    EXPECT_TRUE(f.stop);
    EXPECT_FALSE(f.forward || f.back || f.reload || f.away);
    EXPECT_TRUE(NavigationFlags::Initial(false).forward);

    const char* home = "C:\\LX\\MSG01001.HTM";
    f.DownloadComplete("FILE:///C:\\LX\\MSG01001.HTM", home);
    EXPECT_FALSE(f.stop);
    EXPECT_TRUE(f.reload);
    EXPECT_FALSE(f.away);
    f.DownloadBegin();
    EXPECT_TRUE(f.stop);
    EXPECT_FALSE(f.reload);
    f.DownloadComplete("HTTP://WWW.EXAMPLE.ORG/", home);
    EXPECT_TRUE(f.away);

    ViewerState s = Make(true, true, true, true, false);
    s.nav = f;
    EXPECT_TRUE(EnabledCommands(s).home);
    EXPECT_FALSE(EnabledCommands(s).reply);

    f.CommandStateChange(1, true);
    f.CommandStateChange(2, false);
    EXPECT_TRUE(f.forward);
    EXPECT_FALSE(f.back);
    f.LoadStarted();
    EXPECT_FALSE(f.away);
    EXPECT_TRUE(f.stop);
}

TEST(ViewerFavorites, ShortcutTextAndUrl) {
    const std::string text = InternetShortcutText("http://www.example.org/a");
    EXPECT_EQ(text, "[InternetShortcut]\r\nURL=http://www.example.org/a\r\n");
    EXPECT_EQ(ShortcutUrl(text), "http://www.example.org/a");
    const struct {
        const char* file;
        const char* url;
    } urls[] = {
        {"[InternetShortcut]\r\nURL=file:///C:/X.HTM", "file:///C:/X.HTM"},
        {"[DEFAULT]\r\nBASEURL=x\r\n", "x"}, // the first "URL=" counts, as written
        {"no url here", ""},
    };
    for (const auto& u : urls) EXPECT_EQ(ShortcutUrl(u.file), u.url) << u.file;
}

TEST(ViewerFavorites, FileNameFromThePage) {
    const struct {
        const char* page;
        bool webBrowser;
        const char* name;
    } cases[] = {
        {"C:\\LX\\MSG01001.HTM", true, "MSG01001.HTM.URL"},
        {"News: today?", false, "News_ today_.URL"},
        {"a/b\\c", false, "a_b_c.URL"},
        {"", false, "Page.URL"},
        {"Title. ", false, "Title.URL"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShortcutFileName(c.page, c.webBrowser), c.name) << c.page;
}

} // namespace
} // namespace lx::viewer
