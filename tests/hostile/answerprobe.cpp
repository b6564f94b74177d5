#include "tests/hostile/answerprobe.h"

namespace lxtest {

namespace {
constexpr UINT kGiveUpMillis = 120000; // a window this slow has hung: the probe stops waiting
constexpr DWORD kProbeGapMillis = 20;  // between probes: the window's loop is not flooded
} // namespace

void AnswerProbe::Watch(HWND window) {
    if (thread_.joinable()) return;
    thread_ = std::thread([this, window] { Probe(window); });
}

void AnswerProbe::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void AnswerProbe::Probe(HWND window) {
    while (!stop_ && ::IsWindow(window)) {
        const ULONGLONG sent = ::GetTickCount64();
        DWORD_PTR result = 0;
        const bool answered =
            ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kGiveUpMillis, &result) != 0;
        const unsigned waited = static_cast<unsigned>(::GetTickCount64() - sent);
        if (!answered && !::IsWindow(window)) break; // gone while the probe waited
        if (waited > longest_) longest_ = waited;
        if (answered) ++answers_;
        ::Sleep(kProbeGapMillis);
    }
}

} // namespace lxtest
