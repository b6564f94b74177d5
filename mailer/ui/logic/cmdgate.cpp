#include "mailer/ui/logic/cmdgate.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <mutex>
#endif

namespace lx {

// The counter's own lock: a critical section on Windows, because the dial-up monitor thread
// resets the counter too.
#ifdef _WIN32
struct CommandGate::Lock {
    Lock() { ::InitializeCriticalSection(&section); }
    ~Lock() { ::DeleteCriticalSection(&section); }
    void Acquire() { ::EnterCriticalSection(&section); }
    void Release() { ::LeaveCriticalSection(&section); }
    CRITICAL_SECTION section;
};
#else
struct CommandGate::Lock {
    void Acquire() { mutex.lock(); }
    void Release() { mutex.unlock(); }
    std::mutex mutex;
};
#endif

// Holds the lock for the life of a scope.
template <typename L>
class Held {
public:
    explicit Held(L& lock) : lock_(lock) { lock_.Acquire(); }
    ~Held() { lock_.Release(); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

private:
    L& lock_;
};

CommandGate::CommandGate() : lock_(new Lock) {}
CommandGate::~CommandGate() = default;

CommandGate& CommandGate::Instance() {
    static CommandGate gate;
    return gate;
}

std::int16_t CommandGate::Enter() {
    Held held(*lock_);
    const std::int16_t before = counter_;
    if (counter_ < INT16_MAX) ++counter_;
    return before;
}

void CommandGate::Leave() {
    Held held(*lock_);
    if (counter_ > INT16_MIN) --counter_;
}

bool CommandGate::CloseForCheck() {
    Held held(*lock_);
    if (counter_ > 0) return false;
    counter_ = kClosedByCheck;
    closedByCheck_ = true;
    return true;
}

void CommandGate::Reopen() {
    Held held(*lock_);
    if (!closedByCheck_) return;
    closedByCheck_ = false;
    counter_ = static_cast<std::int16_t>(counter_ - kClosedByCheck);
}

std::int16_t CommandGate::Value() const {
    Held held(*lock_);
    return counter_;
}

namespace {
// Clears the busy mark however the body ends.
struct BusyMark {
    explicit BusyMark(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyMark() { flag_ = false; }
    bool& flag_;
};
} // namespace

bool CommandRunner::RunGated(const std::function<void()>& body) {
    GateScope scope(gate_);
    if (!scope.Open() || busy_) return false;
    BusyMark mark(busy_);
    body();
    return true;
}

bool CommandRunner::RunUngated(const std::function<void()>& body) {
    if (busy_) return false;
    BusyMark mark(busy_);
    body();
    return true;
}

} // namespace lx
