#include "viewer/core/navstate.h"

#include <cctype>

#include "viewer/core/pagewriter.h"

namespace lx {

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = Upper(c);
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

std::string ComparableLocation(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            c = static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        }
        out += c == '\\' ? '/' : Upper(c);
    }
    return out;
}

NavigationState::NavigationState(BrowserKind kind, const std::string& homePage) : kind_(kind) {
    SetHomePage(homePage);
    // The HTML control keeps its own history from the start; the WebBrowser reports its
    // history state by event.
    forward_ = back_ = kind == BrowserKind::HtmlControl;
}

void NavigationState::SetHomePage(const std::string& homePage) {
    homePage_ = homePage;
    currentUrl_ = viewer::PageUrl(homePage);
}

std::string NavigationState::HomeTarget() const {
    return kind_ == BrowserKind::WebBrowser ? homePage_ : currentUrl_;
}

void NavigationState::StartLoad() {
    stop_ = true;
    reload_ = false;
    away_ = false;
}

void NavigationState::Home() { StartLoad(); }
void NavigationState::Forward() { StartLoad(); }
void NavigationState::Back() { StartLoad(); }
void NavigationState::Reload() { StartLoad(); }
void NavigationState::StopLoad() { stop_ = false; }
void NavigationState::DownloadBegin() { StartLoad(); }
void NavigationState::HtmlBeforeNavigate() { StartLoad(); }

void NavigationState::LoadFinished(const std::string& url) {
    stop_ = false;
    reload_ = true;
    // Both sides are compared in one form: the location comes back with slashes and escapes
    // while the page path has backslashes and the case it was written with.
    away_ = ComparableLocation(url).find(ComparableLocation(homePage_)) == std::string::npos;
}

void NavigationState::DownloadComplete(const std::string& locationUrl) {
    LoadFinished(locationUrl);
}

void NavigationState::HtmlNavigationFinished(const std::string& url, int flag) {
    if (flag == 0) LoadFinished(url);
}

void NavigationState::CommandStateChange(long command, bool enable) {
    if (command == kCommandForward) forward_ = enable;
    if (command == kCommandBack) back_ = enable;
}

bool NavigationState::Enabled(NavCommand command) const {
    if (kind_ == BrowserKind::SimpleView) return false;
    switch (command) {
    case NavCommand::Home: return away_;
    case NavCommand::Forward: return forward_;
    case NavCommand::Back: return back_;
    case NavCommand::StopLoad: return stop_;
    case NavCommand::Reload: return reload_;
    }
    return false;
}

std::string StatusBarText(const std::string& statusText, const std::string& location) {
    return statusText.empty() ? location : statusText;
}

UrlGoAction UrlWindowGo(const std::string& text, const std::vector<std::string>& listed) {
    UrlGoAction action;
    action.url = Trimmed(text);
    if (action.url.empty()) return action;
    action.go = true;
    if (action.url.size() >= 2 && action.url[1] == ':') action.url = "file:///" + action.url;
    action.addToList = true;
    for (const std::string& item : listed)
        if (SameIgnoringCase(item, action.url)) action.addToList = false;
    return action;
}

} // namespace lx
