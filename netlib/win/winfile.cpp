#include "netlib/win/winfile.h"

#include <windows.h>

#include <vector>

#include "common/win/handles.h"

namespace lx::net {
namespace {

// Writes are collected and handed to the system in large blocks: a retrieval writes one
// received chunk at a time.
class WinFile : public SpoolFile {
public:
    explicit WinFile(HANDLE h) : file_(h) {}
    ~WinFile() override { flush(); }
    bool write(const void* data, std::size_t len) override {
        if (failed_) return false;
        if (pending_.size() + len > kBlock && !flush()) return false;
        if (len >= kBlock) return writeThrough(data, len);
        const char* p = static_cast<const char*>(data);
        pending_.insert(pending_.end(), p, p + len);
        return true;
    }
    long read(void* data, std::size_t len) override {
        if (!flush()) return -1;
        DWORD done = 0;
        if (!ReadFile(h_, data, static_cast<DWORD>(len), &done, nullptr)) return -1;
        return static_cast<long>(done);
    }
    bool seek(std::int64_t pos) override {
        if (!flush()) return false;
        LARGE_INTEGER li;
        li.QuadPart = pos;
        return SetFilePointerEx(h_, li, nullptr, FILE_BEGIN) != 0;
    }
    bool flush() override {
        if (pending_.empty()) return !failed_;
        const bool ok = writeThrough(pending_.data(), pending_.size());
        pending_.clear();
        return ok;
    }

private:
    static constexpr std::size_t kBlock = 64 * 1024;
    bool writeThrough(const void* data, std::size_t len) {
        DWORD done = 0;
        if (!WriteFile(h_, data, static_cast<DWORD>(len), &done, nullptr) || done != len)
            failed_ = true;
        return !failed_;
    }
    UniqueHandle file_;
    const HANDLE h_ = file_.Get();
    std::vector<char> pending_;
    bool failed_ = false;
};

} // namespace

std::unique_ptr<SpoolFile> openWinFile(const std::string& path, bool create) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           create ? CREATE_ALWAYS : OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<WinFile>(h);
}

} // namespace lx::net
