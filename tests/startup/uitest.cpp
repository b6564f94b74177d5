#include "tests/startup/uitest.h"
#include "common/catalog/catalogbuild.h"

#include <cstdio>
#include <cstdlib>

namespace lxtest {

TestCatalogue::TestCatalogue(const std::string& source) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!lx::BuildCatalogue(source, bytes, error)) return;
    char folder[MAX_PATH] = "";
    ::GetTempPathA(sizeof folder, folder);
    char file[MAX_PATH] = "";
    ::GetTempFileNameA(folder, "lxc", 0, file);
    path_ = file;
    if (FILE* f = std::fopen(path_.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    catalog_.Open(path_.c_str(), lx::CatalogMagic::Exact);
}

TestCatalogue::~TestCatalogue() {
    catalog_.Close();
    if (!path_.empty()) ::DeleteFileA(path_.c_str());
}

lx::MessageCatalog& BuiltCatalogue() {
    static lx::MessageCatalog catalog;
    if (!catalog.Loaded()) {
        const char* bin = std::getenv("LX_BINARY_DIR");
        catalog.Open((std::string(bin ? bin : ".") + "/bin/DGROUP.VSF").c_str(),
                     lx::CatalogMagic::Exact);
    }
    return catalog;
}

namespace {
constexpr UINT kRunLater = WM_APP + 1;
}

Later::Later() {
    Map().On(kRunLater, [this](WPARAM, LPARAM) -> LRESULT {
        std::vector<std::function<void()>> now;
        now.swap(queue_);
        for (auto& fn : now) fn();
        return 0;
    });
    Map().On(WM_TIMER, [this](WPARAM id, LPARAM) -> LRESULT {
        if (id != kRunLater) return 0;
        ::KillTimer(Handle(), kRunLater);
        std::vector<std::function<void()>> now;
        now.swap(delayed_);
        for (auto& fn : now) fn();
        return 0;
    });
    lx::Window::RegisterClass("LxTestLater", 0, nullptr, nullptr);
    Create("LxTestLater", "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr);
}

void Later::Post(std::function<void()> fn) {
    queue_.push_back(std::move(fn));
    ::PostMessageA(Handle(), kRunLater, 0, 0);
}

void Later::PostAfter(unsigned millis, std::function<void()> fn) {
    delayed_.push_back(std::move(fn));
    ::SetTimer(Handle(), kRunLater, millis, nullptr);
}

std::string ControlText(HWND dialog, int id) {
    HWND control = ::GetDlgItem(dialog, id);
    const int length = ::GetWindowTextLengthA(control);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::GetWindowTextA(control, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string TempFolder(const char* name) {
    char base[MAX_PATH] = "";
    ::GetTempPathA(sizeof base, base);
    std::string folder = std::string(base) + name + "-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    // Start empty: remove what an earlier run left.
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    return folder;
}

} // namespace lxtest
