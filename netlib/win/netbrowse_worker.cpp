#include "netlib/win/netbrowse_worker.h"

#include <mutex>
#include <new>
#include <vector>

#include "netlib/core/codes.h"
#include "netlib/win/netenum.h"

namespace lx::net {
namespace {

// A dialog waits this long for its worker; a worker blocked longer in the platform's
// enumeration is handed to the library, which waits for it again when it ends.
constexpr DWORD kJoinMs = 5000;

// Workers whose dialog has ended, still blocked in the platform. Shared by the dialogs of the
// process because the library's end must find them after their dialogs are gone.
struct LateWorkers {
    std::mutex mutex;
    std::vector<UniqueHandle> threads;
};

LateWorkers& lateWorkers() {
    static LateWorkers late;
    return late;
}

// Waits for a thread while still answering messages sent to this one: the dialog's thread must
// not stall a thread that sends to it (a thread ending may have to) while it waits.
bool waitAnswering(HANDLE thread, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        const DWORD r = MsgWaitForMultipleObjects(
            1, &thread, FALSE, spent < timeoutMs ? timeoutMs - spent : 0, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0) return true;
        if (r != WAIT_OBJECT_0 + 1) return false;
        MSG m;
        PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE); // handles sent messages
    }
}

} // namespace

DWORD WINAPI EnumWorker::main(LPVOID param) {
    std::unique_ptr<std::shared_ptr<Run>> holder(static_cast<std::shared_ptr<Run>*>(param));
    Run& run = **holder;
    std::unique_ptr<NetTree> tree(new (std::nothrow) NetTree);
    bool ok = false;
    try {
        ok = tree && enumerateNetwork(*tree, run.stop);
    } catch (...) { // out of memory while building the tree
        ok = false;
    }
    // The dialog takes the tree; a stopped run or a dialog already gone leaves it to be freed here.
    if (!run.stop && PostMessageA(run.dialog, TERN_NETBROWSE_DONE,
                                  reinterpret_cast<WPARAM>(tree.get()), ok ? 1 : 0))
        tree.release();
    return 0;
}

bool EnumWorker::start(HWND dialog) {
    join();
    auto run = std::make_shared<Run>();
    run->dialog = dialog;
    auto* param = new (std::nothrow) std::shared_ptr<Run>(run);
    if (!param) return false;
    thread_.Reset(CreateThread(nullptr, 0, main, param, 0, nullptr));
    if (!thread_.Valid()) {
        delete param;
        return false;
    }
    run_ = std::move(run);
    return true;
}

void EnumWorker::finished() { join(); }

void EnumWorker::stop() {
    if (run_) run_->stop = true;
    join();
}

void EnumWorker::join() {
    if (thread_.Valid() && !waitAnswering(thread_.Get(), kJoinMs)) {
        LateWorkers& late = lateWorkers();
        std::lock_guard<std::mutex> lock(late.mutex);
        late.threads.push_back(std::move(thread_));
    }
    thread_.Reset();
    run_.reset();
}

void joinLateEnumWorkers() {
    LateWorkers& late = lateWorkers();
    std::lock_guard<std::mutex> lock(late.mutex);
    const DWORD start = GetTickCount();
    for (UniqueHandle& t : late.threads) {
        const DWORD spent = GetTickCount() - start;
        WaitForSingleObject(t.Get(), spent < kJoinMs ? kJoinMs - spent : 0);
    }
    late.threads.clear();
}

} // namespace lx::net
