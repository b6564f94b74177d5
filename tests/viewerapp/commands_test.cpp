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

constexpr char kHome[] = "C:\\LX\\MSG01001.HTM";
constexpr char kWebPage[] = "http://www.example.org/";

ViewerState Make(bool mode, bool loaded, bool store, bool browser, bool away) {
    ViewerState s;
    s.messageMode = mode;
    s.messageLoaded = loaded;
    s.storeOpen = store;
    s.nav = NavigationState(browser ? BrowserKind::WebBrowser : BrowserKind::SimpleView, kHome);
    s.nav.DownloadComplete(away ? kWebPage : "file:///C:/LX/MSG01001.HTM");
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
    s.nav.CommandStateChange(kCommandForward, true);
    s.nav.CommandStateChange(kCommandBack, true);
    s.nav.DownloadBegin();
    const CommandStates c = EnabledCommands(s);
    EXPECT_FALSE(c.home || c.forward || c.back || c.stop || c.reload);
}

// The frame's commands follow the navigation state: a link away from the message page offers
// Home and withholds the message commands until Home brings the page back.
TEST(ViewerCommands, NavigationAwayAndHome) {
    ViewerState s = Make(true, true, true, true, false);
    const struct Step {
        const char* name;
        void (*apply)(NavigationState&);
        bool home, reply, remove, stop, reload;
    } steps[] = {
        {"on the page", [](NavigationState&) {}, false, true, true, false, true},
        {"link followed", [](NavigationState& n) { n.DownloadBegin(); }, false, true, true, true,
         false},
        {"web page arrived", [](NavigationState& n) { n.DownloadComplete(kWebPage); }, true, false,
         false, false, true},
        {"Home", [](NavigationState& n) { n.Home(); }, false, true, true, true, false},
        {"page back", [](NavigationState& n) { n.DownloadComplete("file:///C:/LX/MSG01001.HTM"); },
         false, true, true, false, true},
    };
    for (const Step& step : steps) {
        step.apply(s.nav);
        const CommandStates c = EnabledCommands(s);
        EXPECT_EQ(c.home, step.home) << step.name;
        EXPECT_EQ(c.reply && c.addresses, step.reply) << step.name;
        EXPECT_EQ(c.remove && c.file, step.remove) << step.name;
        EXPECT_EQ(c.stop, step.stop) << step.name;
        EXPECT_EQ(c.reload, step.reload) << step.name;
    }
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
        // Names Windows keeps for devices, with or without an extension, in any case.
        {"CON", false, "_CON.URL"},
        {"nul.txt", false, "_nul.txt.URL"},
        {"C:\\pages\\Com1", true, "_Com1.URL"},
        {"lpt9 . ", false, "_lpt9.URL"},
        {"COM10", false, "COM10.URL"},
        {"CONSOLE", false, "CONSOLE.URL"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShortcutFileName(c.page, c.webBrowser), c.name) << c.page;
}

TEST(ViewerFavorites, FileNameOfALongTitleFitsTheDisk) {
    const std::string name =
        ShortcutFileName(std::string(199, 'a') + ". " + std::string(600, 'b'), false);
    EXPECT_EQ(name, std::string(199, 'a') + ".URL");
}

} // namespace
} // namespace lx::viewer
