// How long a window keeps a sent message waiting: a thread of its own sends it WM_NULL again and
// again while the window lives and keeps the longest wait for an answer.
#pragma once
#include <windows.h>

#include <atomic>
#include <thread>

namespace lxtest {

class AnswerProbe {
public:
    AnswerProbe() = default;
    ~AnswerProbe() { Stop(); }
    AnswerProbe(const AnswerProbe&) = delete;
    AnswerProbe& operator=(const AnswerProbe&) = delete;

    // Starts probing `window` (once; later calls are ignored).
    void Watch(HWND window);
    // Ends the probing thread; the figures stay readable.
    void Stop();
    // The longest a probe waited for its answer, in milliseconds.
    unsigned LongestWaitMillis() const { return longest_.load(); }
    int Answers() const { return answers_.load(); }

private:
    void Probe(HWND window);

    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<unsigned> longest_{0};
    std::atomic<int> answers_{0};
};

} // namespace lxtest
