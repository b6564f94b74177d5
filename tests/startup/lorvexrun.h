// Process-level helpers: an installation folder of its own per test, the registry's
// InstallPath, and runs of the real Lorvex.exe answered through its UI transcript.
#pragma once
#include "common/win/handles.h"

#include <windows.h>
#include <string>
#include <vector>

namespace lxtest {

// A Windows path for a path of the build machine (Wine maps the root to Z:).
std::string WinPath(const std::string& unixPath);
std::string BinaryDir(); // LX_BINARY_DIR as a Windows path
std::string JoinPath(const std::string& folder, const char* name);

bool CopyInto(const std::string& file, const std::string& folder);
bool FileExists(const std::string& path);
std::vector<unsigned char> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);

// A fresh installation folder LX_BINARY_DIR\startup-<name>: the program, its DLLs and, when
// asked, the catalogue.
std::string MakeInstallation(const char* name, bool withCatalogue);
void SetInstallPath(const std::string& folder);
std::string ShortPath(const std::string& path);

// Text of a key in the built catalogue of the program (empty when not found).
std::string CatalogueText(const char* key);
bool CatalogueBuilt();

class LorvexProcess {
public:
    // A run of <folder>\<program>, whose frame window has the class `frameClass`.
    explicit LorvexProcess(const char* program = "Lorvex.exe",
                           const char* frameClass = "CMainFrame")
        : program_(program), frameClass_(frameClass) {}
    ~LorvexProcess();
    LorvexProcess(const LorvexProcess&) = delete;
    LorvexProcess& operator=(const LorvexProcess&) = delete;

    // Starts <folder>\<program> with the transcript file and extra environment variables
    // ("NAME=value"); the command line tail is `arguments`.
    bool Start(const std::string& folder, const std::string& arguments,
               const std::vector<std::string>& environment = {});
    // True when the process ended within `millis`; `code` receives its exit code.
    bool WaitExit(DWORD millis, DWORD* code = nullptr);
    // The process's visible frame window, waiting at most `millis` for it.
    HWND WaitFrame(DWORD millis);
    // WM_CLOSE to the frame, then a bounded wait; terminated when it does not end.
    bool Close(DWORD millis = 20000);
    // Lines "caption|text|flags" of the boxes the run answered.
    std::vector<std::string> Transcript() const;
    // An unscripted run shows its boxes and dialogs for the test to answer through their
    // windows (programs it starts are unscripted too); set before Start.
    void SetScripted(bool scripted) { scripted_ = scripted; }

private:
    const char* program_;
    const char* frameClass_;
    PROCESS_INFORMATION info_{};
    lx::UniqueHandle process_; // info_'s two handles, closed with the run
    lx::UniqueHandle thread_;
    std::string transcript_;
    bool scripted_ = true;
};

} // namespace lxtest
