// The viewer's browser navigation state: which of Home, Forward, Back, Stop Load and Reload are
// enabled, and whether the control is away from the message page (which disables the message
// commands). The frame feeds it its commands and the control's events.
#pragma once
#include <string>
#include <vector>

namespace lx {

// Which presentation fills the client area.
enum class BrowserKind { SimpleView, HtmlControl, WebBrowser };

enum class NavCommand { Home, Forward, Back, StopLoad, Reload };

// Command numbers of the WebBrowser's command-state event.
constexpr long kCommandForward = 1;
constexpr long kCommandBack = 2;

class NavigationState {
public:
    // `homePage` is the page file the frame shows (the message page, or the wait page in browse
    // mode). The initial states are those right after the control is created.
    NavigationState(BrowserKind kind, const std::string& homePage);

    BrowserKind Kind() const { return kind_; }
    // The page the frame now calls home (the message page once it is written); the flags stay.
    void SetHomePage(const std::string& homePage);
    // Where Home sends the control: the path for the WebBrowser, the file URL for the HTML control.
    std::string HomeTarget() const;
    // "file:///" + the home page, upper-cased, with slashes.
    const std::string& CurrentUrl() const { return currentUrl_; }

    // Commands.
    void Home();
    void Forward();
    void Back();
    void StopLoad();
    void Reload();

    // WebBrowser events.
    void DownloadBegin();
    void DownloadComplete(const std::string& locationUrl);
    void CommandStateChange(long command, bool enable);

    // HTML control events: before navigating to a page the frame lets through, and navigation
    // finished (`flag` 0 when the page arrived).
    void HtmlBeforeNavigate();
    void HtmlNavigationFinished(const std::string& url, int flag);

    bool Enabled(NavCommand command) const;
    bool Away() const { return away_; }
    // Reply/Forward, Delete, File and Insert Addresses act on the message page only.
    bool MessageCommandsEnabled() const { return !away_; }

private:
    void StartLoad();
    void LoadFinished(const std::string& url);

    BrowserKind kind_;
    std::string homePage_;
    std::string currentUrl_;
    bool away_ = false;
    bool forward_ = false;
    bool back_ = false;
    bool stop_ = true;
    bool reload_ = false;
};

// Upper-cased, backslashes turned into slashes, %XX escapes decoded: the form in which a page
// path and a location URL are compared.
std::string ComparableLocation(const std::string& text);

// The status bar's first pane while a browser control is shown: the control's status text, or
// its location when the text is empty.
std::string StatusBarText(const std::string& statusText, const std::string& location);

// What "Go" in the URL window does with the combo box's text.
struct UrlGoAction {
    bool go = false;        // false: the text was empty, nothing happens
    std::string url;        // sent to the frame
    bool addToList = false; // not yet in the drop-down list
};
UrlGoAction UrlWindowGo(const std::string& text, const std::vector<std::string>& listed);

} // namespace lx
