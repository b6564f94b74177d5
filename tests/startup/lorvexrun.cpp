#include "tests/startup/lorvexrun.h"
#include "common/catalog/msgcatalog.h"
#include "common/win/handles.h"

#include <cstdio>
#include <cstdlib>

namespace lxtest {

std::string WinPath(const std::string& unixPath) {
    if (unixPath.size() > 1 && unixPath[1] == ':') return unixPath;
    std::string out = "Z:";
    for (char c : unixPath) out += (c == '/') ? '\\' : c;
    return out;
}

std::string BinaryDir() {
    const char* dir = std::getenv("LX_BINARY_DIR");
    return WinPath(dir ? dir : ".");
}

std::string JoinPath(const std::string& folder, const char* name) {
    if (!folder.empty() && folder.back() == '\\') return folder + name;
    return folder + "\\" + name;
}

bool CopyInto(const std::string& file, const std::string& folder) {
    const size_t slash = file.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    return ::CopyFileA(file.c_str(), JoinPath(folder, name.c_str()).c_str(), FALSE) != FALSE;
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
    std::vector<unsigned char> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        unsigned char buf[4096];
        size_t got;
        while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
            bytes.insert(bytes.end(), buf, buf + got);
        std::fclose(f);
    }
    return bytes;
}

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

namespace {

void EmptyFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = JoinPath(folder, name.c_str());
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            EmptyFolder(path);
            ::RemoveDirectoryA(path.c_str());
        } else {
            ::DeleteFileA(path.c_str());
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
}

} // namespace

std::string MakeInstallation(const char* name, bool withCatalogue) {
    const std::string folder = JoinPath(BinaryDir(), (std::string("startup-") + name).c_str());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    EmptyFolder(folder);
    CopyInto(WinPath(LX_LORVEX_EXE), folder);
    CopyInto(WinPath(LX_ODBCVANT_DLL), folder);
    CopyInto(WinPath(LX_TERN32_DLL), folder);
    CopyInto(WinPath(LX_PRNTVANT_DLL), folder);
    if (withCatalogue) CopyInto(JoinPath(BinaryDir(), "bin\\DGROUP.VSF"), folder);
    return folder;
}

void SetInstallPath(const std::string& folder) {
    lx::RegKey key;
    if (!key.Create(HKEY_CURRENT_USER, "Software\\Quorbit\\Lorvex", KEY_ALL_ACCESS)) return;
    ::RegSetValueExA(key.Get(), "InstallPath", 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>(folder.size() + 1));
    key.Flush();
}

std::string ShortPath(const std::string& path) {
    char out[MAX_PATH] = "";
    const DWORD got = ::GetShortPathNameA(path.c_str(), out, sizeof out);
    return got > 0 && got < sizeof out ? std::string(out) : path;
}

bool CatalogueBuilt() { return FileExists(JoinPath(BinaryDir(), "bin\\DGROUP.VSF")); }

std::string CatalogueText(const char* key) {
    lx::MessageCatalog catalog;
    // The program opens its catalogue without sharing: read a copy.
    const std::string copy = JoinPath(BinaryDir(), "startup-catalogue.vsf");
    ::CopyFileA(JoinPath(BinaryDir(), "bin\\DGROUP.VSF").c_str(), copy.c_str(), FALSE);
    if (!catalog.Open(copy.c_str(), lx::CatalogMagic::Exact)) return std::string();
    const char* text = catalog.Lookup(key);
    return text ? text : "";
}

LorvexProcess::~LorvexProcess() {
    if (info_.hProcess) {
        if (!WaitExit(0)) {
            ::TerminateProcess(info_.hProcess, 1);
            ::WaitForSingleObject(info_.hProcess, 5000);
        }
    }
}

bool LorvexProcess::Start(const std::string& folder, const std::string& arguments,
                          const std::vector<std::string>& environment) {
    transcript_ = JoinPath(folder, "ui-transcript.txt");
    ::DeleteFileA(transcript_.c_str());
    // The child inherits this process's environment with the test's variables added.
    ::SetEnvironmentVariableA("LORVEX_UI_TRANSCRIPT", scripted_ ? transcript_.c_str() : nullptr);
    std::vector<std::string> names;
    for (const std::string& item : environment) {
        const size_t eq = item.find('=');
        names.push_back(item.substr(0, eq));
        ::SetEnvironmentVariableA(names.back().c_str(), item.substr(eq + 1).c_str());
    }
    std::string commandLine = "\"" + JoinPath(folder, program_) + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    const BOOL ok = ::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                     folder.c_str(), &startup, &info_);
    if (ok) {
        process_.Reset(info_.hProcess);
        thread_.Reset(info_.hThread);
    } else {
        std::fprintf(stderr, "CreateProcess(%s) failed: %lu\n", commandLine.c_str(),
                     ::GetLastError());
    }
    ::SetEnvironmentVariableA("LORVEX_UI_TRANSCRIPT", nullptr);
    for (const std::string& name : names) ::SetEnvironmentVariableA(name.c_str(), nullptr);
    return ok != FALSE;
}

bool LorvexProcess::WaitExit(DWORD millis, DWORD* code) {
    if (!info_.hProcess) return true;
    if (::WaitForSingleObject(info_.hProcess, millis) != WAIT_OBJECT_0) return false;
    if (code) ::GetExitCodeProcess(info_.hProcess, code);
    return true;
}

namespace {
struct FrameSearch {
    DWORD pid;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchFrame(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<FrameSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    char name[64] = "";
    ::GetClassNameA(wnd, name, sizeof name);
    if (pid == search->pid && std::string(name) == search->className) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND LorvexProcess::WaitFrame(DWORD millis) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        FrameSearch search{info_.dwProcessId, frameClass_, nullptr};
        ::EnumWindows(&MatchFrame, reinterpret_cast<LPARAM>(&search));
        if (search.found && ::IsWindowVisible(search.found)) return search.found;
        if (WaitExit(0) || ::GetTickCount() - start > millis) return nullptr;
        ::Sleep(100);
    }
}

bool LorvexProcess::Close(DWORD millis) {
    if (WaitExit(0)) return true;
    if (HWND frame = WaitFrame(0)) ::PostMessageA(frame, WM_CLOSE, 0, 0);
    if (WaitExit(millis)) return true;
    ::TerminateProcess(info_.hProcess, 1);
    WaitExit(5000);
    return false;
}

std::vector<std::string> LorvexProcess::Transcript() const {
    std::vector<std::string> lines;
    std::string line;
    for (unsigned char c : ReadBytes(transcript_)) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

} // namespace lxtest
