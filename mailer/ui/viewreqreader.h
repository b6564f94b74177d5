// The mailslot reader: a thread that creates \\.\mailslot\LX_MS_20, reads the viewers' request
// records and hands each whole record, in order, to the message list pane's window by
// SendMessage (WM_USER+20000 + code - 1, lParam: the parsed ViewerRequest), so a record is
// completely handled before the next is read. It never touches windows or the store itself.
#pragma once
#include "common/win/handles.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace lx {

// The pane's messages, one per request code (1 to 4).
constexpr UINT kViewerRequestMessageBase = WM_USER + 20000;

class ViewerRequestReader {
public:
    // `mailslot` is the slot's name (tests give their own).
    explicit ViewerRequestReader(std::string mailslot);
    ~ViewerRequestReader();
    ViewerRequestReader(const ViewerRequestReader&) = delete;
    ViewerRequestReader& operator=(const ViewerRequestReader&) = delete;

    // Starts the thread for `target` and returns once the mailslot exists; false (thread id 0)
    // when it could not be created: no request is received then.
    bool Start(HWND target);
    // Posts WM_QUIT to the thread and waits for its end, handling the requests it is sending
    // meanwhile (the interface thread calls this).
    void Stop();
    DWORD ThreadId() const { return threadId_; }

private:
    static DWORD WINAPI ThreadMain(void* self);
    void Run();
    bool ReadOne();
    bool DropRest(std::vector<std::uint8_t>& buffer);

    std::string mailslot_;
    HWND target_ = nullptr;
    UniqueHandle thread_;
    UniqueHandle ready_;
    UniqueHandle slot_;
    DWORD threadId_ = 0;
};

} // namespace lx
