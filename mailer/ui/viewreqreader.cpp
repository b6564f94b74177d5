#include "mailer/ui/viewreqreader.h"

#include "common/viewreq/viewreqrecord.h"

#include <cstdint>
#include <vector>

namespace lx {

namespace {

// The read blocks this long for a record, then the thread looks at its queue for WM_QUIT: the
// thread sleeps in the mailslot instead of polling it, and still stops within this time.
constexpr DWORD kReadWaitMillis = 200;
// Start waits this long for the thread to have made the mailslot.
constexpr DWORD kStartWaitMillis = 10000;

bool QuitPosted() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_QUIT) return true;
    return false;
}

} // namespace

// A message longer than the buffer whose first part was read: the rest goes too.
bool ViewerRequestReader::DropRest(std::vector<std::uint8_t>& buffer) {
    DWORD got = 0;
    while (
        !::ReadFile(slot_.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
        if (::GetLastError() != ERROR_MORE_DATA) return false;
    return true;
}

ViewerRequestReader::ViewerRequestReader(std::string mailslot) : mailslot_(std::move(mailslot)) {}

ViewerRequestReader::~ViewerRequestReader() { Stop(); }

bool ViewerRequestReader::Start(HWND target) {
    if (thread_.Valid()) return threadId_ != 0;
    target_ = target;
    ready_.Reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!ready_.Valid()) return false;
    DWORD id = 0;
    thread_.Reset(::CreateThread(nullptr, 0, &ThreadMain, this, 0, &id));
    if (!thread_.Valid()) return false;
    ::WaitForSingleObject(ready_.Get(), kStartWaitMillis);
    return threadId_ != 0;
}

void ViewerRequestReader::Stop() {
    if (!thread_.Valid()) return;
    if (threadId_ != 0) ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    // The thread may be inside SendMessage to this (the interface) thread: sent messages are
    // handled while waiting, or both would wait for each other.
    HANDLE thread = thread_.Get();
    while (::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) ==
           WAIT_OBJECT_0 + 1) {
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    thread_.Reset();
    ready_.Reset();
    threadId_ = 0;
}

DWORD WINAPI ViewerRequestReader::ThreadMain(void* self) {
    static_cast<ViewerRequestReader*>(self)->Run();
    return 0;
}

void ViewerRequestReader::Run() {
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); // the queue WM_QUIT arrives in
    slot_.Reset(::CreateMailslotA(mailslot_.c_str(), 0, kReadWaitMillis, nullptr));
    if (slot_.Valid()) threadId_ = ::GetCurrentThreadId();
    ::SetEvent(ready_.Get());
    if (!slot_.Valid()) return;
    while (!QuitPosted())
        if (!ReadOne())
            // Something is wrong with the slot: wait for WM_QUIT rather than spin.
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kReadWaitMillis, QS_POSTMESSAGE);
    slot_.Reset();
}

// One record, or the time-out; false when reading failed for another reason.
bool ViewerRequestReader::ReadOne() {
    // One byte more than a record: a longer message then reads as longer, whether the system
    // cuts it to the buffer or refuses the read.
    std::vector<std::uint8_t> record(kViewerRequestSize + 1);
    DWORD got = 0;
    if (!::ReadFile(slot_.Get(), record.data(), static_cast<DWORD>(record.size()), &got, nullptr)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_SEM_TIMEOUT) return true;
        if (error == ERROR_MORE_DATA) return DropRest(record);
        if (error != ERROR_INSUFFICIENT_BUFFER) return false;
        // A longer message would stay in the slot and block every record after it: it is read
        // whole and dropped.
        DWORD next = MAILSLOT_NO_MESSAGE;
        if (!::GetMailslotInfo(slot_.Get(), nullptr, &next, nullptr, nullptr) ||
            next == MAILSLOT_NO_MESSAGE)
            return false;
        std::vector<std::uint8_t> longer(next);
        return ::ReadFile(slot_.Get(), longer.data(), next, &got, nullptr) != FALSE;
    }
    ViewerRequest request;
    if (!ParseViewerRequest(record.data(), got, &request)) return true; // dropped
    const UINT message = kViewerRequestMessageBase + static_cast<UINT>(request.code) - 1;
    ::SendMessageA(target_, message, 0, reinterpret_cast<LPARAM>(&request));
    return true;
}

} // namespace lx
