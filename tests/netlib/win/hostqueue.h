// The test's side of result delivery: collects the library's posted results for one message
// number while dispatching everything else, with a bounded wait.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace lx::net::test {

struct Event {
    int code;
    LPARAM value;
    std::string text; // copied at once for codes whose lParam points to a text
};

class HostQueue {
public:
    // Results addressed to a window of the test (window mode) or to the test thread (thread mode).
    HostQueue(UINT message, std::set<int> textCodes, bool windowMode = true);
    ~HostQueue();

    HWND window() const { return window_; }
    DWORD thread() const { return GetCurrentThreadId(); }
    UINT message() const { return message_; }

    // Runs the message loop until pred holds or timeoutMs pass; true when pred held.
    bool waitFor(const std::function<bool()>& pred, DWORD timeoutMs);
    // Runs the loop for a while (to see that nothing more arrives).
    void idle(DWORD ms) {
        waitFor([] { return false; }, ms);
    }
    bool waitForCode(int code, DWORD timeoutMs);

    std::vector<int> codes() const;
    std::vector<int> codesWithout(int skip) const;
    int count(int code) const;
    std::vector<Event> events;

private:
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    void record(WPARAM w, LPARAM l);

    UINT message_;
    std::set<int> textCodes_;
    HWND window_ = nullptr;
};

} // namespace lx::net::test
