// Without the double: the prefix's own WebBrowser (no HTML engine) either fails to be created or
// works, and the engine itself cannot load, so its download prompt never appears. The licensed
// HTML control is not installed: reader type 2 falls back.
#include "tests/browser/hostfixture.h"

namespace lxtest {
namespace {

class BrowserFallbackTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr))); }
    void TearDown() override { ::OleUninitialize(); }
    TestFrame frame;
};

TEST_F(BrowserFallbackTest, HtmlEngineIsSwitchedOff) {
    // The prefix itself disables the engine, not only the environment of this run.
    char value[16] = "unset";
    DWORD size = sizeof(value);
    LONG read = ::RegGetValueA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "mshtml",
                               RRF_RT_REG_SZ, nullptr, value, &size);
    EXPECT_EQ(ERROR_SUCCESS, read);
    EXPECT_STREQ("", value);
    HMODULE engine = ::LoadLibraryA("mshtml.dll");
    EXPECT_EQ(nullptr, engine) << "mshtml loads: its download prompt could appear";
    if (engine) ::FreeLibrary(engine);
}

TEST_F(BrowserFallbackTest, PrefixWebBrowserFailsCleanlyOrWorks) {
    int completed = 0;
    lx::BrowserEvents events;
    events.downloadComplete = [&] { ++completed; };
    auto host = lx::CreateBrowserHost(frame.Handle(), 3, events);
    if (!host) return; // the frame shows the simple view
    EXPECT_EQ(frame.Handle(), ::GetParent(host->Window()));
    RECT area{0, 0, 200, 100}, placed{};
    host->Move(area);
    ::GetClientRect(host->Window(), &placed);
    EXPECT_TRUE(::EqualRect(&area, &placed));
    host->Navigate("about:blank");
    PumpUntil([&] { return completed > 0 || !host->Busy(); });
    host->Stop();
    EXPECT_EQ(nullptr, ::GetModuleHandleA("mshtml.dll"));
}

TEST_F(BrowserFallbackTest, ReaderTypesWithoutAControl) {
    struct Case {
        int readerType;
        const char* why;
    } cases[] = {
        {2, "the licensed HTML control is not installed"},
        {1, "the simple view has no browser"},
        {0, "not a reader type"},
        {4, "not a reader type"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(nullptr, lx::CreateBrowserHost(frame.Handle(), c.readerType, {})) << c.why;
    EXPECT_EQ(nullptr, ::GetModuleHandleA("HTML.OCX"));
}

} // namespace
} // namespace lxtest
