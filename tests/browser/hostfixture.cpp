#include "tests/browser/hostfixture.h"

#include "tests/browser/double/browserdouble.h"

#include <algorithm>

namespace lxtest {

namespace {

// Wine looks class ids up in the machine's classes only, so the test prefix's machine entry is
// the one the double replaces for the length of a test.
const char* const kServerKey =
    "Software\\Classes\\CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}\\InprocServer32";
const char* const kSavedValue = "LorvexTestSaved";

std::string ReadString(HKEY key, const char* name, bool* found) {
    char buffer[MAX_PATH * 2] = {};
    DWORD size = sizeof(buffer) - 1, type = 0;
    *found = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                                &size) == ERROR_SUCCESS &&
             (type == REG_SZ || type == REG_EXPAND_SZ);
    return *found ? std::string(buffer) : std::string();
}

void WriteString(HKEY key, const char* name, const std::string& value) {
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
}

std::string DoublePath() {
    std::string path = LX_BROWSER_DOUBLE;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

} // namespace

DoubleRegistration::DoubleRegistration() {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return;
    bool found = false, saved = false;
    std::string original = ReadString(key, nullptr, &found);
    ReadString(key, kSavedValue, &saved);
    if (!saved) WriteString(key, kSavedValue, found ? original : std::string());
    WriteString(key, nullptr, DoublePath());
    WriteString(key, "ThreadingModel", "Apartment");
    ::RegCloseKey(key);
    ok_ = ::GetFileAttributesA(DoublePath().c_str()) != INVALID_FILE_ATTRIBUTES;
}

DoubleRegistration::~DoubleRegistration() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    bool saved = false;
    std::string original = ReadString(key, kSavedValue, &saved);
    if (saved) {
        WriteString(key, nullptr, original);
        ::RegDeleteValueA(key, kSavedValue);
    }
    ::RegCloseKey(key);
    ::CoFreeUnusedLibraries();
}

bool PumpUntil(const std::function<bool()>& done) {
    for (int round = 0; round < 1000; ++round) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (done()) return true;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return done();
}

TestFrame::TestFrame() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "LxBrowserTestFrame";
    ::RegisterClassA(&wc);
    wnd_ = ::CreateWindowExA(0, wc.lpszClassName, "Browser test",
                             WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 640, 480, nullptr,
                             nullptr, wc.hInstance, this);
}

TestFrame::~TestFrame() {
    if (wnd_) ::DestroyWindow(wnd_);
}

LRESULT CALLBACK TestFrame::Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
        ::SetWindowLongPtrA(
            wnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<TestFrame*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (self && msg == WM_USER + 100) {
        self->urls.emplace_back(reinterpret_cast<const char*>(lp));
        return 0;
    }
    return ::DefWindowProcA(wnd, msg, wp, lp);
}

void BrowserHostTest::SetUp() {
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    registration = std::make_unique<DoubleRegistration>();
    ASSERT_TRUE(registration->Ok()) << "the browser double is not built";
    frame = std::make_unique<TestFrame>();
    host = lx::CreateBrowserHost(frame->Handle(), 3, Recorder());
    ASSERT_NE(nullptr, host);
}

void BrowserHostTest::TearDown() {
    host.reset();
    frame.reset();
    registration.reset();
    ::OleUninitialize();
}

lx::BrowserEvents BrowserHostTest::Recorder() {
    lx::BrowserEvents e;
    e.beforeNavigate = [this](const std::string& url) {
        events.push_back("before " + url);
        return url.compare(0, cancelPrefix.size(), cancelPrefix) == 0;
    };
    e.downloadBegin = [this] { events.push_back("begin"); };
    e.downloadComplete = [this] { events.push_back("complete"); };
    e.commandStateChange = [this](int command, bool enable) {
        events.push_back("command " + std::to_string(command) + (enable ? " 1" : " 0"));
    };
    e.statusText = [this](const std::string& text) { events.push_back("status " + text); };
    return e;
}

HWND BrowserHostTest::DoubleWindow() const {
    return host ? ::FindWindowExA(host->Window(), nullptr, kDoubleWindowClass, nullptr) : nullptr;
}

std::string BrowserHostTest::DoubleCalls() const {
    HWND wnd = DoubleWindow();
    if (!wnd) return "(no double window)";
    std::string calls(static_cast<size_t>(::SendMessageA(wnd, kDoubleGetCalls, 0, 0)) + 1, '\0');
    ::SendMessageA(wnd, kDoubleGetCalls, calls.size(), reinterpret_cast<LPARAM>(&calls[0]));
    calls.resize(calls.size() - 1);
    return calls;
}

bool BrowserHostTest::WaitForComplete(size_t count) {
    return PumpUntil([&] {
        return static_cast<size_t>(std::count(events.begin(), events.end(), "complete")) >= count;
    });
}

} // namespace lxtest
