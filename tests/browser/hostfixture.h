// The browser host tests' fixture: the browser test double registered for CLSID_WebBrowser in
// the test prefix while a test runs, a parent window, and bounded message pumping.
#pragma once
#include "viewer/win/browserhost.h"

#include <ole2.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace lxtest {

// Serves CLSID_WebBrowser from the double DLL beside the test program; the prefix's own entry
// comes back when the registration ends (also after a run that was killed half-way).
class DoubleRegistration {
public:
    DoubleRegistration();
    ~DoubleRegistration();
    bool Ok() const { return ok_; }

private:
    bool ok_ = false;
};

// Pumps this thread's messages until `done` holds or about ten seconds have passed.
bool PumpUntil(const std::function<bool()>& done);

// The window's own visible style, whatever its parent's.
inline bool Shown(HWND wnd) { return (::GetWindowLongPtrA(wnd, GWL_STYLE) & WS_VISIBLE) != 0; }

// A plain top-level window for the host and the URL window, never shown (hiding a shown
// top-level window costs Wine seconds without a window manager); records the URLs the URL
// window sends it.
class TestFrame {
public:
    TestFrame();
    ~TestFrame();
    HWND Handle() const { return wnd_; }
    std::vector<std::string> urls;

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND wnd_ = nullptr;
};

class BrowserHostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Events the host passes on, as "before URL", "begin", "complete", "command N 0|1",
    // "status TEXT"; `cancelPrefix` cancels navigations to URLs starting with it.
    lx::BrowserEvents Recorder();
    // The calls the double has received, one a line.
    std::string DoubleCalls() const;
    HWND DoubleWindow() const;
    bool WaitForComplete(size_t count);

    std::vector<std::string> events;
    std::string cancelPrefix = "mailto:";
    std::unique_ptr<TestFrame> frame;
    std::unique_ptr<DoubleRegistration> registration;
    std::unique_ptr<lx::BrowserHost> host;
};

} // namespace lxtest
