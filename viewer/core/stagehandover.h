// Hands the message from the loader thread to the page writer stage by stage: the record, the To
// list, the Cc list and the attachments. The loader marks each stage complete as soon as it has
// filled it; the writer waits for each stage in turn and reads it only then. A stage that is
// complete stays complete, so neither the start order of the two threads nor any delay on either
// side can make the writer read a half-filled stage, wait for a stage that never comes, or lose
// one.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace lx::viewer {

enum class LoadStage { Record = 0, ToList = 1, CcList = 2, Attachments = 3 };
constexpr int kLoadStageCount = 4;

class StageHandover {
public:
    enum class WaitResult { Ready, Abandoned, TimedOut };

    // The loader has filled `stage`: everything written before this call is visible to the
    // thread that waits for it.
    void Complete(LoadStage stage);
    // The loader marks every stage it has not completed (the store could not be read): the
    // writer goes on with what the message record says.
    void CompleteRemaining();
    // Ends every wait at once (the viewer is closing); later waits return Abandoned.
    void Abandon();

    // Waits until `stage` is complete, the hand-over is abandoned or `timeout` has passed.
    WaitResult WaitFor(LoadStage stage, std::chrono::milliseconds timeout);
    bool IsComplete(LoadStage stage) const;

private:
    mutable std::mutex lock_;
    std::condition_variable changed_;
    bool complete_[kLoadStageCount] = {};
    bool abandoned_ = false;
};

} // namespace lx::viewer
