#include "mailer/ui/viewerlaunch.h"

#include "common/schema/subject.h"
#include "common/win/handles.h"
#include "common/win/uiseam.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/logic/viewerlaunch_rules.h"
#include "mailer/ui/mailmess.h"
#include "mailer/ui/store/editfram_store.h"

#include <vector>

namespace lx {

namespace {

// Once the viewer has ended, the mutex is free (or left abandoned) at once, unless a process
// still holds it; the main program then goes on without it rather than hang.
constexpr DWORD kRetakeAfterEndMillis = 2000;

bool Owned(DWORD waited, DWORD first) {
    return waited == first || waited == WAIT_ABANDONED_0 + (first - WAIT_OBJECT_0);
}

bool RetakeMutex(HANDLE mutex) {
    return Owned(::WaitForSingleObject(mutex, kRetakeAfterEndMillis), WAIT_OBJECT_0);
}

// The viewer process with the command line; its handles, or none when it did not start.
bool StartViewer(const std::string& program, std::string line, UniqueHandle* process) {
    if (line.size() > kMostCommandLineChars) return false;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    // The program is named apart from the line, so a folder with blanks cannot misdirect it.
    if (!::CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE,
                          CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                          &startup, &started))
        return false;
    UniqueHandle thread(started.hThread);
    process->Reset(started.hProcess);
    return true;
}

// Waits until the main program owns the mutex again. The viewer holds it while it reads the
// message; a viewer that ends without ever releasing it ends the wait too.
ViewerHandOver AwaitHandOver(HANDLE mutex, HANDLE process) {
    HANDLE both[2] = {mutex, process};
    const DWORD waited = ::WaitForMultipleObjects(2, both, FALSE, INFINITE);
    if (Owned(waited, WAIT_OBJECT_0)) return ViewerHandOver::MutexBack;
    return RetakeMutex(mutex) ? ViewerHandOver::ViewerEnded : ViewerHandOver::MutexElsewhere;
}

} // namespace

ViewerHandOver LaunchViewer(const ViewerLaunchContext& context, HWND owner,
                            const OpenMessageRequest& request, const StoredMessage& message) {
    const long trash = context.trashFolder ? context.trashFolder() : -1;
    const std::string line =
        ViewerCommandLine(context.installPath, message.mesgNum, message.mesgSize, trash);
    ::ReleaseMutex(context.mutex);
    UniqueHandle process;
    if (!StartViewer(ViewerProgramPath(context.installPath), line, &process)) {
        // The mutex is taken back: the next viewer's hand-over depends on it.
        RetakeMutex(context.mutex);
        if (context.catalog)
            ui::CatalogBox(owner, *context.catalog, "MAILMESS_CPP_45", "MAILMESS_CPP_44",
                           MB_OK | MB_ICONEXCLAMATION);
        return ViewerHandOver::NotStarted;
    }
    ::WaitForInputIdle(process.Get(), ViewerIdleMillis(request.fromSearch));
    const ViewerHandOver handOver = AwaitHandOver(context.mutex, process.Get());
    std::string subject = message.subject;
    if (MarkSubjectRead(subject) && WriteMessageSubject(context.conn, message.mesgNum, subject) &&
        !request.fromSearch && owner)
        ::SendMessageA(owner, WM_LX_MESSAGE_CHANGED, 0, 0);
    return handOver;
}

ViewerLaunch MakeViewerLaunch(ViewerLaunchContext context) {
    return [context](HWND owner, const OpenMessageRequest& request, const StoredMessage& message) {
        LaunchViewer(context, owner, request, message);
    };
}

} // namespace lx
