// Runs of the real LXVIEWER.EXE for the tests: an installation folder of its own, the process
// with its UI transcript, its frame window, and the main program's mailslot stood in for.
#pragma once
#include "common/viewreq/viewreqrecord.h"
#include "common/win/handles.h"
#include "tests/startup/lorvexrun.h"

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace lxtest {

// A fresh installation folder LX_BINARY_DIR\viewerapp-<name> with the viewer, its store library,
// its catalogue and the wait page; the registry's InstallPath names it.
std::string MakeViewerInstallation(const char* name);
// The viewer's command line tail as the main program writes it.
std::string ViewerArguments(const std::string& folder, long mesgNum, long mesgSize, long trash);
// Sets (or with 0 deletes) the registry's ReaderType.
void SetReaderType(DWORD readerType);
// Names of the files in `folder` that match `pattern`.
std::vector<std::string> FilesMatching(const std::string& folder, const char* pattern);
// Text of a key in the viewer's built catalogue (empty when not found).
std::string ViewerCatalogueText(const char* key);
// Polls `condition` (every 20 ms) until it holds or `millis` pass; true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD millis = 30000);

// A run of LXVIEWER.EXE with its frame window and the controls of its simple view.
class ViewerProcess : public LorvexProcess {
public:
    ViewerProcess() : LorvexProcess("LXVIEWER.EXE", "CViewerFrame") {}
    HWND WaitFrame(DWORD millis = 30000) { return LorvexProcess::WaitFrame(millis); }
    // Text of a control of the simple view.
    std::string SimpleViewText(int controlId);
    // Lines of the simple view's attachment list.
    int AttachmentLines();
    void Command(int id);
};

// The main program's end of the mailslot.
class RequestSlot {
public:
    RequestSlot();
    bool Valid() const { return slot_.Valid(); }
    // The next record, waiting at most `millis`; false when none came.
    bool Next(std::vector<unsigned char>& bytes, DWORD millis = 30000);

private:
    lx::UniqueHandle slot_;
};

} // namespace lxtest
