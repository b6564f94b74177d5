#include "tests/netlib/win/hostqueue.h"

namespace lx::net::test {

namespace {
const char kClass[] = "LX_TEST_HOST";
}

HostQueue::HostQueue(UINT message, std::set<int> textCodes, bool windowMode)
    : message_(message), textCodes_(std::move(textCodes)) {
    if (!windowMode) return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    window_ = CreateWindowA(kClass, "test host", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window_, 0, reinterpret_cast<LONG_PTR>(this));
}

HostQueue::~HostQueue() {
    if (window_) {
        SetWindowLongPtrA(window_, 0, 0);
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK HostQueue::proc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<HostQueue*>(GetWindowLongPtrA(hwnd, 0));
    if (self && msg == self->message_) {
        self->record(w, l);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, w, l);
}

void HostQueue::record(WPARAM w, LPARAM l) {
    Event e{static_cast<int>(w), l, {}};
    if (textCodes_.count(e.code) && l) e.text = reinterpret_cast<const char*>(l);
    events.push_back(e);
}

bool HostQueue::waitFor(const std::function<bool()>& pred, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.hwnd == nullptr && m.message == message_)
                record(m.wParam, m.lParam);
            else
                DispatchMessageA(&m);
            if (pred()) return true;
        }
        if (pred()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

bool HostQueue::waitForCode(int code, DWORD timeoutMs) {
    std::size_t seen = 0;
    return waitFor(
        [&] {
            for (; seen < events.size(); ++seen)
                if (events[seen].code == code) return true;
            return false;
        },
        timeoutMs);
}

std::vector<int> HostQueue::codes() const {
    std::vector<int> c;
    for (const auto& e : events) c.push_back(e.code);
    return c;
}

std::vector<int> HostQueue::codesWithout(int skip) const {
    std::vector<int> c;
    for (const auto& e : events)
        if (e.code != skip) c.push_back(e.code);
    return c;
}

int HostQueue::count(int code) const {
    int n = 0;
    for (const auto& e : events) n += e.code == code;
    return n;
}

} // namespace lx::net::test
