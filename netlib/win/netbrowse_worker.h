// The network browser's enumeration worker: one run at a time for one dialog, which it tells of
// the result with TERN_NETBROWSE_DONE (wParam: the tree, lParam: success). A worker never
// outlives the dialog that started it: the dialog's end asks it to stop and waits for its
// thread, bounded; one still blocked in the platform then is waited for once more when the
// library ends.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "common/win/handles.h"

namespace lx::net {

class EnumWorker {
public:
    EnumWorker() = default;
    ~EnumWorker() { stop(); }
    EnumWorker(const EnumWorker&) = delete;
    EnumWorker& operator=(const EnumWorker&) = delete;

    // Starts a run for `dialog` (after waiting for the previous one); false when no thread could be
    // started.
    bool start(HWND dialog);
    // The run has posted its result: its thread ends by itself; wait for it.
    void finished();
    // Asks the run to stop and waits for its thread, bounded.
    void stop();

private:
    struct Run {
        HWND dialog = nullptr;
        std::atomic<bool> stop{false};
    };
    static DWORD WINAPI main(LPVOID param);
    void join();

    std::shared_ptr<Run> run_;
    UniqueHandle thread_;
};

// Library end: waits, bounded, for workers whose dialog ended while they were still blocked.
void joinLateEnumWorkers();

} // namespace lx::net
