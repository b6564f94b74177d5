// A stand-in for the viewer program, started by the real launch code. It reads its command line
// as the viewer does and, by LX_FAKE_VIEWER:
//   hand-over  takes Lorvex_Mutex, stays a moment with its message loop idle, records its
//              command line beside itself (viewer-line.txt) and releases the mutex;
//   keep       takes the mutex, stays a moment and ends without releasing it;
//   no-mutex   stays a moment and ends without touching the mutex.
#include <windows.h>

#include <fstream>
#include <string>

#include "common/win/handles.h"
#include "viewer/core/cmdline.h"

namespace {

constexpr DWORD kMutexWaitMillis = 30000;
constexpr UINT kHoldMillis = 300;

std::string Beside(const char* name) {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

void Record(const std::string& line) {
    const lx::viewer::ViewerCommandLine parsed = lx::viewer::ParseViewerCommandLine(line);
    const bool usable =
        lx::viewer::CheckViewerCommandLine(line, parsed) == lx::viewer::CommandLineVerdict::Usable;
    std::ofstream out(Beside("viewer-line.txt"), std::ios::binary | std::ios::trunc);
    out << line << "\n" << (usable ? "usable" : "refused") << "\n" << parsed.mesgNum << "\n";
}

// The message loop runs idle for a moment, as the viewer's does while it reads the message.
void StayIdle() {
    ::SetTimer(nullptr, 0, kHoldMillis, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
        if (msg.message == WM_TIMER) break;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char mode[32] = "";
    ::GetEnvironmentVariableA("LX_FAKE_VIEWER", mode, sizeof mode);
    const std::string how = mode;
    if (how == "no-mutex") {
        StayIdle();
        return 0;
    }
    lx::UniqueHandle mutex(::CreateMutexA(nullptr, FALSE, "Lorvex_Mutex"));
    const DWORD waited = ::WaitForSingleObject(mutex.Get(), kMutexWaitMillis);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return 1;
    StayIdle();
    if (how == "keep") return 0;
    Record(::GetCommandLineA());
    ::ReleaseMutex(mutex.Get());
    return 0;
}
