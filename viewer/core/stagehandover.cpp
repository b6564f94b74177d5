#include "viewer/core/stagehandover.h"

namespace lx::viewer {

void StageHandover::Complete(LoadStage stage) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        complete_[static_cast<int>(stage)] = true;
    }
    changed_.notify_all();
}

void StageHandover::CompleteRemaining() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        for (bool& done : complete_) done = true;
    }
    changed_.notify_all();
}

void StageHandover::Abandon() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        abandoned_ = true;
    }
    changed_.notify_all();
}

StageHandover::WaitResult StageHandover::WaitFor(LoadStage stage,
                                                 std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> guard(lock_);
    const int i = static_cast<int>(stage);
    const bool settled =
        changed_.wait_for(guard, timeout, [&] { return complete_[i] || abandoned_; });
    if (abandoned_) return WaitResult::Abandoned;
    return settled ? WaitResult::Ready : WaitResult::TimedOut;
}

bool StageHandover::IsComplete(LoadStage stage) const {
    std::lock_guard<std::mutex> guard(lock_);
    return complete_[static_cast<int>(stage)];
}

} // namespace lx::viewer
